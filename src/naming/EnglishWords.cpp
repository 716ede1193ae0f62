// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/EnglishWords.h"

#include "naming/NamingLog.h"
#include "naming/SlugGenerator.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <vector>

namespace {

// The words in one block of text, sorted and found by binary search: about 1 MB, where a hash set of
// strings took 9 MB.
class SortedWords
{
public:
    // The one-word entries of a word list file, possessives left out; none when it cannot be read.
    explicit SortedWords(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return;
        std::vector<std::pair<quint32, quint32>> spans; // start and length in m_text
        while (!file.atEnd()) {
            const QString entry = QString::fromUtf8(file.readLine()).trimmed();
            const QStringList folded = SlugGenerator::words(entry);
            if (entry.contains(u'\'') || folded.size() != 1)
                continue;
            spans.emplace_back(quint32(m_text.size()), quint32(folded.first().size()));
            m_text += folded.first().toLatin1();
        }
        std::sort(spans.begin(), spans.end(), [this](const auto &a, const auto &b) {
            return view(a) < view(b);
        });
        spans.erase(std::unique(spans.begin(), spans.end(),
                                [this](const auto &a, const auto &b) {
                                    return view(a) == view(b);
                                }),
                    spans.end());
        m_spans = std::move(spans);
    }

    bool isEmpty() const { return m_spans.empty(); }

    bool contains(const QString &word) const
    {
        const QByteArray wanted = word.toLatin1();
        const auto at = std::lower_bound(m_spans.begin(), m_spans.end(), wanted,
                                         [this](const auto &span, const QByteArray &key) {
                                             return view(span) < key;
                                         });
        return at != m_spans.end() && view(*at) == wanted;
    }

private:
    QByteArrayView view(const std::pair<quint32, quint32> &span) const
    {
        return QByteArrayView(m_text).sliced(span.first, span.second);
    }

    QByteArray m_text;
    std::vector<std::pair<quint32, quint32>> m_spans;
};

const SortedWords &words()
{
    static const SortedWords list = [] {
        SortedWords read(QStringLiteral("/usr/share/dict/words"));
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

} // namespace EnglishWords
