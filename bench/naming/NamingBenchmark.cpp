// Reads every corpus screenshot with TextRecognizer and prints the time per image beside the time of
// the plain `tesseract IMAGE stdout` command, with how many words and labelled keywords each found.
//
// bench_naming [--limit N] [--only c001,c017] [--no-plain] [corpus folder]
// The corpus folder defaults to $QUILLO_CORPUS_DIR, then to the one configured at build time.

#include "naming/TextRecognizer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

struct PlainRun
{
    qint64 ms = -1; // as a user runs it: OpenMP threads allowed
    qint64 oneThreadMs = -1;
    QString text;
};

struct ImageRun
{
    QString id;
    QString path;
    qint64 ocrMs = 0;
    RecognitionResult result;
    PlainRun plain;
};

// One column of the per-image table; the naming score joins as further columns.
struct Column
{
    const char *header;
    std::function<QString(const ImageRun &)> value;
};

QSet<QString> wordsOf(const QString &text)
{
    QSet<QString> words;
    static const QRegularExpression separator(QStringLiteral("[^a-z0-9]+"));
    const QString folded = text.toLower().remove(u'\'').remove(QChar(0x2019));
    for (const QString &word : folded.split(separator, Qt::SkipEmptyParts))
        if (word.size() >= 3 && word.contains(QRegularExpression(QStringLiteral("[a-z]"))))
            words.insert(word);
    return words;
}

QString textOf(const RecognitionResult &result)
{
    QStringList lines;
    for (const RecognizedLine &line : result.lines)
        lines += line.text;
    return lines.join(u'\n');
}

// id → the words a good name may draw from (labels-dev.tsv: keywords_must and keywords_good).
QHash<QString, QSet<QString>> readKeywords(const QString &corpus)
{
    QHash<QString, QSet<QString>> keywords;
    QFile file(corpus + QStringLiteral("/labels-dev.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keywords;
    file.readLine(); // header
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
        if (fields.size() >= 4)
            for (const QString &word : (fields[2] + u'|' + fields[3]).split(u'|', Qt::SkipEmptyParts))
                keywords[fields[0]].insert(word);
    }
    return keywords;
}

qint64 runPlain(const QString &path, bool oneThread, QString *text)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("OMP_THREAD_LIMIT"));
    if (oneThread)
        environment.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral("tesseract"), {path, QStringLiteral("stdout")});
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return -1;
    const qint64 ms = timer.elapsed();
    if (text)
        *text = QString::fromUtf8(process.readAllStandardOutput());
    return ms;
}

qint64 percentile(QList<qint64> values, double fraction)
{
    values.removeAll(-1);
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[std::min<qsizetype>(values.size() - 1, qsizetype(fraction * values.size()))];
}

QString ratio(qint64 numerator, qint64 denominator)
{
    return denominator > 0 ? QString::number(double(numerator) / double(denominator), 'f', 2)
                           : QStringLiteral("-");
}

// Tesseract's OpenMP threads must be limited before the process starts: set it and start again.
void ensureOneOpenMpThread(char *argv[])
{
    if (qEnvironmentVariableIsSet("OMP_THREAD_LIMIT"))
        return;
    setenv("OMP_THREAD_LIMIT", "1", 1);
    execv("/proc/self/exe", argv);
    perror("bench_naming: cannot restart with OMP_THREAD_LIMIT=1");
}

} // namespace

int main(int argc, char *argv[])
{
    ensureOneOpenMpThread(argv);
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("corpus"), QStringLiteral("Corpus folder (with images/)."));
    const QCommandLineOption limitOption(QStringLiteral("limit"), QStringLiteral("Only the first N images."),
                                         QStringLiteral("N"));
    const QCommandLineOption onlyOption(QStringLiteral("only"), QStringLiteral("Only these image ids."),
                                        QStringLiteral("ids"));
    const QCommandLineOption noPlainOption(QStringLiteral("no-plain"),
                                           QStringLiteral("Skip the plain tesseract command."));
    parser.addOptions({limitOption, onlyOption, noPlainOption});
    parser.process(app);

    QString corpus = parser.positionalArguments().value(0, qEnvironmentVariable("QUILLO_CORPUS_DIR"));
    if (corpus.isEmpty())
        corpus = QStringLiteral(QUILLO_DEFAULT_CORPUS_DIR);
    QFileInfoList images = QDir(corpus + QStringLiteral("/images")).entryInfoList(QDir::Files, QDir::Name);
    if (images.isEmpty()) {
        fprintf(stderr, "no images in %s/images\n", qPrintable(corpus));
        return 1;
    }
    if (parser.isSet(onlyOption)) {
        const QStringList ids = parser.value(onlyOption).split(u',');
        images.removeIf([&](const QFileInfo &image) {
            return !ids.contains(image.completeBaseName());
        });
    }
    if (parser.isSet(limitOption))
        images = images.mid(0, parser.value(limitOption).toInt());
    const bool withPlain = !parser.isSet(noPlainOption);
    const QHash<QString, QSet<QString>> keywords = readKeywords(corpus);
    const auto keywordsFound = [&](const ImageRun &run, const QString &text) {
        return keywords.contains(run.id) ? QStringLiteral("%1/%2")
                                               .arg((wordsOf(text) & keywords[run.id]).size())
                                               .arg(keywords[run.id].size())
                                         : QStringLiteral("-");
    };

    QElapsedTimer timer;
    timer.start();
    TextRecognizer recognizer(QLocale(QLocale::English));
    printf("engine start: %lld ms (%s), OMP_THREAD_LIMIT=%s\n", timer.elapsed(),
           qPrintable(recognizer.languages()), qgetenv("OMP_THREAD_LIMIT").constData());

    const QList<Column> columns{
        {"image",
         [](const ImageRun &run) {
             return run.id;
         }},
        {"ocr ms",
         [](const ImageRun &run) {
             return QString::number(run.ocrMs);
         }},
        {"lines",
         [](const ImageRun &run) {
             return QString::number(run.result.lines.size());
         }},
        {"words",
         [](const ImageRun &run) {
             return QString::number(wordsOf(textOf(run.result)).size());
         }},
        {"keywords",
         [&](const ImageRun &run) {
             return keywordsFound(run, textOf(run.result));
         }},
        {"plain ms",
         [](const ImageRun &run) {
             return QString::number(run.plain.ms);
         }},
        {"1-thread",
         [](const ImageRun &run) {
             return QString::number(run.plain.oneThreadMs);
         }},
        {"ratio",
         [](const ImageRun &run) {
             return ratio(run.ocrMs, run.plain.ms);
         }},
        {"plain words",
         [](const ImageRun &run) {
             return QString::number(wordsOf(run.plain.text).size());
         }},
        {"plain keywords",
         [&](const ImageRun &run) {
             return keywordsFound(run, run.plain.text);
         }},
        {"error",
         [](const ImageRun &run) {
             return run.result.error;
         }},
    };
    for (const Column &column : columns)
        printf("%s\t", column.header);
    printf("\n");

    QList<qint64> ocrTimes, plainTimes, oneThreadTimes;
    qint64 ourWords = 0, plainWords = 0;
    for (const QFileInfo &image : images) {
        ImageRun run;
        run.id = image.completeBaseName();
        run.path = image.filePath();
        timer.restart();
        run.result = recognizer.recognizeLines(run.path);
        run.ocrMs = timer.elapsed();
        if (withPlain) {
            run.plain.ms = runPlain(run.path, false, &run.plain.text);
            run.plain.oneThreadMs = runPlain(run.path, true, nullptr);
        }
        for (const Column &column : columns)
            printf("%s\t", qPrintable(column.value(run)));
        printf("\n");
        fflush(stdout);
        ocrTimes += run.ocrMs;
        plainTimes += run.plain.ms;
        oneThreadTimes += run.plain.oneThreadMs;
        ourWords += wordsOf(textOf(run.result)).size();
        plainWords += wordsOf(run.plain.text).size();
    }

    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    printf("\nimages: %lld\n", qlonglong(images.size()));
    printf("ocr ms: median %lld, p90 %lld\n", percentile(ocrTimes, 0.5), percentile(ocrTimes, 0.9));
    if (withPlain) {
        printf("plain tesseract ms: median %lld, p90 %lld (OMP_THREAD_LIMIT=1: median %lld, p90 %lld)\n",
               percentile(plainTimes, 0.5), percentile(plainTimes, 0.9), percentile(oneThreadTimes, 0.5),
               percentile(oneThreadTimes, 0.9));
        printf("median ratio to plain: %s (to one-thread plain: %s)\n",
               qPrintable(ratio(percentile(ocrTimes, 0.5), percentile(plainTimes, 0.5))),
               qPrintable(ratio(percentile(ocrTimes, 0.5), percentile(oneThreadTimes, 0.5))));
        printf("distinct words found: %lld (plain: %lld)\n", ourWords, plainWords);
    }
    printf("peak RSS: %ld MB (plain tesseract: %ld MB)\n", self.ru_maxrss / 1024, children.ru_maxrss / 1024);
    return 0;
}
