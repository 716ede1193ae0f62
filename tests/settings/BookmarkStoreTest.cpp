#include "settings/BookmarkStore.h"

#include "settings/PreferencesStore.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class BookmarkStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void authorization_data();
    void authorization();
    void destinationInsideWatchedFolderIsNotStored();
    void keepsTheTwentyNewestDestinations();
    void rememberingAgainMovesToTheFront();
    void newWatchedFolderSwapsWithDestinations();
    void longStoredListIsCut();
    void deletedFolderIsDroppedAtLaunch();
    void folderReachedThroughALinkIsOpenedOnce();
    void missingFolderCannotBeRemembered();

private:
    QString folder(const QString &name);
    std::unique_ptr<BookmarkStore> reopened(bool isSandboxed = false);

    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<PreferencesStore> m_preferences;
};

void BookmarkStoreTest::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    m_temp = std::make_unique<QTemporaryDir>();
    m_preferences = std::make_unique<PreferencesStore>(m_temp->filePath(QStringLiteral("quillo.conf")));
}

QString BookmarkStoreTest::folder(const QString &name)
{
    const QString path = m_temp->filePath(name);
    QDir().mkpath(path);
    return path;
}

std::unique_ptr<BookmarkStore> BookmarkStoreTest::reopened(bool isSandboxed)
{
    m_preferences = std::make_unique<PreferencesStore>(m_temp->filePath(QStringLiteral("quillo.conf")));
    return std::make_unique<BookmarkStore>(*m_preferences, isSandboxed);
}

void BookmarkStoreTest::authorization_data()
{
    QTest::addColumn<bool>("isSandboxed");
    QTest::addColumn<bool>("remember");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<FolderAuthorization>("expected");
    const auto yes = FolderAuthorization::Authorized;
    const auto no = FolderAuthorization::NeedsAccess;
    QTest::addRow("writable folder outside a sandbox") << false << false << "Shots" << yes;
    QTest::addRow("writable folder in a sandbox") << true << false << "Shots" << no;
    QTest::addRow("granted folder in a sandbox") << true << true << "Shots" << yes;
    QTest::addRow("file inside the granted folder") << true << true << "Shots/2024/x.png" << yes;
    QTest::addRow("sibling with the same prefix") << true << true << "Shots2" << no;
    QTest::addRow("missing folder outside a sandbox") << false << false << "gone" << no;
}

void BookmarkStoreTest::authorization()
{
    QFETCH(bool, isSandboxed);
    QFETCH(bool, remember);
    QFETCH(QString, asked);
    QFETCH(FolderAuthorization, expected);
    folder(QStringLiteral("Shots/2024"));
    folder(QStringLiteral("Shots2"));
    BookmarkStore store(*m_preferences, isSandboxed);
    if (remember)
        QVERIFY(store.rememberWatchedFolder(m_temp->filePath(QStringLiteral("Shots"))).bookmark);
    QCOMPARE(store.authorization(m_temp->filePath(asked)), expected);
}

void BookmarkStoreTest::destinationInsideWatchedFolderIsNotStored()
{
    BookmarkStore store(*m_preferences, true);
    QVERIFY(store.rememberWatchedFolder(folder(QStringLiteral("Shots"))).bookmark);
    const auto result = store.rememberDestination(folder(QStringLiteral("Shots/Receipts")));
    QVERIFY(!result.bookmark);
    QVERIFY(result.error.isEmpty());
    QVERIFY(reopened()->destinations().isEmpty());
}

void BookmarkStoreTest::keepsTheTwentyNewestDestinations()
{
    BookmarkStore store(*m_preferences, true);
    for (int i = 0; i <= 20; ++i)
        QVERIFY(store.rememberDestination(folder(QStringLiteral("d%1").arg(i))).bookmark);
    QCOMPARE(store.destinations().size(), 20);
    QCOMPARE(store.destinations().first().path, m_temp->filePath(QStringLiteral("d20")));
    QCOMPARE(store.destinations().last().path, m_temp->filePath(QStringLiteral("d1")));
    QCOMPARE(store.authorization(m_temp->filePath(QStringLiteral("d0"))), FolderAuthorization::NeedsAccess);
    QCOMPARE(reopened()->destinations(), store.destinations());
}

void BookmarkStoreTest::rememberingAgainMovesToTheFront()
{
    BookmarkStore store(*m_preferences, false);
    for (const char *name : {"a", "b", "c"})
        store.rememberDestination(folder(QString::fromLatin1(name)));
    store.rememberDestination(m_temp->filePath(QStringLiteral("b/./")));
    QStringList paths;
    for (const auto &bookmark : store.destinations())
        paths.append(QFileInfo(bookmark.path).fileName());
    QCOMPARE(paths, (QStringList{"b", "c", "a"}));
}

void BookmarkStoreTest::newWatchedFolderSwapsWithDestinations()
{
    BookmarkStore store(*m_preferences, false);
    store.rememberWatchedFolder(folder(QStringLiteral("old")));
    store.rememberDestination(folder(QStringLiteral("next")));
    store.rememberWatchedFolder(m_temp->filePath(QStringLiteral("next")));
    QCOMPARE(store.watchedFolder()->path, m_temp->filePath(QStringLiteral("next")));
    QCOMPARE(store.destinations().size(), 1);
    QCOMPARE(store.destinations().first().path, m_temp->filePath(QStringLiteral("old")));

    const auto stored =
        QJsonDocument::fromJson(*m_preferences->dataValue(QStringLiteral("watchedFolderBookmark")));
    QCOMPARE(stored.object().value(QStringLiteral("path")).toString(),
             m_temp->filePath(QStringLiteral("next")));
    QCOMPARE(QByteArray::fromBase64(stored.object().value(QStringLiteral("data")).toString().toLatin1()),
             m_temp->filePath(QStringLiteral("next")).toUtf8());
}

void BookmarkStoreTest::longStoredListIsCut()
{
    QJsonArray array;
    for (int i = 0; i < 25; ++i)
        array.append(QJsonObject{{QStringLiteral("path"), QStringLiteral("/x%1").arg(i)},
                                 {QStringLiteral("data"), QStringLiteral("L3gx")}});
    m_preferences->setData(QStringLiteral("destinationFolderBookmarks"), QJsonDocument(array).toJson());
    QCOMPARE(reopened()->destinations().size(), 20);
}

void BookmarkStoreTest::deletedFolderIsDroppedAtLaunch()
{
    {
        BookmarkStore store(*m_preferences, true);
        store.rememberWatchedFolder(folder(QStringLiteral("watched")));
        store.rememberDestination(folder(QStringLiteral("kept")));
        store.rememberDestination(folder(QStringLiteral("deleted")));
    }
    QVERIFY(QDir(m_temp->filePath(QStringLiteral("deleted"))).removeRecursively());
    auto store = reopened(true);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                           "^Dropping the bookmark for .*/deleted: .*no longer exists")));
    store->restoreAccess();
    QCOMPARE(store->destinations().size(), 1);
    QCOMPARE(reopened()->destinations().size(), 1);
    QCOMPARE(store->authorization(m_temp->filePath(QStringLiteral("kept"))), FolderAuthorization::Authorized);
}

void BookmarkStoreTest::folderReachedThroughALinkIsOpenedOnce()
{
    folder(QStringLiteral("real/Shots"));
    QVERIFY(QFile::link(m_temp->filePath(QStringLiteral("real")), m_temp->filePath(QStringLiteral("link"))));
    BookmarkStore store(*m_preferences, true);
    store.rememberWatchedFolder(m_temp->filePath(QStringLiteral("real/Shots")));
    store.rememberDestination(m_temp->filePath(QStringLiteral("link/Shots")));
    QCOMPARE(store.openFolders().size(), 1);
    QVERIFY(store.destinations().isEmpty());
}

void BookmarkStoreTest::missingFolderCannotBeRemembered()
{
    BookmarkStore store(*m_preferences, true);
    const auto result = store.rememberWatchedFolder(m_temp->filePath(QStringLiteral("gone")));
    QVERIFY(!result.bookmark);
    QCOMPARE(result.error, QStringLiteral("The folder “gone” does not exist."));
    QVERIFY(!m_preferences->dataValue(QStringLiteral("watchedFolderBookmark")));
}

QTEST_GUILESS_MAIN(BookmarkStoreTest)
#include "BookmarkStoreTest.moc"
