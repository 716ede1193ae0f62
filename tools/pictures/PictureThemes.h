// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/InterfaceLanguage.h"

#include <QApplication>
#include <QDir>
#include <QList>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include <cstdio>
#include <optional>

// For the programs that draw Quillo's windows into docs/images: the Fusion style, in its own light
// palette and in a dark one.
namespace PictureThemes {

struct Theme
{
    const char *name;
    QPalette palette;
};

inline QPalette darkPalette()
{
    const QColor text(230, 230, 230);
    const QColor disabled(128, 128, 128);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(42, 42, 46));
    palette.setColor(QPalette::Base, QColor(30, 30, 33));
    palette.setColor(QPalette::AlternateBase, QColor(42, 42, 46));
    palette.setColor(QPalette::Button, QColor(56, 56, 61));
    palette.setColor(QPalette::Highlight, QColor(53, 132, 228));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Light, QColor(70, 70, 76));
    palette.setColor(QPalette::Mid, QColor(35, 35, 38));
    palette.setColor(QPalette::Dark, QColor(20, 20, 22));
    palette.setColor(QPalette::Shadow, Qt::black);
    for (const auto role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText}) {
        palette.setColor(role, text);
        palette.setColor(QPalette::Disabled, role, disabled);
    }
    palette.setColor(QPalette::PlaceholderText, QColor(text.red(), text.green(), text.blue(), 150));
    return palette;
}

// Sets the Fusion style first: the light palette is its standard one.
inline QList<Theme> themes()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    return {{"light", QApplication::style()->standardPalette()}, {"dark", darkPalette()}};
}

// The language the pictures are drawn in, as Quillo picks it from the locale; empty for English.
inline QString &language()
{
    static QString chosen;
    return chosen;
}

inline void installLanguage(QApplication &app)
{
    language() = InterfaceLanguage::install(app, InterfaceLanguage::preferred([](const char *name) {
                                                return qEnvironmentVariable(name);
                                            }),
                                            InterfaceLanguage::translationsFolder());
}

// "<picture>-<theme>.png" in `folder`, "<picture>-<language>-<theme>.png" when translated.
inline QString picturePath(const QDir &folder, const QString &picture, const Theme &theme)
{
    const QString name = language().isEmpty() ? picture : picture + u'-' + language();
    return folder.filePath(QStringLiteral("%1-%2.png").arg(name, QLatin1String(theme.name)));
}

// The folder named on the command line, or nothing (with a usage line) when there is not one.
inline std::optional<QDir> outputFolder(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return std::nullopt;
    }
    return QDir(QString::fromLocal8Bit(argv[1]));
}

} // namespace PictureThemes
