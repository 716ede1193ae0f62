// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/TextRecognizer.h"

#include "reader/LinePieces.h"
#include "reader/ScreenshotImage.h"
#include "reading/ReadingLog.h"
#include "reading/RecognitionLanguages.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <string>
#include <system_error>
#include <thread>
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

bool startEngine(tesseract::TessBaseAPI &engine, const QString &folder, const QString &languages)
{
    // Tesseract's progress notes ("Estimating resolution as …") would go to standard error. Words it
    // read earlier must not sway the later ones, so that the pieces of a page read the same on any core.
    const std::vector<std::string> names{"debug_file", "tessedit_enable_doc_dict"};
    const std::vector<std::string> values{"/dev/null", "0"};
    return engine.Init(QFile::encodeName(folder).constData(), languages.toUtf8().constData(),
                       tesseract::OEM_LSTM_ONLY, nullptr, 0, &names, &values, false) == 0;
}

// Tesseract's own deadline is on the clock; it asks this between words instead, on every core reading.
struct Cancellation
{
    const ProcessorDeadline &deadline;
    std::atomic<bool> isCancelled = false;

    static bool check(void *closure, int)
    {
        auto *const self = static_cast<Cancellation *>(closure);
        if (!self->isCancelled && self->deadline.hasExpired())
            self->isCancelled = true;
        return self->isCancelled;
    }
};

using PixPointer = std::unique_ptr<Pix, void (*)(Pix *)>;

PixPointer owned(Pix *pix)
{
    return {pix, [](Pix *owned) {
                pixDestroy(&owned);
            }};
}

// The words the engine found in one piece.
QList<RecognizedWord> readPiece(tesseract::TessBaseAPI &engine, const LinePieces::Piece &piece, Pix *pixels,
                                int dotsPerInch, Cancellation &cancellation)
{
    QList<RecognizedWord> words;
    engine.SetPageSegMode(piece.isLine ? tesseract::PSM_RAW_LINE : tesseract::PSM_AUTO);
    engine.SetImage(pixels);
    engine.SetSourceResolution(dotsPerInch);
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = &Cancellation::check;
    monitor.cancel_this = &cancellation;
    if (engine.Recognize(&monitor) == 0 && !cancellation.isCancelled) {
        const std::unique_ptr<tesseract::ResultIterator> word(engine.GetIterator());
        if (word && !word->Empty(tesseract::RIL_WORD)) {
            do {
                const std::unique_ptr<char[]> utf8(word->GetUTF8Text(tesseract::RIL_WORD));
                const QString text = utf8 ? QString::fromUtf8(utf8.get()) : QString();
                if (!text.trimmed().isEmpty())
                    words.append({text, confidenceAt(*word, tesseract::RIL_WORD)});
            } while (word->Next(tesseract::RIL_WORD));
        }
    }
    engine.Clear();
    return words;
}

// Pieces back into lines: a line has the words of its pieces in order, and the box of the pieces that
// gave any; the engine's own line confidence is the mean of its words'.
std::vector<RecognizedLine> joinPieces(const std::vector<LinePieces::Piece> &pieces,
                                       const std::vector<QList<RecognizedWord>> &words,
                                       const PreparedImage &prepared, QSize decodedSize)
{
    std::vector<RecognizedLine> lines;
    std::vector<QRect> boxes;
    int current = -1;
    for (std::size_t n = 0; n < pieces.size(); ++n) {
        if (words[n].isEmpty())
            continue;
        if (lines.empty() || pieces[n].line != current) {
            lines.emplace_back();
            boxes.emplace_back();
            current = pieces[n].line;
        }
        lines.back().words.append(words[n]);
        boxes.back() |= pieces[n].shown;
    }
    for (std::size_t n = 0; n < lines.size(); ++n) {
        RecognizedLine &line = lines[n];
        QStringList texts;
        float confidence = 0;
        for (const RecognizedWord &word : std::as_const(line.words)) {
            texts.append(word.text);
            confidence += word.confidence;
        }
        line.text = texts.join(u' ');
        line.confidence = confidence / float(line.words.size());
        const QRect &box = boxes[n];
        line.boundingBox = normalisedBox(box.left(), box.top(), box.left() + box.width(),
                                         box.top() + box.height(), prepared, decodedSize);
    }
    return lines;
}

// The words of each piece, read on this thread with `engine` and on one more thread for each helper.
std::vector<QList<RecognizedWord>>
readPieces(tesseract::TessBaseAPI &engine,
           const std::vector<std::unique_ptr<tesseract::TessBaseAPI>> &helpers,
           const std::vector<LinePieces::Piece> &pieces, int scale, Cancellation &cancellation)
{
    // Cut out here, on one thread: Leptonica counts references without locks.
    Pix *const page = engine.GetInputImage();
    std::vector<PixPointer> cuts;
    cuts.reserve(pieces.size());
    for (const LinePieces::Piece &piece : pieces) {
        Box *box = boxCreate(piece.crop.x(), piece.crop.y(), piece.crop.width(), piece.crop.height());
        cuts.push_back(owned(pixClipRectangle(page, box, nullptr)));
        boxDestroy(&box);
    }
    engine.Clear(); // frees the page; the engine stays loaded

    // Costliest first, each to whichever engine is free: the cores finish together.
    std::vector<std::size_t> order(pieces.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return pieces[a].cost() > pieces[b].cost();
    });
    std::atomic<std::size_t> next = 0;
    std::vector<QList<RecognizedWord>> words(pieces.size());
    const auto read = [&](tesseract::TessBaseAPI &reader) {
        for (std::size_t at = next++; at < order.size(); at = next++) {
            if (Cancellation::check(&cancellation, 0))
                return;
            const std::size_t n = order[at];
            if (cuts[n])
                words[n] =
                    readPiece(reader, pieces[n], cuts[n].get(), screenDotsPerInch * scale, cancellation);
        }
    };
    std::vector<std::thread> others;
    for (const auto &helper : helpers) {
        try {
            others.emplace_back(read, std::ref(*helper));
        } catch (const std::system_error &) {
            break; // the pieces are read by the engines that did start
        }
    }
    read(engine);
    for (std::thread &other : others)
        other.join();
    return words;
}

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
    m_folder = folder;
    m_languages = QString::fromUtf8(m_engine->GetInitLanguagesAsString());
    qCInfo(lcReading) << "Text recognition ready with" << m_languages;
}

TextRecognizer::~TextRecognizer()
{
    for (const auto &helper : m_helpers)
        helper->End();
    if (m_engine)
        m_engine->End();
}

void TextRecognizer::setThreads(int threads)
{
    m_threads = std::clamp(threads, 1, maximumThreads);
    // Each engine is about 15 MB: the ones no longer wanted go now.
    while (int(m_helpers.size()) > m_threads - 1) {
        m_helpers.back()->End();
        m_helpers.pop_back();
    }
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
                decoded.isOverBudget && deadline.hasExpired() ? Reading::overTimeText(m_timeBudget)
                                                              : decoded.error,
                decoded.isOverBudget};

    const QSize decodedSize = decoded.image.size();
    PreparedImage prepared = prepare(decoded.image);
    if (deadline.hasExpired())
        return {{}, Reading::overTimeText(m_timeBudget), true};
    // Tesseract keeps its own copy of the pixels: both bitmaps go before the engine's peak.
    decoded.image = QImage();
    m_engine->SetImage(prepared.gray.constBits(), prepared.gray.width(), prepared.gray.height(), 1,
                       int(prepared.gray.bytesPerLine()));
    const QSize pageSize = prepared.gray.size();
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
    // Engines for the other cores start while this one analyses the layout, which takes longer.
    std::thread starting;
    try {
        if (int(m_helpers.size()) < m_threads - 1)
            starting = std::thread([this] {
                startHelpers();
            });
    } catch (const std::system_error &) {
        qCWarning(lcReading) << "No thread for a second recognition engine; reading on one core";
    }
    // Tesseract checks the deadline between words; its layout analysis before them cannot be stopped,
    // and the memory budget and the shape limit keep that short.
    m_engine->SetPageSegMode(tesseract::PSM_AUTO);
    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<tesseract::PageIterator> layout(m_engine->AnalyseLayout());
    const qint64 layoutMs = clock.restart();
    // No layout: a page without any text.
    const auto pieces = layout ? LinePieces::find(*m_engine, pageSize.width(), pageSize.height())
                               : std::vector<LinePieces::Piece>();
    if (starting.joinable())
        starting.join();
    Cancellation cancellation{deadline};
    RecognitionResult result;
    result.imageSize = decodedSize;
    result.lines = joinPieces(pieces, readPieces(*m_engine, m_helpers, pieces, prepared.scale, cancellation),
                              prepared, decodedSize);
    qCDebug(lcReading) << "Layout" << layoutMs << "ms, then" << pieces.size() << "pieces on"
                       << 1 + m_helpers.size() << "cores in" << clock.elapsed() << "ms";
    if (cancellation.isCancelled)
        return {{}, Reading::overTimeText(m_timeBudget), true};
    return result;
}

void TextRecognizer::startHelpers()
{
    while (int(m_helpers.size()) < m_threads - 1) {
        auto helper = std::make_unique<tesseract::TessBaseAPI>();
        if (!startEngine(*helper, m_folder, m_languages)) {
            qCWarning(lcReading) << "A second recognition engine could not start; reading on fewer cores";
            return;
        }
        m_helpers.push_back(std::move(helper));
    }
}
