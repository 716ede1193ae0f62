#include "renaming/RenameHistoryStore.h"

#include "settings/PreferencesStore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString historyKey = QStringLiteral("renameHistory");

RenameRecord record(int number, std::optional<QString> routed = std::nullopt)
{
    return {QUuid::createUuid(),
            QStringLiteral("/home/ada/Screen shots"),
            QStringLiteral("Screenshot %1.png").arg(number),
            QStringLiteral("/home/ada/Screen shots/name-%1.png").arg(number),
            QDateTime::fromMSecsSinceEpoch(1764928800123 + number, Qt::UTC),
            std::move(routed),
            NamingSource::FoundationModels};
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class RenameHistoryStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void keepsTheTenNewestNewestFirst();
    void storedHistoryOfFifteenReadsAsTen();
    void handWrittenHistoryDecodes();
    void recordsSurviveARestartUnchanged();
    void absentRoutedFolderIsLeftOut();
    void unreadableHistoryStartsEmptyAndStaysStored_data();
    void unreadableHistoryStartsEmptyAndStaysStored();
    void updateOfRemovedRecordChangesNothing();
    void removeOfUnknownIdStillSaves();

private:
    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<PreferencesStore> m_preferences;
    QString configPath() const { return m_temp->filePath(QStringLiteral("quillo.conf")); }
};

void RenameHistoryStoreTest::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
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
}

void RenameHistoryStoreTest::storedHistoryOfFifteenReadsAsTen()
{
    QList<RenameRecord> fifteen;
    for (int i = 0; i < 15; ++i)
        fifteen.append(record(i));
    m_preferences->setData(historyKey, RenameRecordJson::encode(fifteen));
    QCOMPARE(RenameHistoryStore(*m_preferences).records(), fifteen.mid(0, 10));
}

void RenameHistoryStoreTest::handWrittenHistoryDecodes()
{
    const auto decoded =
        RenameRecordJson::decode(readFile(QStringLiteral(QUILLO_TEST_DATA "/rename-history.json")));
    QVERIFY(decoded);
    QCOMPARE(decoded->size(), 2);
    const RenameRecord &first = decoded->at(0);
    QCOMPARE(first.id, QUuid(QStringLiteral("{8c6b0f5e-3c1a-4e6b-9d2a-1f0e2d3c4b5a}")));
    QCOMPARE(first.originalFilename, QStringLiteral("Screenshot from 2026-12-05 10-00-02.png"));
    // 786621602.25 s after 2001-01-01T00:00:00Z.
    QCOMPARE(first.renamedAt, QDateTime(QDate(2025, 12, 5), QTime(10, 0, 2, 250), Qt::UTC));
    QCOMPARE(first.routedFolderName, std::optional<QString>(QStringLiteral("Receipts & Invoices")));
    QCOMPARE(first.namingSource, NamingSource::FoundationModelsImage);
    QCOMPARE(decoded->at(1).routedFolderName, std::nullopt);
    QCOMPARE(decoded->at(1).namingSource, NamingSource::VisionHeuristics);
    QVERIFY(RenameRecordJson::decode(RenameRecordJson::encode(*decoded)) == decoded);
}

void RenameHistoryStoreTest::recordsSurviveARestartUnchanged()
{
    const RenameRecord routed = record(1, QStringLiteral("Code & Terminal"));
    RenameHistoryStore(*m_preferences).add(routed);
    PreferencesStore reopened(configPath());
    QCOMPARE(RenameHistoryStore(reopened).records(), QList<RenameRecord>{routed});

    const QJsonObject stored =
        QJsonDocument::fromJson(*reopened.dataValue(historyKey)).array().first().toObject();
    QCOMPARE(stored.value(QStringLiteral("id")).toString(),
             routed.id.toString(QUuid::WithoutBraces).toUpper());
    QCOMPARE(stored.value(QStringLiteral("renamedAt")).toDouble(), 786621600.124);
    QCOMPARE(stored.value(QStringLiteral("namingSource")).toString(), QStringLiteral("foundationModels"));
}

void RenameHistoryStoreTest::absentRoutedFolderIsLeftOut()
{
    RenameHistoryStore(*m_preferences).add(record(1));
    const QJsonObject stored =
        QJsonDocument::fromJson(*m_preferences->dataValue(historyKey)).array().first().toObject();
    QVERIFY(!stored.contains(QStringLiteral("routedFolderName")));
    QCOMPARE(stored.keys().size(), 6);
}

void RenameHistoryStoreTest::unreadableHistoryStartsEmptyAndStaysStored_data()
{
    QTest::addColumn<QByteArray>("stored");
    const QByteArray valid = RenameRecordJson::encode({record(1)});
    QTest::addRow("not json") << QByteArray("[{\"id\":");
    QTest::addRow("an object") << QByteArray("{}");
    QTest::addRow("missing naming source") << QByteArray(valid).replace("\"namingSource\"", "\"other\"");
    QTest::addRow("unknown naming source")
        << QByteArray(valid).replace("foundationModels", "appleIntelligence");
    QTest::addRow("date as text") << QByteArray(valid).replace("\"renamedAt\":",
                                                               "\"renamedAt\":\"1\",\"x\":");
    QTest::addRow("id not a uuid") << QByteArray(valid).replace("\"id\":\"", "\"id\":\"zz");
    QTest::addRow("routed folder a number")
        << QByteArray(valid).replace("\"namingSource\"", "\"routedFolderName\":3,\"namingSource\"");
}

void RenameHistoryStoreTest::unreadableHistoryStartsEmptyAndStaysStored()
{
    QFETCH(QByteArray, stored);
    m_preferences->setData(historyKey, stored);
    RenameHistoryStore history(*m_preferences);
    QVERIFY(history.records().isEmpty());
    QCOMPARE(m_preferences->dataValue(historyKey), std::optional<QByteArray>(stored));
    history.add(record(2));
    QCOMPARE(RenameHistoryStore(*m_preferences).records().size(), 1);
}

void RenameHistoryStoreTest::updateOfRemovedRecordChangesNothing()
{
    RenameHistoryStore history(*m_preferences);
    RenameRecord kept = record(1);
    history.add(kept);
    QSignalSpy changes(&history, &RenameHistoryStore::changed);
    history.update(record(2));
    QCOMPARE(changes.count(), 0);
    kept.renamedPath = QStringLiteral("/home/ada/elsewhere.png");
    history.update(kept);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(RenameHistoryStore(*m_preferences).records(), QList<RenameRecord>{kept});
}

void RenameHistoryStoreTest::removeOfUnknownIdStillSaves()
{
    RenameHistoryStore history(*m_preferences);
    history.add(record(1));
    QSignalSpy changes(&history, &RenameHistoryStore::changed);
    history.remove(QUuid::createUuid());
    QCOMPARE(changes.count(), 1);
    QCOMPARE(history.records().size(), 1);
}

QTEST_GUILESS_MAIN(RenameHistoryStoreTest)
#include "RenameHistoryStoreTest.moc"
