// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The system's English word list (Debian's wamerican: /usr/share/dict/words), folded into words as
// SlugGenerator::words folds text. Read once, on first use, from any thread; about 1 MB.
namespace EnglishWords {

// False when the list is not installed; the callers then judge words by confidence alone.
bool isAvailable();

bool contains(const QString &word);

} // namespace EnglishWords
