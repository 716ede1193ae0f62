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

    QTest::addRow("extension compared lower-cased") << "See Report.PDF"
                                                    << "report";
    QTest::addRow("plain file name") << "notes.txt"
                                     << "notes";
    QTest::addRow("unlisted extension") << "archive.tar"
                                        << "";
    QTest::addRow("version as the only stem") << "v2.dmg"
                                              << "";
    QTest::addRow("version part skipped") << "V12-Atlas.zip"
                                          << "atlas";
    QTest::addRow("bracketed token, first qualifying part") << "(Budget_Q3.xlsx),"
                                                            << "budget";
    QTest::addRow("first part names the project") << "Atlas-release-notes.md"
                                                  << "atlas";
    QTest::addRow("camel case stem") << "QuarterlyReport_2024.xlsx"
                                     << "quarterly report";
    QTest::addRow("at most three words") << "AtlasCoreServiceClient.py"
                                         << "atlas core service";
    QTest::addRow("generic camera name") << "IMG_2024.pdf"
                                         << "";
    QTest::addRow("only generic words") << "Screenshot_final.pdf"
                                        << "";
    QTest::addRow("extension split off by a space") << "Quarterly Report .pdf"
                                                    << "report";
    QTest::addRow("extension alone at the start") << ".pdf file"
                                                  << "";
    QTest::addRow("cut-off stem") << u"…Quarterly…Report….pdf"_s << "quarterly report";
    QTest::addRow("two files in a line") << "notes.txt and plan.md"
                                         << "notes|plan";

    QTest::addRow("name before a pull request") << "Atlas PR #42"
                                                << "atlas";
    QTest::addRow("name before a version") << "StarChart Web v2.1.0"
                                           << "star chart web";
    QTest::addRow("lower-case word before the marker") << "Fix login flow PR #12"
                                                       << "";
    QTest::addRow("three tokens nearest the marker") << "Orion Nebula Star Atlas pr#7"
                                                     << "nebula star atlas";
    QTest::addRow("spelled-out pull request") << "Atlas pull request #42"
                                              << "atlas";
    QTest::addRow("pr is not a name word") << "Release PR PR #5"
                                           << "release";
    QTest::addRow("markers in table order, not text order") << "Nova v2.1 and Atlas PR #3"
                                                            << "atlas|nova";
    QTest::addRow("version without a dot is no marker") << "Atlas v2"
                                                        << "";

    QTest::addRow("owner and repository with hyphens") << "acme-labs/atlas-core"
                                                       << "atlas core";
    QTest::addRow("capitalised owner") << "Acme/Widgets"
                                       << "widgets";
    QTest::addRow("prose-like pair") << "acme/widgets"
                                     << "";
    QTest::addRow("input/output") << "input/output"
                                  << "";
    QTest::addRow("longer path") << "Owner/repo/extra"
                                 << "";
    QTest::addRow("web address with a path") << "https://example.com/docs/getting-started"
                                             << "";
    QTest::addRow("owner too short") << "ab/atlas-core"
                                     << "";
    QTest::addRow("file name before repository") << "notes.txt in acme-labs/atlas-core"
                                                 << "notes|atlas core";
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
    QTest::addRow("two words") << "QuarterlyReport"
                               << "Quarterly Report";
    QTest::addRow("lower then capitals") << "iOSApp"
                                         << "i OSApp";
    QTest::addRow("capitals stay whole") << "HTTPServer"
                                         << "HTTPServer";
    QTest::addRow("accented letters") << u"ÉtéParis"_s << u"Été Paris"_s;
    QTest::addRow("combining accent") << u"Cafe\u0301Noir"_s << u"Cafe\u0301 Noir"_s;
    QTest::addRow("digit before capital") << "Q3Budget"
                                          << "Q3Budget";
}

void ArtifactExtractorTest::splitCamelCase()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ArtifactExtractor::splitCamelCase(text), expected);
}

QTEST_APPLESS_MAIN(ArtifactExtractorTest)
#include "ArtifactExtractorTest.moc"
