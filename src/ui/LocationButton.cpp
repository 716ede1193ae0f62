// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LocationButton.h"

#include "core/TextScanning.h"
#include "ui/PanelIcons.h"
#include "ui/PanelStyle.h"

#include <QPainter>

namespace {

using PanelIcons::Symbol;

constexpr int buttonHeight = 22;
constexpr int padding = 6;
constexpr int gap = 4;

} // namespace

LocationButton::LocationButton(QWidget *parent)
    : QToolButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setPopupMode(QToolButton::InstantPopup);
    setFixedHeight(buttonHeight);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    setFont(PanelStyle::font(font(), 12, QFont::Normal));
}

void LocationButton::setLocation(const FileLocation &location, bool highlighted)
{
    m_location = location;
    m_highlighted = highlighted;
    setText(TextScanning::escapedMnemonics(
        location.parent ? *location.parent + QStringLiteral(" \u203A ") + location.name : location.name));
    updateGeometry();
    update();
}

QSize LocationButton::sizeHint() const
{
    return {layOut(nullptr), buttonHeight};
}

void LocationButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_highlighted || underMouse()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(PanelStyle::primary(palette(), m_highlighted ? 0.08 : 0.05));
        painter.drawRoundedRect(QRectF(rect()), 6, 6);
    }
    layOut(&painter);
}

// Walks the pieces left to right, drawing them when given a painter; returns the width they take.
int LocationButton::layOut(QPainter *painter) const
{
    const QPalette colours = PanelStyle::activeColours(this);
    const QColor faint = PanelStyle::secondary(colours);
    int x = padding;
    const auto symbol = [&](Symbol which, int side) {
        if (painter)
            PanelIcons::icon(which, faint).paint(painter, QRect(x, (buttonHeight - side) / 2, side, side));
        x += side + gap;
    };
    const auto words = [&](const QString &piece, const QFont &pieceFont, const QColor &color) {
        const int width = QFontMetrics(pieceFont).horizontalAdvance(piece);
        if (painter) {
            painter->setFont(pieceFont);
            painter->setPen(color);
            painter->drawText(QRect(x, 0, width + 1, buttonHeight), Qt::AlignVCenter | Qt::AlignLeft, piece);
        }
        x += width + gap;
    };
    symbol(Symbol::Folder, 13);
    if (m_location.parent) {
        words(*m_location.parent, font(), faint);
        symbol(Symbol::ChevronRight, 8);
    }
    words(m_location.name, PanelStyle::font(font(), 12, QFont::Medium),
          isEnabled() ? colours.color(QPalette::WindowText) : faint);
    symbol(Symbol::ChevronUpDown, 10);
    return x - gap + padding;
}
