// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/ScreenshotImage.h"

#include "reading/ReadingLog.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>

#include <libheif/heif.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <optional>
#include <poppler-qt6.h>

namespace {

constexpr qint64 mebibyte = 1024 * 1024;
// Qt's own check while decoding, for formats that cannot tell their size beforehand.
constexpr int allocationLimitMegabytes = int(ScreenshotImage::memoryBudgetBytes / mebibyte);

ScreenshotImage::Decoded failure(const QString &error, bool isOverBudget = false)
{
    return {QImage(), error, isOverBudget};
}

QString sizeText(double width, double height)
{
    return QStringLiteral("%1 x %2").arg(width, 0, 'f', 0).arg(height, 0, 'f', 0);
}

// In floating point: a hostile header's product does not fit an integer.
double bytesNeeded(double width, double height, int bitsPerPixel)
{
    return width * height * std::max(bitsPerPixel / 8, 4);
}

// Nothing when the image fits the memory budget; otherwise the refusal, with what it would need.
std::optional<ScreenshotImage::Decoded> overBudget(const QString &what, double width, double height,
                                                   int bitsPerPixel = 32)
{
    const double bytes = bytesNeeded(width, height, bitsPerPixel);
    if (bytes <= double(ScreenshotImage::memoryBudgetBytes))
        return std::nullopt;
    return failure(QStringLiteral("%1 too large (%2 pixels need %3 MiB, over the %4 MiB budget)")
                       .arg(what, sizeText(width, height))
                       .arg(bytes / double(mebibyte), 0, 'f', 0)
                       .arg(ScreenshotImage::memoryBudgetBytes / mebibyte),
                   true);
}

ScreenshotImage::Decoded decodeWithQt(const QByteArray &bytes, const QString &extension)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    // The extension is only a hint: Qt still recognises a format by its content.
    QImageReader reader(&buffer, extension.toLatin1());
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(allocationLimitMegabytes);
    // Read from the header, nothing decoded yet.
    const QSize size = reader.size();
    const int bitsPerPixel = QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel();
    if (const auto refused =
            size.isValid() ? overBudget(QStringLiteral("image"), size.width(), size.height(), bitsPerPixel)
                           : std::nullopt)
        return *refused;
    const QImage image = reader.read();
    if (image.isNull())
        return failure(QStringLiteral("cannot decode image (%1)").arg(reader.errorString()));
    // A format that cannot tell its size beforehand is held to the allocation limit while decoding,
    // and to the budget afterwards.
    if (auto refused = overBudget(QStringLiteral("image"), image.width(), image.height(), image.depth()))
        return *refused;
    return {image, QString()};
}

void ensureHeifInitialised()
{
    static std::once_flag once;
    // Reference counted by libheif; kept for the whole process.
    std::call_once(once, [] {
        heif_init(nullptr);
    });
}

ScreenshotImage::Decoded decodeHeif(const QByteArray &bytes)
{
    ensureHeifInitialised();
    const auto heifFailure = [](const heif_error &error) {
        return failure(QStringLiteral("cannot decode HEIC image (%1)").arg(QString::fromUtf8(error.message)));
    };
    std::unique_ptr<heif_context, decltype(&heif_context_free)> context(heif_context_alloc(),
                                                                        heif_context_free);
    if (const heif_error error = heif_context_read_from_memory_without_copy(context.get(), bytes.constData(),
                                                                            size_t(bytes.size()), nullptr);
        error.code != heif_error_Ok)
        return heifFailure(error);

    heif_image_handle *rawHandle = nullptr;
    if (const heif_error error = heif_context_get_primary_image_handle(context.get(), &rawHandle);
        error.code != heif_error_Ok)
        return heifFailure(error);
    std::unique_ptr<heif_image_handle, decltype(&heif_image_handle_release)> handle(
        rawHandle, heif_image_handle_release);
    const int width = heif_image_handle_get_width(handle.get());
    const int height = heif_image_handle_get_height(handle.get());
    if (auto refused = overBudget(QStringLiteral("image"), width, height))
        return *refused;

    const bool hasAlpha = heif_image_handle_has_alpha_channel(handle.get());
    heif_image *rawImage = nullptr;
    if (const heif_error error =
            heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                              hasAlpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, nullptr);
        error.code != heif_error_Ok)
        return heifFailure(error);
    std::unique_ptr<heif_image, decltype(&heif_image_release)> image(rawImage, heif_image_release);

    int stride = 0;
    const uint8_t *pixels = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (!pixels)
        return failure(QStringLiteral("cannot decode HEIC image (no pixel data)"));
    const QImage view(pixels, heif_image_get_width(image.get(), heif_channel_interleaved),
                      heif_image_get_height(image.get(), heif_channel_interleaved), stride,
                      hasAlpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    return {view.copy(), QString()}; // the pixels belong to the heif_image released on return
}

void routePopplerMessagesToLog()
{
    static std::once_flag once;
    // Poppler reports every syntax slip of a damaged PDF; they are details, not warnings.
    std::call_once(once, [] {
        Poppler::setDebugErrorFunction(
            [](const QString &message, const QVariant &) {
                qCDebug(lcReading) << "Poppler:" << message;
            },
            QVariant());
    });
}

} // namespace

namespace ScreenshotImage {

Decoded load(const QString &filePath)
{
    return loadBefore(filePath, ProcessorDeadline());
}

Decoded loadBefore(const QString &filePath, const ProcessorDeadline &deadline)
{
    const QFileInfo info(filePath);
    if (!info.exists())
        return failure(QStringLiteral("file not found"));
    if (!info.isFile())
        return failure(QStringLiteral("not a file"));
    QFile file(filePath);
    if (!info.isReadable() || !file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("cannot read file (permission denied)"));
    if (file.size() > maximumFileBytes)
        return failure(Reading::tooLongText(file.size()), true);
    return decode(file.readAll(), info.suffix(), deadline);
}

Decoded decode(const QByteArray &bytes, const QString &extension, const ProcessorDeadline &deadline)
{
    const QString lower = extension.toLower();
    if (lower == QLatin1String("pdf"))
        return renderFirstPdfPage(bytes, pdfScale, deadline);
    if (lower == QLatin1String("heic") || lower == QLatin1String("heif"))
        return decodeHeif(bytes);
    return decodeWithQt(bytes, lower);
}

Decoded renderFirstPdfPage(const QByteArray &bytes, double scale, const ProcessorDeadline &deadline)
{
    routePopplerMessagesToLog();
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(bytes);
    if (!document)
        return failure(QStringLiteral("cannot open PDF"));
    if (document->isLocked())
        return failure(QStringLiteral("PDF is encrypted"));
    if (document->numPages() < 1)
        return failure(QStringLiteral("PDF has no pages"));
    const std::unique_ptr<Poppler::Page> page = document->page(0);
    if (!page)
        return failure(QStringLiteral("PDF has no pages"));

    // Checked in floating point: a huge page box times the scale does not fit an int.
    const QSizeF points = page->pageSizeF();
    const double width = std::floor(points.width() * scale);
    const double height = std::floor(points.height() * scale);
    if (!(width >= 1 && height >= 1))
        return failure(QStringLiteral("PDF page is empty"));
    if (auto refused = overBudget(QStringLiteral("PDF page"), width, height))
        return *refused;

    document->setPaperColor(Qt::white);
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    // A page of forms nested in forms can take Poppler hours to draw; it asks this between operations.
    // Once it was told to stop, the page failed for want of time, whatever the clocks say afterwards.
    struct RenderLimit
    {
        const ProcessorDeadline &deadline;
        bool isReached = false;
    } limit{deadline};
    const auto expired = [](const QVariant &closure) {
        auto *const reached = reinterpret_cast<RenderLimit *>(closure.value<quintptr>());
        reached->isReached = reached->isReached || reached->deadline.hasExpired();
        return reached->isReached;
    };
    QImage image =
        page->renderToImage(72.0 * scale, 72.0 * scale, -1, -1, -1, -1, Poppler::Page::Rotate0, nullptr,
                            nullptr, expired, QVariant::fromValue(reinterpret_cast<quintptr>(&limit)));
    if (limit.isReached || deadline.hasExpired())
        return failure(QStringLiteral("drawing the PDF page took too long"), true);
    if (image.isNull())
        return failure(QStringLiteral("cannot render PDF page"));
    return {image, QString()};
}

} // namespace ScreenshotImage
