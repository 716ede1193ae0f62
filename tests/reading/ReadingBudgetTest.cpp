// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/ReadingBudget.h"

#include <QTest>

using namespace std::chrono_literals;
using Verdict = ReadingBudget::Verdict;

class ReadingBudgetTest : public QObject
{
    Q_OBJECT

private slots:
    void judgesProcessorTimeWithTheClockAsBackstop_data();
    void judgesProcessorTimeWithTheClockAsBackstop();
};

void ReadingBudgetTest::judgesProcessorTimeWithTheClockAsBackstop_data()
{
    QTest::addColumn<int>("processorMs");
    QTest::addColumn<int>("wallMs");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<int>("nextLookMs"); // for a file that continues
    // A budget of 10 s: killed past 10.5 s of processor time, or past 30 s on the clock.
    QTest::addRow("just handed over") << 0 << 0 << Verdict::Continue << 1000;
    QTest::addRow("waiting for a core long past the budget") << 2000 << 25'000 << Verdict::Continue << 1000;
    QTest::addRow("at its budget, answering for itself") << 10'000 << 12'000 << Verdict::Continue << 500;
    QTest::addRow("past the budget and the grace") << 10'500 << 11'000 << Verdict::OverProcessorTime << 0;
    QTest::addRow("nearly at the clock's backstop") << 100 << 29'800 << Verdict::Continue << 200;
    QTest::addRow("stopped or stuck until the backstop") << 100 << 30'000 << Verdict::OverWallTime << 0;
    QTest::addRow("both passed: the file's own cost") << 11'000 << 31'000 << Verdict::OverProcessorTime << 0;
}

void ReadingBudgetTest::judgesProcessorTimeWithTheClockAsBackstop()
{
    QFETCH(int, processorMs);
    QFETCH(int, wallMs);
    QFETCH(Verdict, verdict);
    QFETCH(int, nextLookMs);
    const ReadingBudget::Spent spent{std::chrono::milliseconds(processorMs),
                                     std::chrono::milliseconds(wallMs)};
    QCOMPARE(ReadingBudget::judge(spent, 10s), verdict);
    if (verdict == Verdict::Continue)
        QCOMPARE(ReadingBudget::untilNextLook(spent, 10s).count(), nextLookMs);
}

QTEST_GUILESS_MAIN(ReadingBudgetTest)
#include "ReadingBudgetTest.moc"
