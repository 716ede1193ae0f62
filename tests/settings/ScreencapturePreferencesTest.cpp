#include "settings/ScreencapturePreferences.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {

QString home()
{
    return QDir::homePath();
}

QString configFile(const QString &relative)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + relative;
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

} // namespace

using OptionalText = std::optional<QString>;

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
    QString desktop() const { return home() + QStringLiteral("/Desktop"); }
};

void ScreencapturePreferencesTest::initTestCase()
{
    QVERIFY2(home().contains(QStringLiteral("/home/ScreencapturePreferencesTest")),
             "must run in a test HOME");
}

void ScreencapturePreferencesTest::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    for (const QString &name : {QStringLiteral("spectaclerc"), QStringLiteral("flameshot/flameshot.ini")})
        QFile::remove(configFile(name));
    QDir(home() + QStringLiteral("/Pictures")).removeRecursively();
    QDir(home() + QStringLiteral("/shots")).removeRecursively();
}

void ScreencapturePreferencesTest::systemFolder_data()
{
    QTest::addColumn<QByteArray>("spectaclerc");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("expected");

    QTest::addRow("no tool, no Pictures/Screenshots") << QByteArray() << QStringList{} << "DESKTOP";
    QTest::addRow("GNOME's Pictures/Screenshots")
        << QByteArray() << QStringList{"Pictures/Screenshots"} << "HOME/Pictures/Screenshots";
    QTest::addRow("spaces, line break and tilde")
        << QByteArray("[ImageSave]\nimageSaveLocation=  ~/shots/a \\n\n") << QStringList{"shots/a"}
        << "HOME/shots/a";
    QTest::addRow("file URL") << QByteArray("[ImageSave]\nimageSaveLocation=file://HOME/shots/b%20c/\n")
                              << QStringList{"shots/b c"} << "HOME/shots/b c";
    QTest::addRow("tilde alone is the home folder")
        << QByteArray("[ImageSave]\nimageSaveLocation=~\n") << QStringList{} << "HOME";
    QTest::addRow("tilde with a user name")
        << QByteArray("[ImageSave]\nimageSaveLocation=~bob/shots\n") << QStringList{"shots"} << "DESKTOP";
    QTest::addRow("relative path") << QByteArray("[ImageSave]\nimageSaveLocation=shots\n")
                                   << QStringList{"shots"} << "DESKTOP";
    QTest::addRow("dot-dot is resolved")
        << QByteArray("[ImageSave]\nimageSaveLocation=HOME/nowhere/../shots\n") << QStringList{"shots"}
        << "HOME/shots";
    QTest::addRow("a regular file") << QByteArray("[ImageSave]\nimageSaveLocation=HOME/.config/spectaclerc\n")
                                    << QStringList{} << "DESKTOP";
    QTest::addRow("missing folder") << QByteArray("[ImageSave]\nimageSaveLocation=HOME/gone\n")
                                    << QStringList{} << "DESKTOP";
}

void ScreencapturePreferencesTest::systemFolder()
{
    QFETCH(QByteArray, spectaclerc);
    QFETCH(QStringList, folders);
    QFETCH(QString, expected);
    if (!spectaclerc.isEmpty())
        writeFile(configFile(QStringLiteral("spectaclerc")), spectaclerc.replace("HOME", home().toUtf8()));
    for (const QString &folder : folders)
        QVERIFY(QDir(home()).mkpath(folder));
    expected.replace(QStringLiteral("DESKTOP"), desktop()).replace(QStringLiteral("HOME"), home());
    QCOMPARE(ScreencapturePreferences::systemFolder(), expected);
}

void ScreencapturePreferencesTest::folderCreatedLaterIsFound()
{
    writeFile(configFile(QStringLiteral("spectaclerc")), "[ImageSave]\nimageSaveLocation=~/shots\n");
    QCOMPARE(ScreencapturePreferences::systemFolder(), desktop());
    QVERIFY(QDir(home()).mkpath(QStringLiteral("shots")));
    QCOMPARE(ScreencapturePreferences::systemFolder(), home() + QStringLiteral("/shots"));
}

void ScreencapturePreferencesTest::toolsAreReadInOrder()
{
    QCOMPARE(ScreencapturePreferences::customNamePrefix(), std::nullopt);
    writeFile(configFile(QStringLiteral("flameshot/flameshot.ini")),
              "[General]\nsavePath=/flame\nfilenamePattern=Flame shot_%F_%H-%M\n");
    QCOMPARE(ScreencapturePreferences::rawLocation(), OptionalText(QStringLiteral("/flame")));
    QCOMPARE(ScreencapturePreferences::customNamePrefix(), OptionalText(QStringLiteral("Flame shot")));

    writeFile(configFile(QStringLiteral("spectaclerc")),
              "[ImageSave]\nimageSaveLocation=/spectacle\nimageFilenameTemplate=Capture <yyyy>-<MM>\n");
    QCOMPARE(ScreencapturePreferences::rawLocation(), OptionalText(QStringLiteral("/spectacle")));
    QCOMPARE(ScreencapturePreferences::customNamePrefix(), OptionalText(QStringLiteral("Capture")));
}

void ScreencapturePreferencesTest::prefixOfTemplate_data()
{
    QTest::addColumn<QString>("nameTemplate");
    QTest::addColumn<OptionalText>("expected");
    QTest::addRow("underscore before the date") << "Screenshot_<yyyy><MM><dd>" << OptionalText("Screenshot");
    QTest::addRow("only one separator is removed") << "Shot - %Y" << OptionalText("Shot -");
    QTest::addRow("placeholder first") << "%F_%H-%M" << OptionalText();
    QTest::addRow("no placeholder") << "MyShot" << OptionalText("MyShot");
    QTest::addRow("separator alone") << "-<yyyy>" << OptionalText();
    QTest::addRow("white space kept inside") << " My Shot_%Y" << OptionalText(" My Shot");
}

void ScreencapturePreferencesTest::prefixOfTemplate()
{
    QFETCH(QString, nameTemplate);
    QFETCH(OptionalText, expected);
    QCOMPARE(ScreencapturePreferences::prefixOfTemplate(nameTemplate), expected);
}

QTEST_GUILESS_MAIN(ScreencapturePreferencesTest)
#include "ScreencapturePreferencesTest.moc"
