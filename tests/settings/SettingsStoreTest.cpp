#include "settings/SettingsStore.h"

#include "settings/PreferencesStore.h"

#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class SettingsStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void freshStoreHasTheDefaults();
    void changesPersistAcrossRestarts();
    void clearingCustomFolderRemovesTheKey();
    void badRoutingDataFallsBackAndStaysStored();
    void storedRoutingIsNormalized();
    void memoryOnlyValuesWriteNothing();
    void everyChangeIsAnnounced();
    void resolveWatchedFolder_data();
    void resolveWatchedFolder();

private:
    QString configPath() const { return m_temp->filePath(QStringLiteral("quillo.conf")); }
    QByteArray configBytes() const;

    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<PreferencesStore> m_preferences;
};

void SettingsStoreTest::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    m_temp = std::make_unique<QTemporaryDir>();
    m_preferences = std::make_unique<PreferencesStore>(configPath());
}

QByteArray SettingsStoreTest::configBytes() const
{
    QFile file(configPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SettingsStoreTest::freshStoreHasTheDefaults()
{
    const SettingsStore settings(*m_preferences);
    QVERIFY(settings.appendDateSuffix());
    QVERIFY(settings.folderRoutingEnabled());
    QVERIFY(!settings.isPaused());
    QVERIFY(settings.useFoundationModels());
    QCOMPARE(settings.customFolderPath(), std::nullopt);
    QCOMPARE(settings.routing(), RoutingConfiguration::defaultConfiguration());
    QCOMPARE(settings.localModelUrl(), QStringLiteral("http://127.0.0.1:11434"));
    QCOMPARE(settings.localModelName(), QStringLiteral("gemma3:4b"));
    QCOMPARE(configBytes(), QByteArray());
}

void SettingsStoreTest::changesPersistAcrossRestarts()
{
    auto routing = RoutingConfiguration::defaultConfiguration();
    routing.rules[3].folderName = QStringLiteral("Conversations");
    {
        SettingsStore settings(*m_preferences);
        settings.setAppendDateSuffix(false);
        settings.setFolderRoutingEnabled(false);
        settings.setPaused(true);
        settings.setUseFoundationModels(false);
        settings.setCustomFolderPath(QStringLiteral("/srv/shots ü"));
        settings.setRouting(routing);
        settings.setLocalModelUrl(QStringLiteral("http://192.168.1.20:8080"));
        settings.setLocalModelName(QStringLiteral("llava"));
    }
    PreferencesStore reopened(configPath());
    const SettingsStore settings(reopened);
    QVERIFY(!settings.appendDateSuffix());
    QVERIFY(!settings.folderRoutingEnabled());
    QVERIFY(settings.isPaused());
    QVERIFY(!settings.useFoundationModels());
    QCOMPARE(settings.customFolderPath(), std::optional<QString>(QStringLiteral("/srv/shots ü")));
    QCOMPARE(settings.routing(), routing);
    QCOMPARE(settings.localModelUrl(), QStringLiteral("http://192.168.1.20:8080"));
    QCOMPARE(settings.localModelName(), QStringLiteral("llava"));
}

void SettingsStoreTest::clearingCustomFolderRemovesTheKey()
{
    SettingsStore settings(*m_preferences);
    settings.setCustomFolderPath(QStringLiteral("/srv/shots"));
    settings.setCustomFolderPath(std::nullopt);
    QVERIFY(!configBytes().contains("customFolderPath"));
    PreferencesStore reopened(configPath());
    QCOMPARE(SettingsStore(reopened).customFolderPath(), std::nullopt);
}

void SettingsStoreTest::badRoutingDataFallsBackAndStaysStored()
{
    const QByteArray bad("{\"rules\": [oops");
    m_preferences->setData(QStringLiteral("routingConfiguration"), bad);
    SettingsStore settings(*m_preferences);
    QCOMPARE(settings.routing(), RoutingConfiguration::defaultConfiguration());
    QCOMPARE(m_preferences->dataValue(QStringLiteral("routingConfiguration")),
             std::optional<QByteArray>(bad));
    settings.setRouting(RoutingConfiguration::defaultConfiguration());
    QCOMPARE(m_preferences->dataValue(QStringLiteral("routingConfiguration")),
             std::optional<QByteArray>(RoutingConfiguration::defaultConfiguration().toJson()));
}

void SettingsStoreTest::storedRoutingIsNormalized()
{
    const RoutingConfiguration partial{
        {{ScreenshotCategory::Web, QStringLiteral("Sites"), false, QString()}}};
    m_preferences->setData(QStringLiteral("routingConfiguration"), partial.toJson());
    const SettingsStore settings(*m_preferences);
    QCOMPARE(settings.routing().rules.size(), 6);
    QCOMPARE(settings.routing().rule(ScreenshotCategory::Web), partial.rules.first());
}

void SettingsStoreTest::memoryOnlyValuesWriteNothing()
{
    SettingsStore settings(*m_preferences);
    settings.setWatchedFolder(QStringLiteral("/srv/shots"));
    settings.setNeedsFolderAccess(true);
    QCOMPARE(configBytes(), QByteArray());
    PreferencesStore reopened(configPath());
    const SettingsStore restarted(reopened);
    QCOMPARE(restarted.watchedFolder(), std::nullopt);
    QVERIFY(!restarted.needsFolderAccess());
}

void SettingsStoreTest::everyChangeIsAnnounced()
{
    SettingsStore settings(*m_preferences);
    QSignalSpy paused(&settings, &SettingsStore::pausedChanged);
    QSignalSpy custom(&settings, &SettingsStore::customFolderPathChanged);
    QSignalSpy routing(&settings, &SettingsStore::routingChanged);
    QSignalSpy modelName(&settings, &SettingsStore::localModelNameChanged);
    // Observers see the new value when they are told.
    connect(&settings, &SettingsStore::pausedChanged, this, [&](bool value) {
        QCOMPARE(settings.isPaused(), value);
    });
    settings.setPaused(true);
    settings.setCustomFolderPath(QStringLiteral("/srv"));
    settings.setRouting(RoutingConfiguration{});
    settings.setLocalModelName(QStringLiteral("qwen2.5vl:7b"));
    QCOMPARE(paused.count(), 1);
    QCOMPARE(paused.first().first().toBool(), true);
    QCOMPARE(custom.count(), 1);
    QCOMPARE(routing.count(), 1);
    QCOMPARE(modelName.count(), 1);
    QCOMPARE(modelName.first().first().toString(), QStringLiteral("qwen2.5vl:7b"));
}

void SettingsStoreTest::resolveWatchedFolder_data()
{
    QTest::addColumn<QString>("custom");
    QTest::addColumn<bool>("expectCustom");
    QTest::addRow("existing custom folder") << "custom" << true;
    QTest::addRow("custom path is a regular file") << "file.txt" << false;
    QTest::addRow("custom folder was deleted") << "deleted" << false;
    QTest::addRow("no custom folder") << "" << false;
}

void SettingsStoreTest::resolveWatchedFolder()
{
    QFETCH(QString, custom);
    QFETCH(bool, expectCustom);
    QVERIFY(QDir(m_temp->path()).mkpath(QStringLiteral("custom")));
    QFile(m_temp->filePath(QStringLiteral("file.txt"))).open(QIODevice::WriteOnly);
    SettingsStore settings(*m_preferences);
    if (!custom.isEmpty())
        settings.setCustomFolderPath(m_temp->filePath(custom));

    const WatchedFolderChoice choice = settings.resolveWatchedFolder();
    QCOMPARE(choice.isCustom, expectCustom);
    QCOMPARE(choice.folder, expectCustom ? m_temp->filePath(custom)
                                         : QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    // A stale custom path stays stored.
    QCOMPARE(settings.customFolderPath().has_value(), !custom.isEmpty());
}

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"
