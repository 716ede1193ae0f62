// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/FileDragButton.h"

class ElidedLabel;
class QLabel;
class QToolButton;

// One recent rename, or one screenshot a search found, in Quillo's own tray popup: the file's icon
// (its thumbnail once drawn), its name over the detail line, and "Show in Folder" and "Undo Rename"
// buttons. Clicking the row reveals the file too, clicking the thumbnail previews it; pressing and
// moving 3 px drags the file out. Main thread.
class RecentRenameRow final : public FileDragButton
{
    Q_OBJECT

public:
    static constexpr QSize rowSize{340, 46};

    // `title` names the file; empty: its file name.
    RecentRenameRow(const QString &filePath, const QString &title, const QString &detail,
                    QWidget *parent = nullptr);

    // A row for a file that was not just renamed has nothing to undo.
    void setUndoShown(bool shown);
    // Where the detail line is cut when it does not fit; in the middle unless set.
    void setDetailElideMode(Qt::TextElideMode mode);
    void setThumbnail(const QImage &image);

signals:
    void revealRequested();
    void undoRequested();
    void previewRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;
    DragImage dragImage(const QPointF &pressedAt) const override;

private:
    void recolour();

    QLabel *m_icon;
    ElidedLabel *m_title;
    ElidedLabel *m_detail;
    QToolButton *m_revealButton;
    QToolButton *m_undoButton;
    bool m_hasThumbnail = false;
    bool m_pressedOnThumbnail = false;
};
