#pragma once

#include "ui/LaunchAtLogin.h"

// Launch at login through a desktop entry in the XDG autostart folder. Enabled means the entry exists
// and is not marked Hidden=true; disabling removes it.
class XdgAutostart final : public LaunchAtLogin
{
public:
    // `autostartFolder` is normally $XDG_CONFIG_HOME/autostart; `executable` is what the entry runs.
    XdgAutostart(QString autostartFolder, QString executable);

    // $XDG_CONFIG_HOME/autostart and the AppImage Quillo runs from, else its own executable.
    static XdgAutostart forThisProgram();

    QString entryPath() const;

    bool isEnabled() const override;
    std::optional<QString> setEnabled(bool enabled) override;

private:
    QString m_folder;
    QString m_executable;
};
