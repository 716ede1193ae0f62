// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CapsuleButton.h"

#include "ui/PanelStyle.h"

#include <QPainter>

namespace {

constexpr int capsuleHeight = 28;
constexpr int iconSide = 13;
constexpr int iconGap = 5;

} // namespace

CapsuleButton::CapsuleButton(const QString &text, std::optional<PanelIcons::Symbol> symbol, bool prominent,
                             QWidget *parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_prominent(prominent)
{
    setText(text);
    setFocusPolicy(Qt::NoFocus);
    setFont(PanelStyle::font(font(), 12, prominent ? QFont::DemiBold : QFont::Medium));
    setFixedHeight(capsuleHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CapsuleButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown())
        painter.setOpacity(0.75);
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = capsule.height() / 2;
    painter.setPen(QPen(PanelStyle::primary(palette(), 0.1), 0.5));
    painter.setBrush(m_prominent ? PanelStyle::accent(palette()) : PanelStyle::primary(palette(), 0.07));
    painter.drawRoundedRect(capsule, radius, radius);

    const QColor textColor = m_prominent ? QColor(Qt::white) : palette().color(QPalette::WindowText);
    const int iconWidth = m_symbol ? iconSide + iconGap : 0;
    int x = (width() - iconWidth - fontMetrics().horizontalAdvance(text())) / 2;
    if (m_symbol) {
        PanelIcons::icon(*m_symbol, textColor)
            .paint(&painter, QRect(x, (capsuleHeight - iconSide) / 2, iconSide, iconSide));
        x += iconWidth;
    }
    painter.setPen(textColor);
    painter.drawText(QRect(x, 0, width() - x, capsuleHeight), Qt::AlignVCenter | Qt::AlignLeft, text());
}
