// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/SlugComposer.h"

#include "naming/SlugGenerator.h"

namespace {

// Below this many words any group may be cut to fit; a short slug needs every word it can get.
constexpr qsizetype wholeGroupsFrom = 3;

} // namespace

void SlugComposer::add(const QStringList &group, bool allowingPartial)
{
    QStringList fresh;
    for (const QString &word : group) {
        if (!m_words.contains(word) && !fresh.contains(word))
            fresh.append(word);
    }
    if (fresh.isEmpty() || m_words.size() >= SlugGenerator::maxWords)
        return;
    const qsizetype room = SlugGenerator::maxWords - m_words.size();
    if (fresh.size() <= room)
        m_words += fresh;
    else if (allowingPartial || m_words.size() < wholeGroupsFrom)
        m_words += fresh.first(room);
}
