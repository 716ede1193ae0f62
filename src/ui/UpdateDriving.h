#pragma once

#include <QObject>
#include <QString>

// An updater: whether it checks by itself, whether a check can start now, and a check the user starts,
// which the updater shows in its own dialogs. Main thread.
class UpdateDriving : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool automaticallyChecksForUpdates() const = 0;
    virtual void setAutomaticallyChecksForUpdates(bool value) = 0;
    virtual bool canCheckForUpdates() const = 0;
    virtual void checkForUpdates() = 0;

    // The host the updater asks, for the settings window's note.
    virtual QString feedHost() const = 0;
    // Whether a verified update replaces the program when it quits, or is only offered.
    virtual bool installsAtQuit() const = 0;

signals:
    void canCheckForUpdatesChanged(bool value);
};
