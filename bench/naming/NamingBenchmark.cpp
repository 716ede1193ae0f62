// SPDX-License-Identifier: GPL-3.0-or-later
// Names every corpus screenshot as `quillo name` does without a model and scores the names against
// labels-dev.tsv exactly as the corpus's score.py does, next to the naive namer (the plain `tesseract
// IMAGE stdout` text, its three most frequent content words, a keyword count for the category). Prints
// the time per screenshot beside the plain command's time with one OpenMP thread, the reading worker's
// processor time per screenshot (steadier than the time on a shared machine), the word recall against
// the hand-checked transcripts in transcripts/, and the peak memory.
//
// bench_naming [--limit N] [--only c001,c017] [--no-plain] [--save FILE | --cached FILE] [--show]
//              [--contexts FILE] [--features FILE] [corpus folder]
// --save writes what recognition found (and the plain command's text) to FILE; --cached reads it back
// and runs only layout, heuristics and scoring, in milliseconds, for tuning.
// --contexts names the screenshots listed in FILE (id, app id, app name, window title; tab separated;
// by default contexts.tsv here) a second time with that capture context and scores those names apart.
// --features writes every candidate word's features and every screenshot's category features as JSON
// lines for tools/fit-naming-weights.py.
// With $QUILLO_BENCH_MODEL_URL set (and optionally $QUILLO_BENCH_MODEL_NAME and
// $QUILLO_BENCH_MODEL_API=ollama|openai), the corpus is also named through that local model server
// and scored beside the heuristics.
// The corpus folder defaults to $QUILLO_CORPUS_DIR, then to the one configured at build time.

#include "naming/CategoryClassifier.h"
#include "naming/HeuristicNamer.h"
#include "naming/HttpModelClient.h"
#include "naming/LocalModelNamer.h"
#include "naming/ScreenshotNamer.h"
#include "naming/WordRanking.h"
#include "reader/ScreenshotImage.h"
#include "reader/TextRecognizer.h"
#include "reading/ReadingWorkers.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

struct Options
{
    QString corpus;
    QFileInfoList images;
    bool withPlain = true;
    bool show = false;
    QString saveTo;
    QString cachedFrom;
    QString featuresTo;
    QHash<QString, CaptureContext> contexts;
    std::optional<ModelServer> model;
    QString modelSkipped; // why the model path is not measured
};

// labels-dev.tsv, by image id.
struct Label
{
    QString category;
    QSet<QString> must;
    QSet<QString> good; // must and good
};

// One namer's name for one image.
struct Name
{
    QString slug;
    QString category;
};

struct ImageRun
{
    QString id;
    RecognitionResult result;
    qint64 ocrMs = 0;
    qint64 ocrCpuMs =
        -1;             // the reading worker's processor time, which other load on the machine barely changes
    qint64 totalMs = 0; // recognition plus naming
    Name quillo;
    std::optional<Name> withContext;
    std::optional<Name> model;
    QString plainText;
    qint64 plainMs = -1; // as a user runs it: OpenMP threads allowed
    qint64 plainOneThreadMs = -1;
    Name naive;
};

// Lower case ASCII letters and digits after compatibility decomposition, apostrophes dropped.
QStringList plainWords(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("[a-z0-9]+"));
    QString folded = text.normalized(QString::NormalizationForm_KD).toLower();
    folded.removeIf([](QChar c) {
        return c.category() == QChar::Mark_NonSpacing || c == u'\'' || c == QChar(0x2019);
    });
    QStringList words;
    for (auto match = word.globalMatch(folded); match.hasNext();)
        words.append(match.next().captured());
    return words;
}

// The corpus's naive namer, word for word.
Name naiveName(const QString &text)
{
    static const QStringList stop =
        QStringLiteral(
            "a an and are as at be been but by can do does for from has have he her his how i if in into is "
            "it "
            "its me my no not of on or our out so she that the their them then there these they this those "
            "to "
            "up us was we were what when where which who will with you your yours am pm www http https com "
            "screenshot screenshots screen shot capture image png jpg jpeg heic tiff pdf untitled all any "
            "new "
            "more one two also just than only other some such very via per see get set use used using let")
            .split(u' ');
    static const QList<std::pair<QString, QStringList>> categories{
        {QStringLiteral("receipts"),
         QStringLiteral("invoice invoices receipt receipts billing payment payments paid order orders stripe "
                        "total subtotal tax refund checkout purchase transaction paypal vat")
             .split(u' ')},
        {QStringLiteral("code"),
         QStringLiteral(
             "func function class struct import return const let var def error exception traceback "
             "git commit branch merge terminal npm swift python json log debug build compile "
             "localhost sudo")
             .split(u' ')},
        {QStringLiteral("design"),
         QStringLiteral("figma sketch design component components layout color colors typography font mockup "
                        "prototype frame settings preferences button icon padding spacing artboard palette")
             .split(u' ')},
        {QStringLiteral("chats"),
         QStringLiteral("slack message messages reply replied thread channel chat email "
                        "inbox sent subject notion document doc docs notes meeting "
                        "wrote mention")
             .split(u' ')},
        {QStringLiteral("web"),
         QStringLiteral("https http www search results article blog dashboard analytics "
                        "posted followers likes retweet comments subscribe cookies "
                        "browse news")
             .split(u' ')},
    };
    const QStringList words = plainWords(text);
    QStringList order;
    QHash<QString, int> counts;
    for (const QString &word : words) {
        const bool isDigits = std::all_of(word.begin(), word.end(), [](QChar c) {
            return c.isDigit();
        });
        if (stop.contains(word) || word.size() < 3 || word.size() > 24 || isDigits)
            continue;
        if (counts[word]++ == 0)
            order.append(word);
    }
    std::stable_sort(order.begin(), order.end(), [&](const QString &a, const QString &b) {
        return counts[a] > counts[b];
    });
    const QStringList top = order.mid(0, 3);
    Name name{top.size() >= 2   ? top.join(u'-')
              : top.size() == 1 ? top.first() + QStringLiteral("-screenshot")
                                : QStringLiteral("screen-capture"),
              QStringLiteral("other")};
    int best = 0;
    for (const auto &[category, keywords] : categories) {
        int score = 0;
        for (const QString &keyword : keywords)
            score += std::min<qsizetype>(2, words.count(keyword));
        if (score > best) {
            best = score;
            name.category = category;
        }
    }
    return name;
}

// score.py: a hit holds a must word; precision is the share of the name's words (but "screenshot")
// that are must or good words; category is an exact match.
struct Score
{
    double hits = 0;
    double precision = 0;
    double category = 0;
    int images = 0;

    void add(const Name &name, const Label &label)
    {
        const QStringList words = name.slug.split(u'-');
        const QSet<QString> wordSet(words.begin(), words.end());
        hits += wordSet.intersects(label.must) ? 1 : 0;
        QStringList counted = words;
        counted.removeAll(QStringLiteral("screenshot"));
        const auto good = std::count_if(counted.begin(), counted.end(), [&](const QString &word) {
            return label.good.contains(word);
        });
        precision += double(good) / double(std::max<qsizetype>(1, counted.size()));
        category += name.category == label.category ? 1 : 0;
        ++images;
    }

    QString text() const
    {
        const double n = std::max(1, images);
        return QStringLiteral("hits %1  precision %2  category %3")
            .arg(hits / n, 0, 'f', 2)
            .arg(precision / n, 0, 'f', 2)
            .arg(category / n, 0, 'f', 2);
    }
};

QHash<QString, Label> readLabels(const QString &corpus)
{
    QHash<QString, Label> labels;
    QFile file(corpus + QStringLiteral("/labels-dev.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return labels;
    file.readLine(); // header
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
        if (fields.size() < 4)
            continue;
        const QStringList must = fields[2].toLower().split(u'|', Qt::SkipEmptyParts);
        const QStringList good = fields[3].toLower().split(u'|', Qt::SkipEmptyParts) + must;
        labels.insert(fields[0], {fields[1], {must.begin(), must.end()}, {good.begin(), good.end()}});
    }
    return labels;
}

// Words of two or more characters with a letter, as the transcripts are compared.
QSet<QString> transcriptWords(const QString &text)
{
    QSet<QString> words;
    for (const QString &word : plainWords(text)) {
        if (word.size() >= 2 && std::any_of(word.begin(), word.end(), [](QChar c) {
                return c.isLetter();
            }))
            words.insert(word);
    }
    return words;
}

QHash<QString, QSet<QString>> readTranscripts()
{
    QHash<QString, QSet<QString>> transcripts;
    const QDir folder(QStringLiteral(QUILLO_TRANSCRIPTS_DIR));
    for (const QFileInfo &file : folder.entryInfoList({QStringLiteral("*.txt")}, QDir::Files)) {
        QFile transcript(file.filePath());
        if (transcript.open(QIODevice::ReadOnly | QIODevice::Text))
            transcripts.insert(file.completeBaseName(),
                               transcriptWords(QString::fromUtf8(transcript.readAll())));
    }
    return transcripts;
}

QString textOf(const RecognitionResult &result)
{
    QStringList lines;
    for (const RecognizedLine &line : result.lines)
        lines += line.text;
    return lines.join(u'\n');
}

// Wall time of `tesseract IMAGE stdout`, -1 when it fails.
// Processor time used so far by this process's children: the reading worker, and those retired and
// reaped before it.
qint64 childrenCpuMs()
{
    rusage reaped{};
    getrusage(RUSAGE_CHILDREN, &reaped);
    const qint64 reapedMs = (reaped.ru_utime.tv_sec + reaped.ru_stime.tv_sec) * 1000 +
                            (reaped.ru_utime.tv_usec + reaped.ru_stime.tv_usec) / 1000;
    qint64 ticks = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(tasks.filePath(task + QStringLiteral("/children")));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &pid : children.readAll().split(' ')) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid.trimmed())));
            if (pid.trimmed().isEmpty() || !stat.open(QIODevice::ReadOnly))
                continue;
            // utime and stime, the 14th and 15th fields; the name before them may hold spaces.
            const QByteArray line = stat.readAll();
            const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
            ticks += fields.value(11).toLongLong() + fields.value(12).toLongLong();
        }
    }
    return reapedMs + ticks * 1000 / sysconf(_SC_CLK_TCK);
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

QJsonObject toJson(const ImageRun &run)
{
    QJsonArray lines;
    for (const RecognizedLine &line : run.result.lines) {
        QJsonArray words;
        for (const RecognizedWord &word : line.words)
            words.append(QJsonArray{word.text, word.confidence});
        const QRectF &box = line.boundingBox;
        lines.append(
            QJsonObject{{QStringLiteral("text"), line.text},
                        {QStringLiteral("confidence"), line.confidence},
                        {QStringLiteral("box"), QJsonArray{box.x(), box.y(), box.width(), box.height()}},
                        {QStringLiteral("words"), words}});
    }
    return {{QStringLiteral("lines"), lines},
            {QStringLiteral("ocrMs"), run.ocrMs},
            {QStringLiteral("plain"), run.plainText},
            {QStringLiteral("plainMs"), run.plainMs},
            {QStringLiteral("plainOneThreadMs"), run.plainOneThreadMs}};
}

void fromJson(const QJsonObject &object, ImageRun &run)
{
    for (const QJsonValue &value : object.value(QStringLiteral("lines")).toArray()) {
        const QJsonObject line = value.toObject();
        const QJsonArray box = line.value(QStringLiteral("box")).toArray();
        RecognizedLine recognized{
            line.value(QStringLiteral("text")).toString(),
            float(line.value(QStringLiteral("confidence")).toDouble()),
            QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble()),
            {}};
        for (const QJsonValue &word : line.value(QStringLiteral("words")).toArray())
            recognized.words.append({word[0].toString(), float(word[1].toDouble())});
        run.result.lines.push_back(recognized);
    }
    run.ocrMs = object.value(QStringLiteral("ocrMs")).toInteger();
    run.plainText = object.value(QStringLiteral("plain")).toString();
    run.plainMs = object.value(QStringLiteral("plainMs")).toInteger(-1);
    run.plainOneThreadMs = object.value(QStringLiteral("plainOneThreadMs")).toInteger(-1);
}

// The capture contexts of --contexts: id, app id, app name, window title; empty fields are absent.
QHash<QString, CaptureContext> readContexts(const QString &path)
{
    QHash<QString, CaptureContext> contexts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return contexts;
    }
    const auto field = [](const QString &value) {
        return value.isEmpty() ? std::nullopt : std::optional<QString>(value);
    };
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).remove(u'\n');
        const QStringList fields = line.split(u'\t');
        if (line.startsWith(u'#') || fields.size() < 4)
            continue;
        contexts.insert(fields[0], {field(fields[2]), field(fields[1]), field(fields[3])});
    }
    return contexts;
}

// The server of $QUILLO_BENCH_MODEL_URL, if set.
std::optional<ModelServer> benchModelServer()
{
    const QString url = qEnvironmentVariable("QUILLO_BENCH_MODEL_URL");
    if (url.isEmpty())
        return std::nullopt;
    const bool isOpenAI = qEnvironmentVariable("QUILLO_BENCH_MODEL_API") == u"openai";
    return ModelServer{isOpenAI ? LocalModelApi::OpenAI : LocalModelApi::Ollama,
                       QUrl::fromUserInput(url),
                       qEnvironmentVariable("QUILLO_BENCH_MODEL_NAME", QStringLiteral("gemma3:4b")),
                       {}};
}

// The name `quillo name` gives with the model allowed: the model's, or the heuristic one it falls back to.
Name modelName(const ModelServer &server, const QString &path, const ScreenLayout &layout,
               const NamingSuggestion &heuristic)
{
    const std::unique_ptr<LocalModelClient> client = HttpModelClient::create(server);
    const ModelAvailability availability = client->availability();
    NamingSuggestion named = heuristic;
    if (availability.isAvailable()) {
        const LocalModelNamer::OCRSnapshot snapshot{layout, CaptureContext{}, path};
        const LocalModelNamer::Question question{LocalModelNamer::prompt(snapshot), CaptureContext{},
                                                 LocalModelNamer::knownNames(snapshot), [path] {
                                                     return ScreenshotImage::load(path).image;
                                                 }};
        named = ScreenshotNamer::preferred(
            LocalModelNamer::suggest(*client, availability, question, heuristic.category, {}), heuristic);
    }
    return {named.slug, rawValue(named.category)};
}

// One screenshot's candidate words and category features, for the fitting script. The word feature
// that depends on the category is given per category, as a bit mask.
QJsonObject featureRecord(const QString &id, const ScreenLayout &layout, const CaptureContext &context)
{
    const auto configuration = RoutingConfiguration::defaultConfiguration();
    const QString text = HeuristicNamer::screenText(layout, context);
    QJsonArray categoryFeatures;
    for (const double x : CategoryClassifier::features(text, context.appName, context.appId, configuration))
        categoryFeatures.append(x);
    const ScreenshotCategory category =
        CategoryClassifier::classify(text, context.appName, context.appId, configuration);
    QJsonArray candidates;
    for (const WordRanking::Candidate &candidate : WordRanking::candidates(layout, context, category)) {
        QJsonArray features;
        for (const double x : candidate.features)
            features.append(x);
        QJsonArray sameIdea;
        for (const qsizetype index : candidate.sameIdea)
            sameIdea.append(index);
        int categories = 0;
        for (auto each : allScreenshotCategories)
            categories |= CategoryClassifier::isCategoryWord(candidate.word, each) ? 1 << int(each) : 0;
        candidates.append(QJsonArray{candidate.word, features, sameIdea, categories});
    }
    return {{QStringLiteral("id"), id},
            {QStringLiteral("context"), !context.isEmpty()},
            {QStringLiteral("category"), categoryFeatures},
            {QStringLiteral("candidates"), candidates}};
}

QJsonObject featureNames()
{
    QJsonArray word;
    for (const char *name : WordRanking::featureNames())
        word.append(QString::fromLatin1(name));
    QJsonArray category;
    for (const char *name : CategoryClassifier::featureNames())
        category.append(QString::fromLatin1(name));
    return {{QStringLiteral("wordFeatures"), word}, {QStringLiteral("categoryFeatures"), category}};
}

qint64 percentile(QList<qint64> values, double fraction)
{
    values.removeAll(-1);
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[std::min<qsizetype>(values.size() - 1, qsizetype(fraction * double(values.size())))];
}

double mean(const QList<qint64> &values)
{
    double sum = 0;
    qsizetype count = 0;
    for (const qint64 value : values) {
        if (value >= 0) {
            sum += double(value);
            ++count;
        }
    }
    return count > 0 ? sum / double(count) : -1;
}

void printSummary(const QList<ImageRun> &runs, const QHash<QString, Label> &labels,
                  const QHash<QString, QSet<QString>> &transcripts, const Options &options)
{
    Score quillo, naive, model, withContext, withoutContext;
    QList<qint64> ocr, ocrCpu, total, plain, oneThread;
    qsizetype transcribed = 0, transcribedTotal = 0;
    for (const ImageRun &run : runs) {
        ocr += run.ocrMs;
        if (run.ocrCpuMs >= 0)
            ocrCpu += run.ocrCpuMs;
        total += run.totalMs;
        plain += run.plainMs;
        oneThread += run.plainOneThreadMs;
        if (const auto label = labels.find(run.id); label != labels.end()) {
            quillo.add(run.quillo, *label);
            if (!run.plainText.isEmpty())
                naive.add(run.naive, *label);
            if (run.model)
                model.add(*run.model, *label);
            if (run.withContext) {
                withContext.add(*run.withContext, *label);
                withoutContext.add(run.quillo, *label);
            }
        }
        if (const auto words = transcripts.find(run.id); words != transcripts.end()) {
            transcribed += (transcriptWords(textOf(run.result)) & *words).size();
            transcribedTotal += words->size();
        }
    }
    printf("\nimages: %lld, labelled: %d\n", qlonglong(runs.size()), quillo.images);
    printf("quillo: %s\n", qPrintable(quillo.text()));
    if (naive.images > 0)
        printf("naive:  %s\n", qPrintable(naive.text()));
    if (options.model)
        printf("model:  %s (%s at %s)\n", qPrintable(model.text()), qPrintable(options.model->modelName),
               qPrintable(options.model->baseUrl.toString()));
    else
        printf("model:  skipped: %s\n", qPrintable(options.modelSkipped));
    if (withContext.images > 0)
        printf("with window titles (%d images): %s; the same without: %s\n", withContext.images,
               qPrintable(withContext.text()), qPrintable(withoutContext.text()));
    printf("ms per screenshot: recognition mean %.0f (median %lld), whole naming path mean %.0f (median "
           "%lld, p90 %lld)\n",
           mean(ocr), percentile(ocr, 0.5), mean(total), percentile(total, 0.5), percentile(total, 0.9));
    if (!ocrCpu.isEmpty())
        printf("reading worker CPU ms per screenshot: mean %.0f, p50 %lld, p95 %lld\n", mean(ocrCpu),
               percentile(ocrCpu, 0.5), percentile(ocrCpu, 0.95));
    if (mean(oneThread) > 0)
        printf("tesseract IMAGE stdout ms: OMP_THREAD_LIMIT=1 mean %.0f (median %lld), as run by a user "
               "mean %.0f; naming path / one-thread tesseract: %.2f\n",
               mean(oneThread), percentile(oneThread, 0.5), mean(plain), mean(total) / mean(oneThread));
    if (transcribedTotal > 0)
        printf("transcript word recall: %lld/%lld\n", qlonglong(transcribed), qlonglong(transcribedTotal));
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    printf("peak RSS: %ld MB\n", self.ru_maxrss / 1024);
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
                                     QStringLiteral("Skip the plain tesseract command and the naive namer."));
    const QCommandLineOption save(QStringLiteral("save"), QStringLiteral("Save what recognition found."),
                                  QStringLiteral("file"));
    const QCommandLineOption cached(QStringLiteral("cached"),
                                    QStringLiteral("Name from saved recognition results."),
                                    QStringLiteral("file"));
    const QCommandLineOption show(QStringLiteral("show"), QStringLiteral("Print every name."));
    const QCommandLineOption contexts(QStringLiteral("contexts"),
                                      QStringLiteral("Also name these screenshots with a capture context."),
                                      QStringLiteral("file"));
    const QCommandLineOption features(QStringLiteral("features"),
                                      QStringLiteral("Write the features of the ranking for fitting."),
                                      QStringLiteral("file"));
    parser.addOptions({limit, only, noPlain, save, cached, show, contexts, features});
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
    options.show = parser.isSet(show);
    options.saveTo = parser.value(save);
    options.cachedFrom = parser.value(cached);
    options.featuresTo = parser.value(features);
    options.contexts = readContexts(parser.isSet(contexts) ? parser.value(contexts)
                                                           : QStringLiteral(QUILLO_DEFAULT_CONTEXTS));
    options.model = benchModelServer();
    if (!options.model) {
        options.modelSkipped =
            QStringLiteral("set QUILLO_BENCH_MODEL_URL to a local model server to measure it");
    } else if (const ModelAvailability availability = HttpModelClient::create(*options.model)->availability();
               !availability.isAvailable()) {
        options.modelSkipped = QStringLiteral("%1 at %2 is not available")
                                   .arg(options.model->modelName, options.model->baseUrl.toString());
        options.model.reset();
    }
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

QJsonObject readCache(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fprintf(stderr, "cannot read %s\n", qPrintable(path));
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace

int main(int argc, char *argv[])
{
    ensureOneOpenMpThread(argv);
    QCoreApplication app(argc, argv);
    const std::optional<Options> options = parseOptions(app);
    if (!options)
        return 1;
    const QHash<QString, Label> labels = readLabels(options->corpus);
    const QJsonObject cache = options->cachedFrom.isEmpty() ? QJsonObject() : readCache(options->cachedFrom);

    QElapsedTimer timer;
    timer.start();
    // As Quillo reads: in a confined worker process, kept warm across the corpus.
    std::optional<ReadingWorkers> recognizer;
    if (cache.isEmpty() && !options->images.isEmpty()) {
        recognizer.emplace(ReadingWorkers::Options{QStringLiteral(QUILLO_READER),
                                                   {},
                                                   1,
                                                   TextRecognizer::defaultTimeBudget,
                                                   std::chrono::minutes(10)});
        const QString first = options->images.constFirst().filePath();
        recognizer->readLines(first, {});
        const qint64 cold = timer.restart();
        recognizer->readLines(first, {});
        const qint64 warm = timer.elapsed();
        printf("first file with a cold worker: %lld ms, warm: %lld ms (worker start %lld ms), "
               "OMP_THREAD_LIMIT=%s\n",
               cold, warm, cold - warm, qgetenv("OMP_THREAD_LIMIT").constData());
    }
    std::optional<QFile> features;
    if (!options->featuresTo.isEmpty()) {
        features.emplace(options->featuresTo);
        if (!features->open(QIODevice::WriteOnly | QIODevice::Text)) {
            fprintf(stderr, "cannot write %s\n", qPrintable(options->featuresTo));
            return 1;
        }
        features->write(QJsonDocument(featureNames()).toJson(QJsonDocument::Compact) + '\n');
    }
    printf("image\tocr ms\tocr cpu ms\ttotal ms\tname\tcategory\tnaive name\tnaive category\n");
    QList<ImageRun> runs;
    QJsonObject saved;
    for (const QFileInfo &image : options->images) {
        ImageRun run;
        run.id = image.completeBaseName();
        timer.restart();
        if (recognizer) {
            const qint64 cpuBefore = childrenCpuMs();
            run.result = recognizer->readLines(image.filePath(), {});
            run.ocrMs = timer.elapsed();
            run.ocrCpuMs = std::max<qint64>(0, childrenCpuMs() - cpuBefore);
        } else {
            fromJson(cache.value(run.id).toObject(), run);
            timer.restart();
        }
        // The production path with the local model switched off: layout and heuristics.
        const ScreenLayout layout({run.result.lines.begin(), run.result.lines.end()});
        const auto configuration = RoutingConfiguration::defaultConfiguration();
        const NamingSuggestion suggestion = HeuristicNamer::suggest(layout, CaptureContext{}, configuration);
        run.totalMs = timer.elapsed() + (recognizer ? 0 : run.ocrMs);
        run.quillo = {suggestion.slug, rawValue(suggestion.category)};
        const auto context = options->contexts.constFind(run.id);
        if (context != options->contexts.constEnd()) {
            const NamingSuggestion named = HeuristicNamer::suggest(layout, *context, configuration);
            run.withContext = Name{named.slug, rawValue(named.category)};
        }
        if (options->model)
            run.model = modelName(*options->model, image.filePath(), layout, suggestion);
        if (features) {
            features->write(QJsonDocument(featureRecord(run.id, layout, CaptureContext{}))
                                .toJson(QJsonDocument::Compact) +
                            '\n');
            if (context != options->contexts.constEnd())
                features->write(
                    QJsonDocument(featureRecord(run.id, layout, *context)).toJson(QJsonDocument::Compact) +
                    '\n');
        }
        if (options->withPlain && recognizer) {
            run.plainMs = runPlain(image.filePath(), false, &run.plainText);
            run.plainOneThreadMs = runPlain(image.filePath(), true, nullptr);
        }
        if (!run.plainText.isEmpty())
            run.naive = naiveName(run.plainText);
        if (options->show || recognizer) {
            printf("%s\t%lld\t%lld\t%lld\t%s\t%s\t%s\t%s", qPrintable(run.id), run.ocrMs, run.ocrCpuMs,
                   run.totalMs, qPrintable(run.quillo.slug), qPrintable(run.quillo.category),
                   qPrintable(run.naive.slug), qPrintable(run.naive.category));
            if (run.withContext)
                printf("\twith title: %s %s", qPrintable(run.withContext->slug),
                       qPrintable(run.withContext->category));
            if (run.model)
                printf("\tmodel: %s %s", qPrintable(run.model->slug), qPrintable(run.model->category));
            printf("\n");
            fflush(stdout);
        }
        if (!options->saveTo.isEmpty())
            saved.insert(run.id, toJson(run));
        runs += run;
    }
    printSummary(runs, labels, readTranscripts(), *options);
    if (!options->saveTo.isEmpty()) {
        QFile file(options->saveTo);
        if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(saved).toJson()) < 0)
            fprintf(stderr, "cannot write %s\n", qPrintable(options->saveTo));
    }
    return 0;
}
