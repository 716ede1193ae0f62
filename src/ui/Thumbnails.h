// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reading/ReadingResults.h"

#include <QImage>
#include <QString>

#include <functional>

// The small pictures of screenshots the panel shows and drags.
namespace Thumbnails {

constexpr int maximumSide = 240;

struct Result
{
    QImage image;            // null when the file could be read but not drawn
    bool isReadable = false; // without it there is no picture at all
};

// How the pictures get their pixels. Quillo has its reading processes decode them: a screenshot is
// untrusted input, and its decoders do not run in Quillo itself. Without one set, Qt's image reader
// decodes in this process (the picture tools and tests), so PDF and HEIC have no picture. Set once,
// before any picture is drawn; called from any thread.
using Decoder = std::function<DecodedImage(const QString &filePath)>;
void setDecoder(Decoder decoder);
DecodedImage decode(const QString &filePath);

// The picture at most `maximumSide` pixels on its longer side, orientation applied; the first page
// of a PDF. Any thread: it decodes the whole file.
Result draw(const QString &filePath);

// The file type's icon from the theme. Main thread.
QImage fileTypeIcon(const QString &filePath, int side);

} // namespace Thumbnails
