#include "naming/ScreenshotImage.h"

#include "naming/NamingLog.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>

#include <libheif/heif.h>

#include <cmath>
#include <memory>
#include <mutex>
#include <poppler-qt6.h>

namespace {

// A decoded 16-bit image takes 8 bytes a pixel; the budget above keeps that under 400 MB.
constexpr int allocationLimitMegabytes = int(ScreenshotImage::maximumPixels * 8 / (1024 * 1024)) + 1;

ScreenshotImage::Decoded failure(const QString &error)
{
    return {QImage(), error};
}

QString sizeText(double width, double height)
{
    return QStringLiteral("%1 x %2").arg(width, 0, 'f', 0).arg(height, 0, 'f', 0);
}

bool exceedsBudget(double width, double height)
{
    return width * height > double(ScreenshotImage::maximumPixels);
}

ScreenshotImage::Decoded tooLarge(double width, double height)
{
    return failure(QStringLiteral("image too large (%1)").arg(sizeText(width, height)));
}

ScreenshotImage::Decoded decodeWithQt(const QString &filePath)
{
    QImageReader reader(filePath);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(allocationLimitMegabytes);
    const QSize size = reader.size(); // read from the header, nothing decoded yet
    if (size.isValid() && exceedsBudget(size.width(), size.height()))
        return tooLarge(size.width(), size.height());
    const QImage image = reader.read();
    if (image.isNull())
        return failure(QStringLiteral("cannot decode image (%1)").arg(reader.errorString()));
    // A format that cannot tell its size beforehand is held to the allocation limit while decoding,
    // and to the pixel budget afterwards.
    if (exceedsBudget(image.width(), image.height()))
        return tooLarge(image.width(), image.height());
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

ScreenshotImage::Decoded decodeHeif(const QString &filePath)
{
    ensureHeifInitialised();
    const auto heifFailure = [](const heif_error &error) {
        return failure(QStringLiteral("cannot decode HEIC image (%1)").arg(QString::fromUtf8(error.message)));
    };
    std::unique_ptr<heif_context, decltype(&heif_context_free)> context(heif_context_alloc(),
                                                                        heif_context_free);
    if (const heif_error error =
            heif_context_read_from_file(context.get(), QFile::encodeName(filePath).constData(), nullptr);
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
    if (exceedsBudget(width, height))
        return tooLarge(width, height);

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
                qCDebug(lcNaming) << "Poppler:" << message;
            },
            QVariant());
    });
}

} // namespace

namespace ScreenshotImage {

Decoded load(const QString &filePath)
{
    const QFileInfo info(filePath);
    if (!info.exists())
        return failure(QStringLiteral("file not found"));
    if (!info.isFile())
        return failure(QStringLiteral("not a file"));
    if (!info.isReadable())
        return failure(QStringLiteral("cannot read file (permission denied)"));

    const QString extension = info.suffix().toLower();
    if (extension == QLatin1String("pdf"))
        return renderFirstPdfPage(filePath, pdfScale);
    if (extension == QLatin1String("heic") || extension == QLatin1String("heif"))
        return decodeHeif(filePath);
    return decodeWithQt(filePath);
}

Decoded renderFirstPdfPage(const QString &filePath, double scale)
{
    routePopplerMessagesToLog();
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(filePath);
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
    if (exceedsBudget(width, height))
        return failure(QStringLiteral("PDF page too large (%1)").arg(sizeText(width, height)));

    document->setPaperColor(Qt::white);
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    QImage image = page->renderToImage(72.0 * scale, 72.0 * scale);
    if (image.isNull())
        return failure(QStringLiteral("cannot render PDF page"));
    return {image, QString()};
}

} // namespace ScreenshotImage
