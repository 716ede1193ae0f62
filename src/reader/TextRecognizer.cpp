// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/TextRecognizer.h"

#include "reader/ScreenshotImage.h"
#include "reading/ReadingLog.h"
#include "reading/RecognitionLanguages.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <string>
#include <utility>

namespace {

// Captures of up to a megapixel are mostly parts of normal-density screens, with text often under 10
// pixels high; doubling them helps Tesseract's line finding. Larger captures are read as they are: on the
// real-screenshot corpus doubling them lost words and doubled the time, and reducing those of high-density
// screens (letters of 16 pixels and more brought to 14) lost words for about a tenth of the processor time.
// Tesseract brings every line to its own height before recognising it; only its layout analysis costs by
// the pixel.
constexpr qint64 upscaleBelowPixels = 1'000'000;
constexpr int upscaleFactor = 2;
constexpr int screenDotsPerInch = 96;
// Fully opaque for the purpose of cropping away the drop shadow of a window capture.
constexpr int opaqueAlpha = 250;
// Tesseract's layout analysis cannot be stopped, and its time grows much faster than the number of
// shapes it sorts: on noise, 142,000 took it 6 s, 289,000 took 38 s, 3 million more than 10 minutes.
// The screenshots of the corpus have at most 5,000.
constexpr l_int32 maximumShapes = 150'000;

// The bitmap Tesseract reads, and where it lies in the decoded image.
struct PreparedImage
{
    QImage gray;   // Format_Grayscale8, dark text on a light background
    QRect source;  // the part of the decoded image it shows, in decoded pixels
    int scale = 1; // gray pixels per decoded pixel
};

// The bounding rectangle of the opaque pixels; the whole image when none is opaque.
QRect opaqueBounds(const QImage &argb)
{
    int left = argb.width(), top = argb.height(), right = -1, bottom = -1;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(row[x]) < opaqueAlpha)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? argb.rect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The luminance of the source rectangle, and whether its opaque pixels are mostly dark.
std::pair<QImage, bool> grayOf(const QImage &argb, QRect source)
{
    QImage gray(source.size(), QImage::Format_Grayscale8);
    qint64 weightedLuminance = 0;
    qint64 totalAlpha = 0;
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(argb.constScanLine(source.top() + y)) + source.left();
        uchar *out = gray.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            const int luminance = qGray(in[x]);
            out[x] = uchar(luminance);
            weightedLuminance += qint64(luminance) * qAlpha(in[x]);
            totalAlpha += qAlpha(in[x]);
        }
    }
    return {gray, totalAlpha > 0 && weightedLuminance / totalAlpha < 128};
}

// Blends the remaining transparency (rounded corners, shadow) into the given background.
void blendTransparency(QImage &gray, const QImage &argb, QRect source, int background)
{
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(argb.constScanLine(source.top() + y)) + source.left();
        uchar *out = gray.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            const int alpha = qAlpha(in[x]);
            out[x] = uchar((out[x] * alpha + background * (255 - alpha) + 127) / 255);
        }
    }
}

// Tesseract reads 32-bit Qt formats with red and blue swapped, and its global threshold fails on a
// dark screen or on a window surrounded by a transparent shadow. So: crop to the opaque part, convert
// to gray ourselves, blend what is left of the transparency into the screen's own background, and
// invert dark screens. Tesseract still inverts single lines that read better inverted. Pictures are
// left to its layout analysis: whiting out areas of many grey levels first lost the words written over
// them and saved no measurable time.
PreparedImage prepare(const QImage &decoded)
{
    const bool hasAlpha = decoded.hasAlphaChannel();
    const QImage argb = decoded.convertToFormat(hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const QRect source = hasAlpha ? opaqueBounds(argb) : argb.rect();
    auto [gray, isDark] = grayOf(argb, source);
    if (hasAlpha)
        blendTransparency(gray, argb, source, isDark ? 0 : 255);
    if (isDark)
        gray.invertPixels();

    if (qint64(source.width()) * source.height() > upscaleBelowPixels)
        return {gray, source, 1};
    gray = gray.scaled(gray.size() * upscaleFactor, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
               .convertToFormat(QImage::Format_Grayscale8);
    return {gray, source, upscaleFactor};
}

// Tesseract's box (pixels of the prepared bitmap, origin top-left) in normalised coordinates of the
// decoded image (fractions of its size, origin lower-left, y upward).
QRectF normalisedBox(int left, int top, int right, int bottom, const PreparedImage &prepared, QSize decoded)
{
    const qreal scale = prepared.scale;
    const qreal x = prepared.source.left() + left / scale;
    const qreal yTop = prepared.source.top() + top / scale;
    const qreal yBottom = prepared.source.top() + bottom / scale;
    return {x / decoded.width(), 1.0 - yBottom / decoded.height(), (right - left) / scale / decoded.width(),
            (yBottom - yTop) / decoded.height()};
}

// Tesseract ends every line with a newline, and the last line of a paragraph with a second one.
QString lineText(const char *utf8)
{
    QString text = QString::fromUtf8(utf8);
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

// Connected shapes of the bitmap as Tesseract binarised it; it keeps that for its own analysis.
l_int32 shapeCount(tesseract::TessBaseAPI &engine)
{
    const std::unique_ptr<Pix, void (*)(Pix *)> binary(engine.GetThresholdedImage(), [](Pix *pix) {
        pixDestroy(&pix);
    });
    l_int32 count = 0;
    if (binary)
        pixCountConnComp(binary.get(), 8, &count);
    return count;
}

float confidenceAt(const tesseract::ResultIterator &iterator, tesseract::PageIteratorLevel level)
{
    return std::clamp(iterator.Confidence(level) / 100.0f, 0.0f, 1.0f);
}

// Lines with their words: the iterator walks words, and each word that begins a line opens one.
std::vector<RecognizedLine> collectLines(tesseract::TessBaseAPI &engine, const PreparedImage &prepared,
                                         QSize decodedSize)
{
    std::vector<RecognizedLine> lines;
    const std::unique_ptr<tesseract::ResultIterator> word(engine.GetIterator());
    if (!word || word->Empty(tesseract::RIL_WORD))
        return lines;
    bool inLine = false;
    do {
        if (word->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
            const std::unique_ptr<char[]> utf8(word->GetUTF8Text(tesseract::RIL_TEXTLINE));
            int left = 0, top = 0, right = 0, bottom = 0;
            QString text = utf8 ? lineText(utf8.get()) : QString();
            // Specks and rules Tesseract took for a line are left out, with their words.
            inLine = !text.trimmed().isEmpty() &&
                     word->BoundingBox(tesseract::RIL_TEXTLINE, &left, &top, &right, &bottom);
            if (inLine)
                lines.push_back({std::move(text),
                                 confidenceAt(*word, tesseract::RIL_TEXTLINE),
                                 normalisedBox(left, top, right, bottom, prepared, decodedSize),
                                 {}});
        }
        const std::unique_ptr<char[]> utf8(word->GetUTF8Text(tesseract::RIL_WORD));
        if (inLine && utf8)
            lines.back().words.append(
                {QString::fromUtf8(utf8.get()), confidenceAt(*word, tesseract::RIL_WORD)});
    } while (word->Next(tesseract::RIL_WORD));
    return lines;
}

bool startEngine(tesseract::TessBaseAPI &engine, const QString &folder, const QString &languages)
{
    // Tesseract's progress notes ("Estimating resolution as …") would go to standard error.
    const std::vector<std::string> names{"debug_file"};
    const std::vector<std::string> values{"/dev/null"};
    return engine.Init(QFile::encodeName(folder).constData(), languages.toUtf8().constData(),
                       tesseract::OEM_LSTM_ONLY, nullptr, 0, &names, &values, false) == 0;
}

QString overTime(std::chrono::milliseconds budget)
{
    return QStringLiteral("reading it took longer than %1 s of processor time")
        .arg(double(budget.count()) / 1000.0);
}

// Tesseract's own deadline is on the clock; it asks this between words instead.
struct Cancellation
{
    const ProcessorDeadline &deadline;
    bool isCancelled = false;

    static bool check(void *closure, int)
    {
        auto *const self = static_cast<Cancellation *>(closure);
        self->isCancelled = self->isCancelled || self->deadline.hasExpired();
        return self->isCancelled;
    }
};

} // namespace

TextRecognizer::TextRecognizer(const QStringList &wanted)
    : m_engine(std::make_unique<tesseract::TessBaseAPI>())
    , m_wanted(wanted)
{
    // Leptonica reports harmless clipping inside Tesseract's layout analysis on standard error.
    setMsgSeverity(L_SEVERITY_NONE);
    const QString folder = RecognitionLanguages::dataFolder();
    const auto choice = RecognitionLanguages::choose(wanted, RecognitionLanguages::installed(folder));
    const QString languages = choice.languages.join(u'+');
    if (languages.isEmpty() ||
        (!startEngine(*m_engine, folder, languages) &&
         (languages == u"eng" || !startEngine(*m_engine, folder, QStringLiteral("eng"))))) {
        qCWarning(lcReading) << "Tesseract could not start with English data; text recognition is off";
        m_engine.reset();
        return;
    }
    m_engine->SetPageSegMode(tesseract::PSM_AUTO);
    m_languages = QString::fromUtf8(m_engine->GetInitLanguagesAsString());
    qCInfo(lcReading) << "Text recognition ready with" << m_languages;
}

TextRecognizer::~TextRecognizer()
{
    if (m_engine)
        m_engine->End();
}

RecognitionResult TextRecognizer::recognizeLines(const QString &filePath)
{
    if (!m_engine)
        return {{}, unavailable()};
    const ProcessorDeadline deadline(m_timeBudget);
    return recognize(ScreenshotImage::loadBefore(filePath, deadline), deadline);
}

RecognitionResult TextRecognizer::recognizeData(const QByteArray &bytes, const QString &extension)
{
    if (!m_engine)
        return {{}, unavailable()};
    const ProcessorDeadline deadline(m_timeBudget);
    return recognize(ScreenshotImage::decode(bytes, extension, deadline), deadline);
}

QString TextRecognizer::unavailable()
{
    return QStringLiteral("text recognition is unavailable (Tesseract English data missing)");
}

RecognitionResult TextRecognizer::recognize(ScreenshotImage::Decoded decoded,
                                            const ProcessorDeadline &deadline)
{
    if (!decoded.error.isEmpty())
        return {{},
                decoded.isOverBudget && deadline.hasExpired() ? overTime(m_timeBudget) : decoded.error,
                decoded.isOverBudget};

    const QSize decodedSize = decoded.image.size();
    PreparedImage prepared = prepare(decoded.image);
    if (deadline.hasExpired())
        return {{}, overTime(m_timeBudget), true};
    // Tesseract keeps its own copy of the pixels: both bitmaps go before the engine's peak, two
    // naming threads at once on large captures sat right at the memory budget.
    decoded.image = QImage();
    m_engine->SetImage(prepared.gray.constBits(), prepared.gray.width(), prepared.gray.height(), 1,
                       int(prepared.gray.bytesPerLine()));
    prepared.gray = QImage();
    m_engine->SetSourceResolution(screenDotsPerInch * prepared.scale);
    const l_int32 shapes = shapeCount(*m_engine);
    qCDebug(lcReading) << "The image has" << shapes << "shapes";
    if (shapes > maximumShapes) {
        m_engine->Clear();
        return {
            {},
            QStringLiteral("too many specks to read (%1 shapes, at most %2)").arg(shapes).arg(maximumShapes),
            true};
    }
    // Tesseract checks the deadline between words; its layout analysis before them cannot be stopped,
    // and the memory budget and the shape limit keep that short.
    Cancellation cancellation{deadline};
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = &Cancellation::check;
    monitor.cancel_this = &cancellation;
    RecognitionResult result;
    if (m_engine->Recognize(&monitor) == 0 && !cancellation.isCancelled)
        result.lines = collectLines(*m_engine, prepared, decodedSize);
    else if (cancellation.isCancelled)
        result = {{}, overTime(m_timeBudget), true};
    else
        result.error = QStringLiteral("text recognition failed");
    m_engine->Clear(); // frees the page; the engine stays loaded
    return result;
}
