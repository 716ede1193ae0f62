// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RecentRenameRow.h"

#include "ui/DraggableThumbnail.h"
#include "ui/ElidedLabel.h"
#include "ui/PanelIcons.h"
#include "ui/PanelStyle.h"
#include "ui/Thumbnails.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int iconSide = 24;
constexpr int thumbnailSide = 34;
constexpr int dragIconSide = 32;
constexpr double hoverRadius = 5;

// Cut in the middle where it does not fit: a name's end (the date suffix) matters as much as its
// start.
ElidedLabel *elidedLabel(const QString &text, QWidget *parent)
{
    auto *label = new ElidedLabel(Qt::ElideMiddle, parent);
    label->setText(text);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

QToolButton *rowButton(const QString &name, const QString &label, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(label);
    button->setAccessibleName(label);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(iconSide, iconSide);
    return button;
}

} // namespace

RecentRenameRow::RecentRenameRow(const QString &filePath, const QString &title, const QString &detail,
                                 QWidget *parent)
    : FileDragButton(parent)
    , m_icon(new QLabel(this))
    , m_title(elidedLabel(title.isEmpty() ? QFileInfo(filePath).fileName() : title, this))
    , m_detail(elidedLabel(detail, this))
    , m_revealButton(rowButton(QStringLiteral("revealButton"),
                               QCoreApplication::translate("RecentRenameRow", "Show in Folder"), this))
    , m_undoButton(rowButton(QStringLiteral("undoButton"),
                             QCoreApplication::translate("RecentRenameRow", "Undo Rename"), this))
{
    setObjectName(QStringLiteral("recentRenameRow"));
    setFilePath(filePath);
    setFixedSize(rowSize);
    setToolTip(filePath);
    setAccessibleName(m_title->text() + QStringLiteral(", ") + detail);
    setAttribute(Qt::WA_Hover);
    m_icon->setPixmap(QPixmap::fromImage(Thumbnails::fileTypeIcon(filePath, iconSide)));
    m_icon->setFixedSize(iconSide, iconSide);
    m_icon->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_title->setFont(font());
    m_detail->setFont(PanelStyle::font(font(), 11, QFont::Normal));

    auto *text = new QVBoxLayout;
    text->setSpacing(1);
    text->addWidget(m_title);
    text->addWidget(m_detail);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(14, 0, 10, 0);
    row->setSpacing(8);
    row->addWidget(m_icon);
    row->addLayout(text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    buttons->addWidget(m_revealButton);
    buttons->addWidget(m_undoButton);
    row->addLayout(buttons);

    connect(this, &QAbstractButton::clicked, this, [this] {
        if (std::exchange(m_pressedOnThumbnail, false))
            emit previewRequested();
        else
            emit revealRequested();
    });
    connect(this, &FileDragButton::dragStarted, this, [this] {
        m_pressedOnThumbnail = false;
    });
    connect(m_revealButton, &QAbstractButton::clicked, this, &RecentRenameRow::revealRequested);
    connect(m_undoButton, &QAbstractButton::clicked, this, &RecentRenameRow::undoRequested);
    recolour();
}

void RecentRenameRow::setUndoShown(bool shown)
{
    m_undoButton->setVisible(shown);
}

void RecentRenameRow::setDetailElideMode(Qt::TextElideMode mode)
{
    m_detail->setElideMode(mode);
}

void RecentRenameRow::setThumbnail(const QImage &image)
{
    if (image.isNull())
        return;
    const qreal ratio = devicePixelRatio();
    QPixmap picture = DraggableThumbnail::dragPreview(image, QSize(thumbnailSide, thumbnailSide) * ratio);
    picture.setDevicePixelRatio(ratio);
    m_icon->setPixmap(picture);
    m_icon->setFixedSize(thumbnailSide, thumbnailSide);
    m_hasThumbnail = true;
}

void RecentRenameRow::mousePressEvent(QMouseEvent *event)
{
    m_pressedOnThumbnail = m_hasThumbnail && m_icon->geometry().contains(event->position().toPoint());
    FileDragButton::mousePressEvent(event);
}

bool RecentRenameRow::event(QEvent *event)
{
    const bool handled = FileDragButton::event(event);
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::PaletteChange:
        recolour();
        break;
    default:
        break;
    }
    return handled;
}

void RecentRenameRow::recolour()
{
    const bool hovered = underMouse() || hasFocus();
    const QPalette colours = palette();
    const QColor title =
        hovered ? colours.color(QPalette::HighlightedText) : colours.color(QPalette::WindowText);
    QColor detail = hovered ? title : PanelStyle::secondary(colours);
    if (hovered)
        detail.setAlphaF(0.8f);
    for (const auto &[label, colour] : {std::pair{m_title, title}, std::pair{m_detail, detail}}) {
        QPalette labelColours = label->palette();
        labelColours.setColor(QPalette::WindowText, colour);
        label->setPalette(labelColours);
    }
    const QColor symbols = hovered ? title : PanelStyle::secondary(colours);
    m_revealButton->setIcon(PanelIcons::icon(PanelIcons::Symbol::Reveal, symbols));
    m_undoButton->setIcon(PanelIcons::icon(PanelIcons::Symbol::Undo, symbols));
    update();
}

void RecentRenameRow::paintEvent(QPaintEvent *)
{
    if (!underMouse() && !hasFocus())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Highlight));
    painter.drawRoundedRect(QRectF(rect()).adjusted(5, 1, -5, -1), hoverRadius, hoverRadius);
}

FileDragButton::DragImage RecentRenameRow::dragImage(const QPointF &pressedAt) const
{
    Q_UNUSED(pressedAt);
    const qreal ratio = devicePixelRatio();
    QPixmap icon = QPixmap::fromImage(Thumbnails::fileTypeIcon(filePath(), int(dragIconSide * ratio)));
    icon.setDevicePixelRatio(ratio);
    // Centred on the pointer.
    return {icon, QPoint(dragIconSide / 2, dragIconSide / 2)};
}
