#include "renaming/FreedesktopWorkspace.h"

#include <QDBusConnection>
#include <QSignalSpy>
#include <QTest>

namespace {

// Plays the file manager on the test's private session bus.
class FakeFileManager final : public QObject
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

class FreedesktopWorkspaceTest : public QObject
{
    Q_OBJECT

private slots:
    void revealSendsAnEncodedFileUrl();
};

void FreedesktopWorkspaceTest::revealSendsAnEncodedFileUrl()
{
    // A second connection, so the call really travels over the bus.
    QDBusConnection service =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake"));
    QVERIFY2(service.isConnected(), "needs a session bus (run under dbus-run-session)");
    FakeFileManager fileManager;
    QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &fileManager,
                                   QDBusConnection::ExportAllSlots));
    QVERIFY(service.registerService(QStringLiteral("org.freedesktop.FileManager1")));

    FreedesktopWorkspace workspace;
    QSignalSpy shown(&fileManager, &FakeFileManager::shown);
    workspace.reveal(QStringLiteral("/home/ada/Screen shots/stripe invoice ü.png"));
    QVERIFY(shown.wait());
    QCOMPARE(fileManager.shownItems,
             QStringList{QStringLiteral("file:///home/ada/Screen%20shots/stripe%20invoice%20%C3%BC.png")});
    QDBusConnection::disconnectFromBus(QStringLiteral("fake"));
}

QTEST_GUILESS_MAIN(FreedesktopWorkspaceTest)
#include "FreedesktopWorkspaceTest.moc"
