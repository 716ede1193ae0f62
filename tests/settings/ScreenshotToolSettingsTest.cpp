#include "settings/ScreenshotToolSettings.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString home()
{
    return QDir::homePath();
}

QString configFile(const QString &relative)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + relative;
}

} // namespace

// Runs in the test's own HOME and XDG_CONFIG_HOME, never the real ones.
class ScreenshotToolSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void systemFolder_data();
    void systemFolder();
    void folderCreatedLaterIsFound();
    void toolsAreReadInOrder_data();
    void toolsAreReadInOrder();
    void prefixOfTemplate_data();
    void prefixOfTemplate();

private:
    QString desktop() const { return home() + u"/Desktop"_s; }
    QString screenshots() const { return home() + u"/Pictures/Screenshots"_s; }
};

void ScreenshotToolSettingsTest::initTestCase()
{
    QVERIFY2(home().contains(u"/home/ScreenshotToolSettingsTest"_s), "must run in a test HOME");
}

void ScreenshotToolSettingsTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    for (const QString &name : {u"spectaclerc"_s, u"flameshot/flameshot.ini"_s})
        QFile::remove(configFile(name));
    QFile::remove(home() + u"/Pictures"_s);
    QDir(home() + u"/Pictures"_s).removeRecursively();
    QDir(home() + u"/shots"_s).removeRecursively();
}

void ScreenshotToolSettingsTest::systemFolder_data()
{
    QTest::addColumn<QByteArray>("spectaclerc");
    QTest::addColumn<QStringList>("folders"); // "file:" makes a file instead
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("warning"); // a pattern, or empty

    const auto row = [](const char *situation, const char *location, QStringList folders,
                        const char *expected, const char *warning = "") {
        const QByteArray settings =
            location ? "[ImageSave]\nimageSaveLocation=" + QByteArray(location) + '\n' : "";
        QTest::addRow("%s", situation)
            << settings << folders << QString::fromUtf8(expected) << QString::fromUtf8(warning);
    };
    const char *refused = "^Not watching the screenshot tool's folder: ";
    row("no tool: Pictures/Screenshots, created", nullptr, {}, "SCREENSHOTS");
    row("no tool, Pictures is a file", nullptr, {"file:Pictures"}, "DESKTOP",
        "^Could not create .*Screenshots");
    row("spaces, line break and tilde", "  ~/shots/a \\n", {"shots/a"}, "HOME/shots/a");
    row("file URL", "file://HOME/shots/b%20c/", {"shots/b c"}, "HOME/shots/b c");
    row("tilde alone is the home folder, not for this", "~", {}, "SCREENSHOTS", refused);
    row("tilde with a user name", "~bob/shots", {"shots"}, "SCREENSHOTS");
    row("relative path", "shots", {"shots"}, "SCREENSHOTS");
    row("dot-dot is resolved", "HOME/nowhere/../shots", {"shots"}, "HOME/shots");
    row("a regular file", "HOME/.config/spectaclerc", {}, "SCREENSHOTS");
    row("missing folder", "HOME/gone", {}, "SCREENSHOTS");
    row("the root folder", "/", {}, "SCREENSHOTS", refused);
    row("a system folder", "/usr/share", {}, "SCREENSHOTS", refused);
}

void ScreenshotToolSettingsTest::systemFolder()
{
    QFETCH(QByteArray, spectaclerc);
    QFETCH(QStringList, folders);
    QFETCH(QString, expected);
    QFETCH(QString, warning);
    if (!spectaclerc.isEmpty())
        QVERIFY(TestFiles::write(configFile(u"spectaclerc"_s), spectaclerc.replace("HOME", home().toUtf8())));
    for (const QString &folder : folders)
        QVERIFY(folder.startsWith(u"file:") ? TestFiles::write(home() + u'/' + folder.mid(5))
                                            : QDir(home()).mkpath(folder));
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
    expected.replace(u"DESKTOP"_s, desktop())
        .replace(u"SCREENSHOTS"_s, screenshots())
        .replace(u"HOME"_s, home());
    QCOMPARE(ScreenshotToolSettings::systemFolder(), expected);
    QVERIFY(expected == desktop() || QFileInfo(expected).isDir());
}

void ScreenshotToolSettingsTest::folderCreatedLaterIsFound()
{
    QVERIFY(TestFiles::write(configFile(u"spectaclerc"_s), "[ImageSave]\nimageSaveLocation=~/shots\n"));
    QCOMPARE(ScreenshotToolSettings::systemFolder(), screenshots());
    QVERIFY(QDir(home()).mkpath(u"shots"_s));
    QCOMPARE(ScreenshotToolSettings::systemFolder(), home() + u"/shots"_s);
}

void ScreenshotToolSettingsTest::toolsAreReadInOrder_data()
{
    QTest::addColumn<QByteArray>("spectaclerc");
    QTest::addColumn<QByteArray>("flameshot");
    QTest::addColumn<OptionalText>("location");
    QTest::addColumn<OptionalText>("prefix");
    const QByteArray spectacleFolder = "imageSaveLocation=/spectacle\n";
    const QByteArray spectacleName = "imageFilenameTemplate=Capture <yyyy>-<MM>\n";
    const QByteArray flameshotFolder = "savePath=/flame\n";
    const QByteArray flameshotName = "filenamePattern=Flame shot_%F_%H-%M\n";
    QTest::addRow("no tool") << QByteArray() << QByteArray() << OptionalText() << OptionalText();
    QTest::addRow("Flameshot alone") << QByteArray() << flameshotFolder + flameshotName
                                     << OptionalText("/flame") << OptionalText("Flame shot");
    QTest::addRow("both name a folder: Spectacle first")
        << spectacleFolder + spectacleName << flameshotFolder + flameshotName << OptionalText("/spectacle")
        << OptionalText("Capture");
    QTest::addRow("a template alone hides no folder") << spectacleName << flameshotFolder + flameshotName
                                                      << OptionalText("/flame") << OptionalText("Flame shot");
    QTest::addRow("prefix only from the tool whose folder is used")
        << spectacleName << flameshotFolder << OptionalText("/flame") << OptionalText();
    QTest::addRow("no folder anywhere: the first template")
        << spectacleName << flameshotName << OptionalText() << OptionalText("Capture");
}

void ScreenshotToolSettingsTest::toolsAreReadInOrder()
{
    QFETCH(QByteArray, spectaclerc);
    QFETCH(QByteArray, flameshot);
    QFETCH(OptionalText, location);
    QFETCH(OptionalText, prefix);
    if (!spectaclerc.isEmpty())
        QVERIFY(TestFiles::write(configFile(u"spectaclerc"_s), "[ImageSave]\n" + spectaclerc));
    if (!flameshot.isEmpty())
        QVERIFY(TestFiles::write(configFile(u"flameshot/flameshot.ini"_s), "[General]\n" + flameshot));
    QCOMPARE(ScreenshotToolSettings::rawLocation(), location);
    QCOMPARE(ScreenshotToolSettings::customNamePrefix(), prefix);
}

void ScreenshotToolSettingsTest::prefixOfTemplate_data()
{
    QTest::addColumn<QString>("nameTemplate");
    QTest::addColumn<OptionalText>("expected");
    QTest::addRow("underscore before the date")
        << u"Screenshot_<yyyy><MM><dd>"_s << OptionalText("Screenshot");
    QTest::addRow("only one separator is removed") << u"Shot - %Y"_s << OptionalText("Shot -");
    QTest::addRow("placeholder first") << u"%F_%H-%M"_s << OptionalText();
    QTest::addRow("no placeholder") << u"MyShot"_s << OptionalText("MyShot");
    QTest::addRow("separator alone") << u"-<yyyy>"_s << OptionalText();
    QTest::addRow("white space kept inside") << u" My Shot_%Y"_s << OptionalText(" My Shot");
}

void ScreenshotToolSettingsTest::prefixOfTemplate()
{
    QFETCH(QString, nameTemplate);
    QFETCH(OptionalText, expected);
    QCOMPARE(ScreenshotToolSettings::prefixOfTemplate(nameTemplate), expected);
}

QTEST_GUILESS_MAIN(ScreenshotToolSettingsTest)
#include "ScreenshotToolSettingsTest.moc"
