// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/CategoryClassifier.h"

#include <QTest>

using OptionalText = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalText)

using namespace Qt::StringLiterals;

class CategoryClassifierTest : public QObject
{
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
    void extraKeywordsTakePart();
};

void CategoryClassifierTest::classify_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<OptionalText>("appName");
    QTest::addColumn<OptionalText>("appId");
    QTest::addColumn<ScreenshotCategory>("expected");
    const OptionalText none;
    const auto text = [](const char *value) {
        return OptionalText(QString::fromUtf8(value));
    };

    QTest::addRow("invoice with total and an amount")
        << u"Invoice #1042 Total $120.00 Paid"_s << none << none << ScreenshotCategory::Receipts;
    QTest::addRow("code keyword and editor hint outweigh nothing else")
        << u"let x = 1"_s << none << text("codium") << ScreenshotCategory::Code;
    QTest::addRow("tie between chats and web keeps chats")
        << u"message inbox search results"_s << none << none << ScreenshotCategory::Chats;
    QTest::addRow("a weather app is other") << u"Forecast: temperature 21, wind 10 km/h, sunrise 6:02"_s
                                            << none << none << ScreenshotCategory::Other;
    QTest::addRow("a diagram editor is design despite a code word")
        << u"New class, UML diagram"_s << none << none << ScreenshotCategory::Design;
    QTest::addRow("a team chat's channels outweigh its getting-started feed")
        << u"Channels: Getting Started, Incident Feed. Direct Messages. 2 replies, 3 replies"_s << none
        << none << ScreenshotCategory::Chats;
    QTest::addRow("an ebook reader is other")
        << u"Moby Dick. Dedication, Preface, Annotations. Posted by the publisher"_s << none << none
        << ScreenshotCategory::Other;
    QTest::addRow("a system monitor's totals are no receipt")
        << u"cpu 8%, mem Total: 15.5 GiB, swap 4.95 GiB, net Total: 898 GiB, uptime 52d"_s << none << none
        << ScreenshotCategory::Other;
    QTest::addRow("a markets page's prices are no receipt")
        << u"Markets, News. Stocks: TSLA $210.73, NVDA $102.83. Crypto: BTC $53,996"_s << none << none
        << ScreenshotCategory::Web;
    QTest::addRow("a search engine's results are web")
        << u"All News Images Videos. Join our newsletter, email updates for the group. People also ask"_s
        << none << none << ScreenshotCategory::Web;
    QTest::addRow("nothing scores") << u"Lorem ipsum dolor"_s << none << none << ScreenshotCategory::Other;
    QTest::addRow("keywords match whole words only")
        << u"paidup ordering billings"_s << none << none << ScreenshotCategory::Other;
    QTest::addRow("one keyword counts at most twice")
        << u"email email email email dashboard analytics search"_s << none << none << ScreenshotCategory::Web;
    QTest::addRow("accents and case do not matter")
        << u"RÉCEIPT PAYMENT"_s << none << none << ScreenshotCategory::Receipts;
    QTest::addRow("two-word keyword") << u"Amount due: 40"_s << none << none << ScreenshotCategory::Receipts;
    QTest::addRow("app hint on a Linux terminal")
        << u""_s << text("Konsole") << text("org.kde.konsole") << ScreenshotCategory::Code;
    QTest::addRow("app hint scores once for many hints")
        << u"message reply thread channel"_s << text("Terminal") << text("xterm")
        << ScreenshotCategory::Chats;
    QTest::addRow("every currency sign counts")
        << u"€ 5 £7 ¥9 message reply"_s << none << none << ScreenshotCategory::Receipts;
    QTest::addRow("currency sign with two spaces is no amount")
        << u"$  5 search"_s << none << none << ScreenshotCategory::Web;
}

void CategoryClassifierTest::classify()
{
    QFETCH(QString, text);
    QFETCH(OptionalText, appName);
    QFETCH(OptionalText, appId);
    QFETCH(ScreenshotCategory, expected);
    const auto configuration = RoutingConfiguration::defaultConfiguration();
    QCOMPARE(CategoryClassifier::classify(text, appName, appId, configuration), expected);
}

void CategoryClassifierTest::extraKeywordsTakePart()
{
    auto configuration = RoutingConfiguration::defaultConfiguration();
    configuration.rules[2].extraKeywords = u"Acme Corp, ,INVOICE-X "_s;
    const QString text = u"Acme Corp invoice x"_s;
    // "invoice" alone scores 1 for receipts; the extra keywords give design 2.
    QCOMPARE(CategoryClassifier::classify(text, std::nullopt, std::nullopt, configuration),
             ScreenshotCategory::Design);
    configuration.rules[2].isEnabled = false;
    QCOMPARE(CategoryClassifier::classify(text, std::nullopt, std::nullopt, configuration),
             ScreenshotCategory::Design);
}

QTEST_GUILESS_MAIN(CategoryClassifierTest)
#include "CategoryClassifierTest.moc"
