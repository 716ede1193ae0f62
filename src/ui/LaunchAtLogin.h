#pragma once

#include <QString>

#include <optional>

// Whether Quillo starts when the user logs in. Calls touch only local files and return at once.
class LaunchAtLogin
{
public:
    virtual ~LaunchAtLogin() = default;

    // Read afresh on every call, so it shows changes made outside Quillo.
    virtual bool isEnabled() const = 0;
    // Nothing on success, else why the change failed, in words for the user.
    virtual std::optional<QString> setEnabled(bool enabled) = 0;
};
