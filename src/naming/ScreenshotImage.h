// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/ProcessorDeadline.h"

#include <QImage>
#include <QString>

// Decodes a screenshot file into a bitmap: PNG, JPEG, TIFF, WebP and the other formats of Qt's image
// reader, HEIC through libheif, and the first page of a PDF through Poppler. The memory an image needs
// is checked from its header before any pixel is decoded, so an absurd or hostile file ends in a
// readable error instead of exhausting memory. No shared state: callable from any thread.
namespace ScreenshotImage {

// Width x height x bytes per pixel, counted as at least 4: text recognition works on 32-bit pixels.
// An 8K capture (7680 x 4320) takes 127 MiB.
constexpr qint64 memoryBudgetBytes = 160 * 1024 * 1024;
// PDF pages are rendered at twice their size in points, so small print stays readable.
constexpr double pdfScale = 2.0;
// Larger files are refused unread: a screenshot within the memory budget is far smaller on disk.
constexpr qint64 maximumFileBytes = memoryBudgetBytes;

// Either image is set, or error says why the file could not be decoded ("cannot decode image (…)",
// "image too large (30000 x 30000 …)", "PDF is encrypted", …).
struct Decoded
{
    QImage image;
    QString error;
    bool isOverBudget = false; // the file needs more memory or time than a screenshot may take
};

// Chooses the decoder by the file's extension, compared in lower case: "pdf" renders the first page at
// pdfScale, "heic" and "heif" go to libheif, everything else to Qt's image reader.
Decoded load(const QString &filePath);
// The same, giving up on a PDF page still being drawn when this thread's processor time runs out.
// Other formats cannot be interrupted; the memory budget bounds their time.
Decoded loadBefore(const QString &filePath, const ProcessorDeadline &deadline);

// The same from the file's bytes, the decoder chosen by `extension` as above.
Decoded decode(const QByteArray &bytes, const QString &extension, const ProcessorDeadline &deadline = {});
// "file too large (…)" for a file of that many bytes.
QString tooLongText(qint64 bytes);

// The first page as viewers show it, scale × its size in points, on opaque white.
Decoded renderFirstPdfPage(const QByteArray &bytes, double scale, const ProcessorDeadline &deadline = {});

} // namespace ScreenshotImage
