// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RenamePanelView.h"

#include "ui/ElidedLabel.h"
#include "ui/RenamePanelModel.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using State = RenamePanelItem::State;

namespace {

enum class Gesture
{
    SaveClicked,
    ReturnPressed,
    FieldLosesFocus,
    CancelClicked,
    EscapePressed
};

RenamePanelItem item(const QString &path, State state = State::Renamed, bool routed = false)
{
    RenameRecord record{QUuid::createUuid(), u"/home/u/Shots"_s, u"Screenshot.png"_s, path, {}, {}, {}};
    if (routed)
        record.routedFolderName = u"Web"_s;
    return {record.id, state == State::Restored ? std::nullopt : std::optional(record), path, state, {}};
}

} // namespace

// The card offscreen, driven through its model and touched the way a user would.
class RenamePanelViewTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void headerFollowsPrecedence_data();
    void headerFollowsPrecedence();
    void countdownText_data();
    void countdownText();
    void pagerOffersOnlyExistingPages_data();
    void pagerOffersOnlyExistingPages();
    void editingOffersSaveAndCancel_data();
    void editingOffersSaveAndCancel();
    void currentFolderIsCheckedAndNotAMove();

private:
    template <typename T> T *child(const char *name) const
    {
        return m_view->findChild<T *>(QString::fromLatin1(name));
    }
    void showItems(const QList<RenamePanelItem> &items, int index = 0);

    std::unique_ptr<RenamePanelModel> m_model;
    std::unique_ptr<RenamePanelView> m_view;
};

void RenamePanelViewTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_model = std::make_unique<RenamePanelModel>();
    m_view = std::make_unique<RenamePanelView>(*m_model);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void RenamePanelViewTest::showItems(const QList<RenamePanelItem> &items, int index)
{
    m_model->setItems(items);
    m_model->setIndex(index);
}

void RenamePanelViewTest::headerFollowsPrecedence_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<State>("state");
    QTest::addColumn<bool>("routed");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<bool>("menuOpen");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("title");
    QTest::addRow("renamed") << 1 << State::Renamed << false << false << false << QString() << u"Renamed"_s;
    QTest::addRow("renamed and moved")
        << 1 << State::Renamed << true << false << false << QString() << u"Renamed and moved"_s;
    QTest::addRow("two renamed, one moved")
        << 2 << State::Renamed << true << false << false << QString() << u"2 screenshots renamed"_s;
    QTest::addRow("updated") << 1 << State::Updated << false << false << false << QString() << u"Updated"_s;
    QTest::addRow("restored") << 1 << State::Restored << false << false << false << QString()
                              << u"Restored original name and location"_s;
    QTest::addRow("menu outranks the state")
        << 2 << State::Updated << false << false << true << QString() << u"Move to"_s;
    QTest::addRow("editing outranks the menu")
        << 1 << State::Renamed << false << true << true << QString() << u"Rename"_s;
    QTest::addRow("error outranks everything")
        << 1 << State::Restored << false << true << true << u"Disk full"_s << u"Disk full"_s;
}

void RenamePanelViewTest::headerFollowsPrecedence()
{
    QFETCH(int, count);
    QFETCH(State, state);
    QFETCH(bool, routed);
    QFETCH(bool, editing);
    QFETCH(bool, menuOpen);
    QFETCH(QString, error);
    QFETCH(QString, title);
    QList<RenamePanelItem> items;
    for (int i = 0; i < count; ++i)
        items.append(item(u"/home/u/Shots/shot-%1.png"_s.arg(i), state, routed && i == 0));
    showItems(items);
    m_model->setEditing(editing);
    m_model->setMenuOpen(menuOpen);
    m_model->setErrorMessage(error.isEmpty() ? std::nullopt : std::optional(error));
    QCOMPARE(child<QLabel>("statusLabel")->text(), title);
    // A restored file keeps only Show in Folder.
    const bool restored = state == State::Restored;
    QCOMPARE(child<QAbstractButton>("undoButton")->isVisible(), !restored && !editing);
    QCOMPARE(child<QAbstractButton>("revealButton")->isVisible(), !editing);
    QCOMPARE(child<QAbstractButton>("nameButton")->isEnabled(), !restored);
    QCOMPARE(child<QToolButton>("locationButton")->isEnabled(), !restored);
}

void RenamePanelViewTest::countdownText_data()
{
    QTest::addColumn<double>("remaining");
    QTest::addColumn<bool>("paused");
    QTest::addColumn<QString>("text");
    QTest::addRow("4.2 s left") << 4.2 << false << u"Closes in 5s"_s;
    QTest::addRow("0.2 s left") << 0.2 << false << u"Closes in 1s"_s;
    QTest::addRow("paused") << 3.0 << true << u"Paused"_s;
}

void RenamePanelViewTest::countdownText()
{
    QFETCH(double, remaining);
    QFETCH(bool, paused);
    QFETCH(QString, text);
    showItems({item(u"/home/u/Shots/a.png"_s)});
    m_model->setRemaining(remaining);
    m_model->setPaused(paused);
    QCOMPARE(child<QLabel>("countdownLabel")->text(), text);
}

void RenamePanelViewTest::pagerOffersOnlyExistingPages_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("previous");
    QTest::addColumn<bool>("next");
    QTest::addColumn<QString>("text"); // empty: no pager
    QTest::addRow("one item") << 1 << 0 << false << false << QString();
    QTest::addRow("first of three") << 3 << 0 << false << true << u"1 of 3"_s;
    QTest::addRow("middle of three") << 3 << 1 << true << true << u"2 of 3"_s;
    QTest::addRow("last of three") << 3 << 2 << true << false << u"3 of 3"_s;
    QTest::addRow("last of ten, the widest") << 10 << 9 << true << false << u"10 of 10"_s;
}

void RenamePanelViewTest::pagerOffersOnlyExistingPages()
{
    QFETCH(int, count);
    QFETCH(int, index);
    QFETCH(bool, previous);
    QFETCH(bool, next);
    QFETCH(QString, text);
    QList<RenamePanelItem> items;
    for (int i = 0; i < count; ++i)
        items.append(item(u"/home/u/Shots/shot-%1.png"_s.arg(i)));
    showItems(items, index);
    auto *label = child<QLabel>("pagerLabel");
    QCOMPARE(label->isVisible(), !text.isEmpty());
    if (text.isEmpty())
        return;
    QCOMPARE(label->text(), text);
    // The count stays whole beside the widest pager.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    auto *status = child<ElidedLabel>("statusLabel");
    QCOMPARE(status->shownText(status->contentsRect().width()).section(u' ', 0, 0), QString::number(count));
    QVERIFY(!status->shownText(status->contentsRect().width()).contains(u'\u2026'));
    QSignalSpy previousSpy(m_view.get(), &RenamePanelView::previousRequested);
    QSignalSpy nextSpy(m_view.get(), &RenamePanelView::nextRequested);
    QTest::mouseClick(child<QToolButton>("previousButton"), Qt::LeftButton);
    QTest::mouseClick(child<QToolButton>("nextButton"), Qt::LeftButton);
    QCOMPARE(previousSpy.count(), previous ? 1 : 0);
    QCOMPARE(nextSpy.count(), next ? 1 : 0);
}

void RenamePanelViewTest::editingOffersSaveAndCancel_data()
{
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<bool>("commits"); // else cancels
    QTest::addRow("Save") << Gesture::SaveClicked << true;
    QTest::addRow("Return") << Gesture::ReturnPressed << true;
    QTest::addRow("focus moves away") << Gesture::FieldLosesFocus << true;
    QTest::addRow("Cancel") << Gesture::CancelClicked << false;
    QTest::addRow("Escape") << Gesture::EscapePressed << false;
}

void RenamePanelViewTest::editingOffersSaveAndCancel()
{
    QFETCH(Gesture, gesture);
    QFETCH(bool, commits);
    showItems({item(u"/home/u/Shots/invoice.png"_s)});
    m_model->setDraft(u"invoice"_s);
    m_model->setEditing(true);
    auto *field = child<QLineEdit>("nameEdit");
    QVERIFY(field->isVisible());
    QCOMPARE(field->text(), u"invoice"_s);
    QVERIFY(!child<QAbstractButton>("nameButton")->isVisible());
    QTRY_VERIFY(field->hasFocus());

    QSignalSpy drafts(m_view.get(), &RenamePanelView::draftEdited);
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClicks(field, u"-2"_s);
    QCOMPARE(drafts.last().first().toString(), u"invoice-2"_s);
    QSignalSpy commit(m_view.get(), &RenamePanelView::commitNameRequested);
    QSignalSpy cancel(m_view.get(), &RenamePanelView::cancelEditingRequested);
    switch (gesture) {
    case Gesture::SaveClicked:
        QTest::mouseClick(child<QAbstractButton>("saveButton"), Qt::LeftButton);
        break;
    case Gesture::ReturnPressed:
        QTest::keyClick(field, Qt::Key_Return);
        break;
    case Gesture::FieldLosesFocus:
        field->clearFocus();
        break;
    case Gesture::CancelClicked:
        QTest::mouseClick(child<QAbstractButton>("cancelButton"), Qt::LeftButton);
        break;
    case Gesture::EscapePressed:
        QTest::keyClick(field, Qt::Key_Escape);
        break;
    }
    QCOMPARE(commit.count(), commits ? 1 : 0);
    QCOMPARE(cancel.count(), commits ? 0 : 1);
}

void RenamePanelViewTest::currentFolderIsCheckedAndNotAMove()
{
    QTemporaryDir temp;
    const QString root = temp.filePath(u"Shots"_s);
    const QString web = root + u"/Web"_s;
    m_model->setWatchedFolder(root);
    m_model->setFolderChoices(FolderChoice{root, u"Shots"_s},
                              {{web, u"Web"_s}, {root + u"/Code"_s, u"Code"_s}});
    showItems({item(web + u"/invoice.png"_s)});
    auto *menu = child<QMenu>("locationMenu");
    emit menu->aboutToShow();
    QStringList entries;
    QStringList checked;
    for (QAction *action : menu->actions()) {
        entries.append(action->text());
        if (action->isChecked())
            checked.append(action->text());
    }
    QCOMPARE(entries, (QStringList{u"Shots"_s, u"Subfolders"_s, u"Web"_s, u"Code"_s, QString(),
                                   u"New Folder\u2026"_s, u"Choose Another Folder\u2026"_s}));
    QCOMPARE(checked, QStringList{u"Web"_s});

    QSignalSpy moves(m_view.get(), &RenamePanelView::moveRequested);
    menu->actions().at(2)->trigger(); // Web, where the file is
    QCOMPARE(moves.count(), 0);
    menu->actions().at(0)->trigger();
    QCOMPARE(moves.count(), 1);
    QCOMPARE(moves.first().first().toString(), root);
}

QTEST_MAIN(RenamePanelViewTest)
#include "RenamePanelViewTest.moc"
