#pragma once

#include <QSet>
#include <QString>

// The system's English word list (Debian's wamerican: /usr/share/dict/words), folded into words as
// SlugGenerator::words folds text. Read once, on first use, from any thread; about 7 MB.
namespace EnglishWords {

// False when the list is not installed; the callers then judge words by confidence alone.
bool isAvailable();

bool contains(const QString &word);

// The one-word entries of a word list file, possessives left out; empty when it cannot be read.
QSet<QString> read(const QString &path);

} // namespace EnglishWords
