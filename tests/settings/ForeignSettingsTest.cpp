#include "settings/ForeignSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

} // namespace

class ForeignSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void missingFileOpensNothing();
    void stringValue_data();
    void stringValue();
    void neverWritesToTheFile();
    void seesChangesSavedMeanwhile();

private:
    QString path() const { return m_dir->filePath(u"toolrc"_s); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void ForeignSettingsTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void ForeignSettingsTest::missingFileOpensNothing()
{
    QVERIFY(!ForeignSettings::open(path()));
    QVERIFY(!ForeignSettings::open(m_dir->path()));
}

void ForeignSettingsTest::stringValue_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // null: nothing
    const QByteArray kde =
        "[General]\nlaunchAction=1\n\n[ImageSave]\nimageSaveLocation=file:///home/me/Bilder/My Shots\n"
        "imageFilenameTemplate=Bildschirmfoto_<yyyy>\n";
    QTest::addRow("key in a named group") << kde << "ImageSave"
                                          << "imageSaveLocation"
                                          << "file:///home/me/Bilder/My Shots";
    QTest::addRow("key in General") << kde << "General"
                                    << "launchAction"
                                    << "1";
    QTest::addRow("key asked in the wrong group") << kde << "General"
                                                  << "imageSaveLocation" << QString();
    QTest::addRow("missing key") << kde << "ImageSave"
                                 << "nothing" << QString();
    QTest::addRow("non-ASCII written raw")
        << u"[General]\nsavePath=/home/me/Изображения\n"_s.toUtf8() << "General"
        << "savePath" << u"/home/me/Изображения"_s;
    QTest::addRow("non-ASCII written escaped")
        << QByteArray("[General]\nsavePath=/home/me/Caf\\xe9\n") << "General"
        << "savePath" << u"/home/me/Café"_s;
    QTest::addRow("quoted comma") << QByteArray("[General]\nsavePath=\"/a,b\"\n") << "General"
                                  << "savePath"
                                  << "/a,b";
    QTest::addRow("unquoted comma joined back") << QByteArray("[General]\nsavePath=/a,b\n") << "General"
                                                << "savePath"
                                                << "/a,b";
    QTest::addRow("data is not text") << QByteArray("[General]\nk=@ByteArray(x)\n") << "General"
                                      << "k" << QString();
}

void ForeignSettingsTest::stringValue()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    writeFile(path(), content);
    const auto settings = ForeignSettings::open(path());
    QVERIFY(settings);
    const std::optional<QString> value = settings->stringValue(group, key);
    QCOMPARE(value.has_value(), !expected.isNull());
    QCOMPARE(value.value_or(QString()), expected);
}

void ForeignSettingsTest::neverWritesToTheFile()
{
    // Unusual spacing and a comment that any rewrite would normalise away.
    const QByteArray content = "; written by hand\n[ImageSave]\n  imageSaveLocation =  /srv/shots\n";
    writeFile(path(), content);
    const QDateTime modified = QFileInfo(path()).lastModified();
    {
        const auto settings = ForeignSettings::open(path());
        QVERIFY(settings);
        QCOMPARE(settings->stringValue(u"ImageSave"_s, u"imageSaveLocation"_s), u"/srv/shots"_s);
        QCOMPARE(settings->stringValue(u"ImageSave"_s, u"missing"_s), std::nullopt);
    }
    QFile file(path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
    QCOMPARE(QFileInfo(path()).lastModified(), modified);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"toolrc"_s});
}

void ForeignSettingsTest::seesChangesSavedMeanwhile()
{
    writeFile(path(), "[General]\nsavePath=/old\n");
    const auto settings = ForeignSettings::open(path());
    QVERIFY(settings);
    QCOMPARE(settings->stringValue(u"General"_s, u"savePath"_s), u"/old"_s);
    writeFile(path(), "[General]\nsavePath=/home/me/new place\n");
    QCOMPARE(settings->stringValue(u"General"_s, u"savePath"_s), u"/home/me/new place"_s);
}

QTEST_GUILESS_MAIN(ForeignSettingsTest)
#include "ForeignSettingsTest.moc"
