#include "cli/LocalHistoryWriter.h"

#include "settings/ScreenshotToolSettings.h"

LocalHistoryWriter::LocalHistoryWriter()
    : m_preferences(PreferencesStore::defaultPath())
    , m_settings(m_preferences)
    , m_history(m_preferences)
    , m_coordinator(m_settings, m_history, nullptr, m_fileSystem, RenameCoordinator::Clock::system())
{
    // The screenshot tool's own file-name prefix counts here as it does for the watcher.
    ScreenshotDetector detector = m_coordinator.detector();
    detector.customFilenamePrefix = ScreenshotToolSettings::customNamePrefix();
    m_coordinator.setDetector(detector);
}
