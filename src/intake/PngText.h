// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayList>
#include <QStringList>

// Text metadata of PNG files.
namespace PngText {

// The texts of the "tEXt", "zTXt" and "iTXt" chunks with one of `keywords` that stand before the
// image data in `head`, the start of a file. Chunks cut off by the end of `head`, with a wrong
// checksum or with text that does not decompress are skipped; bytes that are not a PNG give none.
QStringList values(const QByteArray &head, const QByteArrayList &keywords);

} // namespace PngText
