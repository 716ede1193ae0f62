// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/PreferencesStore.h"

#include "support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Qt's extra bits for the user running the test, beside the file's mode bits.
constexpr auto userBits = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;

} // namespace

class PreferencesStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void registeredDefaultsAreNotStoredButFallenBackTo();
    void valuesSurviveRestart_data();
    void valuesSurviveRestart();
    void wrongTypes_data();
    void wrongTypes();
    void unparsableFileIsSetAside_data();
    void unparsableFileIsSetAside();
    void writeBelowARegularFileFails();
    void fileIsKeptReadableByItsOwnerOnly();
    void readsWhatAnotherProcessSaved();

private:
    QString path(const QString &name = u"quillo.conf"_s) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void PreferencesStoreTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_dir = std::make_unique<QTemporaryDir>();
}

void PreferencesStoreTest::registeredDefaultsAreNotStoredButFallenBackTo()
{
    PreferencesStore store(path());
    store.registerDefaults({{u"isPaused"_s, true}});
    QVERIFY(store.boolValue(u"isPaused"_s));
    QVERIFY(!store.boolValue(u"neverRegistered"_s));
    QVERIFY(store.setBool(u"hasLaunchedBefore"_s, true));
    QVERIFY(!PreferencesStore(path()).boolValue(u"isPaused"_s));
    QVERIFY(store.setBool(u"isPaused"_s, false));
    QVERIFY(store.remove(u"isPaused"_s));
    QVERIFY(store.boolValue(u"isPaused"_s)); // back to the default
}

void PreferencesStoreTest::valuesSurviveRestart_data()
{
    QByteArray everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.append(char(b));
    QTest::addColumn<QVariant>("value");
    QTest::addRow("Boolean false over a registered true") << QVariant(false);
    QTest::addRow("path with comma, quotes, non-ASCII") << QVariant(u"/home/zoë/a, \"b\"; c=d"_s);
    QTest::addRow("text with spaces at both ends") << QVariant(u"  padded  "_s);
    QTest::addRow("text that looks encoded") << QVariant(u"@ByteArray(x)"_s);
    QTest::addRow("data with NUL, newline, non-UTF-8") << QVariant(everyByte + "\r\n)@ByteArray(\\");
    QTest::addRow("empty data") << QVariant(QByteArray(""));
}

void PreferencesStoreTest::valuesSurviveRestart()
{
    QFETCH(QVariant, value);
    const QString key = u"someKey"_s;
    const auto readBack = [&](const QString &file) -> QVariant {
        PreferencesStore store(file);
        store.registerDefaults({{key, true}});
        if (value.typeId() == QMetaType::Bool)
            return store.boolValue(key);
        if (value.typeId() == QMetaType::QString)
            return store.stringValue(key).value_or(u"<nothing>"_s);
        return store.dataValue(key).value_or("<nothing>");
    };
    PreferencesStore store(path());
    QVERIFY(value.typeId() == QMetaType::Bool      ? store.setBool(key, value.toBool())
            : value.typeId() == QMetaType::QString ? store.setString(key, value.toString())
                                                   : store.setData(key, value.toByteArray()));
    QCOMPARE(readBack(path()), value);
    // A copy under a new name is read from disk, not from anything this process remembers.
    QVERIFY(QFile::copy(path(), path(u"restarted.conf"_s)));
    QCOMPARE(readBack(path(u"restarted.conf"_s)), value);
}

void PreferencesStoreTest::wrongTypes_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("readAs");
    QTest::addRow("text read as Boolean gives the default") << QByteArray("k=maybe") << u"bool"_s;
    QTest::addRow("data read as Boolean gives the default") << QByteArray("k=@ByteArray(0)") << u"bool"_s;
    QTest::addRow("data read as text") << QByteArray("k=@ByteArray(abc)") << u"string"_s;
    QTest::addRow("unquoted comma list read as text") << QByteArray("k=a, b") << u"string"_s;
    QTest::addRow("text read as data") << QByteArray("k=abc") << u"data"_s;
}

void PreferencesStoreTest::wrongTypes()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, readAs);
    QVERIFY(TestFiles::write(path(), "[General]\n" + line + "\n"));
    PreferencesStore store(path());
    store.registerDefaults({{u"k"_s, true}});
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Preference \"k\" does not hold"_s));
    if (readAs == u"bool")
        QVERIFY(store.boolValue(u"k"_s));
    else if (readAs == u"string")
        QCOMPARE(store.stringValue(u"k"_s), std::nullopt);
    else
        QCOMPARE(store.dataValue(u"k"_s), std::nullopt);
}

void PreferencesStoreTest::unparsableFileIsSetAside_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("keptPaused");
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919) % 251));
    QTest::addRow("binary garbage") << garbage << false;
    QTest::addRow("section without closing bracket")
        << QByteArray("[General]\nisPaused=true\n[Broken\nx=1\n") << true;
    QTest::addRow("line without equals sign") << QByteArray("[General]\nisPaused=true\njust words\n") << true;
    QByteArray junk("[General]\nisPaused=true\n[Broken\n");
    for (int i = 0; i < 3000; ++i)
        junk += "junk key " + QByteArray::number(i) + "=x\n";
    QTest::addRow("thousands of junk keys are not carried over") << junk << true;
}

void PreferencesStoreTest::unparsableFileIsSetAside()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, keptPaused);
    QVERIFY(TestFiles::write(path(), content));
    QVERIFY(QFile::setPermissions(path(), QFile::permissions(path()) | QFileDevice::ReadOther));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(u"cannot be read; moved it to .*quillo.conf.unreadable"_s));
    PreferencesStore store(path());
    QFile aside(path(u"quillo.conf.unreadable"_s));
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), content);
    QCOMPARE(store.boolValue(u"isPaused"_s), keptPaused);
    QVERIFY(store.setString(u"customFolderPath"_s, u"/tmp"_s));
    QCOMPARE(PreferencesStore(path()).stringValue(u"customFolderPath"_s), u"/tmp"_s);
    QVERIFY(QFileInfo(path()).size() < 200);
    // Both hold what may be an API key: neither is readable by other users.
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QCOMPARE(QFileInfo(path()).permissions() & ~userBits, ownerOnly);
    QCOMPARE(QFileInfo(aside.fileName()).permissions() & ~userBits, ownerOnly);
}

void PreferencesStoreTest::fileIsKeptReadableByItsOwnerOnly()
{
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QVERIFY(PreferencesStore(path()).setString(u"localModelApiKey"_s, u"sk-1"_s));
    QCOMPARE(QFileInfo(path()).permissions() & ~userBits, ownerOnly);
    // Made readable by something else, it is private again after the next write.
    QVERIFY(QFile::setPermissions(path(), ownerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QVERIFY(PreferencesStore(path()).setBool(u"isPaused"_s, true));
    QCOMPARE(QFileInfo(path()).permissions() & ~userBits, ownerOnly);
}

void PreferencesStoreTest::writeBelowARegularFileFails()
{
    // Not even root can create a folder where a regular file stands.
    QVERIFY(TestFiles::write(path(u"quillo"_s), "not a folder"));
    PreferencesStore store(path(u"quillo/quillo.conf"_s));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Could not save preference \"isPaused\""_s));
    QVERIFY(!store.setBool(u"isPaused"_s, true));
}

void PreferencesStoreTest::readsWhatAnotherProcessSaved()
{
    QVERIFY(TestFiles::write(path(), "[General]\nisPaused=false\n"));
    PreferencesStore store(path());
    QVERIFY(!store.boolValue(u"isPaused"_s));
    QVERIFY(TestFiles::write(path(), "[General]\nisPaused=1\ncustomFolderPath=/srv/shots\n"));
    QVERIFY(store.boolValue(u"isPaused"_s));
    QCOMPARE(store.stringValue(u"customFolderPath"_s), u"/srv/shots"_s);
}

QTEST_GUILESS_MAIN(PreferencesStoreTest)
#include "PreferencesStoreTest.moc"
