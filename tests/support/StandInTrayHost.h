// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QStringList>

// A stand-in tray host on the session bus, in a process of its own: Qt shows a tray item through
// it as through a desktop's. Running from construction (once the bus knows it) to destruction.
class StandInTrayHost final
{
public:
    StandInTrayHost();
    ~StandInTrayHost();

    // On the bus; false when the helper could not start or register.
    bool isReady() const { return m_ready; }
    // The tray items registered with this host, oldest first.
    QStringList registeredItems() const;

private:
    QProcess m_process;
    bool m_ready = false;
};
