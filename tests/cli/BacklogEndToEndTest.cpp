// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/RenameRecord.h"
#include "settings/PreferencesStore.h"
#include "support/QuilloProcess.h"
#include "support/TestFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString corpus = QStringLiteral(QUILLO_TEST_DATA "/screenshots/");
const QString firstShot = u"Screenshot from 2026-12-05 10-00-01.png"_s;
const QString secondShot = u"Screenshot from 2026-12-05 10-00-02.png"_s;
// A category folder and a slug with the date suffix.
const QRegularExpression
    renamedPattern(u"^[A-Za-z &]+/[a-z0-9]+(-[a-z0-9]+){1,4}-\\d{4}-\\d{2}-\\d{2}(-\\d+)?\\.png$"_s);

QuilloProcess::Run quillo(const QStringList &arguments,
                          const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    return QuilloProcess::run(QStringLiteral(QUILLO_BINARY), arguments, environment);
}

QList<RenameRecord> storedHistory(const QString &configHome)
{
    const auto stored = PreferencesStore(configHome + u"/quillo/quillo.conf"_s).dataValue(u"renameHistory"_s);
    return RenameRecordJson::decode(stored.value_or(QByteArray())).records;
}

} // namespace

// `quillo rename`, `history` and `undo` as a user runs them, in this test's HOME on its own session
// bus, over real screenshots and files that are not screenshots.
class BacklogEndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void backlogIsRenamedRecordedUndoneAndNotRenamedTwice();
    void runningQuilloReceivesTheRenames();
    void nothingIsRenamedWhenTheHistoryCannotBeSaved();
    void namesThatAreNotUtf8AreReported();
    void screenshotsAreFoundByTheTextOnThem();

private:
    QMap<QString, QByteArray> checksums() const;

    std::unique_ptr<QTemporaryDir> m_shots;
    std::unique_ptr<QProcess> m_running;
};

void BacklogEndToEndTest::initTestCase()
{
    QVERIFY2(QDir::homePath().endsWith(u"/home/BacklogEndToEndTest"_s), "must run in its test HOME");
}

void BacklogEndToEndTest::init()
{
    QDir(QDir::home().filePath(u".config"_s)).removeRecursively();
    PreferencesStore(QDir::home().filePath(u".config/quillo/quillo.conf"_s))
        .setBool(u"useLocalModel"_s, false);
    m_shots = std::make_unique<QTemporaryDir>(QDir::home().filePath(u"Old shots XXXXXX"_s));
}

void BacklogEndToEndTest::cleanup()
{
    if (m_running) {
        m_running->terminate();
        m_running->waitForFinished(5000);
        m_running.reset();
    }
}

QMap<QString, QByteArray> BacklogEndToEndTest::checksums() const
{
    QMap<QString, QByteArray> sums;
    for (const QString &file : TestFiles::filesUnder(m_shots->path()))
        sums.insert(file, QCryptographicHash::hash(TestFiles::read(m_shots->filePath(file)),
                                                   QCryptographicHash::Md5));
    return sums;
}

void BacklogEndToEndTest::backlogIsRenamedRecordedUndoneAndNotRenamedTwice()
{
    QVERIFY(QFile::copy(corpus + u"c051.png"_s, m_shots->filePath(firstShot)));
    QVERIFY(QFile::copy(corpus + u"c036.png"_s, m_shots->filePath(secondShot)));
    QVERIFY(QFile::copy(corpus + u"c030.png"_s, m_shots->filePath(u"holiday.png"_s)));
    QVERIFY(TestFiles::write(m_shots->filePath(u"Screenshot from 2026-12-05 10-00-03.txt"_s)));
    QVERIFY(TestFiles::write(m_shots->filePath(u"inside/Screenshot from 2026-12-05 10-00-04.png"_s)));
    const QMap<QString, QByteArray> before = checksums();

    const auto dryRun = quillo({u"rename"_s, u"--dry-run"_s, u"--json"_s, m_shots->path()});
    QCOMPARE(dryRun.exitCode, 0);
    QCOMPARE(dryRun.objects.size(), 2);
    QCOMPARE(checksums(), before);

    const auto run = quillo({u"rename"_s, u"--json"_s, m_shots->path()});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.objects.size(), 2);
    const QStringList renamed = TestFiles::filesUnder(m_shots->path()).filter(renamedPattern);
    QCOMPARE(renamed.size(), 2);
    QCOMPARE(TestFiles::filesUnder(m_shots->path()).size(), 5);
    for (const QJsonObject &object : run.objects) {
        QCOMPARE(object.value(u"result"_s).toString(), u"renamed"_s);
        // What the dry run said is what happened.
        QVERIFY(std::any_of(dryRun.objects.begin(), dryRun.objects.end(), [&](const QJsonObject &planned) {
            return planned.value(u"renamedPath"_s) == object.value(u"renamedPath"_s);
        }));
    }

    const auto history = quillo({u"history"_s, u"--json"_s});
    QCOMPARE(history.objects.size(), 2);
    QStringList listed;
    for (const QJsonObject &object : history.objects)
        listed.append(object.value(u"oldName"_s).toString());
    listed.sort();
    QCOMPARE(listed, (QStringList{firstShot, secondShot}));

    const auto undo = quillo({u"undo"_s, u"--last"_s});
    QCOMPARE(undo.exitCode, 0);
    QVERIFY(QFile::exists(m_shots->filePath(history.objects.first().value(u"oldName"_s).toString())));
    QCOMPARE(storedHistory(QDir::home().filePath(u".config"_s)).size(), 1);

    // The file put back keeps Quillo's mark, so neither file is named again.
    const QMap<QString, QByteArray> settled = checksums();
    const QString stillRenamed = history.objects.last().value(u"renamedPath"_s).toString();
    const auto again = quillo({u"rename"_s, m_shots->path(), stillRenamed});
    QCOMPARE(again.exitCode, 0);
    QCOMPARE(again.output.count("already named by Quillo"), 2);
    QCOMPARE(checksums(), settled);
}

void BacklogEndToEndTest::runningQuilloReceivesTheRenames()
{
    QTemporaryDir watched(QDir::home().filePath(u"watched XXXXXX"_s));
    PreferencesStore(QDir::home().filePath(u".config/quillo/quillo.conf"_s))
        .setString(u"customFolderPath"_s, watched.path());
    m_running = QuilloProcess::start(QStringLiteral(QUILLO_BINARY), {u"--headless"_s}, "Watching ");
    QVERIFY(QFile::copy(corpus + u"c051.png"_s, m_shots->filePath(firstShot)));

    // With settings of its own, the command would keep a history of its own: only a hand-off puts
    // the record in the running Quillo's.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString otherConfig = QDir::home().filePath(u"other-config"_s);
    environment.insert(u"XDG_CONFIG_HOME"_s, otherConfig);
    const auto run = quillo({u"rename"_s, u"--json"_s, m_shots->path()}, environment);
    QCOMPARE(run.exitCode, 0);
    const QList<RenameRecord> records = storedHistory(QDir::home().filePath(u".config"_s));
    QCOMPARE(records.size(), 1);
    QCOMPARE(records.first().originalFilename, firstShot);
    QCOMPARE(records.first().renamedPath, run.objects.value(0).value(u"renamedPath"_s).toString());
    QVERIFY(storedHistory(otherConfig).isEmpty());
}

void BacklogEndToEndTest::nothingIsRenamedWhenTheHistoryCannotBeSaved()
{
    QVERIFY(QFile::copy(corpus + u"c051.png"_s, m_shots->filePath(firstShot)));
    const QMap<QString, QByteArray> before = checksums();
    // A file where the settings folder should be: nothing can be saved there, whoever runs the test.
    const QString folder = QDir::home().filePath(u".config/quillo"_s);
    QVERIFY(QDir(folder).removeRecursively() && TestFiles::write(folder));
    const auto run = quillo({u"rename"_s, u"--json"_s, m_shots->path()});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.objects.isEmpty());
    QCOMPARE(checksums(), before);
}

void BacklogEndToEndTest::namesThatAreNotUtf8AreReported()
{
    const QByteArray undecodable =
        QFile::encodeName(m_shots->filePath(firstShot)).replace(".png", "\xff.png");
    QVERIFY(QFile::copy(corpus + u"c051.png"_s, m_shots->filePath(firstShot)));
    QVERIFY(::rename(QFile::encodeName(m_shots->filePath(firstShot)).constData(), undecodable.constData()) ==
            0);
    const auto listed = quillo({u"rename"_s, u"--json"_s, m_shots->path()});
    // Given by name, through the shell, since such a name cannot pass through a QString.
    const auto given = QuilloProcess::run(
        u"/bin/sh"_s, {u"-c"_s, u"exec \"$1\" rename \"$2\"$(printf '\\377.png')"_s, u"sh"_s,
                       QStringLiteral(QUILLO_BINARY), m_shots->filePath(firstShot).chopped(4)});
    QCOMPARE(listed.exitCode, 1);
    QCOMPARE(listed.objects.size(), 1);
    QVERIFY(listed.objects.first().value(u"error"_s).toString().contains(u"not valid UTF-8"_s));
    QCOMPARE(given.exitCode, 1);
    QVERIFY2(given.errors.contains("\xef\xbf\xbd.png: its name is not valid UTF-8"),
             given.errors.constData());
    QCOMPARE(::access(undecodable.constData(), F_OK), 0);
}

void BacklogEndToEndTest::screenshotsAreFoundByTheTextOnThem()
{
    const QString indexPath = QDir::home().filePath(u".local/share/quillo/index.sqlite"_s);
    QFile::remove(indexPath);
    QVERIFY(QFile::copy(corpus + u"c001.png"_s, m_shots->filePath(u"billing.png"_s)));
    QVERIFY(QFile::copy(corpus + u"c030.png"_s, m_shots->filePath(firstShot)));
    const QMap<QString, QByteArray> before = checksums();

    // Indexing renames nothing, whether or not Quillo named the file.
    const auto indexed = quillo({u"index"_s, u"--json"_s, u"--jobs"_s, u"1"_s, m_shots->path()});
    QCOMPARE(indexed.exitCode, 0);
    QCOMPARE(indexed.objects.size(), 2);
    QCOMPARE(indexed.objects.first().value(u"result"_s).toString(), u"indexed"_s);
    QCOMPARE(checksums(), before);
    QCOMPARE(QFile::permissions(indexPath) & 0x0077, QFileDevice::Permissions());

    // Words on the invoice, not in its name, in any case and by their start.
    const auto found = quillo({u"search"_s, u"--json"_s, u"ACADEMY"_s, u"cree"_s});
    QCOMPARE(found.exitCode, 0);
    QCOMPARE(found.objects.size(), 1);
    QCOMPARE(found.objects.first().value(u"path"_s).toString(), m_shots->filePath(u"billing.png"_s));
    QVERIFY(found.objects.first().value(u"snippet"_s).toString().contains(u"Academy"_s));

    // Renamed afterwards: found where it is now.
    const auto renamed = quillo({u"rename"_s, u"--json"_s, m_shots->filePath(firstShot)});
    QCOMPARE(renamed.objects.size(), 1);
    const auto palettes = quillo({u"search"_s, u"--json"_s, u"palettes"_s});
    QCOMPARE(palettes.objects.size(), 1);
    QCOMPARE(palettes.objects.first().value(u"path"_s), renamed.objects.first().value(u"renamedPath"_s));

    QCOMPARE(quillo({u"search"_s, u"NEAR(academy"_s, u"AND"_s, u"\"-*:"_s}).exitCode, 0);
    QCOMPARE(quillo({u"search"_s, u"\"*"_s, u"-:"_s}).exitCode, 2);
}

QTEST_GUILESS_MAIN(BacklogEndToEndTest)
#include "BacklogEndToEndTest.moc"
