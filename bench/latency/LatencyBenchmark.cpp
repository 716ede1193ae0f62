// SPDX-License-Identifier: GPL-3.0-or-later
// How long a user waits: the real daemon watches a temporary folder, corpus screenshots arrive one at
// a time the two ways tools write them (written in place and closed; written under a hidden name and
// renamed into place), and the time from the file being complete to its rename is measured. Beside it,
// in the same run, the median time of `tesseract IMAGE stdout` with one OpenMP thread on the same
// images, the cost of reading a screenshot whole on one core.
// The corpus folder defaults to $QUILLO_CORPUS_DIR, then to the one configured at build time.
#include "BenchDaemon.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

namespace {

constexpr qint64 renameTimeoutMs = 60'000;

struct Options
{
    int count = 10;
    int gapMs = 2000; // between screenshots, as a person takes them
    bool verbose = false;
    QFileInfoList images;
};

double percentile(std::vector<qint64> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const double at = fraction * double(values.size() - 1);
    const auto below = std::size_t(at);
    const std::size_t above = std::min(below + 1, values.size() - 1);
    return double(values[below]) + (at - double(below)) * double(values[above] - values[below]);
}

bool writeInPlace(const QString &source, const QString &target)
{
    QFile in(source), out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = in.readAll();
    // Two writes, as a tool encoding row by row would make.
    const qsizetype half = bytes.size() / 2;
    return out.write(bytes.left(half)) == half && out.write(bytes.mid(half)) == bytes.size() - half;
}

bool moveInWhole(const QString &source, const QString &target)
{
    const QString hidden = QFileInfo(target).dir().filePath(QStringLiteral(".incoming.png"));
    return QFile::copy(source, hidden) && QFile::rename(hidden, target);
}

// Milliseconds from the file being complete to its rename, or nothing when it was not renamed in time.
std::optional<qint64> timeOneRename(BenchDaemon &daemon, std::map<QString, qint64> &renamedAt,
                                    const QElapsedTimer &clock, const QString &source, const QString &target,
                                    bool isMovedIn)
{
    const bool written = isMovedIn ? moveInWhole(source, target) : writeInPlace(source, target);
    const qint64 completeAt = clock.elapsed();
    const QString name = QFileInfo(target).fileName();
    if (!written || !waitUntil(
                        [&] {
                            return renamedAt.count(name) > 0 || !daemon.isRunning();
                        },
                        renameTimeoutMs))
        return std::nullopt;
    if (!renamedAt.count(name))
        return std::nullopt;
    return renamedAt.at(name) - completeAt;
}

std::optional<qint64> tesseractMs(const QString &image)
{
    QProcess tesseract;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    tesseract.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    tesseract.start(QStringLiteral("tesseract"), {image, QStringLiteral("stdout")});
    if (!tesseract.waitForFinished(120'000) || tesseract.exitCode() != 0)
        return std::nullopt;
    return clock.elapsed();
}

std::optional<Options> parseOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("corpus"), QStringLiteral("Corpus folder (with images/)."));
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("Screenshots timed (10)."),
                                   QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption gap(QStringLiteral("gap-ms"),
                                 QStringLiteral("Pause between screenshots (2000)."), QStringLiteral("MS"),
                                 QStringLiteral("2000"));
    const QCommandLineOption verbose(QStringLiteral("verbose"), QStringLiteral("Show quillo's whole log."));
    parser.addOptions({count, gap, verbose});
    parser.process(app);

    Options options;
    options.count = parser.value(count).toInt();
    options.gapMs = parser.value(gap).toInt();
    options.verbose = parser.isSet(verbose);
    QString corpus = parser.positionalArguments().value(0, qEnvironmentVariable("QUILLO_CORPUS_DIR"));
    if (corpus.isEmpty())
        corpus = QStringLiteral(QUILLO_DEFAULT_CORPUS_DIR);
    const QFileInfoList all = QDir(corpus + QStringLiteral("/images"))
                                  .entryInfoList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    if (all.isEmpty() || options.count < 1) {
        std::fprintf(stderr, "no images in %s/images, or nothing to time\n", qPrintable(corpus));
        return std::nullopt;
    }
    // Spread over the corpus, so that no one kind of screenshot decides the figure.
    for (int n = 0; n < options.count; ++n)
        options.images << all.at(qsizetype(n) * all.size() / options.count);
    return options;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const auto options = parseOptions(app);
    QTemporaryDir root;
    if (!options || !root.isValid())
        return 1;
    const QString folder = root.filePath(QStringLiteral("Screenshots"));
    QDir().mkpath(folder);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    BenchDaemon daemon(root, options->verbose);
    QElapsedTimer clock;
    clock.start();
    std::map<QString, qint64> renamedAt; // original name -> when its rename was logged
    daemon.setLineHandler([&](const QByteArray &line) {
        const qsizetype at = line.indexOf("Renamed ");
        const qsizetype to = line.lastIndexOf(" to ");
        if (at >= 0 && to > at)
            renamedAt.emplace(QString::fromUtf8(line.mid(at + 8, to - at - 8)), clock.elapsed());
    });
    if (!daemon.start(folder))
        return 1;
    pause(1000);

    // The first one after start-up pays for starting the reading machinery.
    const auto cold =
        timeOneRename(daemon, renamedAt, clock, options->images.first().filePath(),
                      folder + QStringLiteral("/Screenshot from 2026-12-05 09-59-59.png"), true);
    std::printf("first file after start (cold): %s ms\n",
                cold ? qPrintable(QString::number(*cold)) : "not renamed");

    std::vector<qint64> all, inPlace, movedIn;
    for (int n = 0; n < options->images.size(); ++n) {
        pause(options->gapMs);
        const bool isMovedIn = n % 2 == 1;
        const QString target =
            folder + QStringLiteral("/Screenshot from 2026-12-05 10-00-%1.png").arg(n, 2, 10, QChar(u'0'));
        const auto ms =
            timeOneRename(daemon, renamedAt, clock, options->images.at(n).filePath(), target, isMovedIn);
        if (!ms) {
            std::printf("%s: not renamed within %lld s\n", qPrintable(options->images.at(n).fileName()),
                        static_cast<long long>(renameTimeoutMs / 1000));
            continue;
        }
        all.push_back(*ms);
        (isMovedIn ? movedIn : inPlace).push_back(*ms);
        std::printf("%s %s: %lld ms\n", qPrintable(options->images.at(n).fileName()),
                    isMovedIn ? "moved in" : "written in place", static_cast<long long>(*ms));
    }

    std::vector<qint64> tesseract;
    for (const QFileInfo &image : options->images) {
        if (const auto ms = tesseractMs(image.filePath()))
            tesseract.push_back(*ms);
    }
    const double tesseractMedian = percentile(tesseract, 0.5);
    std::printf(
        "complete file to rename: %zu of %lld renamed, p50 %.0f ms, p95 %.0f ms (written in place p50 %.0f, "
        "moved in p50 %.0f)\n",
        all.size(), static_cast<long long>(options->images.size()), percentile(all, 0.5),
        percentile(all, 0.95), percentile(inPlace, 0.5), percentile(movedIn, 0.5));
    std::printf("tesseract one thread, same images: median %.0f ms (%zu runs)\n", tesseractMedian,
                tesseract.size());
    if (tesseractMedian > 0)
        std::printf("ratio to tesseract: p50 %.2fx, p95 %.2fx\n", percentile(all, 0.5) / tesseractMedian,
                    percentile(all, 0.95) / tesseractMedian);
    return 0;
}
