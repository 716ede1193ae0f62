// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsStore.h"

#include "settings/PreferencesStore.h"
#include "settings/ScreenshotToolSettings.h"
#include "settings/SettingsLog.h"
#include "settings/WatchedFolderRules.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {

const QString appendDateSuffixKey = QStringLiteral("appendDateSuffix");
const QString folderRoutingEnabledKey = QStringLiteral("folderRoutingEnabled");
const QString customFolderPathKey = QStringLiteral("customFolderPath");
const QString isPausedKey = QStringLiteral("isPaused");
const QString routingConfigurationKey = QStringLiteral("routingConfiguration");
const QString useLocalModelKey = QStringLiteral("useLocalModel");
const QString remembersTextKey = QStringLiteral("remembersScreenshotText");
const QString localModelUrlKey = QStringLiteral("localModelURL");
const QString localModelNameKey = QStringLiteral("localModelName");
const QString modelApiChoiceKey = QStringLiteral("localModelAPI");
const QString modelApiKeyKey = QStringLiteral("localModelAPIKey");
const QString openAIApi = QStringLiteral("openai");
const QString recognitionLanguagesKey = QStringLiteral("recognitionLanguages");
const QString defaultLocalModelUrl = QStringLiteral("http://127.0.0.1:11434");
const QString defaultLocalModelName = QStringLiteral("gemma3:4b");

} // namespace

SettingsStore::SettingsStore(PreferencesStore &preferences, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
{
    m_preferences.registerDefaults({{appendDateSuffixKey, true},
                                    {folderRoutingEnabledKey, true},
                                    {isPausedKey, false},
                                    {useLocalModelKey, true},
                                    {remembersTextKey, true}});
    m_appendDateSuffix = m_preferences.boolValue(appendDateSuffixKey);
    m_folderRoutingEnabled = m_preferences.boolValue(folderRoutingEnabledKey);
    m_customFolderPath = m_preferences.stringValue(customFolderPathKey);
    m_isPaused = m_preferences.boolValue(isPausedKey);
    m_useLocalModel = m_preferences.boolValue(useLocalModelKey);
    m_remembersText = m_preferences.boolValue(remembersTextKey);
    m_localModelUrl = m_preferences.stringValue(localModelUrlKey).value_or(defaultLocalModelUrl);
    m_localModelName = m_preferences.stringValue(localModelNameKey).value_or(defaultLocalModelName);
    // Anything but "openai" is the default API.
    m_localModelApi = m_preferences.stringValue(modelApiChoiceKey) == openAIApi ? LocalModelApi::OpenAI
                                                                                : LocalModelApi::Ollama;
    m_localModelApiKey = m_preferences.stringValue(modelApiKeyKey).value_or(QString()).trimmed();
    m_recognitionLanguages = m_preferences.stringValue(recognitionLanguagesKey);

    // Undecodable data stays stored until the routing is next changed.
    const auto stored = m_preferences.dataValue(routingConfigurationKey);
    const auto decoded = stored ? RoutingConfiguration::fromJson(*stored) : std::nullopt;
    m_routing = decoded ? decoded->normalized() : RoutingConfiguration::defaultConfiguration();
}

void SettingsStore::setAppendDateSuffix(bool value)
{
    m_appendDateSuffix = value;
    emit appendDateSuffixChanged(value);
    m_preferences.setBool(appendDateSuffixKey, value);
}

void SettingsStore::setFolderRoutingEnabled(bool value)
{
    m_folderRoutingEnabled = value;
    emit folderRoutingEnabledChanged(value);
    m_preferences.setBool(folderRoutingEnabledKey, value);
}

void SettingsStore::setCustomFolderPath(const std::optional<QString> &value)
{
    m_customFolderPath = value;
    emit customFolderPathChanged(value);
    if (value)
        m_preferences.setString(customFolderPathKey, *value);
    else
        m_preferences.remove(customFolderPathKey);
}

void SettingsStore::setPaused(bool value)
{
    m_isPaused = value;
    emit pausedChanged(value);
    m_preferences.setBool(isPausedKey, value);
}

void SettingsStore::setRouting(const RoutingConfiguration &value)
{
    m_routing = value;
    emit routingChanged(value);
    m_preferences.setData(routingConfigurationKey, value.toJson());
}

void SettingsStore::setRemembersText(bool value)
{
    m_remembersText = value;
    emit remembersTextChanged(value);
    m_preferences.setBool(remembersTextKey, value);
}

void SettingsStore::setUseLocalModel(bool value)
{
    m_useLocalModel = value;
    emit useLocalModelChanged(value);
    m_preferences.setBool(useLocalModelKey, value);
}

void SettingsStore::setLocalModelUrl(const QString &value)
{
    m_localModelUrl = value;
    emit localModelUrlChanged(value);
    m_preferences.setString(localModelUrlKey, value);
}

void SettingsStore::setLocalModelName(const QString &value)
{
    m_localModelName = value;
    emit localModelNameChanged(value);
    m_preferences.setString(localModelNameKey, value);
}

void SettingsStore::setLocalModelApi(LocalModelApi value)
{
    m_localModelApi = value;
    emit localModelApiChanged(value);
    m_preferences.setString(modelApiChoiceKey,
                            value == LocalModelApi::OpenAI ? openAIApi : QStringLiteral("ollama"));
}

void SettingsStore::setWatchedFolder(const std::optional<QString> &value)
{
    setWatchedFolders(value ? QList<WatchedFolder>{{*value, {}, {}, false}} : QList<WatchedFolder>());
}

void SettingsStore::setWatchedFolders(const QList<WatchedFolder> &value)
{
    m_watchedFolders = value;
    m_watchedFolder = value.isEmpty() ? std::nullopt : std::optional(value.first().path);
    emit watchedFolderChanged(m_watchedFolder);
}

void SettingsStore::setRenamingProblem(const std::optional<QString> &value)
{
    m_renamingProblem = value;
    emit renamingProblemChanged(value);
}

void SettingsStore::setNeedsFolderAccess(bool value)
{
    m_needsFolderAccess = value;
    emit needsFolderAccessChanged(value);
}

QList<WatchedFolder> SettingsStore::resolveWatchedFolders(const ToolEnvironment &environment) const
{
    if (m_customFolderPath && QDir::isAbsolutePath(*m_customFolderPath) &&
        QFileInfo(*m_customFolderPath).isDir()) {
        const auto refusal = WatchedFolderRules::refusal(*m_customFolderPath, true);
        if (!refusal)
            return {{QFileInfo(*m_customFolderPath).absoluteFilePath(),
                     {},
                     ScreenshotToolSettings::allNamePatterns(environment),
                     true}};
        // Resolved again at every change of the screenshot tools' settings; said once.
        if (std::exchange(m_loggedRefusal, *m_customFolderPath) != *m_customFolderPath)
            qCWarning(lcSettings).noquote()
                << QStringLiteral("Not watching the custom folder: %1").arg(*refusal);
    }
    return ScreenshotToolSettings::watchedFolders(environment);
}
