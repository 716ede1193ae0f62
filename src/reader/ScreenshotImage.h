// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reader/ProcessorDeadline.h"
#include "reading/ReadingResults.h"

#include <QImage>
#include <QString>

// Decodes a screenshot file into a bitmap: PNG, JPEG, TIFF, WebP and the other formats of Qt's image
// reader, HEIC through libheif, and the first page of a PDF through Poppler. The memory an image needs
// is checked from its header before any pixel is decoded, so an absurd or hostile file ends in a
// readable error instead of exhausting memory. No shared state: callable from any thread.
namespace ScreenshotImage {

constexpr qint64 memoryBudgetBytes = Reading::memoryBudgetBytes;
// PDF pages are rendered at twice their size in points, so small print stays readable.
constexpr double pdfScale = 2.0;
constexpr qint64 maximumFileBytes = Reading::maximumFileBytes;

using Decoded = DecodedImage;

// Chooses the decoder by the file's extension, compared in lower case: "pdf" renders the first page at
// pdfScale, "heic" and "heif" go to libheif, everything else to Qt's image reader.
Decoded load(const QString &filePath);
// The same, giving up on a PDF page still being drawn when the deadline's processor time runs out.
// Other formats cannot be interrupted; the memory budget bounds their time.
Decoded loadBefore(const QString &filePath, const ProcessorDeadline &deadline);

// The same from the file's bytes, the decoder chosen by `extension` as above.
Decoded decode(const QByteArray &bytes, const QString &extension, const ProcessorDeadline &deadline = {});

// The first page as viewers show it, scale × its size in points, on opaque white.
Decoded renderFirstPdfPage(const QByteArray &bytes, double scale, const ProcessorDeadline &deadline = {});

} // namespace ScreenshotImage
