// Reads every corpus screenshot with TextRecognizer and prints the time per image beside the time of
// the plain `tesseract IMAGE stdout` command, with what each found: word recall against the hand-checked
// transcripts in transcripts/, the labelled keywords, and the number of distinct plausible words.
//
// bench_naming [--limit N] [--only c001,c017] [--no-plain] [corpus folder]
// The corpus folder defaults to $QUILLO_CORPUS_DIR, then to the one configured at build time.

#include "naming/HeuristicNamer.h"
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
#include <optional>
#include <unistd.h>

namespace {

struct Options
{
    QString corpus;
    QFileInfoList images;
    bool withPlain = true;
};

// What is known about the corpus besides the images, by image id.
struct Reference
{
    QHash<QString, QSet<QString>> keywords;    // labels-dev.tsv: keywords_must and keywords_good
    QHash<QString, QSet<QString>> transcripts; // every word on the image, checked by eye
    QHash<QString, QStringList> mustKeywords;  // labels-dev.tsv: a good name holds one of these
    QHash<QString, QString> category;          // labels-dev.tsv: the best category
};

// What one reader found on one image.
struct Tally
{
    qsizetype words = 0; // distinct plausible words
    qsizetype keywords = 0;
    qsizetype keywordsTotal = 0;
    qsizetype transcribed = 0;
    qsizetype transcribedTotal = 0;

    Tally &operator+=(const Tally &other)
    {
        words += other.words;
        keywords += other.keywords;
        keywordsTotal += other.keywordsTotal;
        transcribed += other.transcribed;
        transcribedTotal += other.transcribedTotal;
        return *this;
    }
};

struct ImageRun
{
    QString id;
    QString path;
    qint64 ocrMs = 0;
    qint64 totalMs = 0; // recognition plus naming
    RecognitionResult result;
    NamingSuggestion suggestion;
    Tally found;
    qint64 plainMs = -1; // as a user runs it: OpenMP threads allowed
    qint64 plainOneThreadMs = -1;
    Tally plainFound;
};

// One column of the per-image table; the naming score joins as further columns.
struct Column
{
    QString header;
    std::function<QString(const ImageRun &)> value;
};

// Lowercase letters and digits, split at everything else, apostrophes dropped.
QSet<QString> tokensOf(const QString &text)
{
    static const QRegularExpression separator(QStringLiteral("[^a-z0-9]+"));
    const QStringList tokens =
        text.toLower().remove(u'\'').remove(QChar(0x2019)).split(separator, Qt::SkipEmptyParts);
    return {tokens.begin(), tokens.end()};
}

// Tokens of two or more characters with a letter: what a transcript is compared on.
QSet<QString> transcriptWords(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("^(?=.*[a-z]).{2,}$"));
    QSet<QString> words = tokensOf(text);
    words.removeIf([](const QString &token) {
        return !word.match(token).hasMatch();
    });
    return words;
}

// Three or more letters with a vowel: misread specks rarely qualify.
qsizetype plausibleWordCount(const QSet<QString> &tokens)
{
    static const QRegularExpression word(QStringLiteral("^(?=.*[aeiouy])[a-z]{3,}$"));
    return std::count_if(tokens.begin(), tokens.end(), [](const QString &token) {
        return word.match(token).hasMatch();
    });
}

Tally tally(const QString &text, const QString &id, const Reference &reference)
{
    const QSet<QString> tokens = tokensOf(text);
    const QSet<QString> keywords = reference.keywords.value(id);
    const QSet<QString> transcript = reference.transcripts.value(id);
    return {plausibleWordCount(tokens), (tokens & keywords).size(), keywords.size(),
            (tokens & transcript).size(), transcript.size()};
}

QString textOf(const RecognitionResult &result)
{
    QStringList lines;
    for (const RecognizedLine &line : result.lines)
        lines += line.text;
    return lines.join(u'\n');
}

Reference readReference(const QString &corpus)
{
    Reference reference;
    QFile labels(corpus + QStringLiteral("/labels-dev.tsv"));
    if (labels.open(QIODevice::ReadOnly | QIODevice::Text)) {
        labels.readLine(); // header
        while (!labels.atEnd()) {
            const QStringList fields = QString::fromUtf8(labels.readLine()).trimmed().split(u'\t');
            if (fields.size() < 4)
                continue;
            for (const QString &word : (fields[2] + u'|' + fields[3]).split(u'|', Qt::SkipEmptyParts))
                reference.keywords[fields[0]].insert(word);
            reference.mustKeywords[fields[0]] = fields[2].split(u'|', Qt::SkipEmptyParts);
            reference.category[fields[0]] = fields[1];
        }
    }
    const QDir transcripts(QStringLiteral(QUILLO_TRANSCRIPTS_DIR));
    for (const QFileInfo &file : transcripts.entryInfoList({QStringLiteral("*.txt")}, QDir::Files)) {
        QFile transcript(file.filePath());
        if (transcript.open(QIODevice::ReadOnly | QIODevice::Text))
            reference.transcripts[file.completeBaseName()] =
                transcriptWords(QString::fromUtf8(transcript.readAll()));
    }
    return reference;
}

// Wall time of `tesseract IMAGE stdout`, -1 when it fails.
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
    return values[std::min<qsizetype>(values.size() - 1, qsizetype(fraction * double(values.size())))];
}

QString ratio(double numerator, double denominator)
{
    return denominator > 0 ? QString::number(numerator / denominator, 'f', 2) : QStringLiteral("-");
}

QString fraction(qsizetype part, qsizetype whole)
{
    return whole > 0 ? QStringLiteral("%1/%2").arg(part).arg(whole) : QStringLiteral("-");
}

QString number(qint64 value)
{
    return QString::number(value);
}

QList<Column> foundColumns(const QString &prefix, Tally ImageRun::*found)
{
    return {
        {prefix + QStringLiteral("words"),
         [found](const ImageRun &run) {
             return number((run.*found).words);
         }},
        {prefix + QStringLiteral("keywords"),
         [found](const ImageRun &run) {
             return fraction((run.*found).keywords, (run.*found).keywordsTotal);
         }},
        {prefix + QStringLiteral("recall"),
         [found](const ImageRun &run) {
             return fraction((run.*found).transcribed, (run.*found).transcribedTotal);
         }},
    };
}

QList<Column> columns()
{
    QList<Column> table{
        {QStringLiteral("image"),
         [](const ImageRun &run) {
             return run.id;
         }},
        {QStringLiteral("ocr ms"),
         [](const ImageRun &run) {
             return number(run.ocrMs);
         }},
        {QStringLiteral("total ms"),
         [](const ImageRun &run) {
             return number(run.totalMs);
         }},
        {QStringLiteral("name"),
         [](const ImageRun &run) {
             return run.suggestion.slug + u' ' + rawValue(run.suggestion.category);
         }},
        {QStringLiteral("lines"),
         [](const ImageRun &run) {
             return number(qint64(run.result.lines.size()));
         }},
    };
    table += foundColumns(QString(), &ImageRun::found);
    table += Column{QStringLiteral("plain ms"), [](const ImageRun &run) {
                        return number(run.plainMs);
                    }};
    table += Column{QStringLiteral("1-thread"), [](const ImageRun &run) {
                        return number(run.plainOneThreadMs);
                    }};
    table += Column{QStringLiteral("ratio"), [](const ImageRun &run) {
                        return ratio(double(run.ocrMs), double(run.plainMs));
                    }};
    table += foundColumns(QStringLiteral("plain "), &ImageRun::plainFound);
    table += Column{QStringLiteral("error"), [](const ImageRun &run) {
                        return run.result.error;
                    }};
    return table;
}

void printFound(const char *who, const Tally &found)
{
    printf("%s: transcript words %s, keywords %s, plausible words %lld\n", who,
           qPrintable(fraction(found.transcribed, found.transcribedTotal)),
           qPrintable(fraction(found.keywords, found.keywordsTotal)), qlonglong(found.words));
}

// A must keyword is one slug word, or several adjacent ones written together ("kill-bill" holds
// "killbill").
bool nameHolds(const QString &slug, const QStringList &mustKeywords)
{
    const QStringList words = slug.split(u'-');
    for (qsizetype first = 0; first < words.size(); ++first) {
        QString joined;
        for (qsizetype last = first; last < words.size(); ++last) {
            joined += words[last];
            if (mustKeywords.contains(joined))
                return true;
        }
    }
    return false;
}

void printNamingScore(const QList<ImageRun> &runs, const Reference &reference)
{
    qsizetype labelled = 0, named = 0, categorised = 0;
    for (const ImageRun &run : runs) {
        if (!reference.category.contains(run.id))
            continue;
        ++labelled;
        named += nameHolds(run.suggestion.slug, reference.mustKeywords[run.id]);
        categorised += rawValue(run.suggestion.category) == reference.category[run.id];
    }
    printf("dev set: names holding a must keyword %s, categories right %s\n",
           qPrintable(fraction(named, labelled)), qPrintable(fraction(categorised, labelled)));
}

void printSummary(const QList<ImageRun> &runs, bool withPlain)
{
    QList<qint64> ocr, total, plain, oneThread;
    Tally found, plainFound;
    for (const ImageRun &run : runs) {
        ocr += run.ocrMs;
        total += run.totalMs;
        plain += run.plainMs;
        oneThread += run.plainOneThreadMs;
        found += run.found;
        plainFound += run.plainFound;
    }
    printf("\nimages: %lld\n", qlonglong(runs.size()));
    printf("ocr ms: median %lld, p90 %lld\n", percentile(ocr, 0.5), percentile(ocr, 0.9));
    printf("total naming ms: median %lld, p90 %lld\n", percentile(total, 0.5), percentile(total, 0.9));
    printFound("found", found);
    if (withPlain) {
        printf("plain tesseract ms: median %lld, p90 %lld (OMP_THREAD_LIMIT=1: median %lld, p90 %lld)\n",
               percentile(plain, 0.5), percentile(plain, 0.9), percentile(oneThread, 0.5),
               percentile(oneThread, 0.9));
        printf("median ratio to plain: %s (to one-thread plain: %s)\n",
               qPrintable(ratio(double(percentile(ocr, 0.5)), double(percentile(plain, 0.5)))),
               qPrintable(ratio(double(percentile(ocr, 0.5)), double(percentile(oneThread, 0.5)))));
        printFound("plain found", plainFound);
    }
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    printf("peak RSS: %ld MB (plain tesseract: %ld MB)\n", self.ru_maxrss / 1024, children.ru_maxrss / 1024);
}

std::optional<Options> parseOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("corpus"), QStringLiteral("Corpus folder (with images/)."));
    const QCommandLineOption limit(QStringLiteral("limit"), QStringLiteral("Only the first N images."),
                                   QStringLiteral("N"));
    const QCommandLineOption only(QStringLiteral("only"), QStringLiteral("Only these image ids."),
                                  QStringLiteral("ids"));
    const QCommandLineOption noPlain(QStringLiteral("no-plain"),
                                     QStringLiteral("Skip the plain tesseract command."));
    parser.addOptions({limit, only, noPlain});
    parser.process(app);

    Options options;
    options.corpus = parser.positionalArguments().value(0, qEnvironmentVariable("QUILLO_CORPUS_DIR"));
    if (options.corpus.isEmpty())
        options.corpus = QStringLiteral(QUILLO_DEFAULT_CORPUS_DIR);
    options.images = QDir(options.corpus + QStringLiteral("/images")).entryInfoList(QDir::Files, QDir::Name);
    if (options.images.isEmpty()) {
        fprintf(stderr, "no images in %s/images\n", qPrintable(options.corpus));
        return std::nullopt;
    }
    if (parser.isSet(only)) {
        const QStringList ids = parser.value(only).split(u',');
        options.images.removeIf([&](const QFileInfo &image) {
            return !ids.contains(image.completeBaseName());
        });
    }
    if (parser.isSet(limit))
        options.images = options.images.mid(0, parser.value(limit).toInt());
    options.withPlain = !parser.isSet(noPlain);
    return options;
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
    const std::optional<Options> options = parseOptions(app);
    if (!options)
        return 1;
    const Reference reference = readReference(options->corpus);

    QElapsedTimer timer;
    timer.start();
    TextRecognizer recognizer(QLocale(QLocale::English));
    printf("engine start: %lld ms (%s), OMP_THREAD_LIMIT=%s\n", timer.elapsed(),
           qPrintable(recognizer.languages()), qgetenv("OMP_THREAD_LIMIT").constData());
    const QList<Column> table = columns();
    for (const Column &column : table)
        printf("%s\t", qPrintable(column.header));
    printf("\n");

    QList<ImageRun> runs;
    for (const QFileInfo &image : options->images) {
        ImageRun run;
        run.id = image.completeBaseName();
        run.path = image.filePath();
        timer.restart();
        run.result = recognizer.recognizeLines(run.path);
        run.ocrMs = timer.elapsed();
        // The production path with the local model switched off: heuristics over the read lines.
        run.suggestion =
            HeuristicNamer::suggest(ScreenLayout({run.result.lines.begin(), run.result.lines.end()}),
                                    CaptureContext{}, RoutingConfiguration::defaultConfiguration());
        run.totalMs = timer.elapsed();
        run.found = tally(textOf(run.result), run.id, reference);
        if (options->withPlain) {
            QString plainText;
            run.plainMs = runPlain(run.path, false, &plainText);
            run.plainOneThreadMs = runPlain(run.path, true, nullptr);
            run.plainFound = tally(plainText, run.id, reference);
        }
        for (const Column &column : table)
            printf("%s\t", qPrintable(column.value(run)));
        printf("\n");
        fflush(stdout);
        runs += run;
    }
    printSummary(runs, options->withPlain);
    printNamingScore(runs, reference);
    return 0;
}
