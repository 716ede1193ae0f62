// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "index/ScreenshotIndex.h"

#include <QDateTime>

#include <chrono>
#include <optional>

// The tray popup's search: what is typed, when it is looked up and what the popup lists meanwhile.
// Words are looked up once typing pauses; an answer to words typed over since is dropped. Time is
// handed in, so the pause is tested without waiting.
class TraySearch final
{
public:
    static constexpr std::chrono::milliseconds pause{150};
    static constexpr int limit = 8;

    enum class Showing
    {
        RecentRenames, // nothing typed
        Results,
        NoMatch,
        Problem // the index could not be read
    };

    struct Lookup
    {
        quint64 id = 0;
        QString words;
    };

    // The field now reads `text`. True when the list changes at once (the field was emptied).
    bool edit(const QString &text, const QDateTime &now);
    // How long until the typed words are due; nothing when no lookup waits.
    std::optional<std::chrono::milliseconds> untilDue(const QDateTime &now) const;
    // The lookup to start, once typing has paused long enough.
    std::optional<Lookup> takeDue(const QDateTime &now);
    // The index's answer to lookup `id`; false, and ignored, when the field changed since.
    bool answer(quint64 id, const ScreenshotIndex::Found &found);

    const QString &text() const { return m_text; }
    Showing showing() const { return m_showing; }
    const QList<SearchHit> &hits() const { return m_hits; }
    const QString &problem() const { return m_problem; }

private:
    QString m_text;
    std::optional<QDateTime> m_dueAt;
    quint64 m_lastId = 0;
    std::optional<quint64> m_awaited;
    Showing m_showing = Showing::RecentRenames;
    QList<SearchHit> m_hits;
    QString m_problem;
};
