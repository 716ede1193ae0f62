// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/HeuristicNamer.h"

#include "TestLines.h"
#include "naming/EnglishWords.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

using Pool = QList<HeuristicNamer::WeightedLine>;

namespace {

CaptureContext context(const char *appName, const char *windowTitle = nullptr)
{
    CaptureContext result;
    if (appName)
        result.appName = QString::fromUtf8(appName);
    if (windowTitle)
        result.windowTitle = QString::fromUtf8(windowTitle);
    return result;
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

// Ordinary body text that never reads as a heading.
Lines body()
{
    return {line(u"total amount paid by card"_s, 0.3, 0.6), line(u"thanks for your business"_s, 0.3, 0.5)};
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
    void rankedTerms_data();
    void rankedTerms();
    void featuredLines();
    void words_data();
    void words();
    void cleanedWindowTitle_data();
    void cleanedWindowTitle();
};

void HeuristicNamerTest::suggest_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<CaptureContext>("context");
    QTest::addColumn<QString>("slug");
    QTest::addColumn<ScreenshotCategory>("category");

    QTest::addRow("blank screenshot")
        << Lines{} << CaptureContext{} << u"screen-capture"_s << ScreenshotCategory::Other;
    QTest::addRow("selected sidebar item with a browser in front")
        << chat() << context("Firefox") << u"design-review-send"_s << ScreenshotCategory::Web;
    QTest::addRow("selected sidebar item with a named app in front")
        << chat() << context("Slack") << u"slack-design-review"_s << ScreenshotCategory::Chats;
    QTest::addRow("four title words leave no room for app or terms")
        << body() << context("Slack", "Atlas Quarterly Budget Review") << u"atlas-quarterly-budget-review"_s
        << ScreenshotCategory::Chats;
    QTest::addRow("code in an editor")
        << Lines{line(u"int main() {"_s, 0.3, 0.8), line(u"    return parseConfig(argv);"_s, 0.3, 0.77),
                 line(u"};"_s, 0.3, 0.74)}
        << context("Kate", "main.cpp - Kate") << u"kate-main-cpp"_s << ScreenshotCategory::Code;
    // The prices stand alone on their lines, which naming leaves out as bare numbers.
    QTest::addRow("subscription list with prices on their own lines")
        << Lines{line(u"Subscriptions"_s, 0.3, 0.85, 0.3, 0.03), line(u"Spotify"_s, 0.3, 0.7),
                 line(u"\u20AC6.99"_s, 0.7, 0.7, 0.1), line(u"Netflix"_s, 0.3, 0.65),
                 line(u"\u20AC24.00"_s, 0.7, 0.65, 0.1)}
        << CaptureContext{} << u"subscriptions-spotify-netflix"_s << ScreenshotCategory::Receipts;
}

void HeuristicNamerTest::suggest()
{
    QFETCH(Lines, lines);
    QFETCH(CaptureContext, context);
    QFETCH(QString, slug);
    QFETCH(ScreenshotCategory, category);
    const NamingSuggestion suggestion =
        HeuristicNamer::suggest(ScreenLayout(lines), context, RoutingConfiguration::defaultConfiguration());
    QCOMPARE(suggestion.slug, slug);
    QCOMPARE(suggestion.category, category);
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
    QCOMPARE(evidence.ownLineCount(u"bottle"_s), 1);
    QCOMPARE(evidence.lineCount(u"entries"_s), 1);
}

void HeuristicNamerTest::rankedTerms_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QString>("expected"); // the best terms, joined by spaces
    const Lines report{line(u"Quarterly revenue report"_s, 0.3, 0.6), line(u"revenue by region"_s, 0.3, 0.5),
                       line(u"revenue targets"_s, 0.3, 0.4)};
    QTest::addRow("a word on every line first") << report << u"revenue quarterly report"_s;
    QTest::addRow("a name in the title bar before the body")
        << report + Lines{line(u"Grafana"_s, 0.45, 0.95, 0.1)} << u"grafana revenue quarterly"_s;
    QTest::addRow("sidebar lines weigh less")
        << report + Lines{line(u"Budget"_s, 0.02, 0.7, 0.1), line(u"Budget"_s, 0.02, 0.6, 0.1),
                          line(u"Budget"_s, 0.02, 0.5, 0.1), line(u"Budget"_s, 0.02, 0.4, 0.1)}
        << u"revenue budget quarterly"_s;
    QTest::addRow("prose, units, dates, titles, system folders and extensions name nothing")
        << Lines{line(u"whenever upon 512 MiB 2 Mbps September Lt. /usr/lib notes.txt"_s, 0.3, 0.5)}
        << u"notes"_s;
    QTest::addRow("a feed's counters name nothing")
        << Lines{line(u"Elon Musk satellites"_s, 0.3, 0.6),
                 line(u"8h 3,863 points 690 comments"_s, 0.3, 0.55), line(u"Chinese submarines"_s, 0.3, 0.5),
                 line(u"3h 1,542 points 342 comments"_s, 0.3, 0.45)}
        << u"elon musk satellites"_s;
    QTest::addRow("one form of a word")
        << Lines{line(u"Bottles"_s, 0.3, 0.6), line(u"New bottle"_s, 0.3, 0.5)} << u"bottles"_s;
    QTest::addRow("invoice numbers count as invoice")
        << Lines{line(u"Crater"_s, 0.3, 0.95), line(u"INV-100001 Inv#7 inventory"_s, 0.3, 0.5)}
        << u"crater invoice inventory"_s;
}

void HeuristicNamerTest::rankedTerms()
{
    QFETCH(Lines, lines);
    QFETCH(QString, expected);
    const ScreenLayout layout(lines);
    const QStringList terms = HeuristicNamer::rankedTerms(layout, WordEvidence(layout.lines()));
    QCOMPARE(terms.mid(0, 3).join(u' '), expected);
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
    QTest::addColumn<bool>("isName");
    QTest::addColumn<QString>("expected");
    QTest::addRow("stop words, numbers, interface words")
        << u"Open the Invoice 1042 in a new Tab"_s << false << u"invoice"_s;
    QTest::addRow("noise tokens") << u"commit 3f9a2b7c1d v2 12mb"_s << false << u"commit"_s;
    QTest::addRow("file description words are stop words") << u"Screenshot Editor"_s << false << u"editor"_s;
    QTest::addRow("name keeps file description words")
        << u"Screenshot Editor"_s << true << u"screenshot editor"_s;
    QTest::addRow("name of file description words only") << u"Screen Capture"_s << true << u""_s;
    QTest::addRow("name without interface words") << u"Preview Settings"_s << true << u"settings"_s;
}

void HeuristicNamerTest::words()
{
    QFETCH(QString, text);
    QFETCH(bool, isName);
    QFETCH(QString, expected);
    const QStringList words = isName ? HeuristicNamer::nameKeywords(text) : HeuristicNamer::keywords(text);
    QCOMPARE(words.join(u' '), expected);
}

void HeuristicNamerTest::cleanedWindowTitle_data()
{
    QTest::addColumn<OptionalText>("title");
    QTest::addColumn<OptionalText>("appName");
    QTest::addColumn<OptionalText>("expected");
    const OptionalText none;
    const auto text = [](const char *value) {
        return OptionalText(QString::fromUtf8(value));
    };
    QTest::addRow("en dash") << text("Invoice 1042 – Preview") << text("Preview") << text("Invoice 1042");
    QTest::addRow("hyphen, any case")
        << text("Inbox - MOZILLA firefox") << text("Mozilla Firefox") << text("Inbox");
    QTest::addRow("each separator in turn")
        << text("Report | Atlas - Atlas") << text("Atlas") << text("Report");
    QTest::addRow("em dash and a browser's full name")
        << text("Quillo docs — Mozilla Firefox") << text("Firefox") << text("Quillo docs");
    QTest::addRow("middle dot") << text("Inbox · Geary") << text("Geary") << text("Inbox");
    QTest::addRow("a viewer's name without the app's")
        << text("Invoice – Document Viewer") << none << text("Invoice");
    QTest::addRow("an unknown app's name stays")
        << text("Invoice – Atlas") << none << text("Invoice – Atlas");
    QTest::addRow("surrounding whitespace") << text("  Notes \n") << text("") << text("Notes");
    QTest::addRow("blank title") << text(" \t\n") << text("Preview") << none;
}

void HeuristicNamerTest::cleanedWindowTitle()
{
    QFETCH(OptionalText, title);
    QFETCH(OptionalText, appName);
    QFETCH(OptionalText, expected);
    QCOMPARE(HeuristicNamer::cleanedWindowTitle(title, appName), expected);
}

QTEST_APPLESS_MAIN(HeuristicNamerTest)
#include "HeuristicNamerTest.moc"
