// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DrawnIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace {

class DrawnIconEngine final : public QIconEngine
{
public:
    DrawnIconEngine(DrawnIcon::Painter paint, const QColor &color, const QList<QSize> &sizes)
        : m_paint(std::move(paint))
        , m_color(color)
        , m_sizes(sizes)
    {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        QColor color = m_color;
        if (mode == QIcon::Disabled)
            color.setAlphaF(color.alphaF() * 0.4f);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        m_paint(*painter, QRectF(rect), color);
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return m_sizes; }
    QIconEngine *clone() const override { return new DrawnIconEngine(m_paint, m_color, m_sizes); }
    QString key() const override { return QStringLiteral("quillo-drawn"); }

private:
    DrawnIcon::Painter m_paint;
    QColor m_color;
    QList<QSize> m_sizes;
};

} // namespace

QIcon DrawnIcon::make(Painter paint, const QColor &color, const QList<QSize> &sizes)
{
    return QIcon(new DrawnIconEngine(std::move(paint), color, sizes));
}
