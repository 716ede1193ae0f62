// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/TextRecognizer.h"

#include "reading/RecognitionLanguages.h"
#include "support/SampleFiles.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <libheif/heif.h>
#include <sys/resource.h>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Word
{
    QString text;
    QPoint baseline; // where the text is drawn, in pixels of the image
};

// Where a drawn word's ink lies, normalised with the origin at the lower-left.
QRectF expectedBox(const Word &word, const QFont &font, QSize imageSize)
{
    const QRect ink = QFontMetrics(font).tightBoundingRect(word.text).translated(word.baseline);
    const qreal width = imageSize.width(), height = imageSize.height();
    return {ink.left() / width, 1.0 - (ink.bottom() + 1) / height, ink.width() / width,
            ink.height() / height};
}

QFont largeClearFont()
{
    QFont font(u"DejaVu Sans"_s);
    font.setPixelSize(40);
    return font;
}

struct Screen
{
    QSize size;
    QColor background;
    QColor ink;
    int shadow = 0; // a transparent margin of this width around an opaque window, as window captures have
};

// Threads that kept the process's own name; Qt names its pool's, and a library's OpenMP threads keep
// the name.
qsizetype unnamedThreads()
{
    const QByteArray name = TestFiles::read(u"/proc/self/comm"_s);
    const QDir tasks(u"/proc/self/task"_s);
    const QStringList ids = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return std::count_if(ids.begin(), ids.end(), [&](const QString &id) {
        return TestFiles::read(tasks.filePath(id + u"/comm"_s)) == name;
    });
}

QImage drawScreen(const Screen &screen, const QList<Word> &words)
{
    QImage image(screen.size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (screen.shadow > 0)
        painter.fillRect(image.rect(), QColor(0, 0, 0, 40));
    painter.fillRect(image.rect().adjusted(screen.shadow, screen.shadow, -screen.shadow, -screen.shadow),
                     screen.background);
    painter.setFont(largeClearFont());
    painter.setPen(screen.ink);
    for (const Word &word : words)
        painter.drawText(word.baseline, word.text);
    return image;
}

// A HEIC file written with libheif's own encoder.
bool writeHeic(const QImage &image, const QString &path)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::unique_ptr<heif_context, decltype(&heif_context_free)> context(heif_context_alloc(),
                                                                        heif_context_free);
    heif_encoder *rawEncoder = nullptr;
    if (heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &rawEncoder).code)
        return false;
    std::unique_ptr<heif_encoder, decltype(&heif_encoder_release)> encoder(rawEncoder, heif_encoder_release);
    heif_encoder_set_lossy_quality(encoder.get(), 90);
    heif_image *rawImage = nullptr;
    heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &rawImage);
    std::unique_ptr<heif_image, decltype(&heif_image_release)> heifImage(rawImage, heif_image_release);
    heif_image_add_plane(heifImage.get(), heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(heifImage.get(), heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y)
        memcpy(plane + qsizetype(y) * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
    return heif_context_encode_image(context.get(), heifImage.get(), encoder.get(), nullptr, nullptr).code ==
               0 &&
           heif_context_write_to_file(context.get(), QFile::encodeName(path).constData()).code == 0;
}

// A PDF of one page written by hand, so that its boxes and dictionaries can be anything.
QByteArray handWrittenPdf(const QByteArray &pages, const QByteArray &trailerExtra = {})
{
    const QByteArray content = "BT /F1 28 Tf 120 400 Td (Balance) Tj ET";
    return SampleFiles::pdfOf(
        {"<< /Type /Catalog /Pages 2 0 R >>", pages,
         "<< /Type /Page /Parent 2 0 R /MediaBox [100 200 500 500] /Contents 4 0 R"
         " /Resources << /Font << /F1 5 0 R >> >> >>",
         "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream",
         "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"},
        trailerExtra);
}

const QByteArray onePage = "<< /Type /Pages /Kids [3 0 R] /Count 1 >>";

QByteArray smallPng()
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(200, 80, QImage::Format_RGB32).save(&buffer, "PNG");
    return png;
}

// A real PNG whose header was changed to claim the given size.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray png = smallPng();
    qToBigEndian(width, png.data() + 16); // IHDR data starts at 16, after the signature and chunk head
    qToBigEndian(height, png.data() + 20);
    qToBigEndian(SampleFiles::crc32(png.mid(12, 17)), png.data() + 29);
    return png;
}

const RecognizedLine *lineContaining(const std::vector<RecognizedLine> &lines, const QString &word)
{
    for (const RecognizedLine &line : lines)
        if (line.text.contains(word, Qt::CaseInsensitive))
            return &line;
    return nullptr;
}

bool near(qreal actual, qreal expected)
{
    return qAbs(actual - expected) < 0.015;
}

qint64 peakResidentKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

class TextRecognizerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void boxesAreNormalisedFromTheLowerLeft_data();
    void boxesAreNormalisedFromTheLowerLeft();
    void pdfFirstPageIsReadWhereItsMediaBoxPutsIt();
    void badInputGivesAClearErrorAndHarmsNothing_data();
    void badInputGivesAClearErrorAndHarmsNothing();
    void aPageReadOnSeveralCoresGivesTheSameLines_data();
    void aPageReadOnSeveralCoresGivesTheSameLines();
    void readingOverTheTimeBudgetIsCancelled_data();
    void readingOverTheTimeBudgetIsCancelled();
    void languagesFollowTheLocaleWhenTheirDataIsInstalled_data();
    void languagesFollowTheLocaleWhenTheirDataIsInstalled();

private:
    // The file's path, or an empty one when it cannot be written.
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        return TestFiles::write(m_dir->filePath(name), bytes) ? m_dir->filePath(name) : QString();
    }

    std::unique_ptr<TextRecognizer> m_recognizer; // one engine for all cases, as a naming thread keeps it
    std::unique_ptr<QTemporaryDir> m_dir;
    qsizetype m_unnamedThreadsAtStart = 0;
};

void TextRecognizerTest::initTestCase()
{
    m_unnamedThreadsAtStart = unnamedThreads();
    m_recognizer = std::make_unique<TextRecognizer>();
    QCOMPARE(m_recognizer->languages(), u"eng"_s);
}

void TextRecognizerTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TextRecognizerTest::boxesAreNormalisedFromTheLowerLeft_data()
{
    QTest::addColumn<Screen>("screen");
    QTest::addColumn<QString>("fileName");
    const Screen light{QSize(900, 500), Qt::white, Qt::black};
    QTest::addRow("small capture, read at double size") << light << u"capture.png"_s;
    QTest::addRow("large capture, read as it is")
        << Screen{QSize(1600, 900), QColor(245, 245, 240), QColor(30, 30, 30)} << u"large.png"_s;
    QTest::addRow("dark screen") << Screen{QSize(900, 500), QColor(25, 28, 34), QColor(220, 220, 220)}
                                 << u"dark.png"_s;
    QTest::addRow("window with a transparent shadow")
        << Screen{QSize(1200, 800), QColor(40, 40, 48), Qt::white, 120} << u"window.png"_s;
    QTest::addRow("JPEG, space and non-ASCII in the path") << light << u"Écran capturé 1.jpg"_s;
    QTest::addRow("HEIC") << light << u"capture.heic"_s;
}

void TextRecognizerTest::boxesAreNormalisedFromTheLowerLeft()
{
    QFETCH(Screen, screen);
    QFETCH(QString, fileName);
    const int margin = screen.shadow + 40;
    const QList<Word> drawn{
        {u"Quarterly"_s, QPoint(margin, margin + 40)},
        {u"Harvest"_s, QPoint(screen.size.width() - margin - 160, screen.size.height() - margin)}};
    const QImage image = drawScreen(screen, drawn);
    const QString path = m_dir->filePath(fileName);
    if (fileName.endsWith(QLatin1String(".heic")))
        QVERIFY(writeHeic(image, path));
    else
        QVERIFY(image.save(path));

    const RecognitionResult result = m_recognizer->recognizeLines(path);
    QCOMPARE(result.error, QString());
    for (const Word &word : drawn) {
        const RecognizedLine *line = lineContaining(result.lines, word.text);
        QVERIFY2(line, qPrintable(word.text + u" not found"_s));
        QCOMPARE(line->text, word.text);
        QVERIFY(line->confidence > 0.5f && line->confidence <= 1.0f);
        QCOMPARE(line->words, (QList<RecognizedWord>{{word.text, line->words.value(0).confidence}}));
        QVERIFY(line->words.first().confidence > 0.5f);
        const QRectF expected = expectedBox(word, largeClearFont(), screen.size);
        QString where;
        QDebug(&where) << word.text << "found at" << line->boundingBox << "drawn at" << expected;
        QVERIFY2(near(line->minX(), expected.left()) && near(line->maxX(), expected.right()),
                 qPrintable(where));
        QVERIFY2(near(line->minY(), expected.top()) && near(line->maxY(), expected.bottom()),
                 qPrintable(where));
    }
}

void TextRecognizerTest::pdfFirstPageIsReadWhereItsMediaBoxPutsIt()
{
    const RecognitionResult result =
        m_recognizer->recognizeLines(writeFile(u"SHIFTED.PDF"_s, handWrittenPdf(onePage)));
    QCOMPARE(result.error, QString());
    const RecognizedLine *line = lineContaining(result.lines, u"Balance"_s);
    QVERIFY(line);
    // Drawn at (120, 400) on the page box [100 200 500 500]; the word has no descenders.
    QVERIFY2(near(line->minX(), 20.0 / 400), qPrintable(QString::number(line->minX())));
    QVERIFY2(near(line->minY(), 200.0 / 300), qPrintable(QString::number(line->minY())));
}

void TextRecognizerTest::badInputGivesAClearErrorAndHarmsNothing_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QTest::addRow("truncated PNG") << u"cut.png"_s << smallPng().chopped(40) << u"cannot decode image"_s;
    QTest::addRow("PNG claiming 30000 x 30000")
        << u"huge.png"_s << pngClaiming(30000, 30000) << u"image too large (30000 x 30000 pixels"_s;
    QTest::addRow("49 megapixels of sparse noise, 1 bit a pixel")
        << u"noise.png"_s << SampleFiles::sparseNoisePng(7000, 7000)
        << u"image too large (7000 x 7000 pixels need 187 MiB, over the 160 MiB budget)"_s;
    QTest::addRow("empty file") << u"Screenshot 1.png"_s << QByteArray() << u"cannot decode image"_s;
    QTest::addRow("noise that would take Tesseract's layout analysis half a minute")
        << u"specks.png"_s << SampleFiles::sparseNoisePng(2000, 2000, 8) << u"too many specks to read ("_s;
    QTest::addRow("text file named .heic")
        << u"photo.heic"_s << QByteArray("not an image") << u"cannot decode HEIC image"_s;
    QTest::addRow("text file named .pdf")
        << u"paper.pdf"_s << QByteArray("not a document") << u"cannot open PDF"_s;
    QTest::addRow("PDF without pages")
        << u"empty.pdf"_s << handWrittenPdf("<< /Type /Pages /Kids [] /Count 0 >>") << u"PDF has no pages"_s;
    QTest::addRow("PDF with a huge page box")
        << u"poster.pdf"_s << handWrittenPdf(onePage).replace("[100 200 500 500]", "[0 0 14400 14400]")
        << u"PDF page too large (28800 x 28800 pixels"_s;
    const QByteArray key = "<" + QByteArray(64, '7') + ">";
    QTest::addRow("encrypted PDF") << u"secret.pdf"_s
                                   << handWrittenPdf(onePage, "/Encrypt << /Filter /Standard /V 1 /R 2 /O " +
                                                                  key + " /U " + key + " /P -4 >> /ID [" +
                                                                  key + key + "]")
                                   << u"PDF is encrypted"_s;
}

void TextRecognizerTest::badInputGivesAClearErrorAndHarmsNothing()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const QString path = writeFile(fileName, bytes);

    const qint64 peakBefore = peakResidentKilobytes();
    const RecognitionResult result = m_recognizer->recognizeLines(path);
    QVERIFY2(result.error.startsWith(error), qPrintable(result.error));
    QCOMPARE(result.isOverBudget, error.contains(u"too "_s));
    QCOMPARE(result.lines.size(), 0u);
    QCOMPARE(TestFiles::read(path), bytes);
    // Refused from the header: the pixels were never held.
    if (error.contains(u"too large"_s))
        QVERIFY2(peakResidentKilobytes() - peakBefore < 32 * 1024,
                 qPrintable(QString::number(peakResidentKilobytes() - peakBefore)));

    // The same engine goes on reading good files.
    const QList<Word> drawn{{u"Afterwards"_s, QPoint(40, 80)}};
    const QString good = m_dir->filePath(u"good.png"_s);
    QVERIFY(drawScreen({QSize(500, 160), Qt::white, Qt::black}, drawn).save(good));
    QVERIFY(lineContaining(m_recognizer->recognizeLines(good).lines, u"Afterwards"_s));
}

void TextRecognizerTest::aPageReadOnSeveralCoresGivesTheSameLines_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addRow("terminal log") << u"c002.png"_s;
    QTest::addRow("dashboard of charts") << u"c011.png"_s;
    QTest::addRow("web shop page") << u"c051.png"_s;
    QTest::addRow("dark editor") << u"h001.png"_s;
}

void TextRecognizerTest::aPageReadOnSeveralCoresGivesTheSameLines()
{
    QFETCH(QString, fileName);
    const QString path = QStringLiteral(QUILLO_TEST_DATA "/screenshots/") + fileName;
    const RecognitionResult one = m_recognizer->recognizeLines(path);
    QCOMPARE(one.error, QString());
    QVERIFY(one.lines.size() > 10);
    // Three cores share the pieces unevenly, and an engine started for them reads on.
    for (const int cores : {3, 2}) {
        m_recognizer->setThreads(cores);
        const RecognitionResult several = m_recognizer->recognizeLines(path);
        QCOMPARE(several.error, QString());
        QCOMPARE(several.lines, one.lines);
    }
    m_recognizer->setThreads(1);
    // The cores are the reader's to share out: Tesseract starts no OpenMP threads of its own.
    QCOMPARE(unnamedThreads(), m_unnamedThreadsAtStart);
}

void TextRecognizerTest::readingOverTheTimeBudgetIsCancelled_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("cores");
    QByteArray page;
    QBuffer buffer(&page);
    buffer.open(QIODevice::WriteOnly);
    QList<Word> lines;
    for (int y = 60; y < 1400; y += 56)
        lines.append({u"Quarterly harvest figures for the northern orchards"_s, QPoint(40, y)});
    drawScreen({QSize(1200, 1440), Qt::white, Qt::black}, lines).save(&buffer, "PNG");
    QTest::addRow("page full of text") << u"page.png"_s << page << 1;
    QTest::addRow("page full of text, on two cores") << u"page.png"_s << page << 2;
    // Without a deadline, Poppler draws 2^40 squares.
    QTest::addRow("PDF of forms nested 40 deep") << u"forms.pdf"_s << SampleFiles::nestedFormsPdf(40) << 1;
}

void TextRecognizerTest::readingOverTheTimeBudgetIsCancelled()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(int, cores);
    const QString path = writeFile(fileName, bytes);
    m_recognizer->setTimeBudget(std::chrono::milliseconds(300));
    m_recognizer->setThreads(cores);
    const RecognitionResult result = m_recognizer->recognizeLines(path);
    m_recognizer->setThreads(1);
    m_recognizer->setTimeBudget(TextRecognizer::defaultTimeBudget);
    QCOMPARE(result.error, u"reading it took longer than 0.3 s of processor time"_s);
    QVERIFY(result.isOverBudget);
    QCOMPARE(TestFiles::read(path), bytes);
}

void TextRecognizerTest::languagesFollowTheLocaleWhenTheirDataIsInstalled_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<OptionalText>("setting");
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("languages");
    QTest::addColumn<QString>("notice");
    const QStringList german{u"LANG=de_DE.UTF-8"_s};
    const QStringList all{"eng", "deu", "fra", "chi_sim"};
    QTest::addRow("German locale, German data installed")
        << german << OptionalText() << all << u"deu+eng"_s << QString();
    QTest::addRow("German locale, no German data")
        << german << OptionalText() << QStringList{"eng"} << u"eng"_s
        << u"German text recognition needs the package tesseract-ocr-deu; reading English until then."_s;
    QTest::addRow("LANGUAGE lists French first") << QStringList{u"LANGUAGE=fr_FR:de"_s, u"LANG=de_DE.UTF-8"_s}
                                                 << OptionalText() << all << u"fra+deu+eng"_s << QString();
    QTest::addRow("setting overrides the locale")
        << german << OptionalText(u"chi_sim + fra"_s) << QStringList{"eng", "chi_sim"} << u"chi_sim+eng"_s
        << u"French text recognition needs the package tesseract-ocr-fra; reading Chinese and English "
           "until then."_s;
    QTest::addRow("C locale") << QStringList{u"LC_ALL=C"_s, u"LANG=de_DE"_s} << OptionalText() << all
                              << u"eng"_s << QString();
    QTest::addRow("no data at all") << QStringList{u"LANG=C.UTF-8"_s} << OptionalText() << QStringList()
                                    << QString()
                                    << u"English text recognition needs the package tesseract-ocr-eng; text "
                                       "recognition is off until then."_s;
}

void TextRecognizerTest::languagesFollowTheLocaleWhenTheirDataIsInstalled()
{
    QFETCH(QStringList, environment);
    QFETCH(OptionalText, setting);
    QFETCH(QStringList, installed);
    QFETCH(QString, languages);
    QFETCH(QString, notice);
    QString english;
    for (const QString &folder : {qEnvironmentVariable("TESSDATA_PREFIX"),
                                  u"/usr/share/tesseract-ocr/5/tessdata"_s, u"/usr/share/tessdata"_s})
        if (english.isEmpty() && QFile::exists(folder + u"/eng.traineddata"_s))
            english = folder + u"/eng.traineddata"_s;
    QVERIFY2(!english.isEmpty(), "eng.traineddata not found");
    // Any data file loads under any name: the others here are the English one, linked.
    for (const QString &language : installed)
        QVERIFY(QFile::link(english, m_dir->filePath(language + u".traineddata"_s)));
    QProcessEnvironment variables;
    for (const QString &variable : environment)
        variables.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));

    const QByteArray previous = qgetenv("TESSDATA_PREFIX");
    qputenv("TESSDATA_PREFIX", QFile::encodeName(m_dir->path()) + '/');
    const QStringList wanted = RecognitionLanguages::wanted(setting, variables);
    const auto choice = RecognitionLanguages::choose(wanted, RecognitionLanguages::installed());
    if (installed.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"could not start"_s));
    TextRecognizer recognizer(wanted);
    previous.isNull() ? qunsetenv("TESSDATA_PREFIX") : qputenv("TESSDATA_PREFIX", previous);

    QCOMPARE(recognizer.languages(), languages);
    QCOMPARE(RecognitionLanguages::missingDataNotice(choice), notice);
    const QString blank = m_dir->filePath(u"blank.png"_s);
    QImage white(320, 200, QImage::Format_RGB32);
    white.fill(Qt::white);
    QVERIFY(white.save(blank));
    const RecognitionResult result = recognizer.recognizeLines(blank);
    QCOMPARE(result.error.isEmpty(), !languages.isEmpty());
    QCOMPARE(result.lines.size(), 0u); // a blank page is no error, and no text
}

QTEST_MAIN(TextRecognizerTest)
#include "TextRecognizerTest.moc"
