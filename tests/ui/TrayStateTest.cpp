// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TrayState.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using TrayState::Entry;
using TrayState::Icon;
using TrayState::Inputs;

class TrayStateTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void iconAndStatus_data();
    void iconAndStatus();
    void menuOrderAndEnabledStates_data();
    void menuOrderAndEnabledStates();
    void recentRenameOffersRevealAndUndo();
    void sameNamesShowTheirFolders();
    void relativeTime_data();
    void relativeTime();
    void checkMarkLastsTwoSecondsAfterTheLastRename();
    void searchWaitsForTypingToPauseAndDropsStaleAnswers();
    void searchStates_data();
    void searchStates();
};

namespace {

const QDateTime now(QDate(2026, 12, 5), QTime(10, 0), Qt::UTC);

// A search that was typed and answered with `found`.
TraySearch answered(const ScreenshotIndex::Found &found)
{
    TraySearch search;
    search.edit(u"invoice"_s, now);
    search.answer(search.takeDue(now.addMSecs(TraySearch::pause.count()))->id, found);
    return search;
}

RenameRecord record(const QString &name, int minutesAgo, std::optional<QString> folder = {})
{
    return {QUuid::createUuid(),           u"/shots"_s, u"Screenshot 1.png"_s,   u"/shots/"_s + name,
            now.addSecs(-60 * minutesAgo), folder,      NamingSource::Heuristics};
}

// "text" for actions, "-" for separators, "[text]" for sections, "text >" for submenus; a
// disabled entry is wrapped in parentheses.
QStringList outline(const QList<Entry> &entries)
{
    QStringList lines;
    for (const Entry &entry : entries) {
        QString line;
        switch (entry.kind) {
        case Entry::Kind::Separator:
            line = u"-"_s;
            break;
        case Entry::Kind::Section:
            line = u"["_s + entry.text + u"]"_s;
            break;
        case Entry::Kind::Submenu:
            line = entry.text + u" >"_s;
            break;
        case Entry::Kind::Action:
            line = entry.text;
            break;
        case Entry::Kind::SearchField:
            line = u"{"_s + entry.text + u"}"_s;
            break;
        }
        lines.append(entry.isEnabled ? line : u"("_s + line + u")"_s);
    }
    return lines;
}

} // namespace

void TrayStateTest::iconAndStatus_data()
{
    QTest::addColumn<Inputs>("inputs");
    QTest::addColumn<Icon>("icon");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("status");
    const std::optional<QString> folder = u"/home/u/Pictures/Screenshots"_s;
    QTest::addRow("paused and needing access: paused wins")
        << Inputs{true, true, true, true, folder, {}, false, {}} << Icon::Paused << u"Quillo, paused"_s
        << u"Paused"_s;
    QTest::addRow("needs access") << Inputs{false, true, true, false, folder, {}, false, {}}
                                  << Icon::NeedsAccess << u"Quillo, needs access to the screenshot folder"_s
                                  << u"Needs access to the screenshot folder"_s;
    QTest::addRow("history unsaveable outranks naming")
        << Inputs{false, false, true, true, folder, {}, false, u"disk full"_s} << Icon::NotRenaming
        << u"Quillo, not renaming: the rename history cannot be saved"_s
        << u"Not renaming: the rename history cannot be saved"_s;
    QTest::addRow("nothing read safely outranks naming")
        << Inputs{false, false, true, false, folder, {}, false, {}, u"no seccomp"_s} << Icon::CannotReadSafely
        << u"Quillo, not renaming: screenshots cannot be read safely here"_s
        << u"Not renaming: screenshots cannot be read safely on this system"_s;
    QTest::addRow("naming outranks the check mark")
        << Inputs{false, false, true, true, folder, {}, false, {}} << Icon::Naming
        << u"Quillo, naming a screenshot"_s << u"Watching “Screenshots”"_s;
    QTest::addRow("just renamed") << Inputs{false, false, false, true, folder, {}, false, {}} << Icon::Renamed
                                  << u"Quillo, screenshot renamed"_s << u"Watching “Screenshots”"_s;
    QTest::addRow("no folder") << Inputs{} << Icon::Watching << u"Quillo, watching"_s << u"Not watching"_s;
}

void TrayStateTest::iconAndStatus()
{
    QFETCH(Inputs, inputs);
    QFETCH(Icon, icon);
    QCOMPARE(TrayState::icon(inputs), icon);
    QTEST(TrayState::description(icon), "tooltip");
    QTEST(TrayState::statusTitle(inputs), "status");
}

void TrayStateTest::menuOrderAndEnabledStates_data()
{
    QTest::addColumn<Inputs>("inputs");
    QTest::addColumn<QStringList>("expected");
    const QString home = QDir::homePath();
    QTest::addRow("empty history, updates unavailable")
        << Inputs{false, false, false, false, home + u"/Pictures/Screenshots"_s, {}, false, {}}
        << u"(Watching “Screenshots”)|(~/Pictures/Screenshots)|Pause Watching|Open Screenshot Folder|-|"
           "[Recent Renames]|(No screenshots renamed yet)|(Undo Last Rename)|-|"
           "Settings…|(Check for Updates…)|Quit Quillo"_s.split(u'|');
    QTest::addRow("paused, needing access, two renames")
        << Inputs{true,         true,
                  false,        false,
                  std::nullopt, {record(u"b.png"_s, 1), record(u"Web/a.png"_s, 3, u"Web"_s)},
                  true,         {}}
        << u"(Paused)|Grant Folder Access…|Resume Watching|(Open Screenshot Folder)|-|"
           "[Recent Renames]|b.png >|a.png >|Undo Last Rename|-|"
           "Settings…|Check for Updates…|Quit Quillo"_s.split(u'|');
}

void TrayStateTest::menuOrderAndEnabledStates()
{
    QFETCH(Inputs, inputs);
    QTEST(outline(TrayState::menu(inputs, now)), "expected");
}

void TrayStateTest::recentRenameOffersRevealAndUndo()
{
    const RenameRecord moved = record(u"Web/stripe-invoice.png"_s, 3, u"Web"_s);
    Inputs inputs;
    inputs.history = {moved};
    const Entry row = TrayState::menu(inputs, now).at(5);
    QCOMPARE(row.toolTip, moved.renamedPath);
    QCOMPARE(outline(row.children), (QStringList{u"(was Screenshot 1.png, 3 min ago, in Web)"_s, u"-"_s,
                                                 u"Show in Folder"_s, u"Undo Rename"_s}));
    QCOMPARE(row.children[2].command, TrayState::Command::RevealRecord);
    QCOMPARE(row.children[2].record, std::optional(moved));
}

void TrayStateTest::sameNamesShowTheirFolders()
{
    const QList<RenameRecord> history{record(u"Web/stripe-invoice.png"_s, 1),
                                      record(u"stripe-invoice.png"_s, 2),
                                      record(u"Code & Terminal/build-log.png"_s, 3)};
    QCOMPARE(TrayState::recentRenameTitles(history),
             (QStringList{u"Web/stripe-invoice.png"_s, u"shots/stripe-invoice.png"_s, u"build-log.png"_s}));
}

void TrayStateTest::relativeTime_data()
{
    QTest::addColumn<int>("secondsAgo");
    QTest::addColumn<QString>("expected");
    QTest::addRow("just now") << 59 << u"now"_s;
    QTest::addRow("hours") << 3 * 3600 + 59 << u"3 hr ago"_s;
    QTest::addRow("days") << 5 * 86400 << u"5 days ago"_s;
    QTest::addRow("clock went back") << -30 << u"now"_s;
}

void TrayStateTest::relativeTime()
{
    QFETCH(int, secondsAgo);
    QTEST(TrayState::relativeTime(now.addSecs(-secondsAgo), now), "expected");
}

void TrayStateTest::checkMarkLastsTwoSecondsAfterTheLastRename()
{
    RenamedFlash flash;
    QVERIFY(!flash.isShowing(now));
    flash.start(now);
    flash.start(now.addMSecs(1500));
    QVERIFY(flash.isShowing(now.addMSecs(3400)));
    QCOMPARE(flash.remaining(now.addMSecs(3400)), std::chrono::milliseconds(100));
    QVERIFY(!flash.isShowing(now.addMSecs(3500)));
    QCOMPARE(flash.remaining(now.addMSecs(3500)), std::chrono::milliseconds(0));
}

void TrayStateTest::searchWaitsForTypingToPauseAndDropsStaleAnswers()
{
    TraySearch search;
    QVERIFY(!search.edit(u"inv"_s, now));
    QCOMPARE(search.untilDue(now), TraySearch::pause);
    QVERIFY(!search.takeDue(now.addMSecs(140)));
    search.edit(u"invoice "_s, now.addMSecs(100)); // typing on restarts the pause
    QVERIFY(!search.takeDue(now.addMSecs(240)));
    const auto first = search.takeDue(now.addMSecs(250));
    QCOMPARE(first->words, u"invoice"_s);
    QVERIFY(!search.takeDue(now.addMSecs(400))); // looked up once
    search.edit(u"invoice 20"_s, now.addMSecs(300));
    const SearchHit hit{u"/shots/a.png"_s, now, {}, u"\x02invoice\x03 2043"_s};
    QVERIFY(!search.answer(first->id, {{hit}, {}})); // for words typed over since
    QCOMPARE(search.showing(), TraySearch::Showing::RecentRenames);
    QVERIFY(search.answer(search.takeDue(now.addMSecs(450))->id, {{hit}, {}}));
    QCOMPARE(search.hits(), QList{hit});
    QVERIFY(search.edit(QString(), now.addMSecs(500))); // emptied: the recent renames at once
    QCOMPARE(search.showing(), TraySearch::Showing::RecentRenames);
    QVERIFY(!search.untilDue(now.addMSecs(500)));
}

void TrayStateTest::searchStates_data()
{
    QTest::addColumn<bool>("canSearch");
    QTest::addColumn<TraySearch>("search");
    QTest::addColumn<QStringList>("expected"); // the popup's first line and those of its list
    const SearchHit hit{u"/shots/Web/order-2043.png"_s, now, u"web"_s,
                        u"…total amount due \x02invoice\x03 2043 paid"_s};
    QTest::addRow("indexing off: no field")
        << false << answered({{hit}, {}})
        << u"(Not watching)|[Recent Renames]|(No screenshots renamed yet)"_s.split(u'|');
    QTest::addRow("nothing typed")
        << true << TraySearch()
        << u"{Search screenshots}|[Recent Renames]|(No screenshots renamed yet)"_s.split(u'|');
    QTest::addRow("found") << true << answered({{hit}, {}})
                           << u"{Search screenshots}|[Search Results]|order-2043.png >"_s.split(u'|');
    QTest::addRow("no match")
        << true << answered({})
        << u"{Search screenshots}|[Search Results]|(No screenshot holds these words)"_s.split(u'|');
    QTest::addRow("unreadable index")
        << true << answered({{}, u"disk I/O error"_s})
        << u"{Search screenshots}|[Search Results]|(The search index cannot be read)"_s.split(u'|');
}

void TrayStateTest::searchStates()
{
    QFETCH(bool, canSearch);
    QFETCH(TraySearch, search);
    Inputs inputs;
    inputs.canSearch = canSearch;
    inputs.search = search;
    QList<Entry> entries = TrayState::menu(inputs, now);
    const auto list = std::find_if(entries.begin(), entries.end(), [](const Entry &entry) {
        return entry.kind == Entry::Kind::Section;
    });
    const auto end = std::find_if(list, entries.end(), [](const Entry &entry) {
        return entry.command == TrayState::Command::UndoLast;
    });
    QTEST(QStringList{outline({entries.first()}).first()} + outline(QList(list, end)), "expected");
    if (!canSearch || search.showing() != TraySearch::Showing::Results)
        return;
    const Entry &row = *std::next(list);
    QCOMPARE(row.filePath, search.hits().first().path);
    QCOMPARE(outline(row.children),
             (QStringList{u"(…amount due invoice 2043 paid)"_s, u"-"_s, u"Show in Folder"_s}));
    QCOMPARE(row.children.last().command, TrayState::Command::RevealFile);
}

QTEST_GUILESS_MAIN(TrayStateTest)
#include "TrayStateTest.moc"
