// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

// The small pictures of screenshots the panel shows and drags.
namespace Thumbnails {

constexpr int maximumSide = 240;

struct Result
{
    QImage image;            // null when the file could be read but not drawn
    bool isReadable = false; // without it there is no picture at all
};

// The picture at most `maximumSide` pixels on its longer side, orientation applied; the first page
// of a PDF. Any thread: it decodes the whole file.
Result draw(const QString &filePath);

// The file type's icon from the theme. Main thread.
QImage fileTypeIcon(const QString &filePath, int side);

} // namespace Thumbnails
