// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/LocalHistoryWriter.h"

#include "settings/ScreenshotToolSettings.h"
#include "settings/ToolEnvironment.h"

LocalHistoryWriter::LocalHistoryWriter()
    : m_preferences(PreferencesStore::defaultPath())
    , m_settings(m_preferences)
    , m_history(m_preferences)
    , m_index(ScreenshotIndex::defaultPath())
    , m_coordinator(m_settings, m_history, nullptr, m_fileSystem, RenameCoordinator::Clock::system())
{
    m_coordinator.setIndex(&m_index);
    // The names every screenshot tool here gives count as they do for the watcher.
    ScreenshotDetector detector = m_coordinator.detector();
    detector.toolNames =
        ScreenshotDetector::compiledNames(ScreenshotToolSettings::allNamePatterns(ToolEnvironment::system()));
    m_coordinator.setDetector(detector);
}
