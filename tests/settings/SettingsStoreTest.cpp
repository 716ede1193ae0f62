// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsStore.h"

#include "settings/PreferencesStore.h"
#include "support/QuietToolEnvironment.h"

#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class SettingsStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void changesPersistAcrossRestarts();
    void badRoutingDataFallsBackAndStaysStored();
    void storedRoutingIsNormalized();
    void memoryOnlyValuesWriteNothing();
    void everyChangeIsAnnounced();
    void resolveWatchedFolder_data();
    void resolveWatchedFolder();

private:
    QString configPath() const { return m_temp->filePath(u"quillo.conf"_s); }
    QByteArray configBytes() const;

    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<PreferencesStore> m_preferences;
};

void SettingsStoreTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_temp = std::make_unique<QTemporaryDir>();
    m_preferences = std::make_unique<PreferencesStore>(configPath());
}

QByteArray SettingsStoreTest::configBytes() const
{
    QFile file(configPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SettingsStoreTest::changesPersistAcrossRestarts()
{
    auto routing = RoutingConfiguration::defaultConfiguration();
    routing.rules[3].folderName = u"Conversations"_s;
    {
        SettingsStore settings(*m_preferences);
        settings.setAppendDateSuffix(false);
        settings.setFolderRoutingEnabled(false);
        settings.setPaused(true);
        settings.setUseLocalModel(false);
        settings.setCustomFolderPath(u"/srv/shots ü"_s);
        settings.setRouting(routing);
        settings.setLocalModelUrl(u"http://192.168.1.20:8080"_s);
        settings.setLocalModelName(u"llava"_s);
        settings.setLocalModelApi(LocalModelApi::OpenAI);
    }
    // The key is only ever typed into the file.
    m_preferences->setString(u"localModelAPIKey"_s, u" sk-local \n"_s);
    PreferencesStore reopened(configPath());
    const SettingsStore settings(reopened);
    QVERIFY(!settings.appendDateSuffix());
    QVERIFY(!settings.folderRoutingEnabled());
    QVERIFY(settings.isPaused());
    QVERIFY(!settings.useLocalModel());
    QCOMPARE(settings.customFolderPath(), std::optional<QString>(u"/srv/shots ü"_s));
    QCOMPARE(settings.routing(), routing);
    QCOMPARE(settings.localModelUrl(), u"http://192.168.1.20:8080"_s);
    QCOMPARE(settings.localModelName(), u"llava"_s);
    QCOMPARE(settings.localModelApi(), LocalModelApi::OpenAI);
    QCOMPARE(settings.localModelApiKey(), u"sk-local"_s);

    SettingsStore(reopened).setCustomFolderPath(std::nullopt);
    QVERIFY(!configBytes().contains("customFolderPath"));
}

void SettingsStoreTest::badRoutingDataFallsBackAndStaysStored()
{
    const QByteArray bad("{\"rules\": [oops");
    m_preferences->setData(u"routingConfiguration"_s, bad);
    SettingsStore settings(*m_preferences);
    QCOMPARE(settings.routing(), RoutingConfiguration::defaultConfiguration());
    QCOMPARE(m_preferences->dataValue(u"routingConfiguration"_s), std::optional<QByteArray>(bad));
    settings.setRouting(RoutingConfiguration::defaultConfiguration());
    QCOMPARE(m_preferences->dataValue(u"routingConfiguration"_s),
             std::optional<QByteArray>(RoutingConfiguration::defaultConfiguration().toJson()));
}

void SettingsStoreTest::storedRoutingIsNormalized()
{
    const RoutingConfiguration partial{{{ScreenshotCategory::Web, u"Sites"_s, false, QString()}}};
    m_preferences->setData(u"routingConfiguration"_s, partial.toJson());
    const SettingsStore settings(*m_preferences);
    QCOMPARE(settings.routing().rules.size(), 6);
    QCOMPARE(settings.routing().rule(ScreenshotCategory::Web), partial.rules.first());
}

void SettingsStoreTest::memoryOnlyValuesWriteNothing()
{
    SettingsStore settings(*m_preferences);
    settings.setWatchedFolder(u"/srv/shots"_s);
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
    settings.setCustomFolderPath(u"/srv"_s);
    settings.setRouting(RoutingConfiguration{});
    settings.setLocalModelName(u"qwen2.5vl:7b"_s);
    QCOMPARE(paused.count(), 1);
    QCOMPARE(paused.first().first().toBool(), true);
    QCOMPARE(custom.count(), 1);
    QCOMPARE(routing.count(), 1);
    QCOMPARE(modelName.count(), 1);
    QCOMPARE(modelName.first().first().toString(), u"qwen2.5vl:7b"_s);
}

void SettingsStoreTest::resolveWatchedFolder_data()
{
    QTest::addColumn<QString>("custom"); // in the temporary folder, or absolute; HOME is the home folder
    QTest::addColumn<bool>("expectCustom");
    QTest::addRow("existing custom folder") << u"custom"_s << true;
    QTest::addRow("custom path is a regular file") << u"file.txt"_s << false;
    QTest::addRow("custom folder was deleted") << u"deleted"_s << false;
    QTest::addRow("no custom folder") << u""_s << false;
    QTest::addRow("the home folder, chosen") << u"HOME"_s << true;
    QTest::addRow("the root folder is refused") << u"/"_s << false;
    QTest::addRow("a link to a system folder is refused") << u"system"_s << false;
}

void SettingsStoreTest::resolveWatchedFolder()
{
    QFETCH(QString, custom);
    QFETCH(bool, expectCustom);
    QVERIFY(QDir(m_temp->path()).mkpath(u"custom"_s));
    QFile(m_temp->filePath(u"file.txt"_s)).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(u"/usr/lib"_s, m_temp->filePath(u"system"_s)));
    SettingsStore settings(*m_preferences);
    const QString path = custom == u"HOME" ? QDir::homePath() : QDir(m_temp->path()).filePath(custom);
    if (!custom.isEmpty())
        settings.setCustomFolderPath(path);
    if (custom == u"/" || custom == u"system")
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(u"^Not watching the custom folder: .* system folder"_s));

    const QList<WatchedFolder> folders = settings.resolveWatchedFolders(quietToolEnvironment());
    QCOMPARE(folders.size(), 1);
    QCOMPARE(folders.first().isCustom, expectCustom);
    QCOMPARE(folders.first().path,
             expectCustom
                 ? path
                 : QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) + u"/Screenshots"_s);
    // A stale or refused custom path stays stored.
    QCOMPARE(settings.customFolderPath().has_value(), !custom.isEmpty());
}

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"
