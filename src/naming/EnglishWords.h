// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The system's English word list (Debian's wamerican: /usr/share/dict/words), folded into words as
// SlugGenerator::words folds text. About 1.4 MB: read on first use from any thread, and kept while a
// Keeper lives or, without any, for good.
namespace EnglishWords {

// Loads the list in the background and keeps it; when the last keeper goes, the list goes too, so an
// idle Quillo does not hold it. A naming thread keeps one for its lifetime.
class Keeper final
{
public:
    Keeper();
    ~Keeper();
    Keeper(const Keeper &) = delete;
    Keeper &operator=(const Keeper &) = delete;
};

// False when the list is not installed; the callers then judge words by confidence alone.
bool isAvailable();

bool contains(const QString &word);

} // namespace EnglishWords
