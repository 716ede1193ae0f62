#include "settings/PreferencesStore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray everyByte()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    return bytes + "\r\n)@ByteArray(\\";
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

} // namespace

class PreferencesStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void registeredDefaultsAreNotStored();
    void valuesSurviveRestart_data();
    void valuesSurviveRestart();
    void removedKeyReadsAsMissing();
    void handEditedValues_data();
    void handEditedValues();
    void unparsableFileIsSetAside_data();
    void unparsableFileIsSetAside();
    void writeIntoUnusableFolderFails();
    void readsWhatAnotherProcessSaved();
    void defaultPathIsInConfigHome();

private:
    QString path(const QString &name = u"quillo.conf"_s) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void PreferencesStoreTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void PreferencesStoreTest::registeredDefaultsAreNotStored()
{
    PreferencesStore store(path());
    store.registerDefaults({{u"isPaused"_s, true}});
    QVERIFY(store.boolValue(u"isPaused"_s));
    QVERIFY(!store.boolValue(u"neverRegistered"_s));
    QVERIFY(store.setBool(u"hasLaunchedBefore"_s, true));
    QVERIFY(!PreferencesStore(path()).boolValue(u"isPaused"_s));
}

void PreferencesStoreTest::valuesSurviveRestart_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addRow("Boolean false over a registered true") << QVariant(false);
    QTest::addRow("Boolean true") << QVariant(true);
    QTest::addRow("path with comma, quotes, non-ASCII") << QVariant(u"/home/zoë/Shots, \"new\"; a=b"_s);
    QTest::addRow("text with spaces at both ends") << QVariant(u"  padded  "_s);
    QTest::addRow("text that looks encoded") << QVariant(u"@ByteArray(x)"_s);
    QTest::addRow("empty text is still text") << QVariant(u""_s);
    QTest::addRow("data with NUL, newline, non-UTF-8") << QVariant(everyByte());
    QTest::addRow("empty data") << QVariant(QByteArray(""));
}

void PreferencesStoreTest::valuesSurviveRestart()
{
    QFETCH(QVariant, value);
    const QString key = u"someKey"_s;
    const auto read = [&](const PreferencesStore &store) -> QVariant {
        switch (value.typeId()) {
        case QMetaType::Bool:
            return store.boolValue(key);
        case QMetaType::QString:
            return store.stringValue(key).value_or(u"<nothing>"_s);
        default:
            return store.dataValue(key).value_or("<nothing>");
        }
    };
    {
        PreferencesStore store(path());
        store.registerDefaults({{key, true}});
        bool written = value.typeId() == QMetaType::Bool      ? store.setBool(key, value.toBool())
                       : value.typeId() == QMetaType::QString ? store.setString(key, value.toString())
                                                              : store.setData(key, value.toByteArray());
        QVERIFY(written);
        QCOMPARE(read(store), value);
    }
    // A copy under a new name is read from disk, not from anything this process remembers.
    QVERIFY(QFile::copy(path(), path(u"restarted.conf"_s)));
    PreferencesStore restarted(path(u"restarted.conf"_s));
    restarted.registerDefaults({{key, true}});
    QCOMPARE(read(restarted), value);
}

void PreferencesStoreTest::removedKeyReadsAsMissing()
{
    PreferencesStore store(path());
    store.registerDefaults({{u"isPaused"_s, true}});
    QVERIFY(store.setString(u"customFolderPath"_s, u"/tmp/shots"_s));
    QVERIFY(store.setBool(u"isPaused"_s, false));
    QVERIFY(store.remove(u"customFolderPath"_s));
    QVERIFY(store.remove(u"isPaused"_s));
    QCOMPARE(store.stringValue(u"customFolderPath"_s), std::nullopt);
    QVERIFY(store.boolValue(u"isPaused"_s));
}

void PreferencesStoreTest::handEditedValues_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("readAs");
    QTest::addColumn<QVariant>("expected"); // invalid: nothing
    QTest::addColumn<bool>("warns");
    QTest::addRow("Boolean as 1") << QByteArray("k=1") << "bool" << QVariant(true) << false;
    QTest::addRow("Boolean as 0 over a registered true")
        << QByteArray("k=0") << "bool" << QVariant(false) << false;
    QTest::addRow("text read as Boolean gives the default")
        << QByteArray("k=maybe") << "bool" << QVariant(true) << true;
    QTest::addRow("data read as Boolean gives the default")
        << QByteArray("k=@ByteArray(1)") << "bool" << QVariant(true) << true;
    QTest::addRow("data read as text") << QByteArray("k=@ByteArray(abc)") << "string" << QVariant() << true;
    QTest::addRow("unquoted comma list read as text")
        << QByteArray("k=a, b") << "string" << QVariant() << true;
    QTest::addRow("text read as data") << QByteArray("k=abc") << "data" << QVariant() << true;
    QTest::addRow("missing key read as data") << QByteArray("other=abc") << "data" << QVariant() << false;
}

void PreferencesStoreTest::handEditedValues()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, readAs);
    QFETCH(QVariant, expected);
    QFETCH(bool, warns);
    writeFile(path(), "[General]\n" + line + "\n");
    PreferencesStore store(path());
    store.registerDefaults({{u"k"_s, true}});
    if (warns)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Preference \"k\" does not hold"_s));
    QVariant actual;
    if (readAs == u"bool")
        actual = store.boolValue(u"k"_s);
    else if (const auto text = readAs == u"string" ? store.stringValue(u"k"_s) : std::nullopt)
        actual = *text;
    else if (const auto data = readAs == u"data" ? store.dataValue(u"k"_s) : std::nullopt)
        actual = *data;
    QCOMPARE(actual, expected);
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
}

void PreferencesStoreTest::unparsableFileIsSetAside()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, keptPaused);
    writeFile(path(), content);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(u"cannot be read; moved it to .*quillo.conf.unreadable"_s));
    PreferencesStore store(path());
    QFile aside(path(u"quillo.conf.unreadable"_s));
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), content);
    QCOMPARE(store.boolValue(u"isPaused"_s), keptPaused);
    QVERIFY(store.setString(u"customFolderPath"_s, u"/tmp"_s));
    QCOMPARE(PreferencesStore(path()).stringValue(u"customFolderPath"_s), u"/tmp"_s);
}

void PreferencesStoreTest::writeIntoUnusableFolderFails()
{
    // A regular file where the folder should be: no one, not even root, can create files below it.
    writeFile(path(u"quillo"_s), "not a folder");
    PreferencesStore store(path(u"quillo/quillo.conf"_s));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Could not save preference \"isPaused\""_s));
    QVERIFY(!store.setBool(u"isPaused"_s, true));
    QFile blocker(path(u"quillo"_s));
    QVERIFY(blocker.open(QIODevice::ReadOnly));
    QCOMPARE(blocker.readAll(), "not a folder");
}

void PreferencesStoreTest::readsWhatAnotherProcessSaved()
{
    writeFile(path(), "[General]\nisPaused=false\n");
    PreferencesStore store(path());
    QVERIFY(!store.boolValue(u"isPaused"_s));
    writeFile(path(), "[General]\nisPaused=true\ncustomFolderPath=/srv/shots\n");
    QVERIFY(store.boolValue(u"isPaused"_s));
    QCOMPARE(store.stringValue(u"customFolderPath"_s), u"/srv/shots"_s);
}

void PreferencesStoreTest::defaultPathIsInConfigHome()
{
    QCOMPARE(PreferencesStore::defaultPath(),
             qEnvironmentVariable("XDG_CONFIG_HOME") + u"/quillo/quillo.conf"_s);
}

QTEST_GUILESS_MAIN(PreferencesStoreTest)
#include "PreferencesStoreTest.moc"
