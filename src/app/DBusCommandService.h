// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusContext>
#include <QObject>

class AppController;

// The running Quillo's side of the hand-off: `quillo rename` and `quillo undo` call these methods
// on org.quillo.Quillo, so the history keeps one writer and the tray and panel show the change.
// Main thread.
class DBusCommandService final : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quillo.Quillo")

public:
    explicit DBusCommandService(AppController &controller, QObject *parent = nullptr);

    // Takes the bus name (from an older copy too) and offers the methods; logged when it cannot.
    void publish();

public slots:
    // The file's identity when it was named, the folder its category folders go in, and the name.
    // Returns the rename record as a one-element JSON array.
    Q_SCRIPTABLE QString Rename(const QString &path, qulonglong device, qulonglong inode, qlonglong size,
                                qlonglong modifiedNs, const QString &root, const QString &slug,
                                const QString &category, const QString &source);
    // Returns where the file now is.
    Q_SCRIPTABLE QString Undo(const QString &id);

private:
    AppController &m_controller;
};
