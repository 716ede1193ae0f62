// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppController.h"

#include "app/DesktopInterface.h"
#include "app/TakeOverChannel.h"
#include "index/ScreenshotIndex.h"
#include "intake/InotifyEventSource.h"
#include "intake/LinuxFileSystem.h"
#include "naming/CaptureContext.h"
#include "renaming/RenameHistoryStore.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"
#include "support/FakeFileManager.h"
#include "support/FakeNamer.h"
#include "support/FakeUserPrompts.h"
#include "support/QuietToolEnvironment.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class FixedContext final : public CaptureContextSource
{
public:
    CaptureContext current() override { return {u"Files"_s, u"org.gnome.Nautilus"_s, {}}; }
};

// A copy alone: no other copy hears it start.
class NoOtherCopy final : public TakeOverChannel
{
public:
    bool announce() override { return true; }
};

// Records what the desktop would show, and whether the history already held each rename by then.
class FakeDesktop final : public DesktopInterface
{
public:
    explicit FakeDesktop(AppController &controller)
        : m_controller(controller)
    {}

    QList<RenameRecord> shown;
    QList<bool> wasRecorded;
    QStringList undone;
    QList<bool> launches;        // per start: whether it was the first launch
    QList<bool> startedWatching; // per start: whether the watcher ran by then

    void renamed(const RenameRecord &record) override
    {
        shown.append(record);
        wasRecorded.append(m_controller.history().record(record.id).has_value());
    }
    void renameWasUndone(const QUuid &, const QString &restoredPath) override { undone.append(restoredPath); }
    void stateChanged() override {}
    void started(bool isFirstLaunch) override
    {
        launches.append(isFirstLaunch);
        startedWatching.append(m_controller.isWatching());
    }
    void showSettings() override {}
    std::optional<CaptureContext::Panel> panel =
        CaptureContext::Panel{QRect(520, 0, 560, 88), QSize(1600, 1000)};
    std::optional<CaptureContext::Panel> shownPanel() override { return panel; }

private:
    AppController &m_controller;
};

} // namespace

// The controller with real inotify, real files and a namer the test controls; runs in the test's
// own HOME, so the screenshot tool's settings and the desktop folder are the test's.
class AppControllerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void screenshotInWatchedFolderIsRenamed();
    void pausingStopsAndResumingRestartsWatching();
    void screenshotToolSettingMovesTheWatching_data();
    void screenshotToolSettingMovesTheWatching();
    void eachToolsCapturesAreRenamedWhereItSaves_data();
    void eachToolsCapturesAreRenamedWhereItSaves();
    void choosingAFolder_data();
    void choosingAFolder();
    void revealOfDeletedFileDropsTheRecord();
    void searchIndexIsClearedOnlyWhenTheUserAgrees();
    void onlyTheFirstLaunchIsFirstAndComesAfterWatching();
    void remoteModelServerIsAnnounced_data();
    void remoteModelServerIsAnnounced();

private:
    QString home(const QString &relative) const { return QDir::home().filePath(relative); }
    // Below the screenshot tools' settings folder.
    static QString config(const QString &relative = {})
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + relative;
    }
    void startController();

    std::unique_ptr<QTemporaryDir> m_shots;
    std::unique_ptr<PreferencesStore> m_preferences;
    LinuxFileSystem m_fileSystem;
    FixedContext m_context;
    FakeFileManager m_fileManager;
    FakeUserPrompts m_prompts;
    NoOtherCopy m_takeOver;
    std::shared_ptr<FakeNamer> m_namer;
    FakeDesktop *m_desktop = nullptr;
    std::unique_ptr<AppController> m_controller;
    ToolEnvironment m_environment;
};

void AppControllerTest::initTestCase()
{
    QVERIFY2(QDir::homePath().endsWith(u"/home/AppControllerTest"_s), "must run in its test HOME");
}

void AppControllerTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    QDir(home(u".config"_s)).removeRecursively();
    QDir().mkpath(config());
    QDir().mkpath(home(u"Desktop"_s));
    for (const QString &made : {u"Pictures"_s, u"Shots"_s, u"Chats & Docs"_s})
        QDir(home(made)).removeRecursively();
    m_shots = std::make_unique<QTemporaryDir>(home(u"shots-XXXXXX"_s));
    m_preferences = std::make_unique<PreferencesStore>(home(u".config/quillo/quillo.conf"_s));
    m_preferences->setString(u"customFolderPath"_s, m_shots->path());
    m_namer = std::make_shared<FakeNamer>();
    m_namer->immediateAnswer = {u"design-review"_s, ScreenshotCategory::Chats, NamingSource::Heuristics};
    m_prompts = FakeUserPrompts();
    m_environment = quietToolEnvironment();
}

void AppControllerTest::cleanup()
{
    m_controller.reset();
}

void AppControllerTest::startController()
{
    AppServices services{*m_preferences, m_fileSystem, m_context, m_fileManager,
                         m_prompts,      m_takeOver,   {},        &InotifyEventSource::create,
                         config(),       false,        {}};
    services.namerFactory = [this](const SettingsStore &) {
        return m_namer;
    };
    services.toolEnvironment = [this] {
        return m_environment;
    };
    services.desktop = [this](AppController &controller) {
        auto desktop = std::make_unique<FakeDesktop>(controller);
        m_desktop = desktop.get();
        return desktop;
    };
    m_controller = std::make_unique<AppController>(std::move(services));
    m_controller->start();
}

void AppControllerTest::screenshotInWatchedFolderIsRenamed()
{
    m_preferences->setBool(u"appendDateSuffix"_s, false);
    startController();
    QVERIFY(m_controller->isWatching());
    QVERIFY(TestFiles::write(m_shots->filePath(u"Screenshot from 2026-12-05 10-00-02.png"_s)));
    QTRY_COMPARE(m_controller->history().records().size(), 1);
    const RenameRecord record = m_controller->history().records().first();
    QCOMPARE(record.renamedPath, m_shots->filePath(u"Chats & Docs/design-review.png"_s));
    QCOMPARE(m_namer->contexts.first().appId, std::optional<QString>(u"org.gnome.Nautilus"_s));
    QCOMPARE(m_namer->contexts.first().quilloPanel, m_desktop->panel);
    QVERIFY(m_preferences->boolValue(u"hasLaunchedBefore"_s));
    QCOMPARE(m_desktop->shown, QList<RenameRecord>{record});
    QCOMPARE(m_desktop->wasRecorded, QList<bool>{true});

    m_controller->undo(record);
    QCOMPARE(m_desktop->undone, QStringList{record.originalFolderPath + u'/' + record.originalFilename});

    // Deleted: the tool's folder is watched meanwhile, with names from settings changed since.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"The watched folder .* is gone"_s));
    QVERIFY(QDir(m_shots->path()).removeRecursively());
    const QString toolFolder = home(u"Pictures/Screenshots"_s);
    QTRY_COMPARE(m_controller->settings().watchedFolder(), std::optional<QString>(toolFolder));
    QVERIFY(TestFiles::write(config(u"spectaclerc"_s), "[ImageSave]\nimageFilenameTemplate=Snap_<yyyy>\n"));
    QTRY_VERIFY(!m_controller->settings().watchedFolders().first().namePatterns.filter(u"Snap"_s).isEmpty());
    QVERIFY(TestFiles::write(toolFolder + u"/Snap_2026.png"_s));
    QTRY_COMPARE(m_controller->history().records().size(), 1);
    // Made again: watched again.
    QVERIFY(QDir().mkpath(m_shots->path()));
    QTRY_COMPARE(m_controller->settings().watchedFolder(), std::optional<QString>(m_shots->path()));
    QVERIFY(TestFiles::write(m_shots->filePath(u"Screenshot from 2026-12-05 10-00-06.png"_s)));
    QTRY_COMPARE(m_controller->history().records().size(), 2);
}

void AppControllerTest::pausingStopsAndResumingRestartsWatching()
{
    m_preferences->setBool(u"isPaused"_s, true); // as the last run left it
    startController();
    QVERIFY(!m_controller->isWatching());
    QVERIFY(TestFiles::write(m_shots->filePath(u"Screenshot from 2026-12-05 10-00-03.png"_s)));
    m_controller->settings().setPaused(false);
    QVERIFY(m_controller->isWatching());
    QVERIFY(TestFiles::write(m_shots->filePath(u"Screenshot from 2026-12-05 10-00-04.png"_s)));
    QTRY_COMPARE(m_controller->history().records().size(), 1);
    QCOMPARE(m_controller->history().records().first().originalFilename,
             u"Screenshot from 2026-12-05 10-00-04.png"_s);
    m_controller->settings().setPaused(true);
    QVERIFY(!m_controller->isWatching());
}

void AppControllerTest::screenshotToolSettingMovesTheWatching_data()
{
    QTest::addColumn<bool>("flameshot");
    QTest::addRow("Spectacle's folder") << false;
    QTest::addRow("Flameshot's, its settings folder made later") << true;
}

void AppControllerTest::screenshotToolSettingMovesTheWatching()
{
    QFETCH(bool, flameshot);
    m_preferences->remove(u"customFolderPath"_s);
    startController();
    // A fresh account has no screenshot folder until the first capture; Quillo makes it.
    const QString screenshots = home(u"Pictures/Screenshots"_s);
    QCOMPARE(m_controller->settings().watchedFolder(), std::optional<QString>(screenshots));
    QVERIFY(QFileInfo(screenshots).isDir());
    if (flameshot) {
        QVERIFY(QDir(config()).mkdir(u"flameshot"_s));
        // Once this is seen, so is the new folder; only then does Flameshot write its settings.
        QVERIFY(
            TestFiles::write(config(u"spectaclerc"_s), "[ImageSave]\nimageFilenameTemplate=Snap_<yyyy>\n"));
        QTRY_VERIFY(
            !m_controller->settings().watchedFolders().first().namePatterns.filter(u"Snap"_s).isEmpty());
    }
    QVERIFY(TestFiles::write(config(flameshot ? u"flameshot/flameshot.ini"_s : u"spectaclerc"_s),
                             flameshot ? "[General]\nsavePath=" + m_shots->path().toUtf8() + "\n"
                                       : "[ImageSave]\nimageSaveLocation=file://" + m_shots->path().toUtf8() +
                                             "\n"));
    QTRY_COMPARE(m_controller->settings().watchedFolder(), std::optional<QString>(m_shots->path()));
    QVERIFY(m_controller->isWatching());
    QVERIFY(m_prompts.folderRequests.isEmpty());
}

void AppControllerTest::eachToolsCapturesAreRenamedWhereItSaves_data()
{
    QTest::addColumn<QString>("desktop");    // $XDG_CURRENT_DESKTOP
    QTest::addColumn<QString>("installed");  // the one program found on PATH
    QTest::addColumn<QString>("variable");   // NAME=value in the session
    QTest::addColumn<QString>("configFile"); // below $XDG_CONFIG_HOME
    QTest::addColumn<QByteArray>("configText");
    QTest::addColumn<QString>("desktopSetting"); // a GSettings folder key's value
    QTest::addColumn<QString>("folder");         // below HOME, where the capture is saved
    QTest::addColumn<QString>("name");
    const auto row = [](const char *tool, const char *desktop, const char *installed, const char *folder,
                        const char *name, const char *variable = "", const char *configFile = "",
                        const QByteArray &configText = {}, const char *desktopSetting = "") {
        QTest::addRow("%s", tool) << QString::fromUtf8(desktop) << QString::fromUtf8(installed)
                                  << QString::fromUtf8(variable) << QString::fromUtf8(configFile)
                                  << configText << QString::fromUtf8(desktopSetting)
                                  << QString::fromUtf8(folder) << QString::fromUtf8(name);
    };
    row("GNOME Shell 42 and later", "ubuntu:GNOME", "", "Pictures/Screenshots",
        "Screenshot From 2026-12-06 10-00-00.png");
    row("gnome-screenshot on Cinnamon", "X-Cinnamon", "", "Pictures",
        "Screenshot from 2026-12-06 10-00-00.png");
    row("gnome-screenshot, its folder set", "", "gnome-screenshot", "Shots",
        "Screenshot from 2026-12-06 10-00-00 - 1.png", "", "", {}, "~/Shots");
    row("Spectacle on Plasma 5", "KDE", "spectacle", "Pictures", "Screenshot_20261206_100000.png",
        "KDE_SESSION_VERSION=5");
    row("Spectacle on Plasma 6", "KDE", "spectacle", "Pictures/Screenshots",
        "Screenshot_20261206_100000-1.png", "KDE_SESSION_VERSION=6");
    row("Spectacle, its folder and name set", "", "", "Shots", "Capture 2026-12.png", "", "spectaclerc",
        "[ImageSave]\nimageSaveLocation=file:///HOME/Shots\nimageFilenameTemplate=Capture <yyyy>-<MM>\n");
    row("Flameshot", "", "flameshot", "Pictures", "2026-12-06_10-00.png");
    row("Flameshot, its folder set", "", "", "Shots", "2026-12-06_10-00_1.png", "", "flameshot/flameshot.ini",
        "[General]\nsavePath=HOME/Shots\n");
    row("xfce4-screenshooter, its title set", "XFCE", "", "Pictures", "Capture_2026-12-06_10-00-00.png", "",
        "xfce4/xfce4-screenshooter", "screenshot_dir=file:HOME/Pictures\ntitle=Capture\n");
    row("MATE's screenshot tool", "MATE", "mate-screenshot", "Desktop",
        "Screenshot at 2026-12-06 10-00-00.png");
    row("ksnip", "", "ksnip", "", "ksnip_20261206-100000(2).png");
    row("scrot", "", "scrot", "", "2026-12-06-100000_1920x1080_scrot.png");
    row("grim", "sway", "grim", "Pictures", "20261206_10h00m00s_grim.png");
    row("grimshot", "sway", "grimshot", "Shots", "2026-12-06T10:00:00,123456789+01:00.png",
        "XDG_SCREENSHOTS_DIR=HOME/Shots");
    row("hyprshot", "Hyprland", "hyprshot", "Shots", "2026-12-06-100000_hyprshot.png",
        "HYPRSHOT_DIR=HOME/Shots");
}

void AppControllerTest::eachToolsCapturesAreRenamedWhereItSaves()
{
    QFETCH(QString, desktop);
    QFETCH(QString, installed);
    QFETCH(QString, variable);
    QFETCH(QString, configFile);
    QFETCH(QByteArray, configText);
    QFETCH(QString, desktopSetting);
    QFETCH(QString, folder);
    QFETCH(QString, name);
    for (const QString &made : {u"Pictures"_s, u"Desktop"_s, u"Shots"_s})
        QVERIFY(QDir().mkpath(home(made)));
    m_environment.userDirs = {{u"PICTURES"_s, home(u"Pictures"_s)}, {u"DESKTOP"_s, home(u"Desktop"_s)}};
    m_environment.desktops = desktop.split(u':', Qt::SkipEmptyParts);
    m_environment.isInstalled = [installed](const QString &program) {
        return program == installed;
    };
    if (!variable.isEmpty())
        m_environment.variables.insert(variable.section(u'=', 0, 0),
                                       variable.section(u'=', 1).replace(u"HOME"_s, QDir::homePath()));
    if (!desktopSetting.isEmpty())
        m_environment.gsetting = [desktopSetting](const QString &, const QString &) {
            return std::optional(desktopSetting);
        };
    if (!configFile.isEmpty())
        QVERIFY(TestFiles::write(config(configFile), configText.replace("HOME", QDir::homePath().toUtf8())));
    m_preferences->remove(u"customFolderPath"_s);
    startController();

    // A photo and a download where the tools save are never touched; the capture is.
    const QString where = folder.isEmpty() ? QDir::homePath() : home(folder);
    const QStringList others{u"IMG_20261206_100000.jpg"_s, u"invoice-2043.pdf"_s};
    for (const QString &other : others)
        QVERIFY(TestFiles::write(QDir(where).filePath(other)));
    QVERIFY(TestFiles::write(QDir(where).filePath(name)));
    QTRY_COMPARE(m_controller->history().records().size(), 1);
    const RenameRecord record = m_controller->history().records().first();
    QCOMPARE(record.originalFilename, name);
    QCOMPARE(record.originalFolderPath, where);
    QTest::qWait(100); // the others were reported first
    for (const QString &other : others)
        QVERIFY2(QFileInfo::exists(QDir(where).filePath(other)), qPrintable(other));
    QCOMPARE(m_controller->history().records().size(), 1);
    QCOMPARE(m_namer->preparations, 1); // while the capture was written: by its tool's name, not the others'
}

void AppControllerTest::choosingAFolder_data()
{
    QTest::addColumn<bool>("granting");  // from the access request, else as the custom folder
    QTest::addColumn<QString>("chosen"); // ~ is the home folder
    QTest::addColumn<bool>("accepted");
    QTest::addRow("another folder granted becomes the custom one") << true << u"~/Desktop"_s << true;
    QTest::addRow("the home folder itself") << false << u"~"_s << true;
    QTest::addRow("a system folder") << false << u"/etc"_s << false;
    QTest::addRow("the root folder, granted") << true << u"/"_s << false;
}

void AppControllerTest::choosingAFolder()
{
    QFETCH(bool, granting);
    QFETCH(QString, chosen);
    QFETCH(bool, accepted);
    chosen.replace(u'~', QDir::homePath());
    startController();
    m_prompts.nextFolder = chosen;
    if (granting)
        m_controller->requestFolderAccess();
    else
        m_controller->chooseCustomFolder();
    const QString expected = accepted ? chosen : m_shots->path();
    QCOMPARE(m_controller->settings().customFolderPath(), std::optional<QString>(expected));
    QCOMPARE(m_controller->settings().watchedFolder(), std::optional<QString>(expected));
    QCOMPARE(m_prompts.folderRequests.size(), 1);
    QCOMPARE(m_prompts.warnings.size(), accepted ? 0 : 1);
    if (!accepted)
        QVERIFY2(m_prompts.warnings.first().contains(u"is a system folder"_s),
                 qPrintable(m_prompts.warnings.first()));
}

void AppControllerTest::revealOfDeletedFileDropsTheRecord()
{
    startController();
    QVERIFY(TestFiles::write(m_shots->filePath(u"Screenshot from 2026-12-05 10-00-05.png"_s)));
    QTRY_COMPARE(m_controller->history().records().size(), 1);
    const RenameRecord record = m_controller->history().records().first();
    m_controller->reveal(record);
    QCOMPARE(m_fileManager.revealed, QStringList{record.renamedPath});

    QVERIFY(QFile::remove(record.renamedPath));
    m_controller->reveal(record);
    QVERIFY(m_controller->history().records().isEmpty());
    QCOMPARE(m_prompts.warnings.size(), 1);
    QVERIFY(m_prompts.warnings.first().startsWith(u"File not found: “design-review"_s));
}

void AppControllerTest::searchIndexIsClearedOnlyWhenTheUserAgrees()
{
    QFile::remove(ScreenshotIndex::defaultPath());
    startController();
    QVERIFY(TestFiles::write(m_shots->filePath(u"Screenshot from 2026-12-05 10-00-07.png"_s)));
    QTRY_COMPARE(m_controller->history().records().size(), 1);
    ScreenshotIndex index(ScreenshotIndex::defaultPath());
    QTRY_COMPARE(index.size().count, 1);
    bool done = false;
    for (const bool agrees : {false, true}) {
        m_prompts.nextAnswer = agrees;
        m_controller->offerToClearSearchIndex([&done] {
            done = true;
        });
        QTRY_COMPARE(done, agrees);
        QCOMPARE(index.size().count, agrees ? 0 : 1);
    }
    QCOMPARE(m_prompts.questions, QStringList(2, u"Also clear the search index?"_s));
    QVERIFY(QFile::exists(m_controller->history().records().first().renamedPath));
}

void AppControllerTest::onlyTheFirstLaunchIsFirstAndComesAfterWatching()
{
    startController();
    QCOMPARE(m_desktop->launches, QList<bool>{true});
    QCOMPARE(m_desktop->startedWatching, QList<bool>{true});
    m_controller.reset();
    startController();
    QCOMPARE(m_desktop->launches, QList<bool>{false});
}

void AppControllerTest::remoteModelServerIsAnnounced_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("useModel");
    QTest::addColumn<QString>("expected"); // empty: nothing said
    // Which addresses are this computer's is settled in SettingsPresentationTest.
    QTest::addRow("other host over http")
        << u"http://gpu-box.lan:11434"_s << true
        << u"Screenshots are sent to gpu-box.lan to be named, unencrypted over plain http"_s;
    QTest::addRow("other host over https")
        << u"https://10.0.0.7"_s << true << u"Screenshots are sent to 10.0.0.7 to be named"_s;
    QTest::addRow("model switched off") << u"http://gpu-box.lan:11434"_s << false << QString();
}

void AppControllerTest::remoteModelServerIsAnnounced()
{
    QFETCH(QString, url);
    QFETCH(bool, useModel);
    QFETCH(QString, expected);
    static QStringList said;
    said.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
            said.append(text);
        });
    m_preferences->setBool(u"useLocalModel"_s, useModel);
    m_preferences->setString(u"localModelURL"_s, url);
    startController();
    m_controller->settings().setLocalModelUrl(u"http://[::1]:11434"_s);
    m_controller->settings().setLocalModelUrl(url);
    qInstallMessageHandler(previous);
    const QStringList announcements = said.filter(u"Screenshots are sent"_s);
    // Once at start and once for the change back; the loopback address in between says nothing.
    QCOMPARE(announcements, expected.isEmpty() ? QStringList() : (QStringList{expected, expected}));
}

QTEST_GUILESS_MAIN(AppControllerTest)
#include "AppControllerTest.moc"
