// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ForeignSettings.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class ForeignSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void stringValue_data();
    void stringValue();
    void readsChangesAndNeverWrites();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void ForeignSettingsTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(!ForeignSettings::open(m_dir->filePath(u"toolrc"_s)));
}

void ForeignSettingsTest::stringValue_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("key");      // group/key
    QTest::addColumn<QString>("expected"); // null: nothing
    const QByteArray kde = "[General]\nlaunch=1\n[ImageSave]\nimageSaveLocation=file:///home/me/My Shots\n";
    QTest::addRow("key in a named group")
        << kde << u"ImageSave/imageSaveLocation"_s << u"file:///home/me/My Shots"_s;
    QTest::addRow("key in General") << kde << u"General/launch"_s << u"1"_s;
    QTest::addRow("key asked in the wrong group") << kde << u"General/imageSaveLocation"_s << QString();
    QTest::addRow("non-ASCII written raw")
        << u"[General]\np=/Изображения\n"_s.toUtf8() << u"General/p"_s << u"/Изображения"_s;
    QTest::addRow("non-ASCII written escaped")
        << QByteArray("[General]\np=/Caf\\xe9\n") << u"General/p"_s << u"/Café"_s;
    QTest::addRow("unquoted comma joined back")
        << QByteArray("[General]\np=/a,b\n") << u"General/p"_s << u"/a,b"_s;
    QTest::addRow("data is not text")
        << QByteArray("[General]\np=@ByteArray(x)\n") << u"General/p"_s << QString();
}

void ForeignSettingsTest::stringValue()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QVERIFY(TestFiles::write(m_dir->filePath(u"toolrc"_s), content));
    const auto settings = ForeignSettings::open(m_dir->filePath(u"toolrc"_s));
    QVERIFY(settings);
    const std::optional<QString> value = settings->stringValue(key.section(u'/', 0, 0), key.section(u'/', 1));
    QCOMPARE(value.has_value(), !expected.isNull());
    QCOMPARE(value.value_or(QString()), expected);
}

void ForeignSettingsTest::readsChangesAndNeverWrites()
{
    QVERIFY(TestFiles::write(m_dir->filePath(u"toolrc"_s), "[General]\nsavePath=/old\n"));
    const auto settings = ForeignSettings::open(m_dir->filePath(u"toolrc"_s));
    QCOMPARE(settings->stringValue(u"General"_s, u"savePath"_s), u"/old"_s);
    // Spacing and a comment that any rewrite by QSettings would normalise away.
    const QByteArray content = "; by hand\n[General]\n  savePath =  /new place\n";
    QVERIFY(TestFiles::write(m_dir->filePath(u"toolrc"_s), content));
    QCOMPARE(settings->stringValue(u"General"_s, u"savePath"_s), u"/new place"_s);
    QFile file(m_dir->filePath(u"toolrc"_s));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"toolrc"_s});
}

QTEST_GUILESS_MAIN(ForeignSettingsTest)
#include "ForeignSettingsTest.moc"
