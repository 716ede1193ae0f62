// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/FolderAccess.h"

#include "settings/PreferencesStore.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class FolderAccessTest : public QObject
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
    void deletedFolderIsDroppedAtLaunch();
    void folderReachedThroughALinkIsOpenedOnce();
    void missingFolderCannotBeRemembered();

private:
    QString folder(const QString &name);
    std::unique_ptr<FolderAccess> reopened(bool isSandboxed = false);

    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<PreferencesStore> m_preferences;
};

void FolderAccessTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_temp = std::make_unique<QTemporaryDir>();
    m_preferences = std::make_unique<PreferencesStore>(m_temp->filePath(u"quillo.conf"_s));
}

QString FolderAccessTest::folder(const QString &name)
{
    const QString path = m_temp->filePath(name);
    QDir().mkpath(path);
    return path;
}

std::unique_ptr<FolderAccess> FolderAccessTest::reopened(bool isSandboxed)
{
    m_preferences = std::make_unique<PreferencesStore>(m_temp->filePath(u"quillo.conf"_s));
    return std::make_unique<FolderAccess>(*m_preferences, isSandboxed);
}

void FolderAccessTest::authorization_data()
{
    QTest::addColumn<bool>("isSandboxed");
    QTest::addColumn<bool>("remember");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<FolderAuthorization>("expected");
    const auto yes = FolderAuthorization::Authorized;
    const auto no = FolderAuthorization::NeedsAccess;
    QTest::addRow("writable folder outside a sandbox") << false << false << u"Shots"_s << yes;
    QTest::addRow("writable folder in a sandbox") << true << false << u"Shots"_s << no;
    QTest::addRow("granted folder in a sandbox") << true << true << u"Shots"_s << yes;
    QTest::addRow("file inside the granted folder") << true << true << u"Shots/2024/x.png"_s << yes;
    QTest::addRow("sibling with the same prefix") << true << true << u"Shots2"_s << no;
    QTest::addRow("missing folder outside a sandbox") << false << false << u"gone"_s << no;
}

void FolderAccessTest::authorization()
{
    QFETCH(bool, isSandboxed);
    QFETCH(bool, remember);
    QFETCH(QString, asked);
    QFETCH(FolderAuthorization, expected);
    folder(u"Shots/2024"_s);
    folder(u"Shots2"_s);
    FolderAccess store(*m_preferences, isSandboxed);
    if (remember)
        QVERIFY(store.rememberWatchedFolder(m_temp->filePath(u"Shots"_s)).grant);
    QCOMPARE(store.authorization(m_temp->filePath(asked)), expected);
}

void FolderAccessTest::destinationInsideWatchedFolderIsNotStored()
{
    FolderAccess store(*m_preferences, true);
    QVERIFY(store.rememberWatchedFolder(folder(u"Shots"_s)).grant);
    const auto result = store.rememberDestination(folder(u"Shots/Receipts"_s));
    QVERIFY(!result.grant);
    QVERIFY(result.error.isEmpty());
    QVERIFY(reopened()->destinations().isEmpty());
}

void FolderAccessTest::keepsTheTwentyNewestDestinations()
{
    FolderAccess store(*m_preferences, true);
    for (int i = 0; i <= 20; ++i)
        QVERIFY(store.rememberDestination(folder(u"d%1"_s.arg(i))).grant);
    QCOMPARE(store.destinations().size(), 20);
    QCOMPARE(store.destinations().first().path, m_temp->filePath(u"d20"_s));
    QCOMPARE(store.destinations().last().path, m_temp->filePath(u"d1"_s));
    QCOMPARE(store.authorization(m_temp->filePath(u"d0"_s)), FolderAuthorization::NeedsAccess);
    QCOMPARE(reopened()->destinations(), store.destinations());
    // A longer stored list is cut when read.
    QJsonArray array;
    for (int i = 0; i < 25; ++i)
        array.append(QJsonObject{{u"path"_s, u"/x%1"_s.arg(i)}, {u"data"_s, u"L3gx"_s}});
    m_preferences->setData(u"destinationFolderBookmarks"_s, QJsonDocument(array).toJson());
    QCOMPARE(reopened()->destinations().size(), 20);
}

void FolderAccessTest::rememberingAgainMovesToTheFront()
{
    FolderAccess store(*m_preferences, false);
    for (const char *name : {"a", "b", "c"})
        store.rememberDestination(folder(QString::fromLatin1(name)));
    store.rememberDestination(m_temp->filePath(u"b/./"_s));
    QStringList paths;
    for (const auto &grant : store.destinations())
        paths.append(QFileInfo(grant.path).fileName());
    QCOMPARE(paths, (QStringList{"b", "c", "a"}));
}

void FolderAccessTest::newWatchedFolderSwapsWithDestinations()
{
    FolderAccess store(*m_preferences, false);
    store.rememberWatchedFolder(folder(u"old"_s));
    store.rememberDestination(folder(u"next"_s));
    store.rememberWatchedFolder(m_temp->filePath(u"next"_s));
    QCOMPARE(store.watchedFolder()->path, m_temp->filePath(u"next"_s));
    QCOMPARE(store.destinations().size(), 1);
    QCOMPARE(store.destinations().first().path, m_temp->filePath(u"old"_s));

    const auto stored = QJsonDocument::fromJson(*m_preferences->dataValue(u"watchedFolderBookmark"_s));
    QCOMPARE(stored.object().value(u"path"_s).toString(), m_temp->filePath(u"next"_s));
    QCOMPARE(QByteArray::fromBase64(stored.object().value(u"data"_s).toString().toLatin1()),
             m_temp->filePath(u"next"_s).toUtf8());
}

void FolderAccessTest::deletedFolderIsDroppedAtLaunch()
{
    {
        FolderAccess store(*m_preferences, true);
        store.rememberWatchedFolder(folder(u"watched"_s));
        store.rememberDestination(folder(u"kept"_s));
        store.rememberDestination(folder(u"deleted"_s));
    }
    QVERIFY(QDir(m_temp->filePath(u"deleted"_s)).removeRecursively());
    auto store = reopened(true);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(
                                           "^Dropping the bookmark for .*/deleted: .*no longer exists")));
    store->restoreAccess();
    QCOMPARE(store->destinations().size(), 1);
    QCOMPARE(reopened()->destinations().size(), 1);
    QCOMPARE(store->authorization(m_temp->filePath(u"kept"_s)), FolderAuthorization::Authorized);
}

void FolderAccessTest::folderReachedThroughALinkIsOpenedOnce()
{
    folder(u"real/Shots"_s);
    QVERIFY(QFile::link(m_temp->filePath(u"real"_s), m_temp->filePath(u"link"_s)));
    FolderAccess store(*m_preferences, true);
    store.rememberWatchedFolder(m_temp->filePath(u"real/Shots"_s));
    store.rememberDestination(m_temp->filePath(u"link/Shots"_s));
    QCOMPARE(store.openFolders().size(), 1);
    QVERIFY(store.destinations().isEmpty());
}

void FolderAccessTest::missingFolderCannotBeRemembered()
{
    FolderAccess store(*m_preferences, true);
    const auto result = store.rememberWatchedFolder(m_temp->filePath(u"gone"_s));
    QVERIFY(!result.grant);
    QCOMPARE(result.error, u"The folder “gone” does not exist."_s);
    QVERIFY(!m_preferences->dataValue(u"watchedFolderBookmark"_s));
}

QTEST_GUILESS_MAIN(FolderAccessTest)
#include "FolderAccessTest.moc"

using namespace Qt::StringLiterals;
