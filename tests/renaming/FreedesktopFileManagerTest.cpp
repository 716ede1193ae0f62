#include "renaming/FreedesktopFileManager.h"

#include <QDBusConnection>
#include <QSignalSpy>
#include <QTest>

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

QTEST_GUILESS_MAIN(FreedesktopFileManagerTest)
#include "FreedesktopFileManagerTest.moc"
