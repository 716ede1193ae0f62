// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PanelStyle.h"

#include <QWidget>

bool PanelStyle::isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor PanelStyle::primary(const QPalette &palette, double opacity)
{
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(float(opacity));
    return color;
}

QColor PanelStyle::secondary(const QPalette &palette)
{
    return primary(palette, 0.6);
}

QColor PanelStyle::accent(const QPalette &palette)
{
    return palette.color(QPalette::Highlight);
}

QColor PanelStyle::success(const QPalette &palette)
{
    return isDark(palette) ? QColor(0x4c, 0xc2, 0x6b) : QColor(0x2a, 0x9d, 0x4a);
}

QColor PanelStyle::warning(const QPalette &palette)
{
    return isDark(palette) ? QColor(0xff, 0x9f, 0x0a) : QColor(0xe0, 0x7a, 0x00);
}

QPalette PanelStyle::activeColours(const QWidget *widget)
{
    QPalette colours = widget->palette();
    colours.setCurrentColorGroup(QPalette::Active);
    return colours;
}

QFont PanelStyle::font(QFont base, int pixels, QFont::Weight weight)
{
    base.setPixelSize(pixels);
    base.setWeight(weight);
    return base;
}
