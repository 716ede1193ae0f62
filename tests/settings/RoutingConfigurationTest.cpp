// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/RoutingConfiguration.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class RoutingConfigurationTest : public QObject
{
    Q_OBJECT

private slots:
    void handWrittenJsonDecodesAndNormalizes();
    void writtenJsonDecodesUnchanged();
    void malformedJsonFailsAsAWhole_data();
    void malformedJsonFailsAsAWhole();
};

void RoutingConfigurationTest::handWrittenJsonDecodesAndNormalizes()
{
    QFile file(QStringLiteral(QUILLO_TEST_DATA "/routing-configuration.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto decoded = RoutingConfiguration::fromJson(file.readAll());
    QVERIFY(decoded);
    QCOMPARE(decoded->rules.size(), 4);
    const QStringList keywords = decoded->rules[0].keywords(); // the category's own, then the extra ones
    QCOMPARE(keywords.mid(keywords.size() - 2), (QStringList{u"acme corp"_s, u"invoice-x"_s}));
    // The first rule of each category counts, missing categories get theirs, in the usual order.
    auto expected = RoutingConfiguration::defaultConfiguration();
    expected.rules[0] =
        CategoryRule{ScreenshotCategory::Receipts, u"Money"_s, false, u"Acme Corp, ,INVOICE-X "_s};
    expected.rules[3] = CategoryRule{ScreenshotCategory::Chats, u"Conversations"_s, true, u"matrix"_s};
    QCOMPARE(decoded->normalized(), expected);
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
