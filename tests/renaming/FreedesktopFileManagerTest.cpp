// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/FreedesktopFileManager.h"

#include <QDBusConnection>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Plays the file manager on the test's private session bus.
class FileManagerService final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shownItems;

public slots:
    void ShowItems(const QStringList &uris, const QString &)
    {
        shownItems += uris;
        emit shown();
    }

signals:
    void shown();
};

} // namespace

class FreedesktopFileManagerTest : public QObject
{
    Q_OBJECT

private slots:
    void revealSendsAnEncodedFileUrl();
    void withoutAFileManagerTheOpenerIsAskedAndItsFailureTold_data();
    void withoutAFileManagerTheOpenerIsAskedAndItsFailureTold();
};

void FreedesktopFileManagerTest::revealSendsAnEncodedFileUrl()
{
    // A second connection, so the call really travels over the bus.
    QDBusConnection service =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake"));
    QVERIFY2(service.isConnected(), "needs a session bus (run under dbus-run-session)");
    FileManagerService filesApp;
    QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &filesApp,
                                   QDBusConnection::ExportAllSlots));
    QVERIFY(service.registerService(QStringLiteral("org.freedesktop.FileManager1")));

    FreedesktopFileManager fileManager;
    QSignalSpy shown(&filesApp, &FileManagerService::shown);
    fileManager.reveal(QStringLiteral("/home/ada/Screen shots/stripe invoice ü.png"));
    QVERIFY(shown.wait());
    QCOMPARE(filesApp.shownItems,
             QStringList{QStringLiteral("file:///home/ada/Screen%20shots/stripe%20invoice%20%C3%BC.png")});
    QDBusConnection::disconnectFromBus(QStringLiteral("fake"));
}

void FreedesktopFileManagerTest::withoutAFileManagerTheOpenerIsAskedAndItsFailureTold_data()
{
    QTest::addColumn<QString>("opener");  // in place of xdg-open
    QTest::addColumn<QString>("problem"); // the start of what the user is told; empty: nothing
    QTest::addRow("the opener shows it") << u"true"_s << QString();
    QTest::addRow("the opener finds nothing to show it with")
        << u"false"_s << u"No file manager could open"_s;
    QTest::addRow("no opener installed") << u"/nonexistent/xdg-open"_s << u"No file manager could open"_s;
}

void FreedesktopFileManagerTest::withoutAFileManagerTheOpenerIsAskedAndItsFailureTold()
{
    QFETCH(QString, opener);
    QFETCH(QString, problem);
    if (!problem.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Could not open "_s));
    // No org.freedesktop.FileManager1 on this private bus.
    FreedesktopFileManager fileManager(opener);
    std::optional<std::optional<QString>> told;
    fileManager.reveal(u"/tmp/stripe invoice.png"_s, [&told](const std::optional<QString> &said) {
        told = said;
    });
    QTRY_VERIFY(told.has_value());
    QCOMPARE(told->value_or(QString()).left(problem.size()), problem);
}

QTEST_GUILESS_MAIN(FreedesktopFileManagerTest)
#include "FreedesktopFileManagerTest.moc"
