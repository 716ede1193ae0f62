// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SettingsWidgets.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>

namespace SettingsWidgets {

namespace {

QLabel *smallLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setFont(calloutFont(label->font()));
    return label;
}

} // namespace

QFont calloutFont(const QFont &base)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.9);
    return font;
}

QLabel *noteLabel(QWidget *parent)
{
    QLabel *label = smallLabel(parent);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QLabel *errorLabel(QWidget *parent)
{
    QLabel *label = smallLabel(parent);
    QPalette palette = label->palette();
    const bool isDark = palette.color(QPalette::Window).lightness() < 128;
    palette.setColor(QPalette::WindowText, isDark ? QColor(0xff, 0x7b, 0x72) : QColor(0xc0, 0x1c, 0x28));
    label->setPalette(palette);
    label->hide();
    return label;
}

} // namespace SettingsWidgets
