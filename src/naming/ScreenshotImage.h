#pragma once

#include <QImage>
#include <QString>

// Decodes a screenshot file into a bitmap: PNG, JPEG, TIFF, WebP and the other formats of Qt's image
// reader, HEIC through libheif, and the first page of a PDF through Poppler. The size is checked before
// any pixel is decoded, so an absurd or hostile file ends in a readable error instead of exhausting
// memory. No shared state: callable from any thread.
namespace ScreenshotImage {

// 50 megapixels is well above an 8K capture (33 megapixels).
constexpr qint64 maximumPixels = 50'000'000;
// PDF pages are rendered at twice their size in points, so small print stays readable.
constexpr double pdfScale = 2.0;

// Either image is set, or error says why the file could not be decoded ("cannot decode image (…)",
// "image too large (30000 x 30000)", "PDF is encrypted", …).
struct Decoded
{
    QImage image;
    QString error;
};

// Chooses the decoder by the file's extension, compared in lower case: "pdf" renders the first page at
// pdfScale, "heic" and "heif" go to libheif, everything else to Qt's image reader.
Decoded load(const QString &filePath);

// The first page as viewers show it, scale × its size in points, on opaque white.
Decoded renderFirstPdfPage(const QString &filePath, double scale);

} // namespace ScreenshotImage
