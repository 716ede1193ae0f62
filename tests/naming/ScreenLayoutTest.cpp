// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/ScreenLayout.h"

#include "TestLines.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Body text in the middle of the screen, one line per row from y 0.6 down.
Lines body(int count)
{
    Lines lines;
    for (int i = 0; i < count; ++i)
        lines.append(line(u"Body line %1"_s.arg(i + 1), 0.3, 0.6 - 0.04 * i));
    return lines;
}

// A chat: a left sidebar with a title above a cut-off preview, and the open conversation.
Lines chat(const QString &title, const QString &preview, double titleX = 0.02)
{
    return {line(title, titleX, 0.80, 0.2), line(preview, 0.02, 0.77, 0.2),
            line(u"Design Review"_s, 0.3, 0.85, 0.3, 0.03),
            line(u"Can you send me the updated deck before Friday?"_s, 0.3, 0.7, 0.6),
            line(u"Sure, attaching it now"_s, 0.3, 0.65, 0.4)};
}

const LaidOutLine *find(const ScreenLayout &layout, const QString &text)
{
    for (const LaidOutLine &laidOut : layout.lines()) {
        if (laidOut.recognized.text == text)
            return &laidOut;
    }
    return nullptr;
}

} // namespace

class ScreenLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void readingOrder_data();
    void readingOrder();
    void regions_data();
    void regions();
    void boilerplate_data();
    void boilerplate();
    void namesAfterIntroducingPhrases_data();
    void namesAfterIntroducingPhrases();
    void prominence_data();
    void prominence();
    void selectedSidebarItem_data();
    void selectedSidebarItem();
};

void ScreenLayoutTest::readingOrder_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QString>("expected"); // texts in reading order, joined by "|"
    QTest::addRow("same row reads left to right")
        << Lines{line(u"right"_s, 0.6, 0.5), line(u"left"_s, 0.1, 0.5)} << u"left|right"_s;
    QTest::addRow("higher line first regardless of x")
        << Lines{line(u"low left"_s, 0.1, 0.49), line(u"high right"_s, 0.6, 0.50)}
        << u"high right|low left"_s;
    QTest::addRow("identical boxes keep their input order")
        << Lines{line(u"first"_s, 0.1, 0.5), line(u"second"_s, 0.1, 0.5)} << u"first|second"_s;
}

void ScreenLayoutTest::readingOrder()
{
    QFETCH(Lines, lines);
    QFETCH(QString, expected);
    QCOMPARE(joinedTexts(ScreenLayout(lines).lines()), expected);
}

void ScreenLayoutTest::regions_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QString>("probe");
    QTest::addColumn<QString>("expected");
    const RecognizedLine thinTop = line(u"Title bar"_s, 0.3, 0.95, 0.4, 0.02);
    const RecognizedLine bottom = line(u"Status bar"_s, 0.3, 0.02, 0.4, 0.03);
    const RecognizedLine rightEdge = line(u"Notes"_s, 0.9, 0.5, 0.05);
    const Lines sidebar{line(u"Inbox"_s, 0.02, 0.8, 0.15), line(u"Drafts"_s, 0.02, 0.75, 0.15)};

    QTest::addRow("seven lines keep a thin top line in main")
        << body(6) + Lines{thinTop} << u"Title bar"_s << u"main"_s;
    QTest::addRow("eight lines put it in the top chrome")
        << body(7) + Lines{thinTop} << u"Title bar"_s << u"topChrome"_s;
    QTest::addRow("bottom band line with eight lines")
        << body(7) + Lines{bottom} << u"Status bar"_s << u"bottomChrome"_s;
    QTest::addRow("narrow right edge line is a sidebar")
        << body(7) + Lines{rightEdge} << u"Notes"_s << u"sidebar"_s;
    QTest::addRow("left column beside two right lines") << body(2) + sidebar << u"Drafts"_s << u"sidebar"_s;
    QTest::addRow("left column beside one right line") << body(1) + sidebar << u"Drafts"_s << u"main"_s;
    QTest::addRow("heading across the column edge: no sidebar")
        << body(2) + sidebar + Lines{line(u"Heading"_s, 0.1, 0.9, 0.5)} << u"Drafts"_s << u"main"_s;
    QTest::addRow("more than four in five in the column: no sidebar")
        << body(2) + sidebar + sidebar + sidebar + sidebar + sidebar << u"Drafts"_s << u"main"_s;
}

void ScreenLayoutTest::regions()
{
    QFETCH(Lines, lines);
    QFETCH(QString, probe);
    QFETCH(QString, expected);
    const ScreenLayout layout(lines);
    const LaidOutLine *laidOut = find(layout, probe);
    QVERIFY(laidOut);
    QCOMPARE(rawValue(laidOut->region), expected);
}

void ScreenLayoutTest::boilerplate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::addRow("timestamp with clock time") << u"Yesterday at 9:41 PM"_s << true;
    QTest::addRow("bare number") << u"2024"_s << true;
    QTest::addRow("search placeholder") << u"Search or jump to…"_s << true;
    QTest::addRow("typing indicator") << u"Someone is typing"_s << true;
    QTest::addRow("composer placeholder") << u"Write a message..."_s << true;
    QTest::addRow("status word with punctuation") << u"  Seen."_s << true;
    QTest::addRow("new chat button") << u"New chat"_s << true;
    QTest::addRow("new chat followed by more words") << u"New chat room"_s << false;
    QTest::addRow("counter not at the start") << u"Draft: 2 replies"_s << false;
    QTest::addRow("ordinary text") << u"Quarterly report"_s << false;
}

void ScreenLayoutTest::boilerplate()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    const ScreenLayout layout(Lines{line(text, 0.3, 0.5)});
    QCOMPARE(layout.lines().first().isBoilerplate, expected);
    QCOMPARE(layout.mainContent().size() + layout.background().size(), 1);
    QCOMPARE(layout.background().size(), expected ? 1 : 0);
}

void ScreenLayoutTest::namesAfterIntroducingPhrases_data()
{
    // The phrase spans x 0.3 to 0.45 on the row at y 0.5.
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<RecognizedLine>("name");
    QTest::addColumn<bool>("expected");
    const RecognizedLine after = line(u"Design Review"_s, 0.47, 0.5, 0.2);
    QTest::addRow("short name just after") << u"Messages with"_s << after << true;
    QTest::addRow("after a message count") << u"12 new messages with"_s << after << true;
    QTest::addRow("after messaged") << u"Messaged"_s << after << true;
    QTest::addRow("after a reply count") << u"3 replies"_s << after << true;
    QTest::addRow("after replied to") << u"Replied to"_s << after << true;
    QTest::addRow("after also sent to") << u"Also sent to"_s << after << true;
    QTest::addRow("boilerplate that introduces nothing") << u"Write a message"_s << after << false;
    QTest::addRow("name overlapping slightly")
        << u"Messages with"_s << line(u"Design Review"_s, 0.445, 0.5, 0.2) << true;
    QTest::addRow("starting inside the phrase")
        << u"Messages with"_s << line(u"Design Review"_s, 0.42, 0.5, 0.2) << false;
    QTest::addRow("five-word line") << u"Messages with"_s
                                    << line(u"Design Review Launch Plan Notes"_s, 0.47, 0.5, 0.3) << false;
    QTest::addRow("too far to the right")
        << u"Messages with"_s << line(u"Design Review"_s, 0.52, 0.5, 0.2) << false;
    QTest::addRow("on the next row") << u"Messages with"_s << line(u"Design Review"_s, 0.47, 0.47, 0.2)
                                     << false;
}

void ScreenLayoutTest::namesAfterIntroducingPhrases()
{
    QFETCH(QString, phrase);
    QFETCH(RecognizedLine, name);
    QFETCH(bool, expected);
    const ScreenLayout layout(Lines{line(phrase, 0.3, 0.5, 0.15), name});
    QCOMPARE(find(layout, name.text)->isBoilerplate, expected);
    QVERIFY(find(layout, phrase)->isBoilerplate);
}

void ScreenLayoutTest::prominence_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QString>("probe");
    QTest::addColumn<double>("expected");
    QTest::addRow("double-height heading over body text")
        << Lines{line(u"Heading"_s, 0.3, 0.8, 0.4, 0.04), line(u"One"_s, 0.3, 0.6), line(u"Two"_s, 0.3, 0.5),
                 line(u"Three"_s, 0.3, 0.4)}
        << u"Heading"_s << 2.0;
    QTest::addRow("chrome and boilerplate do not set the body size")
        << body(7) + Lines{line(u"Tabs"_s, 0.3, 0.95, 0.4, 0.01), line(u"Today"_s, 0.3, 0.7, 0.4, 0.005)}
        << u"Body line 1"_s << 1.0;
    QTest::addRow("all main lines boilerplate: median of all")
        << Lines{line(u"Today"_s, 0.3, 0.8, 0.4, 0.02), line(u"2 replies"_s, 0.3, 0.6, 0.4, 0.04),
                 line(u"Seen"_s, 0.3, 0.5, 0.4, 0.03)}
        << u"2 replies"_s << 4.0 / 3.0;
    QTest::addRow("zero median gives 1.0")
        << Lines{line(u"Flat"_s, 0.3, 0.8, 0.4, 0), line(u"Tall"_s, 0.3, 0.5, 0.4, 0.05),
                 line(u"Flat"_s, 0.3, 0.4, 0.4, 0)}
        << u"Tall"_s << 1.0;
}

void ScreenLayoutTest::prominence()
{
    QFETCH(Lines, lines);
    QFETCH(QString, probe);
    QFETCH(double, expected);
    const ScreenLayout layout(lines);
    QCOMPARE(find(layout, probe)->prominence, expected);
}

void ScreenLayoutTest::selectedSidebarItem_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<OptionalText>("expected");
    const QString preview = u"Can you send me the updated deck before…"_s;
    const OptionalText none;
    QTest::addRow("preview quoted in the main pane, title trimmed")
        << chat(u" \tDesign Review "_s, preview) << OptionalText(u"Design Review"_s);
    QTest::addRow("cut-off word is left out of the search")
        << chat(u"Design Review"_s, u"Can you send me the updated deck bef..."_s)
        << OptionalText(u"Design Review"_s);
    QTest::addRow("three-word preview is too short") << chat(u"Design Review"_s, u"Can you send…"_s) << none;
    QTest::addRow("preview not in the main pane")
        << chat(u"Design Review"_s, u"Lunch at the usual place tomorrow"_s) << none;
    QTest::addRow("title of seven words is not taken")
        << chat(u"Design Review for the new launch plan"_s, preview) << none;
    QTest::addRow("title not aligned with the preview") << chat(u"Design Review"_s, preview, 0.06) << none;
    QTest::addRow("nearest of two aligned lines above")
        << chat(u"Design Review"_s, preview) + Lines{line(u"Pinned"_s, 0.02, 0.815, 0.2)}
        << OptionalText(u"Design Review"_s);
}

void ScreenLayoutTest::selectedSidebarItem()
{
    QFETCH(Lines, lines);
    QFETCH(OptionalText, expected);
    QCOMPARE(ScreenLayout(lines).selectedSidebarItem(), expected);
}

QTEST_APPLESS_MAIN(ScreenLayoutTest)
#include "ScreenLayoutTest.moc"
