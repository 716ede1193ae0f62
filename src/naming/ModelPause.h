// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/LocalModelClient.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

// Skips the model server for 5 minutes after it timed out or could not be reached, so that a burst
// of screenshots is not held up by it one by one; then it is asked again. One is shared by every
// naming thread; thread-safe.
class ModelPause final
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit ModelPause(Clock clock = &std::chrono::steady_clock::now);

    // `client` as it is, except that during a pause it answers at once without asking the server,
    // and that its time-outs and unreachable servers start a pause (logged once). The pause must
    // outlive the client returned.
    std::unique_ptr<LocalModelClient> guard(std::unique_ptr<LocalModelClient> client);

    bool isPaused() const;

private:
    class GuardedClient;
    void start(const QString &reason);
    void noteAnswer();

    Clock m_clock;
    mutable std::mutex m_mutex;
    std::optional<std::chrono::steady_clock::time_point> m_until;
    bool m_hasAnswered = false; // the server was there at some point
    bool m_toldAbsent = false;
};
