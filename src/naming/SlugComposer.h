// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// Gathers keyword groups in priority order during one naming pass. Early groups fill the slug; once
// 3 words are held, later groups are taken whole or not at all unless partial groups are allowed.
class SlugComposer final
{
public:
    // Adds the group's words that are new, keeping at most SlugGenerator::maxWords in all.
    void add(const QStringList &group, bool allowingPartial);
    const QStringList &words() const { return m_words; }

private:
    QStringList m_words;
};
