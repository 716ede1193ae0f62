// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Thumbnails.h"

#include "ui/PanelIcons.h"

#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPalette>

namespace {

Thumbnails::Decoder &decoder()
{
    static Thumbnails::Decoder decoder;
    return decoder;
}

DecodedImage decodeHere(const QString &filePath)
{
    QImageReader reader(filePath);
    reader.setAutoTransform(true);
    if (reader.size().isValid() &&
        qint64(reader.size().width()) * reader.size().height() * 4 > Reading::memoryBudgetBytes)
        return {QImage(), QStringLiteral("image too large"), true}; // not for people: as the reader words it
    QImage image = reader.read();
    return {image, image.isNull() ? reader.errorString() : QString()};
}

} // namespace

void Thumbnails::setDecoder(Decoder decoder)
{
    ::decoder() = std::move(decoder);
}

DecodedImage Thumbnails::decode(const QString &filePath)
{
    return ::decoder() ? ::decoder()(filePath) : decodeHere(filePath);
}

Thumbnails::Result Thumbnails::draw(const QString &filePath)
{
    if (QFile file(filePath); !file.open(QIODevice::ReadOnly))
        return {};
    const QImage image = decode(filePath).image;
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
