#include "naming/HeuristicNamer.h"

#include "TestLines.h"

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
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void suggest_data();
    void suggest();
    void rankedHeadings_data();
    void rankedHeadings();
    void rankingsAccumulateAcrossLines();
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
    const Lines sidebar{line(u"Roadmap Planning"_s, 0.02, 0.80, 0.2), line(u"Budget Sync"_s, 0.02, 0.75, 0.2),
                        line(u"Today"_s, 0.3, 0.7), line(u"Write a message"_s, 0.3, 0.3)};

    QTest::addRow("blank screenshot")
        << Lines{} << CaptureContext{} << u"screen-capture"_s << ScreenshotCategory::Other;
    QTest::addRow("selected sidebar item with a browser in front")
        << chat() << context("Firefox") << u"design-review-send"_s << ScreenshotCategory::Web;
    QTest::addRow("selected sidebar item with a named app in front")
        << chat() << context("Slack") << u"slack-design-review"_s << ScreenshotCategory::Chats;
    QTest::addRow("four title words leave no room for app or terms")
        << body() << context("Slack", "Atlas Quarterly Budget Review") << u"atlas-quarterly-budget-review"_s
        << ScreenshotCategory::Chats;
    QTest::addRow("thin main pane draws on sidebar lines, weighed less")
        << sidebar + Lines{line(u"Kickoff agenda"_s, 0.3, 0.86, 0.3, 0.03)} << CaptureContext{}
        << u"kickoff-agenda-roadmap"_s << ScreenshotCategory::Other;
    QTest::addRow("main pane of three content words ignores the sidebar")
        << sidebar + Lines{line(u"Kickoff agenda draft"_s, 0.3, 0.86, 0.3, 0.03)} << CaptureContext{}
        << u"kickoff-agenda-draft"_s << ScreenshotCategory::Other;
    QTest::addRow("code in an editor")
        << Lines{line(u"int main() {"_s, 0.3, 0.8), line(u"    return parseConfig(argv);"_s, 0.3, 0.77),
                 line(u"};"_s, 0.3, 0.74)}
        << context("Kate", "main.cpp - Kate") << u"kate-main-cpp"_s << ScreenshotCategory::Code;
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
    QTest::addRow("lower-case line at body size") << Pool{pooled(u"quarterly report"_s, 0.5, 1.29)} << u""_s;
    QTest::addRow("lower-case line at 1.3")
        << Pool{pooled(u"quarterly report"_s, 0.5, 1.3)} << u"quarterly report"_s;
    QTest::addRow("ending in a period") << Pool{pooled(u"Quarterly Report."_s, 0.5, 2.0)} << u""_s;
    QTest::addRow("nine tokens") << Pool{pooled(u"One Two Three Four Five Six Seven Eight Nine"_s, 0.5, 2.0)}
                                 << u""_s;
    QTest::addRow("mostly digits") << Pool{pooled(u"Q3 2024-10-11"_s, 0.5, 2.0)} << u""_s;
    QTest::addRow("low confidence") << Pool{pooled(u"Quarterly Report"_s, 0.5, 2.0, 2.75, 0.29f)} << u""_s;
    QTest::addRow("a file name is no heading") << Pool{pooled(u"Open notes.txt"_s, 0.87, 2.0)} << u""_s;
    QTest::addRow("only interface words") << Pool{pooled(u"File Edit View"_s, 0.87, 2.0)} << u""_s;
    QTest::addRow("equal scores keep pool order")
        << Pool{pooled(u"Alpha Plan"_s, 0.5, 1.2), pooled(u"Beta Plan"_s, 0.4, 1.2)}
        << u"Alpha Plan|Beta Plan"_s;
    QTest::addRow("higher score first")
        << Pool{pooled(u"Alpha Plan"_s, 0.5, 1.2), pooled(u"Beta Plan"_s, 0.4, 1.4)}
        << u"Beta Plan|Alpha Plan"_s;
    QTest::addRow("second below half the best score")
        << Pool{pooled(u"Big Title"_s, 0.87, 2.5), pooled(u"Section"_s, 0.5, 1.6)} << u"Big Title"_s;
    QTest::addRow("second at body size below the title band")
        << Pool{pooled(u"Alpha Plan"_s, 0.5, 1.2), pooled(u"Beta Plan"_s, 0.45, 1.1)} << u"Alpha Plan"_s;
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

void HeuristicNamerTest::rankingsAccumulateAcrossLines()
{
    const Pool pool{pooled(u"Atlas PR #42"_s, 0.87, 1.5), pooled(u"see notes.txt"_s, 0.5, 1.0),
                    pooled(u"screen-capture.md and 2024.pdf"_s, 0.5, 1.0),
                    pooled(u"notes.txt again"_s, 0.4, 1.0)};
    QList<QStringList> expected{{u"notes"_s}, {u"atlas"_s}};
    QCOMPARE(HeuristicNamer::rankedArtifacts(pool), expected);
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
        << text("Invoice – Preview") << none << text("Invoice");
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
