// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

// Quillo's own preview of a screenshot: the picture, or a PDF's first page, as large as fits on the
// screen, without a frame. Space, Escape or a click closes it. Decodes off the interface thread.
// Main thread.
class PreviewWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewWindow(QWidget *parent = nullptr);

    void open(const QString &filePath);

signals:
    void openChanged(bool open);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void showDecoded(const QImage &image, const QString &error);

    QImage m_image;
    QString m_message;
    int m_request = 0;
};
