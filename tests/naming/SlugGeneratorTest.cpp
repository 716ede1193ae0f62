#include "naming/SlugGenerator.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class SlugGeneratorTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("."))); }
    void words_data();
    void words();
    void isNoiseToken_data();
    void isNoiseToken();
    void slug_data();
    void slug();
    void fileDescriptionWordsAreStopWords();
};

void SlugGeneratorTest::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("accents folded, hyphen and dot split")
        << u"Crème-Brûlée Ltd."_s << QStringList{"creme", "brulee", "ltd"};
    QTest::addRow("full-width letters and digits") << u"ＡＢＣ１２３"_s << QStringList{"abc123"};
    QTest::addRow("curly apostrophes inside a word") << u"O’Reilly’s"_s << QStringList{"oreillys"};
    QTest::addRow("straight apostrophe") << u"don't"_s << QStringList{"dont"};
    QTest::addRow("quoted letter between spaces") << u"rock 'n' roll"_s << QStringList{"rock", "n", "roll"};
    QTest::addRow("sharp s spelled out") << u"STRAẞE Straße"_s << QStringList{"strasse", "strasse"};
    QTest::addRow("Latin letters without decomposition")
        << u"Ærøskøbing Łódź Þór Œuvre ıd"_s << QStringList{"aeroskobing", "lodz", "thor", "oeuvre", "id"};
    QTest::addRow("decomposed accent stays in the word")
        << u"Cafe\u0301 noir"_s << QStringList{"cafe", "noir"};
    QTest::addRow("ligature, superscript, circled digit")
        << u"ﬁnance m² ①"_s << QStringList{"finance", "m2", "1"};
    QTest::addRow("mathematical bold letters") << u"𝐁𝐨𝐥𝐝 text"_s << QStringList{"bold", "text"};
    QTest::addRow("Japanese between Latin words")
        << u"Invoice請求書2024年 paid"_s << QStringList{"invoice", "2024", "paid"};
    QTest::addRow("Cyrillic ends a word") << u"Москва2024city"_s << QStringList{"2024city"};
    QTest::addRow("only Japanese") << u"請求書のスクリーンショット"_s << QStringList{};
    QTest::addRow("empty") << QString() << QStringList{};
    QTest::addRow("punctuation only") << u"—!?…  '' ’ ."_s << QStringList{};
}

void SlugGeneratorTest::words()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(SlugGenerator::words(text), expected);
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
    QTest::addRow("kilobytes") << "512kb" << true;
    QTest::addRow("bytes") << "7b" << true;
    QTest::addRow("terabytes") << "2tb" << true;
    QTest::addRow("unit alone") << "mb" << false;
    QTest::addRow("unit with more letters") << "12kbps" << false;
    QTest::addRow("upper-case unit") << "12MB" << false;
    QTest::addRow("version") << "v2" << true;
    QTest::addRow("v alone") << "v" << false;
    QTest::addRow("version with a name") << "v3beta" << false;
    QTest::addRow("digit before v") << "2v" << false;
}

void SlugGeneratorTest::isNoiseToken()
{
    QFETCH(QString, word);
    QFETCH(bool, expected);
    QCOMPARE(SlugGenerator::isNoiseToken(word), expected);
}

void SlugGeneratorTest::slug_data()
{
    QTest::addColumn<QStringList>("candidates");
    QTest::addColumn<QStringList>("preserving");
    QTest::addColumn<QString>("expected");
    const QString longest(24, u'x');
    QTest::addRow("no candidates") << QStringList{} << QStringList{} << "screen-capture";
    QTest::addRow("one word") << QStringList{"invoice"} << QStringList{} << "invoice-screenshot";
    QTest::addRow("stop words and single letters")
        << QStringList{"the", "a", "x"} << QStringList{} << "screen-capture";
    QTest::addRow("file description word dropped")
        << QStringList{"screenshot", "editor"} << QStringList{} << "editor-screenshot";
    QTest::addRow("file description word preserved")
        << QStringList{"screenshot", "editor"} << QStringList{"screenshot"} << "screenshot-editor";
    QTest::addRow("seven words, first five")
        << QStringList{"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf"} << QStringList{}
        << "alpha-bravo-charlie-delta-echo";
    QTest::addRow("repeats taken once and not counted")
        << QStringList{"stripe", "stripe", "invoice", "stripe", "paid", "march", "card", "visa"}
        << QStringList{} << "stripe-invoice-paid-march-card";
    QTest::addRow("noise dropped, year and named version kept")
        << QStringList{"3f9a2b7c1d", "20mb", "v3", "2024", "v3beta"} << QStringList{} << "2024-v3beta";
    QTest::addRow("date-like number dropped")
        << QStringList{"20240115", "12345", "report"} << QStringList{} << "report-screenshot";
    QTest::addRow("24 characters kept, 25 dropped")
        << QStringList{longest + u'x', longest, "log"} << QStringList{} << longest + "-log";
}

void SlugGeneratorTest::slug()
{
    QFETCH(QStringList, candidates);
    QFETCH(QStringList, preserving);
    QFETCH(QString, expected);
    QCOMPARE(SlugGenerator::slug(candidates, QSet<QString>(preserving.begin(), preserving.end())), expected);
}

void SlugGeneratorTest::fileDescriptionWordsAreStopWords()
{
    QCOMPARE(SlugGenerator::stopWords().size(), 92);
    QCOMPARE(SlugGenerator::fileDescriptionWords().size(), 6);
    QVERIFY(SlugGenerator::stopWords().contains(SlugGenerator::fileDescriptionWords()));
}

QTEST_GUILESS_MAIN(SlugGeneratorTest)
#include "SlugGeneratorTest.moc"
