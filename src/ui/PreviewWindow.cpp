// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PreviewWindow.h"

#include "ui/OffThread.h"
#include "ui/Thumbnails.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

namespace {

constexpr QSize messageSize{420, 160};

QRect availableArea()
{
    const QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
}

} // namespace

PreviewWindow::PreviewWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("previewWindow"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewWindow::open(const QString &filePath)
{
    setWindowTitle(QFileInfo(filePath).fileName());
    const int request = ++m_request;
    runOffThread(
        this,
        [filePath] {
            return Thumbnails::decode(filePath);
        },
        [this, request](const DecodedImage &decoded) {
            // Only the newest request is shown.
            if (request == m_request)
                showDecoded(decoded.image, decoded.error);
        });
}

void PreviewWindow::showDecoded(const QImage &image, const QString &error)
{
    m_image = image;
    m_message = image.isNull() ? QCoreApplication::translate("PreviewWindow", "No preview: %1").arg(error)
                               : QString();
    const QRect area = availableArea();
    // Never larger than the picture itself, nor than the screen's usable area.
    const QSize fitted = image.isNull()
                             ? messageSize
                             : image.size().scaled(image.size().boundedTo(area.size()), Qt::KeepAspectRatio);
    QRect frame(QPoint(), fitted);
    frame.moveCenter(area.center());
    setGeometry(frame);
    show();
    activateWindow();
    update();
}

void PreviewWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PreviewWindow::mouseReleaseEvent(QMouseEvent *)
{
    close();
}

void PreviewWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (m_image.isNull()) {
        painter.drawText(rect().adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap, m_message);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QRect target(QPoint(), m_image.size().scaled(size(), Qt::KeepAspectRatio));
    target.moveCenter(rect().center());
    painter.drawImage(target, m_image);
}

void PreviewWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    emit openChanged(true);
}

void PreviewWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    emit openChanged(false);
}
