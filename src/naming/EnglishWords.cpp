// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/EnglishWords.h"

#include "naming/NamingLog.h"
#include "naming/SlugGenerator.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <future>
#include <memory>
#include <mutex>
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

// The list is loaded while someone keeps it (see Keeper), else on demand and then kept.
struct SharedList
{
    std::mutex mutex;
    int keepers = 0;
    std::shared_future<std::shared_ptr<const SortedWords>> list;
};

// Never destroyed: a naming thread of a global pool may end after the exit handlers have run.
SharedList &shared()
{
    static auto *shared = new SharedList;
    return *shared;
}

// On a thread of its own: it takes about 0.1 s, which a naming thread spends waiting for the reading.
std::shared_future<std::shared_ptr<const SortedWords>> startLoading()
{
    return std::async(std::launch::async,
                      [] {
                          auto read =
                              std::make_shared<const SortedWords>(QStringLiteral("/usr/share/dict/words"));
                          if (read->isEmpty())
                              qCWarning(lcNaming)
                                  << "No English word list in /usr/share/dict/words; install wamerican";
                          return std::shared_ptr<const SortedWords>(std::move(read));
                      })
        .share();
}

std::shared_ptr<const SortedWords> words()
{
    std::shared_future<std::shared_ptr<const SortedWords>> list;
    {
        const std::lock_guard lock(shared().mutex);
        if (!shared().list.valid())
            shared().list = startLoading();
        list = shared().list;
    }
    return list.get();
}

} // namespace

namespace EnglishWords {

Keeper::Keeper()
{
    const std::lock_guard lock(shared().mutex);
    if (shared().keepers++ == 0 && !shared().list.valid())
        shared().list = startLoading();
}

Keeper::~Keeper()
{
    const std::lock_guard lock(shared().mutex);
    if (--shared().keepers == 0)
        shared().list = {};
}

bool isAvailable()
{
    return !words()->isEmpty();
}

bool contains(const QString &word)
{
    return words()->contains(word);
}

} // namespace EnglishWords
