// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/WordRanking.h"

#include "TestLines.h"
#include "naming/EnglishWords.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Running text at body size, which sets the median line height and names nothing in the rows.
Lines withBody(Lines lines)
{
    for (int i = 0; i < 4; ++i)
        lines.append(line(u"lorem ipsum dolor sit amet consectetur adipiscing elit"_s, 0.3, 0.3 - 0.04 * i));
    return lines;
}

double scoreOf(const QList<WordRanking::Candidate> &candidates, const QString &word)
{
    for (const WordRanking::Candidate &candidate : candidates) {
        if (candidate.word == word)
            return candidate.score;
    }
    return -1e9;
}

} // namespace

// Each row is a class of naming error that one fitted weight prevents: the better word must outrank
// the worse, which stands where a tie or a wrong sign would put it first (higher, earlier).
class WordRankingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(EnglishWords::isAvailable(), "install wamerican (scripts/install-deps)"); }
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void outranks_data();
    void outranks();
    void isSameIdea_data();
    void isSameIdea();
    void nameHoldsOneWordPerIdea();
};

void WordRankingTest::outranks_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<CaptureContext>("context");
    QTest::addColumn<ScreenshotCategory>("category");
    QTest::addColumn<QString>("better");
    QTest::addColumn<QString>("worse");
    const CaptureContext none;
    const auto other = ScreenshotCategory::Other;

    QTest::addRow("a misread word below a clear one")
        << withBody({line(u"Ledger"_s, 0.3, 0.61, 0.2, 0.02, 0.6f), line(u"Budget"_s, 0.6, 0.6, 0.2)}) << none
        << other << u"budget"_s << u"ledger"_s;
    QTest::addRow("larger text over body text")
        << withBody({line(u"Ledger"_s, 0.3, 0.61, 0.2), line(u"Budget"_s, 0.6, 0.6, 0.2, 0.026)}) << none
        << other << u"budget"_s << u"ledger"_s;
    QTest::addRow("the word the screen repeats")
        << withBody({line(u"Ledger"_s, 0.3, 0.7, 0.2), line(u"Budget"_s, 0.3, 0.6, 0.2),
                     line(u"budget by month"_s, 0.3, 0.55), line(u"budget by year"_s, 0.3, 0.5)})
        << none << other << u"budget"_s << u"ledger"_s;
    QTest::addRow("the application in the title bar over the body")
        << withBody({line(u"Zorbly"_s, 0.45, 0.96, 0.1, 0.02), line(u"Harbor"_s, 0.3, 0.6, 0.2),
                     line(u"Meadow"_s, 0.3, 0.55, 0.2), line(u"Willow"_s, 0.3, 0.5, 0.2)})
        << none << other << u"zorbly"_s << u"harbor"_s;
    QTest::addRow("a page title in the top band over a line below it")
        << withBody({line(u"Ledger"_s, 0.3, 0.86, 0.2), line(u"Budget"_s, 0.3, 0.8, 0.2)}) << none << other
        << u"ledger"_s << u"budget"_s;
    QTest::addRow("a label over a word in a sentence")
        << withBody({line(u"the ledger for the whole of this year"_s, 0.3, 0.61),
                     line(u"Budget"_s, 0.3, 0.6, 0.2)})
        << none << other << u"budget"_s << u"ledger"_s;
    QTest::addRow("a capitalised word over a lower-case one")
        << withBody({line(u"ledger"_s, 0.3, 0.61, 0.2), line(u"Budget"_s, 0.6, 0.6, 0.2)}) << none << other
        << u"budget"_s << u"ledger"_s;
    QTest::addRow("the window title over the body")
        << withBody({line(u"Harbor"_s, 0.3, 0.6, 0.2)})
        << CaptureContext{{}, {}, u"budget.ods - LibreOffice Calc"_s} << other << u"budget"_s << u"harbor"_s;
    QTest::addRow("the application's name over the body")
        << withBody({line(u"Harbor"_s, 0.3, 0.6, 0.2)}) << CaptureContext{u"Zorbly"_s, {}, {}} << other
        << u"zorbly"_s << u"harbor"_s;
    QTest::addRow("a word of the page's kind")
        << withBody({line(u"Harbor"_s, 0.3, 0.61, 0.2), line(u"Invoice"_s, 0.6, 0.6, 0.2)}) << none
        << ScreenshotCategory::Receipts << u"invoice"_s << u"harbor"_s;
    QTest::addRow("a menu word below content")
        << withBody({line(u"Options"_s, 0.3, 0.61, 0.2), line(u"Budget"_s, 0.6, 0.6, 0.2)}) << none << other
        << u"budget"_s << u"options"_s;
    QTest::addRow("a three-letter word below a longer one")
        << withBody({line(u"Oak"_s, 0.3, 0.61, 0.2), line(u"Birch"_s, 0.6, 0.6, 0.2)}) << none << other
        << u"birch"_s << u"oak"_s;
    QTest::addRow("a speck read as a word")
        << withBody({line(u"estled"_s, 0.3, 0.61, 0.2), line(u"budget"_s, 0.6, 0.6, 0.2)}) << none << other
        << u"budget"_s << u"estled"_s;
    QTest::addRow("higher on the screen")
        << withBody({line(u"Ledger"_s, 0.3, 0.6, 0.2), line(u"Budget"_s, 0.6, 0.7, 0.2)}) << none << other
        << u"budget"_s << u"ledger"_s;
    QTest::addRow("the first lines of the main pane")
        << withBody({line(u"Budget"_s, 0.3, 0.6, 0.2), line(u"Finance"_s, 0.3, 0.59, 0.2),
                     line(u"Savings"_s, 0.3, 0.58, 0.2), line(u"Ledger"_s, 0.6, 0.57, 0.2)})
        << none << other << u"savings"_s << u"ledger"_s;
    QTest::addRow("a product's name at the top over a word beside it")
        << withBody({line(u"Harbor"_s, 0.3, 0.88, 0.2), line(u"Mailpit"_s, 0.6, 0.88, 0.2)}) << none << other
        << u"mailpit"_s << u"harbor"_s;
    QTest::addRow("an entry of a menu column")
        << withBody({line(u"Quarterly figures"_s, 0.5, 0.9), line(u"for the board"_s, 0.5, 0.86),
                     line(u"and its members"_s, 0.5, 0.82), line(u"Ledger"_s, 0.35, 0.7, 0.2),
                     line(u"Savings"_s, 0.35, 0.66, 0.2), line(u"Accounts"_s, 0.35, 0.62, 0.2),
                     line(u"Reports"_s, 0.35, 0.58, 0.2), line(u"Budget"_s, 0.7, 0.69, 0.2)})
        << none << other << u"budget"_s << u"ledger"_s;
}

void WordRankingTest::outranks()
{
    QFETCH(Lines, lines);
    QFETCH(CaptureContext, context);
    QFETCH(ScreenshotCategory, category);
    QFETCH(QString, better);
    QFETCH(QString, worse);
    const auto candidates =
        WordRanking::candidates(ScreenLayout(lines), context, category, {u"ada"_s, u"vm"_s});
    QVERIFY2(scoreOf(candidates, better) > scoreOf(candidates, worse),
             qPrintable(u"%1 %2, %3 %4"_s.arg(better)
                            .arg(scoreOf(candidates, better))
                            .arg(worse)
                            .arg(scoreOf(candidates, worse))));
}

void WordRankingTest::isSameIdea_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("expected");
    QTest::addRow("plural") << u"invoices"_s << u"invoice"_s << true;
    QTest::addRow("plural in -ies") << u"entry"_s << u"entries"_s << true;
    QTest::addRow("one stem") << u"monitoring"_s << u"monitor"_s << true;
    QTest::addRow("one stem, a silent e") << u"browse"_s << u"browser"_s << true;
    QTest::addRow("a stem too short to lose its e") << u"note"_s << u"not"_s << false;
    QTest::addRow("abbreviation") << u"inv"_s << u"invoice"_s << true;
    QTest::addRow("a dictionary word is no abbreviation") << u"art"_s << u"artboard"_s << false;
    QTest::addRow("a short form no dictionary knows") << u"str"_s << u"string"_s << true;
    QTest::addRow("two words") << u"budget"_s << u"ledger"_s << false;
    QTest::addRow("a number is no abbreviation") << u"20"_s << u"2024"_s << false;
}

void WordRankingTest::isSameIdea()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, expected);
    QCOMPARE(WordRanking::isSameIdea(a, b), expected);
    QCOMPARE(WordRanking::isSameIdea(b, a), expected);
}

void WordRankingTest::nameHoldsOneWordPerIdea()
{
    const Lines lines{line(u"Invoices"_s, 0.3, 0.88, 0.3, 0.04), line(u"INV-1042 Invoice paid"_s, 0.3, 0.7),
                      line(u"invoice total"_s, 0.3, 0.6), line(u"Payments"_s, 0.3, 0.5),
                      line(u"payment due"_s, 0.3, 0.4)};
    const QStringList words = WordRanking::chosen(
        WordRanking::candidates(ScreenLayout(lines), {}, ScreenshotCategory::Receipts, {u"ada"_s, u"vm"_s}));
    QVERIFY2(words.size() >= 2, qPrintable(words.join(u' ')));
    for (const QString &word : words) {
        for (const QString &other : words)
            QVERIFY2(&word == &other || !WordRanking::isSameIdea(word, other), qPrintable(words.join(u' ')));
    }
}

QTEST_APPLESS_MAIN(WordRankingTest)
#include "WordRankingTest.moc"
