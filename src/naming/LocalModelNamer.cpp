// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/LocalModelNamer.h"

#include "core/TextScanning.h"
#include "naming/ArtifactExtractor.h"
#include "naming/HeuristicNamer.h"
#include "naming/NamingLog.h"
#include "naming/ScreenLayout.h"
#include "naming/SlugGenerator.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QSet>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

// Words that only refer to something else ("PR #482").
const QSet<QString> &referenceWords()
{
    static const QSet<QString> words{QStringLiteral("pr")};
    return words;
}

const QRegularExpression &hashNumberPattern()
{
    static const QRegularExpression pattern = TextScanning::pattern(R"(#\d+)");
    return pattern;
}

const QRegularExpression &dottedVersionPattern()
{
    static const QRegularExpression pattern =
        TextScanning::pattern(R"(\bv?\d+(\.\d+)+\b)", QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        return {};
    return bytes;
}

// The model's words are text from outside: a line break in them must not start a log line of its own.
QString joinedKeywords(const ModelAnswer &answer)
{
    return TextScanning::quoted(answer.keywords.join(u'-'));
}

// The first `limit` user-perceived characters of `text`.
QString leftGraphemes(const QString &text, qsizetype limit)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (count < limit && finder.toNextBoundary() >= 0)
        ++count;
    return count < limit ? text : text.left(finder.position());
}

// The lines that carry a content word or a name, cut to `limit` characters; "(none)" when empty.
QString section(const QList<LaidOutLine> &lines, qsizetype limit)
{
    QStringList kept;
    for (const LaidOutLine &line : lines) {
        if (!HeuristicNamer::keywords(line.recognized.text).isEmpty() ||
            !ArtifactExtractor::names(line.recognized.text).isEmpty())
            kept.append(line.recognized.text);
    }
    const QString text = leftGraphemes(kept.join(u'\n'), limit);
    return text.isEmpty() ? QStringLiteral("(none)") : text;
}

QList<QStringList> featuredNames(const ScreenLayout &layout)
{
    QList<HeuristicNamer::WeightedLine> pool;
    for (const LaidOutLine &line : layout.mainContent())
        pool.append({line, HeuristicNamer::mainPaneWeight});
    return HeuristicNamer::rankedArtifacts(pool);
}

} // namespace

namespace LocalModelNamer {

const QString &instructions()
{
    static const QString text = QStringLiteral(
        "You name screenshot files. Identify the primary subject, activity or featured items of the "
        "screenshot's main content area: the active pane's header, headings, featured files, projects or "
        "pull requests, error messages, or the document's subject. Ignore unselected left or right sidebar "
        "navigation rows, browser tab strips, window chrome, timestamps, minor status lines such as "
        "\"Messaged X\" or \"5 messages with X\", and input placeholders such as \"Write a message\"; never "
        "name a screenshot after them. When a selected sidebar item or window title names the open "
        "conversation or document, start with it. Answer with 3 to 5 specific lowercase keywords, like "
        "stripe invoice paid or xcode swift build error, most specific first. Only use 2 keywords when the "
        "screenshot is nearly blank or holds just a two word title. Only use names, products and topics "
        "present in the screenshot.");
    return text;
}

const QByteArray &generationSchema()
{
    static const QByteArray schema =
        R"({"type":"object","properties":{)"
        R"("keywords":{"type":"array","items":{"type":"string"},"minItems":3,"maxItems":5,"description":)"
        R"("3 to 5 specific lowercase English keywords capturing the main pane's primary subject and )"
        R"(featured items, most specific first. Keep product and project names whole. Never use unselected )"
        R"(sidebar items, status lines, dates, file extensions, or the word screenshot on its own."},)"
        R"("category":{"type":"string","enum":["receipts","code","design","chats","web","other"],)"
        R"("description":"The folder category: receipts (invoices, payments, orders), code (editors, )"
        R"(terminals, logs), design (mockups, UI, settings), chats (messages, email, documents), web )"
        R"((browser pages, articles, dashboards) or other."}},)"
        R"("required":["keywords","category"]})";
    return schema;
}

QString imagePrompt(const CaptureContext &context)
{
    QStringList parts;
    if (context.appName)
        parts.append(QStringLiteral("App: ") + *context.appName);
    if (context.windowTitle)
        parts.append(QStringLiteral("Window title: ") + *context.windowTitle);
    parts.append(QStringLiteral("Look at this screenshot image and identify its overall premise and main "
                                "subject in 3 to 5 specific lowercase keywords."));
    return parts.join(u'\n');
}

std::optional<NamingSuggestion> suggestion(const QStringList &keywords, const QString &categoryName,
                                           ScreenshotCategory fallbackCategory,
                                           const QList<QStringList> &knownNames, NamingSource source)
{
    QStringList collected;
    QSet<QString> preserved;
    for (QString keyword : keywords) {
        keyword.replace(hashNumberPattern(), QStringLiteral(" "));
        keyword.replace(dottedVersionPattern(), QStringLiteral(" "));
        const QStringList words = SlugGenerator::words(keyword);
        // A known name like "screen studio" keeps its file-description word.
        const bool holdsKnownName =
            std::any_of(knownNames.begin(), knownNames.end(), [&](const QStringList &name) {
                return !name.isEmpty() && ScreenLayout::containsRun(name, words);
            });
        const QSet<QString> allowed =
            holdsKnownName ? SlugGenerator::fileDescriptionWords() : QSet<QString>();
        preserved.unite(allowed);
        for (const QString &word : words) {
            if (SlugGenerator::isSlugWord(word, allowed) && !referenceWords().contains(word))
                collected.append(word);
        }
    }
    if (QSet<QString>(collected.begin(), collected.end()).size() < 2)
        return std::nullopt;
    return NamingSuggestion{SlugGenerator::slug(collected, preserved),
                            category(categoryName).value_or(fallbackCategory), source};
}

std::optional<ScreenshotCategory> category(const QString &name)
{
    const QString first = SlugGenerator::words(name).value(0);
    if (const auto raw = categoryFromRawValue(first))
        return raw;
    for (const ScreenshotCategory candidate : allScreenshotCategories) {
        if (SlugGenerator::words(defaultFolderName(candidate)).value(0) == first)
            return candidate;
    }
    return std::nullopt;
}

QString availabilityDescription(const ModelAvailability &availability, const QString &modelName,
                                const QString &baseUrl)
{
    switch (availability.state) {
    case ModelAvailability::State::Available:
        return QCoreApplication::translate(
                   "LocalModelNamer", "A local AI model (%1) is available. Names come from the local model.")
            .arg(modelName);
    case ModelAvailability::State::NoServer:
        return QCoreApplication::translate(
                   "LocalModelNamer",
                   "No local AI model server is running at %1. Names come from on-device text "
                   "recognition.")
            .arg(baseUrl);
    case ModelAvailability::State::ModelMissing:
        return QCoreApplication::translate(
                   "LocalModelNamer",
                   "The model %1 is not installed on the local model server. Names come from "
                   "on-device text recognition for now.")
            .arg(modelName);
    case ModelAvailability::State::Unavailable:
        break;
    }
    return QCoreApplication::translate(
        "LocalModelNamer", "The local AI model is unavailable. Names come from on-device text recognition.");
}

std::optional<ModelAnswer> respond(LocalModelClient &client, const QString &prompt,
                                   std::chrono::milliseconds timeLimit)
{
    const ModelReply reply =
        client.respond({instructions(), generationSchema(), prompt, std::nullopt}, timeLimit);
    if (!reply.answer) {
        qCWarning(lcNaming).noquote() << QStringLiteral("Text naming failed: %1").arg(reply.error);
        return std::nullopt;
    }
    qCInfo(lcNaming).noquote()
        << QStringLiteral("Named screenshot using the local model: %1").arg(joinedKeywords(*reply.answer));
    return reply.answer;
}

std::optional<ModelAnswer> respondLookingAtImage(LocalModelClient &client, bool hasVision,
                                                 const std::function<QImage()> &loadImage,
                                                 const CaptureContext &context,
                                                 std::chrono::milliseconds timeLimit)
{
    const QByteArray png = hasVision && loadImage ? pngBytes(loadImage()) : QByteArray();
    if (png.isEmpty()) {
        qCInfo(lcNaming) << "Image input unavailable, using text only";
        return std::nullopt;
    }
    const ModelReply reply =
        client.respond({instructions(), generationSchema(), imagePrompt(context), png}, timeLimit);
    if (!reply.answer) {
        qCWarning(lcNaming).noquote()
            << QStringLiteral("Image naming failed, using text only: %1").arg(reply.error);
        return std::nullopt;
    }
    qCInfo(lcNaming).noquote() << QStringLiteral("Named screenshot using local image analysis: %1")
                                      .arg(joinedKeywords(*reply.answer));
    return reply.answer;
}

std::optional<NamingSuggestion> suggest(LocalModelClient &client, const ModelAvailability &availability,
                                        const Question &question, ScreenshotCategory fallbackCategory,
                                        const TimeLimits &limits)
{
    if (question.loadImage) {
        const auto answer = respondLookingAtImage(client, availability.hasVision, question.loadImage,
                                                  question.context, limits.image);
        if (answer) {
            if (auto named = suggestion(answer->keywords, answer->category, fallbackCategory,
                                        question.knownNames, NamingSource::LocalModelImage))
                return named;
        }
    }
    const auto answer = respond(client, question.prompt, limits.text);
    if (!answer)
        return std::nullopt;
    return suggestion(answer->keywords, answer->category, fallbackCategory, question.knownNames,
                      NamingSource::LocalModel);
}

} // namespace LocalModelNamer

namespace LocalModelNamer {

QString prompt(const OCRSnapshot &snapshot)
{
    const ScreenLayout &layout = snapshot.layout;
    const QList<LaidOutLine> featured = HeuristicNamer::featuredLines(layout);
    QSet<QString> featuredTexts;
    for (const LaidOutLine &line : featured)
        featuredTexts.insert(line.recognized.text);
    QList<LaidOutLine> body;
    for (const LaidOutLine &line : layout.mainContent()) {
        if (!featuredTexts.contains(line.recognized.text))
            body.append(line);
    }

    QStringList parts;
    if (snapshot.context.appName)
        parts.append(QStringLiteral("App: ") + *snapshot.context.appName);
    if (snapshot.context.windowTitle)
        parts.append(QStringLiteral("Window title: ") + *snapshot.context.windowTitle);
    if (const auto &selected = layout.selectedSidebarItem())
        parts.append(QStringLiteral("Selected sidebar item (the open conversation or document): ") +
                     *selected);
    const QList<QStringList> names = featuredNames(layout);
    if (!names.isEmpty()) {
        QStringList written;
        for (const QStringList &name : names.mid(0, 4))
            written.append(name.join(u' '));
        parts.append(QStringLiteral("Featured names: ") + written.join(QStringLiteral(", ")));
    }
    parts.append(QStringLiteral("Main content headings & featured items:\n") + section(featured, 600));
    parts.append(QStringLiteral("Main content body:\n") + section(body, 700));
    if (!layout.background().isEmpty()) {
        parts.append(QStringLiteral("Sidebar / background chrome (ignore unless main content is empty):\n") +
                     section(layout.background(), 200));
    }
    return parts.join(u'\n');
}

QList<QStringList> knownNames(const OCRSnapshot &snapshot)
{
    const ScreenLayout &layout = snapshot.layout;
    QList<QStringList> names = featuredNames(layout);
    for (const auto &text : {layout.selectedSidebarItem(), snapshot.context.windowTitle}) {
        if (text)
            names.append(SlugGenerator::words(ArtifactExtractor::splitCamelCase(*text)));
    }
    names.removeIf([](const QStringList &name) {
        return name.size() < 2;
    });
    return names;
}

} // namespace LocalModelNamer
