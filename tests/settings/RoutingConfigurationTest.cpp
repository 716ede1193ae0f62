#include "settings/RoutingConfiguration.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class RoutingConfigurationTest : public QObject
{
    Q_OBJECT

private slots:
    void normalizedKeepsFirstRuleOfEachCategory();
    void extraKeywordsAreTrimmedAndLowerCased();
    void handWrittenJsonDecodes();
    void writtenJsonDecodesUnchanged();
    void malformedJsonFailsAsAWhole_data();
    void malformedJsonFailsAsAWhole();
};

void RoutingConfigurationTest::normalizedKeepsFirstRuleOfEachCategory()
{
    const RoutingConfiguration configuration{{
        {ScreenshotCategory::Chats, u"Conversations"_s, true, QString()},
        {ScreenshotCategory::Chats, u"Ignored"_s, false, QString()},
        {ScreenshotCategory::Receipts, u"Receipts & Invoices"_s, false, QString()},
    }};
    auto expected = RoutingConfiguration::defaultConfiguration();
    expected.rules[0].isEnabled = false;
    expected.rules[3].folderName = u"Conversations"_s;
    QCOMPARE(configuration.normalized(), expected);
}

void RoutingConfigurationTest::extraKeywordsAreTrimmedAndLowerCased()
{
    CategoryRule rule = CategoryRule::defaultRule(ScreenshotCategory::Other);
    rule.extraKeywords = u" Acme Corp, ,INVOICE-X \t"_s;
    QCOMPARE(rule.keywords(), (QStringList{u"acme corp"_s, u"invoice-x"_s}));
}

void RoutingConfigurationTest::handWrittenJsonDecodes()
{
    QFile file(QStringLiteral(QUILLO_TEST_DATA "/routing-configuration.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto decoded = RoutingConfiguration::fromJson(file.readAll());
    QVERIFY(decoded);
    QCOMPARE(decoded->rules.size(), 4);
    QCOMPARE(decoded->rules[0],
             (CategoryRule{ScreenshotCategory::Receipts, u"Money"_s, false, u"Acme Corp, ,INVOICE-X "_s}));
    QCOMPARE(decoded->rules[3].folderName, u"Second chats rule"_s);
    QCOMPARE(decoded->normalized().rule(ScreenshotCategory::Chats).folderName, u"Conversations"_s);
    QCOMPARE(decoded->normalized().rules.size(), 6);
}

void RoutingConfigurationTest::writtenJsonDecodesUnchanged()
{
    auto configuration = RoutingConfiguration::defaultConfiguration();
    configuration.rules[1].folderName = QStringLiteral("Côde \"quoted\" / ünïcode ✓");
    configuration.rules[4].isEnabled = false;
    configuration.rules[5].extraKeywords = u"maps,\nweather"_s;
    QVERIFY(RoutingConfiguration::fromJson(configuration.toJson()) == configuration);

    const QByteArray defaults = RoutingConfiguration::defaultConfiguration().toJson();
    QVERIFY(defaults.contains(
        R"({"category":"receipts","extraKeywords":"","folderName":"Receipts & Invoices","isEnabled":true})"));
}

void RoutingConfigurationTest::malformedJsonFailsAsAWhole_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addRow("not json") << QByteArray("{rules: nope");
    QTest::addRow("top level is an array") << QByteArray("[]");
    QTest::addRow("rules missing") << QByteArray("{}");
    QTest::addRow("rules not an array") << QByteArray(R"({"rules":{}})");
    QTest::addRow("missing key") << QByteArray(
        R"({"rules":[{"category":"code","folderName":"C","isEnabled":true}]})");
    QTest::addRow("wrong type") << QByteArray(
        R"({"rules":[{"category":"code","folderName":"C","isEnabled":"yes","extraKeywords":""}]})");
    QTest::addRow("unknown category") << QByteArray(
        R"({"rules":[{"category":"Code","folderName":"C","isEnabled":true,"extraKeywords":""}]})");
    QTest::addRow("one bad rule among good ones")
        << QByteArray(R"({"rules":[{"category":"web","folderName":"W","isEnabled":true,"extraKeywords":""},)"
                      R"({"category":"web","folderName":7,"isEnabled":true,"extraKeywords":""}]})");
}

void RoutingConfigurationTest::malformedJsonFailsAsAWhole()
{
    QFETCH(QByteArray, json);
    QVERIFY(!RoutingConfiguration::fromJson(json));
}

QTEST_GUILESS_MAIN(RoutingConfigurationTest)
#include "RoutingConfigurationTest.moc"
