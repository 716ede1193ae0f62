// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/RenameHistoryStore.h"

#include "settings/PreferencesStore.h"
#include "support/TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString historyKey = u"renameHistory"_s;

RenameRecord record(int number, std::optional<QString> routed = std::nullopt)
{
    return {QUuid::createUuid(),
            u"/home/ada/Screen shots"_s,
            u"Screenshot %1.png"_s.arg(number),
            u"/home/ada/Screen shots/name-%1.png"_s.arg(number),
            QDateTime::fromMSecsSinceEpoch(1764928800123 + number, Qt::UTC),
            std::move(routed),
            NamingSource::LocalModel};
}

} // namespace

class RenameHistoryStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void keepsTheTenNewestNewestFirst();
    void handWrittenHistoryDecodes();
    void recordsSurviveARestartUnchanged();
    void unreadableRecordsAreSkippedAndKeptAside_data();
    void unreadableRecordsAreSkippedAndKeptAside();
    void updateOrRemoveOfUnknownRecord();
    void twoWritersKeepEachOthersRecords();

private:
    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<PreferencesStore> m_preferences;
    QString configPath() const { return m_temp->filePath(u"quillo.conf"_s); }
};

void RenameHistoryStoreTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_temp = std::make_unique<QTemporaryDir>();
    m_preferences = std::make_unique<PreferencesStore>(configPath());
}

void RenameHistoryStoreTest::keepsTheTenNewestNewestFirst()
{
    RenameHistoryStore history(*m_preferences);
    QList<RenameRecord> added;
    for (int i = 0; i < 11; ++i) {
        added.prepend(record(i));
        history.add(added.first());
    }
    QCOMPARE(history.records(), added.mid(0, 10));
    QCOMPARE(RenameHistoryStore(*m_preferences).records(), added.mid(0, 10));
    // A longer stored list, as another version may have written, is read as its first ten.
    added.append(record(11));
    m_preferences->setData(historyKey, RenameRecordJson::encode(added));
    QCOMPARE(RenameHistoryStore(*m_preferences).records(), added.mid(0, 10));
}

void RenameHistoryStoreTest::handWrittenHistoryDecodes()
{
    const auto decoded =
        RenameRecordJson::decode(TestFiles::read(QStringLiteral(QUILLO_TEST_DATA "/rename-history.json")));
    QCOMPARE(decoded.unreadableCount, 0);
    QCOMPARE(decoded.records.size(), 2);
    const RenameRecord &first = decoded.records.at(0);
    QCOMPARE(first.id, QUuid(u"{8c6b0f5e-3c1a-4e6b-9d2a-1f0e2d3c4b5a}"_s));
    QCOMPARE(first.originalFilename, u"Screenshot from 2026-12-05 10-00-02.png"_s);
    // 786621602.25 s after 2001-01-01T00:00:00Z.
    QCOMPARE(first.renamedAt, QDateTime(QDate(2025, 12, 5), QTime(10, 0, 2, 250), Qt::UTC));
    QCOMPARE(first.routedFolderName, std::optional<QString>(u"Receipts & Invoices"_s));
    QCOMPARE(first.namingSource, NamingSource::LocalModelImage);
    QCOMPARE(decoded.records.at(1).routedFolderName, std::nullopt);
    QCOMPARE(decoded.records.at(1).namingSource, NamingSource::Heuristics);
    QVERIFY(RenameRecordJson::decode(RenameRecordJson::encode(decoded.records)).records == decoded.records);
}

void RenameHistoryStoreTest::recordsSurviveARestartUnchanged()
{
    const RenameRecord routed = record(1, u"Code & Terminal"_s);
    RenameHistoryStore(*m_preferences).add(routed);
    PreferencesStore reopened(configPath());
    QCOMPARE(RenameHistoryStore(reopened).records(), QList<RenameRecord>{routed});

    const QJsonObject stored =
        QJsonDocument::fromJson(*reopened.dataValue(historyKey)).array().first().toObject();
    QCOMPARE(stored.value(u"id"_s).toString(), routed.id.toString(QUuid::WithoutBraces).toUpper());
    QCOMPARE(stored.value(u"renamedAt"_s).toDouble(), 786621600.124);
    QCOMPARE(stored.value(u"namingSource"_s).toString(), u"localModel"_s);

    RenameHistoryStore(reopened).add(record(2)); // no routed folder: the key is left out
    const QJsonObject unrouted =
        QJsonDocument::fromJson(*reopened.dataValue(historyKey)).array().first().toObject();
    QCOMPARE(unrouted.keys().size(), 6);
    QVERIFY(!unrouted.contains(u"routedFolderName"_s));
}

void RenameHistoryStoreTest::unreadableRecordsAreSkippedAndKeptAside_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("readable");
    const QByteArray valid = RenameRecordJson::encode({record(1)}).mid(1).chopped(1);
    // The damaged record stands between two good ones.
    const auto between = [&](const QByteArray &damaged) {
        return '[' + valid + ',' + damaged + ',' + RenameRecordJson::encode({record(3)}).mid(1);
    };
    QTest::addRow("not json") << QByteArray("[{\"id\":") << 0;
    QTest::addRow("an object") << QByteArray("{}") << 0;
    QTest::addRow("not an object") << between("7") << 2;
    QTest::addRow("missing naming source")
        << between(QByteArray(valid).replace("\"namingSource\"", "\"other\"")) << 2;
    QTest::addRow("unknown naming source")
        << between(QByteArray(valid).replace("localModel", "remoteModel")) << 2;
    QTest::addRow("date as text") << between(QByteArray(valid).replace("\"renamedAt\":",
                                                                       "\"renamedAt\":\"1\",\"x\":"))
                                  << 2;
    QTest::addRow("id not a uuid") << between(QByteArray(valid).replace("\"id\":\"", "\"id\":\"zz")) << 2;
    QTest::addRow("routed folder a number")
        << between(QByteArray(valid).replace("\"namingSource\"", "\"routedFolderName\":3,\"namingSource\""))
        << 2;
}

void RenameHistoryStoreTest::unreadableRecordsAreSkippedAndKeptAside()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, readable);
    m_preferences->setData(historyKey, stored);
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(u"^Skipped unreadable entries of the stored rename history: 1$"_s));
    RenameHistoryStore history(*m_preferences);
    QCOMPARE(history.records().size(), readable);
    const QString aside = configPath() + u".renameHistory.unreadable"_s;
    QCOMPARE(TestFiles::read(aside), stored);
    history.add(record(2));
    QCOMPARE(RenameHistoryStore(*m_preferences).records().size(), readable + 1);
    QCOMPARE(TestFiles::read(aside), stored);
}

void RenameHistoryStoreTest::updateOrRemoveOfUnknownRecord()
{
    RenameHistoryStore history(*m_preferences);
    RenameRecord kept = record(1);
    history.add(kept);
    QSignalSpy changes(&history, &RenameHistoryStore::changed);
    history.update(record(2));
    QCOMPARE(changes.count(), 0);
    kept.renamedPath = u"/home/ada/elsewhere.png"_s;
    history.update(kept);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(RenameHistoryStore(*m_preferences).records(), QList<RenameRecord>{kept});
    history.remove(QUuid::createUuid()); // still saves, and says so
    QCOMPARE(changes.count(), 2);
    QCOMPARE(history.records().size(), 1);
}

void RenameHistoryStoreTest::twoWritersKeepEachOthersRecords()
{
    // As the command line and the tray would, each with its own view of the same file.
    PreferencesStore otherPreferences(configPath());
    RenameHistoryStore tray(*m_preferences);
    RenameHistoryStore command(otherPreferences);
    const RenameRecord first = record(1), second = record(2), third = record(3);
    tray.add(first);
    command.add(second);
    tray.add(third);
    QCOMPARE(RenameHistoryStore(*m_preferences).records(), (QList<RenameRecord>{third, second, first}));
    command.remove(first.id);
    tray.update(second);
    QCOMPARE(tray.records(), (QList<RenameRecord>{third, second}));
}

QTEST_GUILESS_MAIN(RenameHistoryStoreTest)
#include "RenameHistoryStoreTest.moc"

using namespace Qt::StringLiterals;
