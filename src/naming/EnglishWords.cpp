#include "naming/EnglishWords.h"

#include "naming/NamingLog.h"
#include "naming/SlugGenerator.h"

#include <QFile>

namespace {

const QSet<QString> &words()
{
    static const QSet<QString> list = [] {
        QSet<QString> read = EnglishWords::read(QStringLiteral("/usr/share/dict/words"));
        if (read.isEmpty())
            qCWarning(lcNaming) << "No English word list in /usr/share/dict/words; install wamerican";
        return read;
    }();
    return list;
}

} // namespace

namespace EnglishWords {

bool isAvailable()
{
    return !words().isEmpty();
}

bool contains(const QString &word)
{
    return words().contains(word);
}

QSet<QString> read(const QString &path)
{
    QSet<QString> list;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return list;
    list.reserve(110'000);
    while (!file.atEnd()) {
        const QString entry = QString::fromUtf8(file.readLine()).trimmed();
        if (entry.contains(u'\''))
            continue;
        const QStringList folded = SlugGenerator::words(entry);
        if (folded.size() == 1)
            list.insert(folded.first());
    }
    return list;
}

} // namespace EnglishWords
