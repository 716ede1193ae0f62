#include "ui/SoftwareUpdateController.h"

SoftwareUpdateController::SoftwareUpdateController(std::unique_ptr<UpdateDriving> driver, QObject *parent)
    : QObject(parent)
    , m_driver(std::move(driver))
{
    if (m_driver)
        connect(m_driver.get(), &UpdateDriving::canCheckForUpdatesChanged, this,
                &SoftwareUpdateController::canCheckForUpdatesChanged);
}

SoftwareUpdateController::~SoftwareUpdateController() = default;

bool SoftwareUpdateController::automaticallyChecksForUpdates() const
{
    return !m_driver || m_driver->automaticallyChecksForUpdates();
}

void SoftwareUpdateController::setAutomaticallyChecksForUpdates(bool value)
{
    if (!m_driver)
        return;
    m_driver->setAutomaticallyChecksForUpdates(value);
    emit automaticallyChecksForUpdatesChanged(value);
}

bool SoftwareUpdateController::canCheckForUpdates() const
{
    return m_driver && m_driver->canCheckForUpdates();
}

void SoftwareUpdateController::checkForUpdates()
{
    if (canCheckForUpdates())
        m_driver->checkForUpdates();
}
