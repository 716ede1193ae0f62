#include "settings/ScreencapturePreferences.h"

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
class ScreencapturePreferencesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void systemFolder_data();
    void systemFolder();
    void folderCreatedLaterIsFound();
    void toolsAreReadInOrder();
    void prefixOfTemplate_data();
    void prefixOfTemplate();

private:
    QString desktop() const { return home() + u"/Desktop"_s; }
};

void ScreencapturePreferencesTest::initTestCase()
{
    QVERIFY2(home().contains(u"/home/ScreencapturePreferencesTest"_s), "must run in a test HOME");
}

void ScreencapturePreferencesTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    for (const QString &name : {u"spectaclerc"_s, u"flameshot/flameshot.ini"_s})
        QFile::remove(configFile(name));
    QDir(home() + u"/Pictures"_s).removeRecursively();
    QDir(home() + u"/shots"_s).removeRecursively();
}

void ScreencapturePreferencesTest::systemFolder_data()
{
    QTest::addColumn<QByteArray>("spectaclerc");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("expected");

    QTest::addRow("no tool, no Pictures/Screenshots") << QByteArray() << QStringList{} << u"DESKTOP"_s;
    QTest::addRow("GNOME's Pictures/Screenshots")
        << QByteArray() << QStringList{"Pictures/Screenshots"} << u"HOME/Pictures/Screenshots"_s;
    QTest::addRow("spaces, line break and tilde")
        << QByteArray("[ImageSave]\nimageSaveLocation=  ~/shots/a \\n\n") << QStringList{"shots/a"}
        << u"HOME/shots/a"_s;
    QTest::addRow("file URL") << QByteArray("[ImageSave]\nimageSaveLocation=file://HOME/shots/b%20c/\n")
                              << QStringList{"shots/b c"} << u"HOME/shots/b c"_s;
    QTest::addRow("tilde alone is the home folder")
        << QByteArray("[ImageSave]\nimageSaveLocation=~\n") << QStringList{} << u"HOME"_s;
    QTest::addRow("tilde with a user name")
        << QByteArray("[ImageSave]\nimageSaveLocation=~bob/shots\n") << QStringList{"shots"} << u"DESKTOP"_s;
    QTest::addRow("relative path") << QByteArray("[ImageSave]\nimageSaveLocation=shots\n")
                                   << QStringList{"shots"} << u"DESKTOP"_s;
    QTest::addRow("dot-dot is resolved")
        << QByteArray("[ImageSave]\nimageSaveLocation=HOME/nowhere/../shots\n") << QStringList{"shots"}
        << u"HOME/shots"_s;
    QTest::addRow("a regular file") << QByteArray("[ImageSave]\nimageSaveLocation=HOME/.config/spectaclerc\n")
                                    << QStringList{} << u"DESKTOP"_s;
    QTest::addRow("missing folder") << QByteArray("[ImageSave]\nimageSaveLocation=HOME/gone\n")
                                    << QStringList{} << u"DESKTOP"_s;
}

void ScreencapturePreferencesTest::systemFolder()
{
    QFETCH(QByteArray, spectaclerc);
    QFETCH(QStringList, folders);
    QFETCH(QString, expected);
    if (!spectaclerc.isEmpty())
        QVERIFY(TestFiles::write(configFile(u"spectaclerc"_s), spectaclerc.replace("HOME", home().toUtf8())));
    for (const QString &folder : folders)
        QVERIFY(QDir(home()).mkpath(folder));
    expected.replace(u"DESKTOP"_s, desktop()).replace(u"HOME"_s, home());
    QCOMPARE(ScreencapturePreferences::systemFolder(), expected);
}

void ScreencapturePreferencesTest::folderCreatedLaterIsFound()
{
    QVERIFY(TestFiles::write(configFile(u"spectaclerc"_s), "[ImageSave]\nimageSaveLocation=~/shots\n"));
    QCOMPARE(ScreencapturePreferences::systemFolder(), desktop());
    QVERIFY(QDir(home()).mkpath(u"shots"_s));
    QCOMPARE(ScreencapturePreferences::systemFolder(), home() + u"/shots"_s);
}

void ScreencapturePreferencesTest::toolsAreReadInOrder()
{
    QCOMPARE(ScreencapturePreferences::customNamePrefix(), std::nullopt);
    QVERIFY(TestFiles::write(configFile(u"flameshot/flameshot.ini"_s),
                             "[General]\nsavePath=/flame\nfilenamePattern=Flame shot_%F_%H-%M\n"));
    QCOMPARE(ScreencapturePreferences::rawLocation(), OptionalText(u"/flame"_s));
    QCOMPARE(ScreencapturePreferences::customNamePrefix(), OptionalText(u"Flame shot"_s));

    QVERIFY(TestFiles::write(
        configFile(u"spectaclerc"_s),
        "[ImageSave]\nimageSaveLocation=/spectacle\nimageFilenameTemplate=Capture <yyyy>-<MM>\n"));
    QCOMPARE(ScreencapturePreferences::rawLocation(), OptionalText(u"/spectacle"_s));
    QCOMPARE(ScreencapturePreferences::customNamePrefix(), OptionalText(u"Capture"_s));
}

void ScreencapturePreferencesTest::prefixOfTemplate_data()
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

void ScreencapturePreferencesTest::prefixOfTemplate()
{
    QFETCH(QString, nameTemplate);
    QFETCH(OptionalText, expected);
    QCOMPARE(ScreencapturePreferences::prefixOfTemplate(nameTemplate), expected);
}

QTEST_GUILESS_MAIN(ScreencapturePreferencesTest)
#include "ScreencapturePreferencesTest.moc"
