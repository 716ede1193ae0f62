// SPDX-License-Identifier: GPL-3.0-or-later
// Fills a search index with screenshots' worth of text, then prints what one more screenshot costs
// to index, how large the index is per screenshot, and how long queries take.
// Usage: bench_search [SCREENSHOTS] [QUERIES]
#include "index/ScreenshotIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// Words as screenshots show them: a few very common, most rare.
QStringList vocabulary()
{
    QFile dictionary(QStringLiteral("/usr/share/dict/words"));
    QStringList words;
    if (dictionary.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : dictionary.readAll().split('\n')) {
            if (!line.isEmpty() && !line.contains('\''))
                words.append(QString::fromUtf8(line));
        }
    }
    if (words.size() < 1000) {
        // Without a dictionary: made-up words of two to five syllables.
        const QStringList syllables{u"ka"_qs, u"lo"_qs, u"mi"_qs, u"ne"_qs, u"ru"_qs,  u"sa"_qs,  u"te"_qs,
                                    u"vo"_qs, u"zi"_qs, u"pa"_qs, u"do"_qs, u"gre"_qs, u"str"_qs, u"on"_qs};
        QRandomGenerator random(7);
        for (int i = 0; i < 50000; ++i) {
            QString word;
            for (int s = 0, n = 2 + random.bounded(4); s < n; ++s)
                word += syllables.at(random.bounded(syllables.size()));
            words.append(word);
        }
    }
    return words;
}

QString pick(const QStringList &words, QRandomGenerator &random)
{
    // Skewed towards the front, so some words are on many screenshots.
    const double r = random.generateDouble();
    return words.at(qsizetype(r * r * r * double(words.size() - 1)));
}

// About 25 lines like those read off a screenshot: words, amounts, order numbers, dates.
QString screenshotText(const QStringList &words, QRandomGenerator &random)
{
    QStringList lines;
    for (int line = 0, count = 10 + random.bounded(30); line < count; ++line) {
        QStringList parts;
        for (int part = 0, n = 1 + random.bounded(7); part < n; ++part) {
            switch (random.bounded(10)) {
            case 0:
                parts.append(QString::number(random.bounded(100000)));
                break;
            case 1:
                parts.append(QStringLiteral("%1.%2")
                                 .arg(random.bounded(1000))
                                 .arg(random.bounded(100), 2, 10, QChar(u'0')));
                break;
            default:
                parts.append(pick(words, random));
            }
        }
        lines.append(parts.join(u' '));
    }
    return lines.join(u'\n');
}

double percentile(QList<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(qsizetype(fraction * double(values.size() - 1)));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int screenshots = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const int queries = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;
    const QStringList words = vocabulary();
    QRandomGenerator random(2026);
    QTemporaryDir home;
    const QString shots = home.filePath(QStringLiteral("shots"));
    QDir().mkpath(shots);
    const QDateTime start = QDateTime::currentDateTimeUtc().addYears(-3);

    QList<double> putMs;
    qint64 textBytes = 0;
    {
        ScreenshotIndex index(home.filePath(QStringLiteral("index.sqlite")));
        for (int i = 0; i < screenshots; ++i) {
            // Real files: a search drops results whose file is gone.
            const QString path = shots + QStringLiteral("/%1-%2.png").arg(pick(words, random)).arg(i);
            QFile(path).open(QIODevice::WriteOnly);
            const IndexEntry entry{path,
                                   QStringLiteral("Screenshot %1.png").arg(i),
                                   QStringLiteral("other"),
                                   start.addSecs(qint64(random.bounded(3 * 365 * 86400))),
                                   QStringLiteral("Firefox"),
                                   QStringLiteral("Window %1").arg(pick(words, random)),
                                   screenshotText(words, random)};
            textBytes += entry.text.toUtf8().size();
            QElapsedTimer clock;
            clock.start();
            if (const auto problem = index.put(entry)) {
                std::fprintf(stderr, "bench_search: %s\n", qPrintable(*problem));
                return 1;
            }
            putMs.append(double(clock.nsecsElapsed()) / 1e6);
        }
    }
    ScreenshotIndex index(home.filePath(QStringLiteral("index.sqlite")));
    const ScreenshotIndex::Size size = index.size();

    QList<double> queryMs;
    qint64 hits = 0;
    for (int q = 0; q < queries; ++q) {
        QString query = pick(words, random);
        if (q % 3 == 0)
            query += u' ' + pick(words, random);
        if (q % 4 == 0)
            query.truncate(std::max<qsizetype>(3, query.size() / 2)); // typed halfway
        QElapsedTimer clock;
        clock.start();
        hits += index.search(query, 20).hits.size();
        queryMs.append(double(clock.nsecsElapsed()) / 1e6);
    }

    const QList<double> lastPuts = putMs.mid(putMs.size() - std::min<qsizetype>(putMs.size(), 1000));
    std::printf("%d screenshots indexed, %.0f bytes of text each on average\n", screenshots,
                double(textBytes) / screenshots);
    std::printf("index size: %.2f MB, %.0f bytes per screenshot (%lld rows)\n", double(size.bytes) / 1e6,
                double(size.bytes) / screenshots, size.count);
    std::printf("indexing one screenshot (last 1000): p50 %.2f ms, p99 %.2f ms\n", percentile(lastPuts, 0.5),
                percentile(lastPuts, 0.99));
    std::printf("%d queries, %.1f hits each: p50 %.2f ms, p99 %.2f ms\n", queries, double(hits) / queries,
                percentile(queryMs, 0.5), percentile(queryMs, 0.99));
    return 0;
}
