// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/SlugGenerator.h"

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
};

void SlugGeneratorTest::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // the words joined by spaces
    QTest::addRow("accents folded, hyphen and dot split") << u"Crème-Brûlée Ltd."_s << u"creme brulee ltd"_s;
    QTest::addRow("full-width letters and digits") << u"ＡＢＣ１２３"_s << u"abc123"_s;
    QTest::addRow("curly apostrophes inside a word") << u"O’Reilly’s"_s << u"oreillys"_s;
    QTest::addRow("straight apostrophes") << u"don't rock 'n' roll"_s << u"dont rock n roll"_s;
    QTest::addRow("sharp s spelled out") << u"STRAẞE Straße"_s << u"strasse strasse"_s;
    QTest::addRow("letters without decomposition")
        << u"Ærø Łódź Þór Œuvre ıd"_s << u"aero lodz thor oeuvre id"_s;
    QTest::addRow("decomposed accent stays in the word") << u"Cafe\u0301 noir"_s << u"cafe noir"_s;
    QTest::addRow("ligature, superscript, math bold") << u"ﬁnance m² 𝐁𝐨𝐥𝐝"_s << u"finance m2 bold"_s;
    QTest::addRow("Japanese and Cyrillic split words")
        << u"Invoice請求書2024年 Москва7"_s << u"invoice 2024 7"_s;
    QTest::addRow("only Japanese") << u"請求書のスクリーンショット"_s << u""_s;
    QTest::addRow("empty") << u""_s << u""_s;
    QTest::addRow("punctuation only") << u"—!?…  '' ’ ."_s << u""_s;
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
    QTest::addRow("commit hash") << u"3f9a2b7c1d"_s << true;
    QTest::addRow("long number is hex too") << u"12345678"_s << true;
    QTest::addRow("hex word without a digit") << u"deadbeef"_s << false;
    QTest::addRow("seven hex characters") << u"3f9a2b7"_s << false;
    QTest::addRow("sizes") << u"512kb"_s << true;
    QTest::addRow("unit alone") << u"mb"_s << false;
    QTest::addRow("version") << u"v2"_s << true;
    QTest::addRow("v alone") << u"v"_s << false;
    QTest::addRow("version with a name") << u"v3beta"_s << false;
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
    QTest::addRow("no candidates") << u""_s << u""_s << u"screen-capture"_s;
    QTest::addRow("one word") << u"invoice"_s << u""_s << u"invoice-screenshot"_s;
    QTest::addRow("stop words and single letters") << u"the a x"_s << u""_s << u"screen-capture"_s;
    QTest::addRow("file description word dropped")
        << u"screenshot editor"_s << u""_s << u"editor-screenshot"_s;
    QTest::addRow("file description word preserved")
        << u"screenshot editor"_s << u"screenshot"_s << u"screenshot-editor"_s;
    QTest::addRow("seven words, first five") << u"aa bb cc dd ee ff gg"_s << u""_s << u"aa-bb-cc-dd-ee"_s;
    QTest::addRow("repeats taken once, not counted")
        << u"aa aa bb aa cc dd ee ff"_s << u""_s << u"aa-bb-cc-dd-ee"_s;
    QTest::addRow("noise dropped, year and named version kept")
        << u"3f9a2b7c1d 20mb v3 2024 v3beta"_s << u""_s << u"2024-v3beta"_s;
    QTest::addRow("date-like numbers dropped")
        << u"20240115 12345 report"_s << u""_s << u"report-screenshot"_s;
    QTest::addRow("24 characters kept, 25 dropped")
        << longest + "x " + longest + " log" << u""_s << longest + "-log";
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

QTEST_GUILESS_MAIN(SlugGeneratorTest)
#include "SlugGeneratorTest.moc"
