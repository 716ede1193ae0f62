// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ScreenshotToolSettings.h"

#include "support/QuietToolEnvironment.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

// How a tool's setting becomes a watched folder. Runs in the test's own HOME and XDG_CONFIG_HOME,
// never the real ones; which tools name which folders is tested through the watcher in
// AppControllerTest.
class ScreenshotToolSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void toolFolder_data();
    void toolFolder();
    void foldersSharedByToolsAreWatchedOnce();
    void userDirs_data();
    void userDirs();

private:
    QString home() const { return QDir::homePath(); }
    QString screenshots() const { return home() + u"/Pictures/Screenshots"_s; }
    QString config(const QString &relative) const { return m_environment.configHome + u'/' + relative; }

    ToolEnvironment m_environment;
};

void ScreenshotToolSettingsTest::initTestCase()
{
    QVERIFY2(home().contains(u"/home/ScreenshotToolSettingsTest"_s), "must run in a test HOME");
}

void ScreenshotToolSettingsTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_environment = quietToolEnvironment();
    for (const QString &name : {u"spectaclerc"_s, u"flameshot/flameshot.ini"_s})
        QFile::remove(config(name));
    QFile::remove(home() + u"/Pictures"_s);
    QDir(home() + u"/Pictures"_s).removeRecursively();
    QDir(home() + u"/shots"_s).removeRecursively();
}

void ScreenshotToolSettingsTest::toolFolder_data()
{
    QTest::addColumn<QByteArray>("location"); // Spectacle's; empty: no settings file
    QTest::addColumn<QStringList>("folders"); // made first; "file:" makes a file instead
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("warning"); // a pattern, or empty

    const auto row = [](const char *situation, const char *location, QStringList folders,
                        QStringList expected, const char *warning = "") {
        QTest::addRow("%s", situation)
            << QByteArray(location) << folders << expected << QString::fromUtf8(warning);
    };
    const char *refused = "^Not watching .*: .*system folder";
    row("no tool: Pictures/Screenshots, created", "", {}, {"SCREENSHOTS"});
    row("no tool, Pictures is a file", "", {"file:Pictures"}, {"HOME/Desktop"},
        "^Could not create .*Screenshots");
    row("spaces, line break and tilde", "  ~/shots/a \\n", {"shots/a"}, {"HOME/shots/a", "SCREENSHOTS"});
    row("file URL", "file://HOME/shots/b%20c/", {"shots/b c"}, {"HOME/shots/b c", "SCREENSHOTS"});
    row("file URL with one slash", "file:HOME/shots/d", {"shots/d"}, {"HOME/shots/d", "SCREENSHOTS"});
    row("tilde alone: the home folder, as the tool saves there", "~", {}, {"HOME", "SCREENSHOTS"});
    row("tilde with a user name: the default", "~bob/shots", {"shots"}, {"HOME/Pictures", "SCREENSHOTS"});
    row("relative path: the default", "shots", {"shots"}, {"HOME/Pictures", "SCREENSHOTS"});
    row("dot-dot is resolved", "HOME/nowhere/../shots", {"shots"}, {"HOME/shots", "SCREENSHOTS"});
    row("a regular file: the default", "HOME/.config/spectaclerc", {}, {"HOME/Pictures", "SCREENSHOTS"});
    row("missing folder: the default", "HOME/gone", {}, {"HOME/Pictures", "SCREENSHOTS"});
    row("the root folder", "/", {}, {"HOME/Pictures", "SCREENSHOTS"}, refused);
    row("a system folder", "/usr/share", {}, {"HOME/Pictures", "SCREENSHOTS"}, refused);
}

void ScreenshotToolSettingsTest::toolFolder()
{
    QFETCH(QByteArray, location);
    QFETCH(QStringList, folders);
    QFETCH(QStringList, expected);
    QFETCH(QString, warning);
    m_environment.variables.insert(u"KDE_SESSION_VERSION"_s, u"5"_s);
    if (!location.isEmpty())
        QVERIFY(TestFiles::write(config(u"spectaclerc"_s),
                                 "[Save]\ndefaultSaveLocation=" + location.replace("HOME", home().toUtf8()) +
                                     '\n'));
    if (!folders.contains(u"file:Pictures"_s))
        QVERIFY(QDir().mkpath(home() + u"/Pictures"_s)); // a Plasma 5 Spectacle's default
    for (const QString &folder : folders)
        QVERIFY(folder.startsWith(u"file:") ? TestFiles::write(home() + u'/' + folder.mid(5))
                                            : QDir(home()).mkpath(folder));
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
    QStringList paths;
    for (const WatchedFolder &folder : ScreenshotToolSettings::watchedFolders(m_environment))
        paths.append(folder.path);
    expected.replaceInStrings(u"SCREENSHOTS"_s, screenshots()).replaceInStrings(u"HOME"_s, home());
    QCOMPARE(paths, expected);
}

void ScreenshotToolSettingsTest::foldersSharedByToolsAreWatchedOnce()
{
    QVERIFY(QDir().mkpath(home() + u"/shots"_s));
    QVERIFY(TestFiles::write(config(u"flameshot/flameshot.ini"_s),
                             "[General]\nsavePath=" + home().toUtf8() + "/shots\n"));
    QVERIFY(TestFiles::write(config(u"spectaclerc"_s),
                             "[ImageSave]\nimageSaveLocation=~/shots/\nimageFilenameTemplate=Snap_<yyyy>\n"));
    const auto folders = ScreenshotToolSettings::watchedFolders(m_environment);
    QCOMPARE(folders.size(), 2);
    QCOMPARE(folders.first().path, home() + u"/shots"_s);
    QCOMPARE(folders.first().tools, (QStringList{u"Spectacle"_s, u"Flameshot"_s}));
    QCOMPARE(folders.first().namePatterns.filter(u"Snap"_s).size(), 1);
    QCOMPARE(folders.last().path, screenshots());
    QVERIFY(!ScreenshotToolSettings::foundNoTool(folders));
}

void ScreenshotToolSettingsTest::userDirs_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("expectedPictures"); // empty: not named
    QTest::addRow("in the home folder")
        << QByteArray("XDG_PICTURES_DIR=\"$HOME/Bilder\"\n") << u"/home/ada/Bilder"_s;
    QTest::addRow("absolute, after a comment")
        << QByteArray("# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"/data/pics/\"\n")
        << u"/data/pics"_s;
    QTest::addRow("the home folder itself") << QByteArray("XDG_PICTURES_DIR=\"$HOME/\"\n") << u"/home/ada"_s;
    QTest::addRow("relative paths are not read")
        << QByteArray("XDG_PICTURES_DIR=\"Pictures\"\n") << QString();
    QTest::addRow("not quoted") << QByteArray("XDG_PICTURES_DIR=$HOME/Pictures\n") << QString();
}

void ScreenshotToolSettingsTest::userDirs()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, expectedPictures);
    QCOMPARE(ToolEnvironment::parseUserDirs(contents, u"/home/ada"_s).value(u"PICTURES"_s), expectedPictures);
}

QTEST_GUILESS_MAIN(ScreenshotToolSettingsTest)
#include "ScreenshotToolSettingsTest.moc"
