// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Thumbnails.h"

#include "naming/ScreenshotImage.h"
#include "ui/PanelIcons.h"

#include <QFile>
#include <QIcon>
#include <QMimeDatabase>
#include <QPalette>

Thumbnails::Result Thumbnails::draw(const QString &filePath)
{
    if (QFile file(filePath); !file.open(QIODevice::ReadOnly))
        return {};
    const QImage image = ScreenshotImage::load(filePath).image;
    if (image.isNull())
        return {QImage(), true};
    if (image.width() <= maximumSide && image.height() <= maximumSide)
        return {image, true};
    return {image.scaled(maximumSide, maximumSide, Qt::KeepAspectRatio, Qt::SmoothTransformation), true};
}

QImage Thumbnails::fileTypeIcon(const QString &filePath, int side)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(filePath);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName(), PanelIcons::icon(PanelIcons::Symbol::Document,
                                                                         QPalette().windowText().color()));
    return icon.pixmap(side, side).toImage();
}
