// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TraySearch.h"

bool TraySearch::edit(const QString &text, const QDateTime &now)
{
    const QString words = text.trimmed();
    if (words == m_text)
        return false;
    m_text = words;
    m_awaited.reset();
    if (!words.isEmpty()) {
        // What was found so far stays listed until the new answer replaces it, so the list does not
        // flicker while typing.
        m_dueAt = now.addMSecs(pause.count());
        return false;
    }
    m_dueAt.reset();
    m_hits.clear();
    m_problem.clear();
    const bool changed = m_showing != Showing::RecentRenames;
    m_showing = Showing::RecentRenames;
    return changed;
}

std::optional<std::chrono::milliseconds> TraySearch::untilDue(const QDateTime &now) const
{
    if (!m_dueAt)
        return std::nullopt;
    return std::chrono::milliseconds(std::max<qint64>(0, now.msecsTo(*m_dueAt)));
}

std::optional<TraySearch::Lookup> TraySearch::takeDue(const QDateTime &now)
{
    if (!m_dueAt || now < *m_dueAt)
        return std::nullopt;
    m_dueAt.reset();
    m_awaited = ++m_lastId;
    return Lookup{*m_awaited, m_text};
}

bool TraySearch::answer(quint64 id, const ScreenshotIndex::Found &found)
{
    if (m_awaited != id)
        return false;
    m_awaited.reset();
    m_hits = found.hits;
    m_problem = found.error;
    if (!found.error.isEmpty())
        m_showing = Showing::Problem;
    else
        m_showing = found.hits.isEmpty() ? Showing::NoMatch : Showing::Results;
    return true;
}
