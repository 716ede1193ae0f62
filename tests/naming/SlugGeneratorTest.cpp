#include "naming/SlugGenerator.h"

#include "naming/SlugComposer.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class SlugGeneratorTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void words_data();
    void words();
    void isNoiseToken_data();
    void isNoiseToken();
    void slug_data();
    void slug();
    void composer_data();
    void composer();
    void fileDescriptionWordsAreStopWords();
};

void SlugGeneratorTest::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // the words joined by spaces
    QTest::addRow("accents folded, hyphen and dot split") << u"Crème-Brûlée Ltd."_s << "creme brulee ltd";
    QTest::addRow("full-width letters and digits") << u"ＡＢＣ１２３"_s << "abc123";
    QTest::addRow("curly apostrophes inside a word") << u"O’Reilly’s"_s << "oreillys";
    QTest::addRow("straight apostrophes") << "don't rock 'n' roll"
                                          << "dont rock n roll";
    QTest::addRow("sharp s spelled out") << u"STRAẞE Straße"_s << "strasse strasse";
    QTest::addRow("letters without decomposition")
        << u"Ærø Łódź Þór Œuvre ıd"_s << "aero lodz thor oeuvre id";
    QTest::addRow("decomposed accent stays in the word") << u"Cafe\u0301 noir"_s << "cafe noir";
    QTest::addRow("ligature, superscript, math bold") << u"ﬁnance m² 𝐁𝐨𝐥𝐝"_s << "finance m2 bold";
    QTest::addRow("Japanese and Cyrillic split words")
        << u"Invoice請求書2024年 Москва7"_s << "invoice 2024 7";
    QTest::addRow("only Japanese") << u"請求書のスクリーンショット"_s << "";
    QTest::addRow("empty") << ""
                           << "";
    QTest::addRow("punctuation only") << u"—!?…  '' ’ ."_s << "";
}

void SlugGeneratorTest::words()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(SlugGenerator::words(text).join(u' '), expected);
}

void SlugGeneratorTest::isNoiseToken_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("expected");
    QTest::addRow("commit hash") << "3f9a2b7c1d" << true;
    QTest::addRow("long number is hex too") << "12345678" << true;
    QTest::addRow("hex word without a digit") << "deadbeef" << false;
    QTest::addRow("seven hex characters") << "3f9a2b7" << false;
    QTest::addRow("upper-case hex") << "3F9A2B7C1D" << false;
    QTest::addRow("sizes") << "512kb" << true;
    QTest::addRow("bytes") << "7b" << true;
    QTest::addRow("unit alone") << "mb" << false;
    QTest::addRow("unit with more letters") << "12kbps" << false;
    QTest::addRow("upper-case unit") << "12MB" << false;
    QTest::addRow("version") << "v2" << true;
    QTest::addRow("v alone") << "v" << false;
    QTest::addRow("version with a name") << "v3beta" << false;
}

void SlugGeneratorTest::isNoiseToken()
{
    QFETCH(QString, word);
    QFETCH(bool, expected);
    QCOMPARE(SlugGenerator::isNoiseToken(word), expected);
}

void SlugGeneratorTest::slug_data()
{
    QTest::addColumn<QString>("candidates"); // separated by spaces
    QTest::addColumn<QString>("preserving");
    QTest::addColumn<QString>("expected");
    const QString longest(24, u'x');
    QTest::addRow("no candidates") << ""
                                   << ""
                                   << "screen-capture";
    QTest::addRow("one word") << "invoice"
                              << ""
                              << "invoice-screenshot";
    QTest::addRow("stop words and single letters") << "the a x"
                                                   << ""
                                                   << "screen-capture";
    QTest::addRow("file description word dropped") << "screenshot editor"
                                                   << ""
                                                   << "editor-screenshot";
    QTest::addRow("file description word preserved") << "screenshot editor"
                                                     << "screenshot"
                                                     << "screenshot-editor";
    QTest::addRow("seven words, first five") << "aa bb cc dd ee ff gg"
                                             << ""
                                             << "aa-bb-cc-dd-ee";
    QTest::addRow("repeats taken once, not counted") << "aa aa bb aa cc dd ee ff"
                                                     << ""
                                                     << "aa-bb-cc-dd-ee";
    QTest::addRow("noise dropped, year and named version kept") << "3f9a2b7c1d 20mb v3 2024 v3beta"
                                                                << ""
                                                                << "2024-v3beta";
    QTest::addRow("date-like numbers dropped") << "20240115 12345 report"
                                               << ""
                                               << "report-screenshot";
    QTest::addRow("24 characters kept, 25 dropped") << longest + "x " + longest + " log"
                                                    << "" << longest + "-log";
}

void SlugGeneratorTest::slug()
{
    QFETCH(QString, candidates);
    QFETCH(QString, preserving);
    QFETCH(QString, expected);
    const QStringList preserved = preserving.split(u' ', Qt::SkipEmptyParts);
    QCOMPARE(
        SlugGenerator::slug(candidates.split(u' ', Qt::SkipEmptyParts), {preserved.begin(), preserved.end()}),
        expected);
}

void SlugGeneratorTest::composer_data()
{
    QTest::addColumn<QStringList>(
        "groups"); // words separated by spaces; a leading "+" allows a partial group
    QTest::addColumn<QString>("expected");
    QTest::addRow("three held, group too big, dropped") << QStringList{"a b c", "d e f"} << "a b c";
    QTest::addRow("three held, partial allowed, first two") << QStringList{"a b c", "+d e f"} << "a b c d e";
    QTest::addRow("two held, four fresh, first three") << QStringList{"a b", "c d e f"} << "a b c d e";
    QTest::addRow("known and repeated words are not fresh") << QStringList{"a b c", "a d d c"} << "a b c d";
    QTest::addRow("long first group cut to five") << QStringList{"a b c d e f g"} << "a b c d e";
    QTest::addRow("full composer takes nothing more") << QStringList{"a b c d e", "+f"} << "a b c d e";
}

void SlugGeneratorTest::composer()
{
    QFETCH(QStringList, groups);
    QFETCH(QString, expected);
    SlugComposer composer;
    for (const QString &group : groups)
        composer.add(QString(group).remove(u'+').split(u' '), group.startsWith(u'+'));
    QCOMPARE(composer.words().join(u' '), expected);
}

void SlugGeneratorTest::fileDescriptionWordsAreStopWords()
{
    QCOMPARE(SlugGenerator::stopWords().size(), 92);
    QCOMPARE(SlugGenerator::fileDescriptionWords().size(), 6);
    QVERIFY(SlugGenerator::stopWords().contains(SlugGenerator::fileDescriptionWords()));
}

QTEST_GUILESS_MAIN(SlugGeneratorTest)
#include "SlugGeneratorTest.moc"
