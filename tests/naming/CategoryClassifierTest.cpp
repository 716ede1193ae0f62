// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/CategoryClassifier.h"

#include <QTest>

#include <cmath>
#include <cstring>

using OptionalText = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalText)

using namespace Qt::StringLiterals;

namespace {

double feature(const CategoryClassifier::Features &features, const char *name)
{
    const auto &names = CategoryClassifier::featureNames();
    const auto found = std::find_if(names.begin(), names.end(), [&](const char *each) {
        return std::strcmp(each, name) == 0;
    });
    return features[std::size_t(found - names.begin())];
}

} // namespace

class CategoryClassifierTest : public QObject
{
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
    void features_data();
    void features();
    void extraKeywordsTakePart();
};

// Kinds of screens, each as its application shows it.
void CategoryClassifierTest::classify_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<OptionalText>("appId");
    QTest::addColumn<ScreenshotCategory>("expected");
    const OptionalText none;

    QTest::addRow("an invoice with its amounts")
        << u"Invoice #1042\nBill to: Acme Hosting\nSubtotal $120.00\nTax $12.00\nTotal $132.00\nPaid"_s
        << none << ScreenshotCategory::Receipts;
    QTest::addRow("a terminal") << u"ada@vm: ~/src/parser\nmake: *** [all] Error 2"_s
                                << OptionalText(u"org.kde.konsole"_s) << ScreenshotCategory::Code;
    QTest::addRow("code in an editor")
        << u"#include <stdio.h>\nint main(void) {\n    return parse_args(argc, argv);\n}"_s << none
        << ScreenshotCategory::Code;
    QTest::addRow("a design tool")
        << u"Layers\nCanvas\nFill\nStroke\nOpacity 100%\nAlign\nShapes\nPrototype"_s << none
        << ScreenshotCategory::Design;
    QTest::addRow("a chat")
        << u"Channels\n# general\nalice 10:42 AM\nSee you at the meeting, I will bring the slides.\n"
           u"bob 10:43 AM\nreply in thread\nDirect messages\nMembers"_s
        << none << ScreenshotCategory::Chats;
    QTest::addRow("a text editor showing a document")
        << u"/tmp/newcomer-content/meeting-notes.txt - Mousepad\nQuarterly Planning Meeting – Minutes\n"
           u"Attendees: Ada, Bob and Carol from the platform team.\n"
           u"The team agreed to move the release to the second week of May.\n"
           u"Everyone reviews the roadmap document before the next meeting."_s
        << OptionalText(u"org.xfce.mousepad"_s) << ScreenshotCategory::Chats;
    QTest::addRow("a feed reader")
        << u"FreshRSS\nUnread (42)\nStarred\nFeeds\nFedora Magazine\nArticles\nMark all as read\n"
           u"Subscription management"_s
        << none << ScreenshotCategory::Web;
    QTest::addRow("a dashboard")
        << u"Dashboards\nDocker Host\nPanels\nMetrics\nVisitors\nhttps://stats.example.org\nLast 24 hours"_s
        << none << ScreenshotCategory::Web;
    QTest::addRow("a weather app") << u"Forecast\nTemperature 21°\nWind 10 km/h\nHumidity 40%\nSunrise 6:02"_s
                                   << none << ScreenshotCategory::Other;
}

void CategoryClassifierTest::classify()
{
    QFETCH(QString, text);
    QFETCH(OptionalText, appId);
    QFETCH(ScreenshotCategory, expected);
    const auto configuration = RoutingConfiguration::defaultConfiguration();
    QCOMPARE(rawValue(CategoryClassifier::classify(text, std::nullopt, appId, configuration)),
             rawValue(expected));
}

void CategoryClassifierTest::features_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<OptionalText>("appId");
    QTest::addColumn<QString>("feature");
    QTest::addColumn<double>("count");
    const OptionalText none;
    QTest::addRow("keywords match whole words only")
        << u"paidup ordering"_s << none << u"receiptsWords"_s << 0.0;
    QTest::addRow("plural and case do not matter")
        << u"INVOICES Payment"_s << none << u"receiptsWords"_s << 2.0;
    QTest::addRow("accents do not matter") << u"RÉCEIPT"_s << none << u"receiptsWords"_s << 1.0;
    QTest::addRow("two-word keyword") << u"Bill to: Acme"_s << none << u"receiptsWords"_s << 1.0;
    QTest::addRow("one keyword counts at most twice")
        << u"email email email"_s << none << u"chatsWords"_s << 2.0;
    QTest::addRow("an application counts three words")
        << u""_s << OptionalText(u"org.kde.konsole"_s) << u"codeWords"_s << 3.0;
    QTest::addRow("every currency sign") << u"€ 5 £7 ¥9 $10"_s << none << u"currencyAmounts"_s << 4.0;
    QTest::addRow("a currency sign two spaces before a number")
        << u"$  5"_s << none << u"currencyAmounts"_s << 0.0;
    QTest::addRow("source and document files")
        << u"main.rs lib.rs notes.md"_s << none << u"sourceFiles"_s << 2.0;
    QTest::addRow("message times, not log times")
        << u"10:42 AM\n09:15\n12:00:01 started"_s << none << u"clockTimes"_s << 2.0;
}

void CategoryClassifierTest::features()
{
    QFETCH(QString, text);
    QFETCH(OptionalText, appId);
    QFETCH(QString, feature);
    QFETCH(double, count);
    const auto configuration = RoutingConfiguration::defaultConfiguration();
    const auto features = CategoryClassifier::features(text, std::nullopt, appId, configuration);
    QCOMPARE(::feature(features, qPrintable(feature)), std::log1p(count));
}

void CategoryClassifierTest::extraKeywordsTakePart()
{
    auto configuration = RoutingConfiguration::defaultConfiguration();
    configuration.rules[2].extraKeywords = u"Acme Corp, ,INVOICE-X "_s;
    const QString text = u"Acme Corp invoice x"_s;
    const auto designWords = [&] {
        return feature(CategoryClassifier::features(text, std::nullopt, std::nullopt, configuration),
                       "designWords");
    };
    QCOMPARE(designWords(), std::log1p(2.0));
    configuration.rules[2].isEnabled = false;
    QCOMPARE(designWords(), std::log1p(2.0));
}

QTEST_GUILESS_MAIN(CategoryClassifierTest)
#include "CategoryClassifierTest.moc"
