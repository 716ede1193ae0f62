// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RenamePanelController.h"

#include "intake/LinuxFileSystem.h"
#include "renaming/RenameCoordinator.h"
#include "settings/FolderAccess.h"
#include "support/FakeFileManager.h"
#include "support/FakeNamer.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"
#include "ui/PanelWindow.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTest>
#include <QThreadPool>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using State = RenamePanelItem::State;

namespace {

// A window that records what the controller asks of it; fades finish when the test says so.
class FakePanelWindow final : public PanelWindow
{
public:
    bool isOnScreen = false;
    std::function<void()> pendingFadeOut;
    bool takesFocus = false;
    bool previewOpen = false;
    std::optional<QString> dialogAnswer;
    std::function<void()> whileDialogOpen = [] {};
    int dialogs = 0;
    QStringList announcements;

    void present() override { isOnScreen = true; }
    void dismiss(std::function<void()> finished) override { pendingFadeOut = std::move(finished); }
    void takeOffScreen() override { isOnScreen = false; }
    bool isPointerOver() const override { return false; } // hovering comes through setHovered()
    void setTakesFocus(bool value) override { takesFocus = value; }
    bool isPreviewOpen() const override { return previewOpen; }
    void openPreview(const QString &) override { previewOpen = true; }
    void closePreview() override { previewOpen = false; }
    std::optional<QString> askNewFolderName(const QString &) override { return answer(); }
    std::optional<QString> chooseFolder(const QString &, const QString &) override { return answer(); }
    void announce(const QString &text) override { announcements.append(text); }
    CaptureContext::Panel onScreen() const override { return {QRect(520, 0, 560, 88), QSize(1600, 1000)}; }

private:
    std::optional<QString> answer()
    {
        ++dialogs;
        whileDialogOpen();
        return dialogAnswer;
    }
};

enum class Hold
{
    Hover,
    Editing,
    Menu,
    Preview,
    Dragging,
    Dialog
};

enum class BadInput
{
    RevealDeleted,
    RenameDeleted,
    UndoDeleted,
    FolderCannotBeCreated,
    NoFileManager
};

} // namespace

// The controller over a real coordinator and real files, with a clock and a window the test drives.
class RenamePanelControllerTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void countdownHoldsWhilePaused_data();
    void countdownHoldsWhilePaused();
    void fadeOutFinishesUnlessARenameCame_data();
    void fadeOutFinishesUnlessARenameCame();
    void eleventhRenameDropsTheOldest_data();
    void eleventhRenameDropsTheOldest();
    void editedNameIsCommitted_data();
    void editedNameIsCommitted();
    void undoRestores_data();
    void undoRestores();
    void dialogsMoveTheFile_data();
    void dialogsMoveTheFile();
    void menuOffersCategoryFoldersAndTheFilesOwn();
    void badInputShowsAnErrorAndKeepsTheItem_data();
    void badInputShowsAnErrorAndKeepsTheItem();
    void thumbnails_data();
    void thumbnails();

private:
    // A screenshot taken in `origin` (the watched folder by default) that Quillo has just renamed
    // into `folder` (the origin by default), shown.
    RenameRecord rename(const QString &name, const QString &folder = {}, const QString &origin = {});
    void advance(std::chrono::milliseconds by);
    QString root(const QString &relative = {}) const { return QDir(m_stores->root).filePath(relative); }
    double remaining() const { return m_controller->model().remaining(); }
    const RenamePanelItem &current() const { return *m_controller->model().current(); }

    std::unique_ptr<StoreFixture> m_stores;
    std::unique_ptr<FolderAccess> m_folderAccess;
    LinuxFileSystem m_fileSystem;
    std::unique_ptr<RenameCoordinator> m_coordinator;
    FakeFileManager m_fileManager;
    FakePanelWindow *m_window = nullptr;
    std::chrono::steady_clock::time_point m_now;
    std::unique_ptr<RenamePanelController> m_controller;
};

void RenamePanelControllerTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_stores = std::make_unique<StoreFixture>(u"panel"_s);
    m_folderAccess = std::make_unique<FolderAccess>(m_stores->preferences, false);
    m_coordinator = std::make_unique<RenameCoordinator>(
        m_stores->settings, m_stores->history,
        [] {
            return std::make_shared<FakeNamer>();
        },
        m_fileSystem, RenameCoordinator::Clock::system());
    m_coordinator->setWatchedFolder(m_stores->root);
    m_fileManager = FakeFileManager();
    m_controller = std::make_unique<RenamePanelController>(RenamePanelController::Services{
        *m_coordinator, m_stores->history, m_stores->settings, m_folderAccess.get(), m_fileManager,
        [this](RenamePanelController &) {
            auto window = std::make_unique<FakePanelWindow>();
            m_window = window.get();
            return window;
        },
        [this] {
            return m_now;
        }});
}

void RenamePanelControllerTest::cleanup()
{
    m_controller.reset();
    m_window = nullptr;
}

RenameRecord RenamePanelControllerTest::rename(const QString &name, const QString &folder,
                                               const QString &origin)
{
    const QString from = origin.isEmpty() ? m_stores->root : origin;
    const QString path = QDir(folder.isEmpty() ? from : folder).filePath(name);
    if (!QFileInfo(path).isSymLink() && !QFile::exists(path))
        TestFiles::write(path);
    const RenameRecord record{
        QUuid::createUuid(),     from, u"Screenshot "_s + name, path, QDateTime::currentDateTimeUtc(), {},
        NamingSource::Heuristics};
    m_stores->history.add(record);
    m_controller->show(record);
    return record;
}

void RenamePanelControllerTest::advance(std::chrono::milliseconds by)
{
    m_now += by;
    m_controller->tick();
}

void RenamePanelControllerTest::countdownHoldsWhilePaused_data()
{
    QTest::addColumn<Hold>("hold");
    QTest::addRow("pointer over the panel") << Hold::Hover;
    QTest::addRow("name being edited") << Hold::Editing;
    QTest::addRow("a menu open") << Hold::Menu;
    QTest::addRow("preview open") << Hold::Preview;
    QTest::addRow("file being dragged") << Hold::Dragging;
    QTest::addRow("dialog open") << Hold::Dialog;
}

void RenamePanelControllerTest::countdownHoldsWhilePaused()
{
    QFETCH(Hold, hold);
    rename(u"invoice.png"_s);
    advance(1s);
    QCOMPARE(remaining(), 4.0);
    auto &c = *m_controller;
    const auto whilePaused = [&] {
        QVERIFY(c.model().isPaused());
        advance(30s);
        m_now += 30s; // untracked time must not count either
        QCOMPARE(remaining(), 4.0);
    };
    switch (hold) {
    case Hold::Hover:
        c.setHovered(true);
        whilePaused();
        c.setHovered(false);
        break;
    case Hold::Editing:
        c.beginEditing();
        whilePaused();
        c.endEditing();
        break;
    case Hold::Menu:
        c.setMenuOpen(true);
        whilePaused();
        c.setMenuOpen(false);
        break;
    case Hold::Preview:
        c.preview(); // the window reports the preview open, and closed again
        c.setPreviewOpen(true);
        whilePaused();
        c.preview();
        QVERIFY(!m_window->previewOpen);
        c.setPreviewOpen(false);
        break;
    case Hold::Dragging:
        c.beginDragging();
        whilePaused();
        c.endDragging();
        break;
    case Hold::Dialog:
        m_window->whileDialogOpen = whilePaused;
        c.newFolder();
        QTRY_COMPARE(m_window->dialogs, 1);
        break;
    }
    QVERIFY(!c.model().isPaused());
    advance(1s);
    QCOMPARE(remaining(), 3.0);
}

void RenamePanelControllerTest::fadeOutFinishesUnlessARenameCame_data()
{
    QTest::addColumn<bool>("renameDuringFade");
    QTest::addRow("nothing came") << false;
    QTest::addRow("a rename during the fade") << true;
}

void RenamePanelControllerTest::fadeOutFinishesUnlessARenameCame()
{
    QFETCH(bool, renameDuringFade);
    QVERIFY(!m_controller->onScreen());
    rename(u"invoice.png"_s);
    QVERIFY(m_window->isOnScreen);
    QCOMPARE(m_controller->onScreen()->area, QRect(520, 0, 560, 88));
    QCOMPARE(m_window->announcements, QStringList{u"Screenshot renamed to invoice.png"_s});
    advance(4900ms);
    QVERIFY(!m_window->pendingFadeOut);
    advance(100ms);
    QVERIFY(m_window->pendingFadeOut);
    if (renameDuringFade)
        rename(u"receipt.png"_s);
    std::exchange(m_window->pendingFadeOut, nullptr)();
    QCOMPARE(m_window->isOnScreen, renameDuringFade);
    QCOMPARE(m_controller->isShowing(), renameDuringFade);
    QCOMPARE(m_controller->onScreen().has_value(), renameDuringFade);
    QCOMPARE(m_controller->model().items().size(), renameDuringFade ? 1 : 0);
    if (renameDuringFade)
        QCOMPARE(remaining(), RenamePanelModel::countdownSeconds);
}

void RenamePanelControllerTest::eleventhRenameDropsTheOldest_data()
{
    QTest::addColumn<bool>("editingFourth");
    QTest::addRow("newest in view") << false;
    QTest::addRow("fourth being edited") << true;
}

void RenamePanelControllerTest::eleventhRenameDropsTheOldest()
{
    QFETCH(bool, editingFourth);
    QList<RenameRecord> records;
    for (int i = 1; i <= 10; ++i)
        records.append(rename(u"shot-%1.png"_s.arg(i)));
    if (editingFourth) {
        m_controller->model().setIndex(3);
        m_controller->beginEditing();
    }
    advance(2s);
    records.append(rename(u"shot-11.png"_s));

    const auto &items = m_controller->model().items();
    QCOMPARE(items.size(), RenamePanelController::maximumItems);
    QCOMPARE(items.first().id, records[1].id);
    QCOMPARE(current().id, records[editingFourth ? 3 : 10].id);
    QCOMPARE(m_controller->model().isEditing(), editingFourth);
    // Every rename restarts the countdown; an edit still holds it.
    advance(1s);
    QCOMPARE(remaining(), editingFourth ? 5.0 : 4.0);
}

void RenamePanelControllerTest::editedNameIsCommitted_data()
{
    QTest::addColumn<QString>("draft");
    QTest::addColumn<bool>("byPaging"); // else by Return, Save or the panel losing focus
    QTest::addColumn<QString>("expected");
    QTest::addRow("new name") << u"Stripe Invoice: March!"_s << false << u"stripe-invoice-march.png"_s;
    QTest::addRow("new name, then paging") << u"stripe invoice"_s << true << u"stripe-invoice.png"_s;
    QTest::addRow("unchanged name") << u"invoice"_s << false << u"invoice.png"_s;
    QTest::addRow("empty name") << QString() << true << u"invoice.png"_s;
    QTest::addRow("only punctuation") << u"?!…"_s << false << u"invoice.png"_s;
    QTest::addRow("name taken in the folder") << u"receipt"_s << false << u"receipt-2.png"_s;
}

void RenamePanelControllerTest::editedNameIsCommitted()
{
    QFETCH(QString, draft);
    QFETCH(bool, byPaging);
    QFETCH(QString, expected);
    rename(u"receipt.png"_s);
    const RenameRecord record = rename(u"invoice.png"_s);
    m_controller->beginEditing();
    QCOMPARE(m_controller->model().draft(), u"invoice"_s);
    QVERIFY(m_window->takesFocus);
    m_controller->setDraft(draft);
    if (byPaging)
        m_controller->showPrevious();
    else
        m_controller->commitName();

    QVERIFY(!m_controller->model().isEditing());
    QVERIFY(!m_window->takesFocus);
    QCOMPARE(m_controller->model().errorMessage(), std::nullopt);
    QCOMPARE(m_controller->model().index(), byPaging ? 0 : 1);
    const RenamePanelItem &item = m_controller->model().items().at(1);
    QCOMPARE(item.path, root(expected));
    QCOMPARE(item.state, expected == u"invoice.png"_s ? State::Renamed : State::Updated);
    QCOMPARE(m_stores->history.record(record.id)->renamedPath, root(expected));
    QCOMPARE(TestFiles::filesUnder(m_stores->root).size(), 2);
}

void RenamePanelControllerTest::undoRestores_data()
{
    QTest::addColumn<bool>("fromElsewhere");
    QTest::addRow("from the panel") << false;
    QTest::addRow("from the tray") << true;
}

void RenamePanelControllerTest::undoRestores()
{
    QFETCH(bool, fromElsewhere);
    const RenameRecord record = rename(u"invoice.png"_s);
    m_controller->beginEditing();
    if (fromElsewhere)
        m_controller->renameWasUndone(record.id, *m_coordinator->undo(record).value);
    else
        m_controller->undo();
    QCOMPARE(current().state, State::Restored);
    QCOMPARE(current().record, std::nullopt);
    QCOMPARE(current().path, root(u"Screenshot invoice.png"_s));
    QVERIFY(QFile::exists(current().path));
    QVERIFY(!m_controller->model().isEditing());
    // A restored file can no longer be renamed from the panel.
    m_controller->beginEditing();
    QVERIFY(!m_controller->model().isEditing());
}

void RenamePanelControllerTest::dialogsMoveTheFile_data()
{
    QTest::addColumn<bool>("newFolder"); // else another folder is chosen
    QTest::addColumn<OptionalText>("answer");
    QTest::addColumn<QString>("expected"); // relative to the temporary folder
    QTest::addRow("new folder") << true << OptionalText(u" Taxes/2026 "_s)
                                << u"Screen shots ü/Taxes-2026/invoice.png"_s;
    QTest::addRow("new folder named ..") << true << OptionalText(u".."_s) << u"Screen shots ü/invoice.png"_s;
    QTest::addRow("new folder cancelled") << true << OptionalText() << u"Screen shots ü/invoice.png"_s;
    QTest::addRow("another folder") << false << OptionalText(u"Documents"_s) << u"Documents/invoice.png"_s;
}

void RenamePanelControllerTest::dialogsMoveTheFile()
{
    QFETCH(bool, newFolder);
    QFETCH(OptionalText, answer);
    QFETCH(QString, expected);
    rename(u"invoice.png"_s);
    if (answer && !newFolder) {
        answer = m_stores->temp.filePath(*answer);
        QVERIFY(QDir().mkpath(*answer));
    }
    m_window->dialogAnswer = answer;
    // A rename arriving while the dialog is open does not take the move.
    m_window->whileDialogOpen = [this] {
        rename(u"receipt.png"_s);
    };
    newFolder ? m_controller->newFolder() : m_controller->chooseFolder();
    QTRY_COMPARE(m_window->dialogs, 1);
    QCOMPARE(current().path, m_stores->temp.filePath(expected));
    QVERIFY(QFile::exists(current().path));
    QCOMPARE(m_controller->model().errorMessage(), std::nullopt);
    if (!newFolder)
        QCOMPARE(m_folderAccess->destinations().size(), 1);
}

void RenamePanelControllerTest::menuOffersCategoryFoldersAndTheFilesOwn()
{
    RoutingConfiguration routing = RoutingConfiguration::defaultConfiguration();
    routing.rules[0].folderName = u" . . "_s;    // receipts: cleans to nothing, so the default name
    routing.rules[4].isEnabled = false;          // web
    routing.rules[5].folderName = u"Misc/Old"_s; // other
    m_stores->settings.setRouting(routing);
    // Quillo watches several tools' folders; this screenshot was taken in another one, then moved.
    const QString pictures = m_stores->temp.filePath(u"Bilder ü"_s);
    rename(u"invoice.png"_s, m_stores->temp.filePath(u"Documents"_s), pictures);

    const auto &model = m_controller->model();
    QCOMPARE(model.rootChoice()->path, pictures);
    QCOMPARE(model.rootChoice()->title, u"Bilder ü"_s);
    QStringList titles;
    for (const FolderChoice &choice : model.subfolderChoices())
        titles.append(choice.title);
    QCOMPARE(titles, (QStringList{u"Receipts & Invoices"_s, u"Code & Terminal"_s, u"UI & Design"_s,
                                  u"Chats & Docs"_s, u"Misc-Old"_s, u"Documents"_s}));

    m_controller->move(model.subfolderChoices().first().path);
    QCOMPARE(current().path, pictures + u"/Receipts & Invoices/invoice.png"_s);
    QCOMPARE(current().state, State::Updated);
    QCOMPARE(model.subfolderChoices().size(), 5); // the file's old folder is no target now
}

void RenamePanelControllerTest::badInputShowsAnErrorAndKeepsTheItem_data()
{
    QTest::addColumn<BadInput>("input");
    QTest::addColumn<QString>("error");
    const QString gone = u"\u201Cinvoice.png\u201D is no longer where Quillo put it"_s;
    QTest::addRow("reveal of a deleted file") << BadInput::RevealDeleted << gone + u". It may"_s;
    QTest::addRow("rename of a deleted file") << BadInput::RenameDeleted << gone + u". It may"_s;
    QTest::addRow("undo of a deleted file") << BadInput::UndoDeleted << gone + u", so it cannot"_s;
    QTest::addRow("folder that cannot be created") << BadInput::FolderCannotBeCreated << QString();
    QTest::addRow("no file manager can show it") << BadInput::NoFileManager << u"No file manager"_s;
}

void RenamePanelControllerTest::badInputShowsAnErrorAndKeepsTheItem()
{
    QFETCH(BadInput, input);
    QFETCH(QString, error);
    const RenameRecord record = rename(u"invoice.png"_s);
    const bool fileStays = input == BadInput::FolderCannotBeCreated || input == BadInput::NoFileManager;
    if (!fileStays)
        QVERIFY(QFile::remove(record.renamedPath));
    switch (input) {
    case BadInput::NoFileManager:
        m_fileManager.problem = u"No file manager could open the folder."_s;
        [[fallthrough]];
    case BadInput::RevealDeleted:
        m_controller->reveal();
        break;
    case BadInput::RenameDeleted:
        m_controller->beginEditing();
        m_controller->setDraft(u"stripe"_s);
        m_controller->commitName();
        break;
    case BadInput::UndoDeleted:
        m_controller->undo();
        break;
    case BadInput::FolderCannotBeCreated:
        // A file stands where the folder would go.
        m_controller->move(root(u"invoice.png/inner"_s));
        break;
    }
    const auto message = m_controller->model().errorMessage();
    QVERIFY(message);
    QVERIFY2(message->startsWith(error) && !message->isEmpty(), qPrintable(*message));
    QVERIFY(m_controller->isShowing());
    QCOMPARE(current().path, record.renamedPath);
    QCOMPARE(m_fileManager.revealed.size(), input == BadInput::NoFileManager ? 1 : 0);
    QCOMPARE(TestFiles::filesUnder(m_stores->root),
             fileStays ? QStringList{u"invoice.png"_s} : QStringList{});
    // A rename or undo finding the file gone forgets it; the others leave the history alone.
    const bool forgotten = input == BadInput::RenameDeleted || input == BadInput::UndoDeleted;
    QCOMPARE(m_stores->history.record(record.id).has_value(), !forgotten);
    // The next page turn or action clears it.
    rename(u"receipt.png"_s);
    QCOMPARE(m_controller->model().errorMessage(), std::nullopt);
}

void RenamePanelControllerTest::thumbnails_data()
{
    QTest::addColumn<QByteArray>("contents"); // none: a link to nowhere
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QSize>("size");
    QImage wide(1200, 300, QImage::Format_RGB32);
    wide.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    wide.save(&buffer, "PNG");
    QTest::addRow("large picture is scaled down") << png << true << QSize(240, 60);
    QTest::addRow("file that is no picture gets its icon") << QByteArray("text") << true << QSize(64, 64);
    QTest::addRow("unreadable file gets nothing") << QByteArray() << false << QSize(0, 0);
}

void RenamePanelControllerTest::thumbnails()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, readable);
    QFETCH(QSize, size);
    const QString path = root(u"shot.png"_s);
    QVERIFY(readable ? TestFiles::write(path, contents) : QFile::link(root(u"gone.png"_s), path));
    rename(u"shot.png"_s);
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCOMPARE(current().thumbnail.size(), size);
}

QTEST_MAIN(RenamePanelControllerTest)
#include "RenamePanelControllerTest.moc"
