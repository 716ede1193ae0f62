// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ElidedLabel.h"

#include <QPainter>

ElidedLabel::ElidedLabel(Qt::TextElideMode mode, QWidget *parent)
    : QLabel(parent)
    , m_mode(mode)
{}

void ElidedLabel::setElideMode(Qt::TextElideMode mode)
{
    m_mode = mode;
    update();
}

QSize ElidedLabel::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}

void ElidedLabel::setShorterTexts(const QStringList &texts)
{
    m_shorter = texts;
    update();
}

QString ElidedLabel::shownText(int width) const
{
    const QFontMetrics metrics = fontMetrics();
    QString candidate = text();
    for (const QString &shorter : m_shorter) {
        if (metrics.horizontalAdvance(candidate) <= width)
            break;
        candidate = shorter;
    }
    return metrics.elidedText(candidate, m_mode, width);
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const QRect area = contentsRect();
    painter.drawText(area, Qt::AlignVCenter | Qt::AlignLeft, shownText(area.width()));
}
