// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AppShortcuts.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// The tray menu shows Ctrl+Q and Ctrl+,; they must work in any Quillo window that has the keyboard.
class AppShortcutsTest : public QObject
{
    Q_OBJECT

private slots:
    void keysWorkInAFocusedWindow_data();
    void keysWorkInAFocusedWindow();
};

void AppShortcutsTest::keysWorkInAFocusedWindow_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("quits");
    QTest::addColumn<int>("opensSettings");
    QTest::addColumn<QString>("typed");
    QTest::addRow("Ctrl+Q") << int(Qt::Key_Q) << Qt::KeyboardModifiers(Qt::ControlModifier) << 1 << 0
                            << QString();
    QTest::addRow("Ctrl+,") << int(Qt::Key_Comma) << Qt::KeyboardModifiers(Qt::ControlModifier) << 0 << 1
                            << QString();
    QTest::addRow("a plain q is typed") << int(Qt::Key_Q) << Qt::KeyboardModifiers() << 0 << 0 << u"q"_s;
}

void AppShortcutsTest::keysWorkInAFocusedWindow()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, quits);
    QFETCH(int, opensSettings);
    QFETCH(QString, typed);
    AppShortcuts shortcuts;
    QSignalSpy quit(&shortcuts, &AppShortcuts::quitRequested);
    QSignalSpy settings(&shortcuts, &AppShortcuts::settingsRequested);
    QLineEdit field; // as in the settings window or the panel's name field
    field.show();
    field.activateWindow();
    field.setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&field));
    QTest::keyClick(&field, Qt::Key(key), modifiers);
    QCOMPARE(quit.count(), quits);
    QCOMPARE(settings.count(), opensSettings);
    QCOMPARE(field.text(), typed);
}

QTEST_MAIN(AppShortcutsTest)
#include "AppShortcutsTest.moc"
