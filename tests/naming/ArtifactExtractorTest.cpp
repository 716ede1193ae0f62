// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/ArtifactExtractor.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class ArtifactExtractorTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void names_data();
    void names();
    void splitCamelCase_data();
    void splitCamelCase();
};

void ArtifactExtractorTest::names_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // groups joined by "|", words by spaces

    QTest::addRow("extension compared lower-cased") << u"See Report.PDF"_s << u"report"_s;
    QTest::addRow("version part skipped") << u"V12-Atlas.zip"_s << u"atlas"_s;
    QTest::addRow("bracketed token, first qualifying part") << u"(Budget_Q3.xlsx),"_s << u"budget"_s;
    QTest::addRow("first part names the project") << u"Atlas-release-notes.md"_s << u"atlas"_s;
    QTest::addRow("camel case stem") << u"QuarterlyReport_2024.xlsx"_s << u"quarterly report"_s;
    QTest::addRow("at most three words") << u"AtlasCoreServiceClient.py"_s << u"atlas core service"_s;
    QTest::addRow("generic camera name") << u"IMG_2024.pdf"_s << u""_s;
    QTest::addRow("extension split off by a space") << u"Quarterly Report .pdf"_s << u"report"_s;
    QTest::addRow("cut-off stem") << u"…Quarterly…Report….pdf"_s << u"quarterly report"_s;

    QTest::addRow("name before a pull request") << u"Atlas PR #42"_s << u"atlas"_s;
    QTest::addRow("name before a version") << u"StarChart Web v2.1.0"_s << u"star chart web"_s;
    QTest::addRow("lower-case word before the marker") << u"Fix login flow PR #12"_s << u""_s;
    QTest::addRow("three tokens nearest the marker")
        << u"Orion Nebula Star Atlas pr#7"_s << u"nebula star atlas"_s;
    QTest::addRow("spelled-out pull request") << u"Atlas pull request #42"_s << u"atlas"_s;
    QTest::addRow("markers in table order, not text order")
        << u"Nova v2.1 and Atlas PR #3"_s << u"atlas|nova"_s;
    QTest::addRow("owner and repository with hyphens") << u"acme-labs/atlas-core"_s << u"atlas core"_s;
    QTest::addRow("capitalised owner") << u"Acme/Widgets"_s << u"widgets"_s;
    QTest::addRow("prose-like pair") << u"acme/widgets"_s << u""_s;
    QTest::addRow("web address with a path") << u"https://example.com/docs/getting-started"_s << u""_s;
    QTest::addRow("file name before repository")
        << u"notes.txt in acme-labs/atlas-core"_s << u"notes|atlas core"_s;
}

void ArtifactExtractorTest::names()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QStringList groups;
    for (const QStringList &group : ArtifactExtractor::names(text))
        groups.append(group.join(u' '));
    QCOMPARE(groups.join(u'|'), expected);
}

void ArtifactExtractorTest::splitCamelCase_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addRow("two words") << u"QuarterlyReport"_s << u"Quarterly Report"_s;
    QTest::addRow("lower then capitals") << u"iOSApp"_s << u"i OSApp"_s;
    QTest::addRow("combining accent") << u"Cafe\u0301Noir"_s << u"Cafe\u0301 Noir"_s;
}

void ArtifactExtractorTest::splitCamelCase()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ArtifactExtractor::splitCamelCase(text), expected);
}

QTEST_APPLESS_MAIN(ArtifactExtractorTest)
#include "ArtifactExtractorTest.moc"
