// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class DraggableThumbnail;
class QAbstractButton;
class QBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class RenamePanelModel;

// The card of the rename panel: draws the model after every change and turns every gesture into
// a request signal; it never changes the model itself. Main thread.
class RenamePanelView final : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize cardSize{560, 88};

    explicit RenamePanelView(const RenamePanelModel &model, QWidget *parent = nullptr);

signals:
    void beginEditingRequested();
    void draftEdited(const QString &draft);
    void commitNameRequested();
    void cancelEditingRequested();
    void moveRequested(const QString &folder);
    void newFolderRequested();
    void chooseFolderRequested();
    void revealRequested();
    void undoRequested();
    void previewRequested();
    void dragStarted();
    void dragFinished();
    void dismissRequested();
    void previousRequested();
    void nextRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void buildThumbnail(QBoxLayout &row);
    void buildHeader(QBoxLayout &column);
    void buildPager(QBoxLayout &header);
    void buildNameButton(QBoxLayout &column);
    void buildEditRow(QBoxLayout &column);
    void buildLocationButton(QBoxLayout &column);
    void buildButtons(QBoxLayout &row);
    void buildCloseButton();
    void refresh();
    void refreshCountdown();
    void refreshEditing(bool editing);
    void fillLocationMenu();

    const RenamePanelModel &m_model;
    QWidget *m_content = nullptr;
    DraggableThumbnail *m_thumbnail = nullptr;
    QLabel *m_statusIcon = nullptr;
    QLabel *m_statusLabel = nullptr;
    QWidget *m_pager = nullptr;
    QToolButton *m_previousButton = nullptr;
    QLabel *m_pagerLabel = nullptr;
    QToolButton *m_nextButton = nullptr;
    QLabel *m_countdownLabel = nullptr;
    QAbstractButton *m_nameButton = nullptr;
    QWidget *m_editRow = nullptr;
    QLineEdit *m_nameEdit = nullptr;
    QLabel *m_extensionLabel = nullptr;
    QToolButton *m_locationButton = nullptr;
    QMenu *m_locationMenu = nullptr;
    QAbstractButton *m_revealButton = nullptr;
    QAbstractButton *m_undoButton = nullptr;
    QAbstractButton *m_saveButton = nullptr;
    QAbstractButton *m_cancelButton = nullptr;
    QAbstractButton *m_closeButton = nullptr;
    bool m_wasEditing = false;
};
