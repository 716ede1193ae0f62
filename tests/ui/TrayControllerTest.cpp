// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TrayController.h"

#include "support/StandInTrayHost.h"
#include "support/StoreFixture.h"
#include "ui/RecentRenameRow.h"
#include "ui/SearchIndexReader.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using TrayState::Command;
using TrayState::CommandRequest;

// Runs under Xvfb on a private session bus, with a stand-in tray host in a process of its own.
class TrayControllerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void menuFollowsHistoryAndCommandsLeaveAsSignals();
    void iconFollowsStateAndCheckMarkExpires();
    void leftClickPopupRowsRevealAndUndo_data();
    void leftClickPopupRowsRevealAndUndo();
    void typingInThePopupListsWhatTheIndexFinds();

private:
    QAction *menuAction(const QString &text) const;
    RenameRecord addRecord(const QString &name);

    std::unique_ptr<StandInTrayHost> m_trayHost;
    std::unique_ptr<StoreFixture> m_stores;
    QDateTime m_now = QDateTime(QDate(2026, 12, 5), QTime(10, 0), Qt::UTC);
    std::unique_ptr<TrayController> m_controller;
};

void TrayControllerTest::initTestCase()
{
    // Before the first tray item: Qt looks for a host once.
    m_trayHost = std::make_unique<StandInTrayHost>();
    QVERIFY(m_trayHost->isReady());
}

void TrayControllerTest::init()
{
    m_stores = std::make_unique<StoreFixture>(u"tray"_s);
    m_stores->settings.setWatchedFolder(m_stores->root);
    // Nothing is being named and no update check is offered: those sources stay empty.
    TrayController::Sources sources;
    sources.now = [this] {
        return m_now;
    };
    m_controller = std::make_unique<TrayController>(m_stores->settings, m_stores->history, sources);
}

void TrayControllerTest::cleanup()
{
    m_controller.reset();
}

QAction *TrayControllerTest::menuAction(const QString &text) const
{
    m_controller->rebuildMenu();
    for (QAction *action : m_controller->menu()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

RenameRecord TrayControllerTest::addRecord(const QString &name)
{
    const RenameRecord record{QUuid::createUuid(),          m_stores->root, u"Screenshot 1.png"_s,
                              m_stores->root + u'/' + name, m_now,          {},
                              NamingSource::Heuristics};
    m_stores->history.add(record);
    return record;
}

void TrayControllerTest::menuFollowsHistoryAndCommandsLeaveAsSignals()
{
    QTRY_VERIFY(!m_trayHost->registeredItems().isEmpty()); // the item reached the host
    QVERIFY(!menuAction(u"Undo Last Rename"_s)->isEnabled());
    const RenameRecord record = addRecord(u"stripe-invoice.png"_s);
    QCOMPARE(menuAction(u"Undo Last Rename"_s)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QSignalSpy commands(m_controller.get(), &TrayController::commandRequested);
    const QList<QAction *> rename = menuAction(u"stripe-invoice.png"_s)->menu()->actions();
    rename.last()->trigger();    // "Undo Rename"
    QVERIFY(commands.isEmpty()); // only once the menu has gone
    QTRY_COMPARE(commands.count(), 1);
    QCOMPARE(commands.first().first().value<CommandRequest>(), (CommandRequest{Command::UndoRecord, record}));
    m_stores->settings.setPaused(true);
    QVERIFY(menuAction(u"Resume Watching"_s));
    // A name or folder with "&" shows it, not a shortcut underline.
    RenameRecord routed = addRecord(u"Code & Terminal/a&b.png"_s);
    routed.routedFolderName = u"Code & Terminal"_s;
    m_stores->history.update(routed);
    QCOMPARE(menuAction(u"a&&b.png"_s)->menu()->actions().first()->text(),
             u"was Screenshot 1.png, now, in Code && Terminal"_s);
}

void TrayControllerTest::iconFollowsStateAndCheckMarkExpires()
{
    m_controller->flashRenamed();
    QCOMPARE(m_controller->trayIcon().toolTip(), u"Quillo, screenshot renamed"_s);
    QVERIFY(!m_controller->trayIcon().icon().pixmap(22, 22).isNull());
    // Its timer may fire a little before the two seconds are up by the clock; the check mark still goes.
    QTest::qWait(int(RenamedFlash::duration.count()) + 300);
    QCOMPARE(m_controller->trayIcon().toolTip(), u"Quillo, screenshot renamed"_s);
    m_now = m_now.addMSecs(2000);
    QTRY_COMPARE_WITH_TIMEOUT(m_controller->trayIcon().toolTip(), u"Quillo, watching"_s, 3000);
}

void TrayControllerTest::leftClickPopupRowsRevealAndUndo_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<Command>("command");
    QTest::addRow("the row itself reveals") << u"recentRenameRow"_s << Command::RevealRecord;
    QTest::addRow("its reveal button") << u"revealButton"_s << Command::RevealRecord;
    QTest::addRow("its undo button") << u"undoButton"_s << Command::UndoRecord;
}

void TrayControllerTest::leftClickPopupRowsRevealAndUndo()
{
    QFETCH(QString, clicked);
    QFETCH(Command, command);
    addRecord(u"older.png"_s);
    const RenameRecord newer = addRecord(u"stripe-invoice.png"_s);
    emit m_controller->trayIcon().activated(QSystemTrayIcon::Trigger);
    QMenu *popup = m_controller->popup();
    QTRY_VERIFY(popup->isVisible());
    RecentRenameRow *row = popup->findChild<RecentRenameRow *>(); // the newest comes first
    QCOMPARE(popup->findChildren<RecentRenameRow *>().size(), 2);
    QCOMPARE(row->filePath(), newer.renamedPath);
    QCOMPARE(row->accessibleName(), u"stripe-invoice.png, was Screenshot 1.png, now"_s);

    QSignalSpy commands(m_controller.get(), &TrayController::commandRequested);
    QWidget *target =
        clicked == row->objectName() ? static_cast<QWidget *>(row) : row->findChild<QToolButton *>(clicked);
    QTest::mouseClick(target, Qt::LeftButton);
    QVERIFY(!popup->isVisible());
    QTRY_COMPARE(commands.count(), 1);
    QCOMPARE(commands.first().first().value<CommandRequest>(), (CommandRequest{command, newer}));
}

void TrayControllerTest::typingInThePopupListsWhatTheIndexFinds()
{
    const QString shot = m_stores->root + u"/order-2043.png"_s;
    QFile(shot).open(QIODevice::WriteOnly);
    ScreenshotIndex index(m_stores->temp.filePath(u"index.sqlite"_s));
    QCOMPARE(index.put({shot, u"Screenshot 1.png"_s, {}, m_now, {}, {}, u"Invoice 2043 paid"_s}),
             std::nullopt);
    SearchIndexReader reader(index.filePath());
    m_controller->setSearchIndex(&reader);
    addRecord(u"stripe-invoice.png"_s);
    QMenu *popup = m_controller->popup();
    const auto rows = [popup] {
        QStringList paths;
        for (const RecentRenameRow *row : popup->findChildren<RecentRenameRow *>())
            paths.append(QFileInfo(row->filePath()).fileName() +
                         (row->findChild<QToolButton *>(u"undoButton"_s)->isHidden() ? u""_s : u"+undo"_s));
        return paths;
    };
    const auto type = [this, popup](const QString &text) {
        QTest::keyClicks(popup->focusWidget(), text);
        m_now = m_now.addMSecs(TraySearch::pause.count()); // typing pauses
    };
    emit m_controller->trayIcon().activated(QSystemTrayIcon::Trigger);
    QTRY_VERIFY(popup->isVisible());
    auto *field = popup->findChild<QLineEdit *>(u"searchLineEdit"_s);
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(rows(), QStringList{u"stripe-invoice.png+undo"_s});

    type(u"INVOI 204"_s);
    QTRY_COMPARE(rows(), QStringList{u"order-2043.png"_s});
    QTest::keyClick(field, Qt::Key_Down); // into the results, not to the first command
    QVERIFY(popup->findChild<RecentRenameRow *>()->hasFocus());
    QTest::keyClicks(popup->focusWidget(), u"3"_s); // typing goes back to the field
    QCOMPARE(field->text(), u"INVOI 2043"_s);
    QVERIFY(field->hasFocus());
    QTest::keyClick(field, Qt::Key_Escape); // empties the field, the popup stays
    QCOMPARE(field->text(), QString());
    QTRY_COMPARE(rows(), QStringList{u"stripe-invoice.png+undo"_s});
    type(u"receipt"_s);
    QTRY_VERIFY(popup->findChildren<RecentRenameRow *>().isEmpty());
    const QList<QAction *> actions = popup->actions();
    QVERIFY(std::any_of(actions.begin(), actions.end(), [](const QAction *action) {
        return action->text() == u"No screenshot holds these words"_s;
    }));
    popup->close();

    m_stores->settings.setRemembersText(false);
    m_controller->rebuildPopup();
    QVERIFY(field->window() != popup); // the field left the popup
}

QTEST_MAIN(TrayControllerTest)
#include "TrayControllerTest.moc"
