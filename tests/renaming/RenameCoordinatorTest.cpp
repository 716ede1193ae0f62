// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/RenameCoordinator.h"

#include "renaming/RenameHistoryStore.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"
#include "support/FakeFileSystem.h"
#include "support/FakeNamer.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <cerrno>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const QString screenshotName = u"Screenshot 2026-12-05 at 10.00.01.png"_s;

// System calls made to fail, each with its errno.
using Faults = QList<std::pair<LinuxFileSystem::Step, int>>;

NamingSuggestion suggestion(const char *slug, ScreenshotCategory category = ScreenshotCategory::Other)
{
    return {QString::fromLatin1(slug), category, NamingSource::Heuristics};
}

} // namespace

class RenameCoordinatorTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void secondReportWhileNamingIsSkipped();
    void fiftyScreenshotsAtOnceAreAllKept();
    void collisionsGetNumberedNames_data();
    void collisionsGetNumberedNames();
    void nameLostToAnotherWriterIsRetried();
    void routingPutsFilesInCategoryFolders_data();
    void routingPutsFilesInCategoryFolders();
    void relocateMovesBackOutAndRenames();
    void relocateToSamePlaceChangesNothing();
    void dateSuffixIsTheCreationDateInTheUsersZone();
    void dateSuffixIsTheDayTheScreenshotWasTaken_data();
    void dateSuffixIsTheDayTheScreenshotWasTaken();
    void fileChangedWhileNamed_data();
    void fileChangedWhileNamed();
    void undoRestoresOriginalName();
    void undoAfterOriginalFolderWasDeleted();
    void missingFileDropsTheRecord();
    void leftAsItIs_data();
    void leftAsItIs();
    void renameCountsWithoutExtendedAttributes();
    void failureLeavesFileInOnePlace_data();
    void failureLeavesFileInOnePlace();
    void nothingIsRenamedWhileTheHistoryCannotBeSaved();
    void requestedFileIsRenamedUnlessChangedOrNamed_data();
    void requestedFileIsRenamedUnlessChangedOrNamed();

private:
    QString createScreenshot(const QString &name = screenshotName, const QByteArray &contents = "png bytes");
    std::optional<RenameRecord> renameOne(const QString &path, const NamingSuggestion &answer);

    std::unique_ptr<StoreFixture> m_stores;
    std::shared_ptr<FakeNamer> m_namer;
    FakeFileSystem m_fileSystem;
    std::unique_ptr<RenameCoordinator> m_coordinator;
    QTimeZone m_userZone;
};

void RenameCoordinatorTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_stores = std::make_unique<StoreFixture>(u"coordinator"_s);
    QVERIFY(QFileInfo(m_stores->root).isDir());
    m_stores->settings.setAppendDateSuffix(false);
    m_stores->settings.setFolderRoutingEnabled(false);
    m_namer = std::make_shared<FakeNamer>();
    m_fileSystem = FakeFileSystem();
    const auto namer = [this] {
        return m_namer;
    };
    // A zone on the far side of the date line from UTC at this hour, so a suffix read in UTC or in
    // the machine's own zone gives another day.
    m_userZone = QTimeZone(QDateTime::currentDateTimeUtc().time().hour() < 11 ? "Pacific/Pago_Pago"
                                                                              : "Pacific/Kiritimati");
    m_coordinator =
        std::make_unique<RenameCoordinator>(m_stores->settings, m_stores->history, namer, m_fileSystem,
                                            RenameCoordinator::Clock{&QDateTime::currentDateTimeUtc, [this] {
                                                                         return m_userZone;
                                                                     }});
    m_coordinator->setWatchedFolder(m_stores->root);
}

void RenameCoordinatorTest::cleanup()
{
    m_coordinator.reset();
    m_stores.reset();
}

QString RenameCoordinatorTest::createScreenshot(const QString &name, const QByteArray &contents)
{
    const QString path = QDir(m_stores->root).filePath(name);
    return TestFiles::write(path, contents) ? path : QString();
}

std::optional<RenameRecord> RenameCoordinatorTest::renameOne(const QString &path,
                                                             const NamingSuggestion &answer)
{
    m_namer->immediateAnswer = NamingResult{.suggestion = answer};
    auto future = m_coordinator->handleNewFile(path, {});
    // Continuations are delivered through the event loop.
    if (!QTest::qWaitFor([&] {
            return future.isFinished();
        }))
        return std::nullopt;
    return future.result();
}

void RenameCoordinatorTest::secondReportWhileNamingIsSkipped()
{
    const QString path = createScreenshot();
    auto first = m_coordinator->handleNewFile(path, {});
    QCOMPARE(m_coordinator->activeCount(), 1);
    auto second = m_coordinator->handleNewFile(path, {});
    QVERIFY(second.isFinished());
    QCOMPARE(second.result(), std::nullopt);
    QCOMPARE(m_namer->pendingCount(), 1);

    m_namer->answerNext(suggestion("stripe-invoice-paid"));
    QTRY_VERIFY(first.isFinished());
    QVERIFY(first.result());
    QCOMPARE(TestFiles::filesUnder(m_stores->root), QStringList{u"stripe-invoice-paid.png"_s});
    QCOMPARE(m_coordinator->activeCount(), 0);
    QCOMPARE(m_stores->history.records().size(), 1);
}

void RenameCoordinatorTest::fiftyScreenshotsAtOnceAreAllKept()
{
    QSet<QByteArray> contents;
    QList<QFuture<std::optional<RenameRecord>>> futures;
    for (int i = 0; i < 50; ++i) {
        const QByteArray body = "screenshot number " + QByteArray::number(i);
        contents.insert(body);
        futures.append(m_coordinator->handleNewFile(
            createScreenshot(u"Screenshot_20261205_1000%1.png"_s.arg(i, 2, 10, QLatin1Char('0')), body), {}));
    }
    QCOMPARE(m_coordinator->activeCount(), 50);
    m_namer->answerAll(suggestion("stripe-invoice"));
    QTRY_COMPARE(m_coordinator->activeCount(), 0);

    const QStringList files = TestFiles::filesUnder(m_stores->root);
    QCOMPARE(files.size(), 50);
    QSet<QByteArray> found;
    for (const QString &name : files) {
        QVERIFY2(
            QRegularExpression(u"^stripe-invoice(-([2-9]|[1-4][0-9]|50))?\\.png$"_s).match(name).hasMatch(),
            qPrintable(name));
        found.insert(TestFiles::read(QDir(m_stores->root).filePath(name)));
    }
    QCOMPARE(found, contents);
    for (const auto &future : futures)
        QVERIFY(future.result());
}

void RenameCoordinatorTest::collisionsGetNumberedNames_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("reported");
    QTest::addColumn<QString>("expected");
    QTest::addRow("free name") << QStringList{} << screenshotName << u"stripe-invoice.png"_s;
    QTest::addRow("name taken") << QStringList{"stripe-invoice.png"} << screenshotName
                                << u"stripe-invoice-2.png"_s;
    QTest::addRow("upper-case extension is lowered")
        << QStringList{} << u"Screenshot 2026-12-05 at 10.00.01.PNG"_s << u"stripe-invoice.png"_s;
    QTest::addRow("another extension does not collide")
        << QStringList{"stripe-invoice.jpg"} << screenshotName << u"stripe-invoice.png"_s;
}

void RenameCoordinatorTest::collisionsGetNumberedNames()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, reported);
    QFETCH(QString, expected);
    for (const QString &name : existing)
        createScreenshot(name, "older file");
    const auto record = renameOne(createScreenshot(reported), suggestion("stripe-invoice"));
    QVERIFY(record);
    QCOMPARE(QFileInfo(record->renamedPath).fileName(), expected);
    QCOMPARE(TestFiles::filesUnder(m_stores->root).size(), existing.size() + 1);
}

void RenameCoordinatorTest::nameLostToAnotherWriterIsRetried()
{
    // Another program takes each chosen name just before Quillo's move, twice.
    int races = 2;
    m_fileSystem.setBeforeMove([&](const QString &target) {
        if (races-- > 0)
            QVERIFY(TestFiles::write(target, "the other program's file"));
    });
    const auto record = renameOne(createScreenshot(), suggestion("stripe-invoice"));
    QVERIFY(record);
    QCOMPARE(QFileInfo(record->renamedPath).fileName(), u"stripe-invoice-3.png"_s);
    QCOMPARE(TestFiles::filesUnder(m_stores->root).size(), 3);
}

void RenameCoordinatorTest::routingPutsFilesInCategoryFolders_data()
{
    QTest::addColumn<bool>("ruleEnabled");
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<std::optional<QString>>("routedFolderName");
    QTest::addRow("enabled rule") << true << u"Money/Bills"_s << u"Money-Bills/receipt-acme.png"_s
                                  << std::optional<QString>(u"Money-Bills"_s);
    QTest::addRow("disabled rule stays in the root")
        << false << u"Money"_s << u"receipt-acme.png"_s << std::optional<QString>();
    QTest::addRow("empty folder name uses the default")
        << true << u" ... "_s << u"Receipts & Invoices/receipt-acme.png"_s
        << std::optional<QString>(u"Receipts & Invoices"_s);
}

void RenameCoordinatorTest::routingPutsFilesInCategoryFolders()
{
    QFETCH(bool, ruleEnabled);
    QFETCH(QString, folderName);
    QFETCH(QString, expected);
    QFETCH(std::optional<QString>, routedFolderName);
    auto routing = RoutingConfiguration::defaultConfiguration();
    routing.rules[0].isEnabled = ruleEnabled;
    routing.rules[0].folderName = folderName;
    m_stores->settings.setRouting(routing);
    m_stores->settings.setFolderRoutingEnabled(true);

    const auto record =
        renameOne(createScreenshot(), suggestion("receipt-acme", ScreenshotCategory::Receipts));
    QVERIFY(record);
    QCOMPARE(TestFiles::filesUnder(m_stores->root), QStringList{expected});
    QCOMPARE(record->routedFolderName, routedFolderName);
    QCOMPARE(m_stores->history.records().first(), *record);
}

void RenameCoordinatorTest::relocateMovesBackOutAndRenames()
{
    m_stores->settings.setFolderRoutingEnabled(true);
    const auto record =
        renameOne(createScreenshot(), suggestion("receipt-acme", ScreenshotCategory::Receipts));
    QVERIFY(record);
    QVERIFY(record->routedFolderName);

    const auto moved = m_coordinator->relocate(*record, m_stores->root, u"acme-march"_s);
    QVERIFY(moved);
    QCOMPARE(TestFiles::filesUnder(m_stores->root), QStringList{u"acme-march.png"_s});
    QCOMPARE(moved.value->routedFolderName, std::nullopt);
    QCOMPARE(moved.value->originalFilename, screenshotName);
    QCOMPARE(m_stores->history.records(), QList<RenameRecord>{*moved.value});
}

void RenameCoordinatorTest::relocateToSamePlaceChangesNothing()
{
    const auto record = renameOne(createScreenshot(), suggestion("stripe-invoice"));
    QVERIFY(record);
    QSignalSpy historyChanges(&m_stores->history, &RenameHistoryStore::changed);
    for (const auto &baseName : {std::optional<QString>(), std::optional<QString>(u"stripe-invoice"_s)}) {
        const auto same = m_coordinator->relocate(*record, m_stores->root + u"/./"_s, baseName);
        QVERIFY(same);
        QCOMPARE(*same.value, *record);
    }
    QCOMPARE(historyChanges.count(), 0);
}

void RenameCoordinatorTest::dateSuffixIsTheCreationDateInTheUsersZone()
{
    m_stores->settings.setAppendDateSuffix(true);
    const QString path = createScreenshot(u"Screenshot 7.png"_s); // no date in the name
    const auto born = QFileInfo(path).birthTime();
    const auto record = renameOne(path, suggestion("stripe-invoice"));
    QVERIFY(record);
    const QDateTime taken = born.isValid() ? born : QDateTime::currentDateTimeUtc();
    const QDate expectedDate = taken.toTimeZone(m_userZone).date();
    QVERIFY(expectedDate != taken.toUTC().date());
    QCOMPARE(QFileInfo(record->renamedPath).fileName(),
             u"stripe-invoice-%1.png"_s.arg(expectedDate.toString(Qt::ISODate)));
}

void RenameCoordinatorTest::dateSuffixIsTheDayTheScreenshotWasTaken_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QDateTime>("modified"); // invalid: just written
    QTest::addColumn<QString>("expected");
    const QDateTime march(QDate(2025, 3, 14), QTime(12, 0), Qt::UTC);
    QTest::addRow("the date its tool wrote into the name")
        << u"Screenshot from 2025-03-14 10-00-01.png"_s << march.addDays(30) << u"2025-03-14"_s;
    QTest::addRow("a date run together")
        << u"Screenshot_20250314_100001.png"_s << QDateTime() << u"2025-03-14"_s;
    QTest::addRow("no date in the name: its last change, when older")
        << u"Screenshot 7.png"_s << march << u"2025-03-14"_s;
    QTest::addRow("not a date: a month 13") << u"Screenshot 2025-13-14.png"_s << march << u"2025-03-14"_s;
}

void RenameCoordinatorTest::dateSuffixIsTheDayTheScreenshotWasTaken()
{
    QFETCH(QString, name);
    QFETCH(QDateTime, modified);
    QFETCH(QString, expected);
    m_stores->settings.setAppendDateSuffix(true);
    const QString path = createScreenshot(name);
    // Midday in the user's zone, whichever side of the date line it is.
    modified = modified.isValid() ? QDateTime(modified.date(), modified.time(), m_userZone) : modified;
    if (modified.isValid()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(modified, QFileDevice::FileModificationTime));
    }
    const auto record = renameOne(path, suggestion("stripe-invoice"));
    QVERIFY(record);
    QCOMPARE(QFileInfo(record->renamedPath).fileName(), u"stripe-invoice-%1.png"_s.arg(expected));
}

void RenameCoordinatorTest::fileChangedWhileNamed_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("expected"); // the files afterwards
    QTest::addRow("unchanged") << u"none"_s << QStringList{u"first-look.png"_s};
    QTest::addRow("deleted") << u"delete"_s << QStringList{};
    QTest::addRow("replaced under its name") << u"replace"_s << QStringList{u"second-look.png"_s};
    QTest::addRow("written again in place") << u"rewrite"_s << QStringList{u"second-look.png"_s};
}

void RenameCoordinatorTest::fileChangedWhileNamed()
{
    QFETCH(QString, change);
    QFETCH(QStringList, expected);
    const QString path = createScreenshot();
    auto future = m_coordinator->handleNewFile(path, {});
    if (change == u"delete")
        QVERIFY(QFile::remove(path));
    if (change == u"replace") {
        const QByteArray replacement = QFile::encodeName(m_stores->temp.filePath(u"new.png"_s));
        QVERIFY(TestFiles::write(QFile::decodeName(replacement), "another capture"));
        QVERIFY(std::rename(replacement.constData(), QFile::encodeName(path).constData()) == 0);
    }
    if (change == u"rewrite")
        QVERIFY(TestFiles::write(path, "another capture"));
    m_namer->answerNext(suggestion("first-look"));
    if (change == u"replace" || change == u"rewrite") {
        QTRY_COMPARE(m_namer->pendingCount(), 1); // named again, for what it holds now
        m_namer->answerNext(suggestion("second-look"));
    }
    QTRY_VERIFY(future.isFinished());
    QCOMPARE(future.result().has_value(), !expected.isEmpty());
    QCOMPARE(TestFiles::filesUnder(m_stores->root), expected);
    QCOMPARE(m_stores->history.records().size(), expected.size());
    QCOMPARE(m_coordinator->activeCount(), 0);
    if (!expected.isEmpty())
        QCOMPARE(TestFiles::read(QDir(m_stores->root).filePath(expected.first())),
                 QByteArray(change == u"none" ? "png bytes" : "another capture"));
    // Once the file has gone from it, the name is free for the next capture.
    QVERIFY(renameOne(createScreenshot(), suggestion("later-capture")));
}

void RenameCoordinatorTest::undoRestoresOriginalName()
{
    const auto record = renameOne(createScreenshot(), suggestion("stripe-invoice"));
    QVERIFY(record);
    createScreenshot(screenshotName, "a new capture under the old name");
    const auto restored = m_coordinator->undo(*record);
    QVERIFY(restored);
    QCOMPARE(QFileInfo(*restored.value).fileName(), u"Screenshot 2026-12-05 at 10.00.01-2.png"_s);
    QVERIFY(m_stores->history.records().isEmpty());
    // The restored file is not taken for a new screenshot.
    QVERIFY(m_coordinator->processedPaths().contains(*restored.value));
}

void RenameCoordinatorTest::undoAfterOriginalFolderWasDeleted()
{
    const auto record = renameOne(createScreenshot(), suggestion("stripe-invoice"));
    QVERIFY(record);
    const QString elsewhere = m_stores->temp.filePath(u"elsewhere"_s);
    const auto moved = m_coordinator->relocate(*record, elsewhere, std::nullopt);
    QVERIFY(moved);
    QVERIFY(QDir(m_stores->root).removeRecursively());

    const auto restored = m_coordinator->undo(*moved.value);
    QVERIFY(restored);
    QCOMPARE(*restored.value, QDir(m_stores->root).filePath(screenshotName));
    QVERIFY(QFile::exists(*restored.value));
}

void RenameCoordinatorTest::missingFileDropsTheRecord()
{
    const auto undone = renameOne(createScreenshot(), suggestion("stripe-invoice"));
    const auto relocated = renameOne(createScreenshot(u"Screenshot 2.png"_s), suggestion("acme-invoice"));
    QVERIFY(undone && relocated);
    QVERIFY(QFile::remove(undone->renamedPath) && QFile::remove(relocated->renamedPath));
    QCOMPARE(m_coordinator->undo(*undone).error.description,
             u"“stripe-invoice.png” is no longer where Quillo put it, so it cannot be restored. "
             "It may have been moved, renamed or deleted."_s);
    QCOMPARE(m_coordinator->relocate(*relocated, m_stores->root, u"x"_s).error.description,
             u"“acme-invoice.png” is no longer where Quillo put it. "
             "It may have been moved, renamed or deleted."_s);
    QVERIFY(m_stores->history.records().isEmpty());
}

void RenameCoordinatorTest::leftAsItIs_data()
{
    QTest::addColumn<QString>("situation");
    for (const char *situation : {"paused", "no folder watched", "symbolic link to a capture elsewhere"})
        QTest::addRow("%s", situation) << QString::fromLatin1(situation);
}

void RenameCoordinatorTest::leftAsItIs()
{
    QFETCH(QString, situation);
    const QString outside = m_stores->temp.filePath(u"outside/Screenshot 1.png"_s);
    QVERIFY(TestFiles::write(outside));
    const QString path = QDir(m_stores->root).filePath(screenshotName);
    if (situation.startsWith(u"symbolic link"))
        QVERIFY(QFile::link(outside, path));
    else
        QVERIFY(TestFiles::write(path));
    m_stores->settings.setPaused(situation == u"paused");
    if (situation == u"no folder watched")
        m_coordinator->setWatchedFolder(std::nullopt);
    QCOMPARE(renameOne(path, suggestion("stripe-invoice")), std::nullopt);
    QVERIFY(m_namer->requests().isEmpty());
    QCOMPARE(TestFiles::filesUnder(m_stores->root), QStringList{screenshotName});
    QCOMPARE(m_fileSystem.extendedAttribute(outside, ScreenshotDetector::handledAttributeName), std::nullopt);
}

void RenameCoordinatorTest::renameCountsWithoutExtendedAttributes()
{
    m_fileSystem.setExtendedAttributesSupported(false);
    QTest::ignoreMessage(QtWarningMsg, "Could not mark stripe-invoice.png as handled");
    const auto record = renameOne(createScreenshot(), suggestion("stripe-invoice"));
    QVERIFY(record);
    QCOMPARE(m_stores->history.records().size(), 1);
    // The history still keeps the renamed file from being taken up again.
    QVERIFY(m_coordinator->processedPaths().contains(record->renamedPath));
}

void RenameCoordinatorTest::failureLeavesFileInOnePlace_data()
{
    using Step = LinuxFileSystem::Step;
    QTest::addColumn<Faults>("faults");
    QTest::addColumn<bool>("duringUndo");
    QTest::addColumn<bool>("renamed"); // where the file ends: renamed, or where it was before
    QTest::addRow("disk full copying to another drive")
        << Faults{{Step::Rename, EXDEV}, {Step::CopyWrite, ENOSPC}} << false << false;
    QTest::addRow("copied to another drive") << Faults{{Step::Rename, EXDEV}} << false << true;
    QTest::addRow("category folder not permitted") << Faults{{Step::CreateFolder, EACCES}} << false << false;
    QTest::addRow("read-only drive") << Faults{{Step::Rename, EROFS}} << false << false;
    QTest::addRow("name refused after the copy")
        << Faults{{Step::Rename, EXDEV}, {Step::LinkCopy, EACCES}} << false << false;
    QTest::addRow("original not removable after the copy")
        << Faults{{Step::Rename, EXDEV}, {Step::RemoveSource, EROFS}} << false << false;
    QTest::addRow("marker not writable, disk full") << Faults{{Step::SetAttribute, ENOSPC}} << false << true;
    QTest::addRow("undo on a read-only drive") << Faults{{Step::Rename, EROFS}} << true << true;
    QTest::addRow("undo across drives, disk full")
        << Faults{{Step::Rename, EXDEV}, {Step::CopyWrite, ENOSPC}} << true << true;
}

void RenameCoordinatorTest::failureLeavesFileInOnePlace()
{
    QFETCH(Faults, faults);
    QFETCH(bool, duringUndo);
    QFETCH(bool, renamed);
    m_stores->settings.setFolderRoutingEnabled(true);
    const auto inject = [&] {
        for (const auto &[step, error] : faults)
            m_fileSystem.setFault(step, error);
    };
    if (!duringUndo)
        inject();
    if (!duringUndo && !renamed)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Could not rename Screenshot .*: .+"_s));
    if (faults.first().first == LinuxFileSystem::Step::SetAttribute)
        QTest::ignoreMessage(QtWarningMsg, "Could not mark stripe-invoice.png as handled");
    const auto record = renameOne(createScreenshot(), suggestion("stripe-invoice"));
    if (duringUndo) {
        QVERIFY(record);
        inject();
        const auto undone = m_coordinator->undo(*record);
        QVERIFY(!undone && !undone.error.description.isEmpty());
    }
    const QString expected = renamed ? u"Other/stripe-invoice.png"_s : screenshotName;
    QCOMPARE(TestFiles::filesUnder(m_stores->root), QStringList{expected}); // nothing half-copied is left
    QCOMPARE(TestFiles::read(QDir(m_stores->root).filePath(expected)), QByteArray("png bytes"));
    QCOMPARE(m_stores->history.records().size(), renamed ? 1 : 0);
    if (renamed)
        QCOMPARE(m_stores->history.records().first().renamedPath, QDir(m_stores->root).filePath(expected));
    QCOMPARE(m_coordinator->activeCount(), 0);
}

void RenameCoordinatorTest::nothingIsRenamedWhileTheHistoryCannotBeSaved()
{
    QSignalSpy problems(m_coordinator.get(), &RenameCoordinator::recordingProblemChanged);
    // A directory where the settings file should be: unwritable for root too.
    const QString conf = m_stores->temp.filePath(u"quillo.conf"_s);
    QFile::remove(conf);
    QVERIFY(QDir().mkdir(conf));
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(
            u"^Could not rename Screenshot .*: the rename history cannot be saved .*quillo.conf"_s));
    QVERIFY(!renameOne(createScreenshot(), suggestion("stripe-invoice")));
    QCOMPARE(TestFiles::filesUnder(m_stores->root), QStringList{screenshotName});
    QCOMPARE(problems.size(), 1);
    QVERIFY(problems.first().first().value<std::optional<QString>>().has_value());

    // Once it can be saved, the next screenshot is renamed and the problem is over.
    QVERIFY(QDir().rmdir(conf));
    QVERIFY(renameOne(createScreenshot(u"Screenshot 2026-12-05 at 10.00.02.png"_s),
                      suggestion("stripe-invoice")));
    QCOMPARE(problems.size(), 2);
    QVERIFY(!problems.last().first().value<std::optional<QString>>().has_value());
    QCOMPARE(m_stores->history.records().size(), 1);
}

void RenameCoordinatorTest::requestedFileIsRenamedUnlessChangedOrNamed_data()
{
    QTest::addColumn<std::function<void(const QString &)>>("meanwhile");
    QTest::addColumn<std::optional<UndoError::Kind>>("error");

    QTest::newRow("unchanged") << std::function<void(const QString &)>([](const QString &) {})
                               << std::optional<UndoError::Kind>();
    QTest::newRow("written again") << std::function<void(const QString &)>([](const QString &path) {
        QVERIFY(TestFiles::write(path, "other bytes, longer"));
    }) << std::optional(UndoError::Kind::FileSystem);
    QTest::newRow("named by a running Quillo")
        << std::function<void(const QString &path)>([this](const QString &path) {
               QVERIFY(ScreenshotDetector::markHandled(m_fileSystem, path));
           })
        << std::optional(UndoError::Kind::AlreadyNamed);
    QTest::newRow("named by another process")
        << std::function<void(const QString &)>([this](const QString &path) {
               const QString renamed = QDir(m_stores->root).filePath(u"named-elsewhere.png"_s);
               QVERIFY(QFile::rename(path, renamed));
               // Another process's history, saved to the same file.
               RenameHistoryStore(m_stores->preferences)
                   .add({QUuid::createUuid(), m_stores->root, screenshotName, renamed,
                         QDateTime::currentDateTimeUtc(), std::nullopt, NamingSource::Heuristics});
           })
        << std::optional(UndoError::Kind::AlreadyNamed);
    QTest::newRow("deleted") << std::function<void(const QString &)>([](const QString &path) {
        QVERIFY(QFile::remove(path));
    }) << std::optional(UndoError::Kind::FileSystem);
}

void RenameCoordinatorTest::requestedFileIsRenamedUnlessChangedOrNamed()
{
    QFETCH(std::function<void(const QString &)>, meanwhile);
    QFETCH(std::optional<UndoError::Kind>, error);
    const QString path = createScreenshot();
    const auto candidate = ScreenshotDetector::candidate(m_fileSystem, path);
    // No age limit for files the user asks for, however old.
    ScreenshotCandidate old = *candidate;
    old.creationDate = QDateTime::currentDateTimeUtc().addYears(-1);
    QCOMPARE(m_coordinator->requestedFileVerdict(old), DetectionVerdict::Accept);

    const NamedFile file{path, candidate->identity, m_stores->root, suggestion("page-title")};
    const QString planned = m_coordinator->plannedPath(file, {});
    QCOMPARE(m_coordinator->plannedPath(file, {planned}),
             QDir(m_stores->root).filePath(u"page-title-2.png"_s));
    meanwhile(path);
    const qsizetype recorded = RenameHistoryStore(m_stores->preferences).records().size();
    const auto renamed = m_coordinator->renameNamed(file);
    QCOMPARE(renamed ? std::nullopt : std::optional(renamed.error.kind), error);
    QCOMPARE(m_stores->history.records().size(), recorded + (error ? 0 : 1));
    if (!error)
        QCOMPARE(renamed.value->renamedPath, planned);
}

QTEST_GUILESS_MAIN(RenameCoordinatorTest)
#include "RenameCoordinatorTest.moc"
