// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Whether Quillo starts when the user logs in: a desktop entry in the XDG autostart folder. Enabled
// means the entry exists and is not marked Hidden=true; disabling removes it. Calls touch only local
// files and return at once.
class XdgAutostart final
{
public:
    // `autostartFolder` is normally $XDG_CONFIG_HOME/autostart; `executable` is what the entry runs.
    XdgAutostart(QString autostartFolder, QString executable);

    // $XDG_CONFIG_HOME/autostart and the AppImage Quillo runs from, else its own executable.
    static XdgAutostart forThisProgram();

    QString entryPath() const;

    // Read afresh on every call, so it shows changes made outside Quillo.
    bool isEnabled() const;
    // Nothing on success, else why the change failed, in words for the user.
    std::optional<QString> setEnabled(bool enabled);

private:
    QString m_folder;
    QString m_executable;
};
