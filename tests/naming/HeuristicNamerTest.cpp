// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/HeuristicNamer.h"

#include "TestLines.h"
#include "naming/EnglishWords.h"
#include "naming/WordEvidence.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

using Pool = QList<HeuristicNamer::WeightedLine>;

namespace {

CaptureContext context(const char *appId, const char *appName, const char *windowTitle)
{
    return {QString::fromUtf8(appName), QString::fromUtf8(appId), QString::fromUtf8(windowTitle)};
}

// Lines recognised from a real screenshot, as bench_naming --save stores them (recorded/SOURCES.tsv
// says which screenshot, from where and under which licence).
Lines recorded(const char *name)
{
    QFile file(QStringLiteral(QUILLO_RECORDED_LINES "/") + QString::fromLatin1(name) + u".json"_s);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    Lines lines;
    for (const QJsonValue &value : QJsonDocument::fromJson(file.readAll())[u"lines"_s].toArray()) {
        const QJsonArray box = value[u"box"_s].toArray();
        RecognizedLine line{
            value[u"text"_s].toString(),
            float(value[u"confidence"_s].toDouble()),
            QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble()),
            {}};
        for (const QJsonValue &word : value[u"words"_s].toArray())
            line.words.append({word[0].toString(), float(word[1].toDouble())});
        lines.append(line);
    }
    return lines;
}

// A main-pane line with the given prominence, at the given height on the screen.
HeuristicNamer::WeightedLine pooled(const QString &text, double midY, double prominence,
                                    double weight = HeuristicNamer::mainPaneWeight, float conf = 0.5f)
{
    return {{line(text, 0.3, midY - 0.01, 0.4, 0.02, conf), LayoutRegion::Main, false, prominence}, weight};
}

// A chat: the open conversation quoted in the left sidebar under its title, and a composer field.
Lines chat()
{
    return {line(u"Design Review"_s, 0.02, 0.80, 0.2),
            line(u"Can you send me the updated deck before…"_s, 0.02, 0.77, 0.2),
            line(u"Lunch Crew"_s, 0.02, 0.70, 0.2),
            line(u"See you at noon"_s, 0.02, 0.67, 0.2),
            line(u"Design Review"_s, 0.3, 0.86, 0.3, 0.03),
            line(u"Can you send me the updated deck before Friday?"_s, 0.3, 0.7, 0.6),
            line(u"Sure, attaching the final version now"_s, 0.3, 0.65),
            line(u"Write a message…"_s, 0.3, 0.05)};
}

} // namespace

class HeuristicNamerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(EnglishWords::isAvailable(), "install wamerican (scripts/install-deps)"); }
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void suggest_data();
    void suggest();
    void rankedHeadings_data();
    void rankedHeadings();
    void isPlausible_data();
    void isPlausible();
    void singularAndPluralCountAsOneWord();
    void featuredLines();
    void words_data();
    void words();
};

// Each row a class of naming error: the name must hold one of the subject's words and none of the
// words that class of error puts there.
void HeuristicNamerTest::suggest_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<CaptureContext>("context");
    QTest::addColumn<QStringList>("anyOf");
    QTest::addColumn<QStringList>("noneOf");
    QTest::addColumn<ScreenshotCategory>("category");

    QTest::addRow("blank screenshot") << Lines{} << CaptureContext{} << QStringList{"capture"}
                                      << QStringList{} << ScreenshotCategory::Other;
    QTest::addRow("the selected conversation over the others")
        << chat() << context("slack", "Slack", "Design Review | Acme - Slack")
        << QStringList{"design", "review"} << QStringList{"lunch", "crew", "acme"}
        << ScreenshotCategory::Chats;
    QTest::addRow("a terminal title's user, host and folders")
        << recorded("c047") << context("debian-xterm", "XTerm", "wez@wez-mbp: ~/wez-personal/wezterm")
        << QStringList{"wezterm"} << QStringList{"wez", "mbp", "personal", "xterm"}
        << ScreenshotCategory::Code;
    QTest::addRow("a document in a text editor")
        << recorded("c049") << context("marktext", "MarkText", "~/Desktop/The 2017 MacBook.md - MarkText")
        << QStringList{"macbook"} << QStringList{"desktop", "users", "ransixi"} << ScreenshotCategory::Chats;
    QTest::addRow("the heading of a note the title names by its file")
        << Lines{line(u"Quarterly Planning Meeting – Minutes"_s, 0.05, 0.9, 0.6, 0.04),
                 line(u"Attendees: Ada, Bob and Carol from the platform team."_s, 0.05, 0.8, 0.8),
                 line(u"The team agreed to move the release to the second week of May."_s, 0.05, 0.75, 0.8),
                 line(u"Everyone reviews the roadmap before the next meeting."_s, 0.05, 0.7, 0.8)}
        << context("org.xfce.mousepad", "Mousepad", "/tmp/newcomer-content/meeting-notes.txt - Mousepad")
        << QStringList{"meeting"} << QStringList{"tmp", "newcomer", "content", "mousepad"}
        << ScreenshotCategory::Chats;
    QTest::addRow("an invoice number's prefix beside invoice")
        << recorded("c001") << context("firefox-esr", "Firefox ESR", "Invoice INV#3246 — Mozilla Firefox")
        << QStringList{"invoice"} << QStringList{"inv", "mozilla", "firefox"} << ScreenshotCategory::Receipts;
}

void HeuristicNamerTest::suggest()
{
    QFETCH(Lines, lines);
    QFETCH(CaptureContext, context);
    QFETCH(QStringList, anyOf);
    QFETCH(QStringList, noneOf);
    QFETCH(ScreenshotCategory, category);
    const NamingSuggestion suggestion =
        HeuristicNamer::suggest(ScreenLayout(lines), context, RoutingConfiguration::defaultConfiguration());
    const QStringList words = suggestion.slug.split(u'-');
    QVERIFY2(std::any_of(anyOf.begin(), anyOf.end(),
                         [&](const QString &word) {
                             return words.contains(word);
                         }),
             qPrintable(suggestion.slug));
    for (const QString &word : noneOf)
        QVERIFY2(!words.contains(word), qPrintable(suggestion.slug));
    QCOMPARE(rawValue(suggestion.category), rawValue(category));
    QCOMPARE(suggestion.source, NamingSource::Heuristics);
}

void HeuristicNamerTest::rankedHeadings_data()
{
    QTest::addColumn<Pool>("pool");
    QTest::addColumn<QString>("expected"); // texts joined by "|"
    const double light = 0.2;

    QTest::addRow("capitalised line")
        << Pool{pooled(u"Quarterly Report"_s, 0.5, 1.0)} << u"Quarterly Report"_s;
    QTest::addRow("lower-case line at body size") << Pool{pooled(u"quarterly report"_s, 0.5, 1.0)} << u""_s;
    QTest::addRow("a file name is no heading") << Pool{pooled(u"Open notes.txt"_s, 0.87, 2.0)} << u""_s;
    QTest::addRow("only interface words") << Pool{pooled(u"File Edit View"_s, 0.87, 2.0)} << u""_s;
    QTest::addRow("higher score first")
        << Pool{pooled(u"Alpha Plan"_s, 0.5, 1.2), pooled(u"Beta Plan"_s, 0.4, 1.4)}
        << u"Beta Plan|Alpha Plan"_s;
    QTest::addRow("second at body size in the title band")
        << Pool{pooled(u"Alpha Plan"_s, 0.5, 1.3), pooled(u"Beta Plan"_s, 0.87, 1.0)}
        << u"Alpha Plan|Beta Plan"_s;
    QTest::addRow("main-pane lines before heavier-looking light ones")
        << Pool{pooled(u"Sidebar Title"_s, 0.87, 2.5, light), pooled(u"Main Heading"_s, 0.5, 1.0)}
        << u"Main Heading"_s;
}

void HeuristicNamerTest::rankedHeadings()
{
    QFETCH(Pool, pool);
    QFETCH(QString, expected);
    QCOMPARE(joinedTexts(HeuristicNamer::rankedHeadings(pool)), expected);
}

void HeuristicNamerTest::isPlausible_data()
{
    QTest::addColumn<QStringList>("texts"); // one line each, read with `confidence`
    QTest::addColumn<double>("confidence");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("expected");
    QTest::addRow("dictionary word read fairly")
        << QStringList{"Budget review"} << 0.6 << u"budget"_s << true;
    QTest::addRow("dictionary word read poorly")
        << QStringList{"Budget review"} << 0.4 << u"budget"_s << false;
    QTest::addRow("capitalised name read well")
        << QStringList{"Mailpit inbox"} << 0.9 << u"mailpit"_s << true;
    QTest::addRow("capitalised name read less well")
        << QStringList{"Mailpit inbox"} << 0.8 << u"mailpit"_s << false;
    QTest::addRow("mixed case") << QStringList{"the freshRSS feed"} << 0.9 << u"freshrss"_s << true;
    QTest::addRow("lower-case unknown word once")
        << QStringList{"see estled"} << 0.95 << u"estled"_s << false;
    QTest::addRow("lower-case unknown word on two lines")
        << QStringList{"lapce", "open lapce"} << 0.9 << u"lapce"_s << true;
    QTest::addRow("last folder of a path") << QStringList{"~/code/wezterm"} << 0.9 << u"wezterm"_s << true;
    QTest::addRow("letters and digits") << QStringList{"Ab12cd Ab12cd"} << 0.95 << u"ab12cd"_s << false;
    QTest::addRow("window buttons read as a word") << QStringList{"EEO"} << 0.9 << u"eeo"_s << false;
    QTest::addRow("dictionary word not on the screen") << QStringList{} << 0.9 << u"budget"_s << true;
    QTest::addRow("unknown word not on the screen") << QStringList{} << 0.9 << u"mailpit"_s << false;
}

void HeuristicNamerTest::isPlausible()
{
    QFETCH(QStringList, texts);
    QFETCH(double, confidence);
    QFETCH(QString, word);
    QFETCH(bool, expected);
    Lines lines;
    for (const QString &text : texts)
        lines.append(line(text, 0.3, 0.8 - 0.05 * double(lines.size()), 0.5, 0.02, float(confidence)));
    QCOMPARE(WordEvidence(ScreenLayout(lines).lines()).isPlausible(word), expected);
}

void HeuristicNamerTest::singularAndPluralCountAsOneWord()
{
    const WordEvidence evidence(ScreenLayout({line(u"Bottles"_s, 0.3, 0.8), line(u"New bottle"_s, 0.3, 0.6),
                                              line(u"Entries and entry"_s, 0.3, 0.4)})
                                    .lines());
    QCOMPARE(evidence.lineCount(u"bottle"_s), 2);
    QCOMPARE(evidence.lineCount(u"entries"_s), 1);
}

void HeuristicNamerTest::featuredLines()
{
    const Lines lines{line(u"Release Checklist"_s, 0.3, 0.86, 0.4, 0.04),
                      line(u"verify the checksum before installing"_s, 0.3, 0.6),
                      line(u"download AtlasCore.zip to start"_s, 0.3, 0.55), line(u"Today"_s, 0.3, 0.5)};
    QCOMPARE(joinedTexts(HeuristicNamer::featuredLines(ScreenLayout(lines))),
             u"Release Checklist|download AtlasCore.zip to start"_s);
}

void HeuristicNamerTest::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addRow("stop words, numbers, interface words")
        << u"Open the Invoice 1042 in a new Tab"_s << u"invoice"_s;
    QTest::addRow("noise tokens") << u"commit 3f9a2b7c1d v2 12mb"_s << u"commit"_s;
    QTest::addRow("file description words are stop words") << u"Screenshot Editor"_s << u"editor"_s;
}

void HeuristicNamerTest::words()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(HeuristicNamer::keywords(text).join(u' '), expected);
}

QTEST_APPLESS_MAIN(HeuristicNamerTest)
#include "HeuristicNamerTest.moc"
