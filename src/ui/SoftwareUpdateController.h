#pragma once

#include "ui/UpdateDriving.h"

#include <QObject>

#include <memory>

// What the menu and the settings window use of the updater. Without a driver (a build without an
// update feed) every update feature is inactive: checks never start and the setting reads on.
// Main thread.
class SoftwareUpdateController final : public QObject
{
    Q_OBJECT

public:
    explicit SoftwareUpdateController(std::unique_ptr<UpdateDriving> driver, QObject *parent = nullptr);
    ~SoftwareUpdateController() override;

    bool hasDriver() const { return m_driver != nullptr; }
    UpdateDriving *driver() const { return m_driver.get(); }

    bool automaticallyChecksForUpdates() const;
    // Dropped without a driver.
    void setAutomaticallyChecksForUpdates(bool value);
    bool canCheckForUpdates() const;
    // Starts a check the user sees, when there is a driver and it can check now.
    void checkForUpdates();

signals:
    void automaticallyChecksForUpdatesChanged(bool value);
    void canCheckForUpdatesChanged(bool value);

private:
    std::unique_ptr<UpdateDriving> m_driver;
};
