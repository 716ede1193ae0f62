#include "intake/ScreenshotDetector.h"

#include "intake/CanonicalPath.h"
#include "intake/LinuxFileSystem.h"
#include "support/FakeFileSystem.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sys/xattr.h>

#include <fcntl.h>

class ScreenshotDetectorTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_folder.reset(); }
    void evaluate_data();
    void evaluate();
    void matchesScreenshotFilename_data();
    void matchesScreenshotFilename();
    void captureFlag_data();
    void captureFlag();
    void damagedPng_data();
    void damagedPng();
    void candidateReadsFileFacts_data();
    void candidateReadsFileFacts();
    void markerOutlivesRestartAndMove();
    void markingFailsWithoutAttributeSupport();
    void processedPathsCompareCanonically_data();
    void processedPathsCompareCanonically();

private:
    QString path(const QString &name) const { return m_folder->filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes) const;

    std::unique_ptr<QTemporaryDir> m_folder;
    LinuxFileSystem m_fileSystem;
};

namespace {

const QDateTime now(QDate(2025, 3, 14), QTime(10, 22, 31), Qt::UTC);

// One object, its offset table and the trailer; `tableOffset` overrides where the table claims to be.
QByteArray binaryPlist(const QByteArray &object, std::optional<quint64> tableOffset = {})
{
    QByteArray trailer(32, '\0');
    trailer[6] = trailer[7] = 1;
    qToBigEndian<quint64>(1, trailer.data() + 8);
    qToBigEndian<quint64>(tableOffset.value_or(8 + object.size()), trailer.data() + 24);
    return "bplist00" + object + '\x08' + trailer;
}

QByteArray xmlPlist(const QByteArray &object)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST "
           "1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n" +
           object + "\n</plist>\n";
}

QByteArray png(const QString &key = {}, const QString &text = {})
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!key.isEmpty())
        image.setText(key, text);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

void ScreenshotDetectorTest::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    // Some temporary folders (older tmpfs) keep no user attributes; the home folder's disk does.
    for (const QString &base : {QDir::tempPath(), QDir::homePath()}) {
        m_folder = std::make_unique<QTemporaryDir>(base + QStringLiteral("/detector-XXXXXX"));
        QVERIFY(m_folder->isValid());
        if (::setxattr(QFile::encodeName(m_folder->path()).constData(), "user.probe", "1", 1, 0) == 0)
            return;
    }
    QSKIP("Neither the temporary nor the home folder keeps user extended attributes");
}

void ScreenshotDetectorTest::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

void ScreenshotDetectorTest::evaluate_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isDirectory");
    QTest::addColumn<bool>("flagged");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<QDateTime>("created"); // invalid: the file system keeps no date
    QTest::addColumn<DetectionVerdict>("expected");
    using V = DetectionVerdict;
    const QString shot = QStringLiteral("Screenshot 2025-03-14 at 10.22.31.png");
    QTest::addRow("hidden file is temporary before anything else")
        << u'.' + shot << true << true << true << now.addDays(-9) << V::RejectTemporaryFile;
    QTest::addRow("folder") << shot << true << false << false << now << V::RejectDirectory;
    QTest::addRow("upper-case extension")
        << QStringLiteral("Screenshot 1.PNG") << false << false << false << now << V::Accept;
    QTest::addRow("gif with flag") << QStringLiteral("Screenshot 1.gif") << false << true << false << now
                                   << V::RejectUnsupportedType;
    QTest::addRow("mov with flag") << QStringLiteral("a.mov") << false << true << false << now
                                   << V::RejectUnsupportedType;
    QTest::addRow("no extension") << QStringLiteral("Screenshot 1") << false << false << false << now
                                  << V::RejectUnsupportedType;
    QTest::addRow("marked handled") << shot << false << true << true << now << V::RejectAlreadyProcessed;
    QTest::addRow("flag accepts any name")
        << QStringLiteral("IMG_0001.jpeg") << false << true << false << now << V::Accept;
    QTest::addRow("no flag, no known name")
        << QStringLiteral("IMG_0001.jpeg") << false << false << false << now << V::RejectNotScreenshot;
    QTest::addRow("121 s old is stale")
        << shot << false << false << false << now.addSecs(-121) << V::RejectStale;
    QTest::addRow("exactly 120 s old") << shot << false << false << false << now.addSecs(-120) << V::Accept;
    QTest::addRow("created in the future") << shot << false << false << false << now.addSecs(60) << V::Accept;
    QTest::addRow("no creation date") << shot << false << false << false << QDateTime() << V::Accept;
}

void ScreenshotDetectorTest::evaluate()
{
    QFETCH(QString, name);
    QFETCH(bool, isDirectory);
    QFETCH(bool, flagged);
    QFETCH(bool, marked);
    QFETCH(QDateTime, created);
    QFETCH(DetectionVerdict, expected);
    const ScreenshotCandidate candidate{path(name), isDirectory, flagged,
                                        created.isValid() ? std::optional(created) : std::nullopt, marked};
    QCOMPARE(verdictName(ScreenshotDetector().evaluate(candidate, {}, now)), verdictName(expected));
}

void ScreenshotDetectorTest::matchesScreenshotFilename_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<QString>>("customPrefix");
    QTest::addColumn<bool>("expected");
    for (const QString &prefix : ScreenshotDetector::defaultFilenamePrefixes())
        QTest::addRow("%s", qPrintable(prefix))
            << prefix + QStringLiteral(" 1.png") << std::optional<QString>() << true;
    const auto row = [](const char *situation, const QString &name, std::optional<QString> custom,
                        bool expected) {
        QTest::addRow("%s", situation) << name << custom << expected;
    };
    row("lower case, underscore", QStringLiteral("screenshot_12.png"), {}, true);
    row("no-break space", QStringLiteral("Screenshot\u00a02025.png"), {}, true);
    row("dot after prefix", QStringLiteral("Screenshot.png"), {}, false);
    row("letter after prefix", QStringLiteral("Screenshots 2025.png"), {}, false);
    row("prefix alone", QStringLiteral("Screenshot"), {}, false);
    row("prefix not at the start", QStringLiteral("My Screenshot 1.png"), {}, false);
    row("newline after prefix", QStringLiteral("Screenshot\n1.png"), {}, false);
    row("upper-case Cyrillic", QStringLiteral("СНИМОК ЭКРАНА 1.png"), {}, true);
    row("decomposed accent", QStringLiteral("Capture d’e\u0301cran 1.png"), {}, true);
    row("custom prefix", QStringLiteral("MyShot-1.png"), QStringLiteral("MyShot"), true);
    row("custom prefix not configured", QStringLiteral("MyShot-1.png"), {}, false);
    row("empty custom prefix adds nothing", QStringLiteral("-1.png"), QString(), false);
}

void ScreenshotDetectorTest::matchesScreenshotFilename()
{
    QFETCH(QString, name);
    QFETCH(std::optional<QString>, customPrefix);
    QFETCH(bool, expected);
    QCOMPARE(ScreenshotDetector{customPrefix}.matchesScreenshotFilename(name), expected);
}

void ScreenshotDetectorTest::captureFlag_data()
{
    QTest::addColumn<QByteArray>("attribute"); // null: none
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("expected");
    const QByteArray plain = png();
    const QByteArray fromMac = QByteArray::fromHex("62706c6973743030090800000000000001010000000000000001"
                                                   "00000000000000000000000000000009");
    QTest::addRow("binary true as a Mac writes it") << fromMac << plain << true;
    QTest::addRow("binary false") << binaryPlist("\x08") << plain << false;
    QTest::addRow("binary integer 1") << binaryPlist(QByteArray("\x10\x01", 2)) << plain << true;
    QTest::addRow("binary integer 0") << binaryPlist(QByteArray("\x10\x00", 2)) << plain << false;
    QTest::addRow("binary real 1.0") << binaryPlist(QByteArray::fromHex("233ff0000000000000")) << plain
                                     << true;
    QTest::addRow("binary string") << binaryPlist("\x51"
                                                  "A")
                                   << plain << false;
    QTest::addRow("binary offset table outside") << binaryPlist("\x09", 4000) << plain << false;
    QTest::addRow("binary cut short") << fromMac.left(20) << plain << false;
    QTest::addRow("xml true") << xmlPlist("<true/>") << plain << true;
    QTest::addRow("xml false") << xmlPlist("<false/>") << plain << false;
    QTest::addRow("xml integer 1") << xmlPlist("<integer>1</integer>") << plain << true;
    QTest::addRow("xml unclosed") << xmlPlist("<true/>").chopped(9) << plain << false;
    QTest::addRow("not a property list") << QByteArray("yes") << plain << false;
    const QByteArray gnome = png(QStringLiteral("Software"), QStringLiteral("gnome-screenshot"));
    QTest::addRow("stored false beats PNG text") << binaryPlist("\x08") << gnome << false;
    QTest::addRow("malformed attribute, PNG decides") << QByteArray("yes") << gnome << true;
    const auto software = [](const char *situation, const QString &key, const QString &text, bool expected) {
        QTest::addRow("%s", situation) << QByteArray() << png(key, text) << expected;
    };
    const QString softwareKey = QStringLiteral("Software");
    software("gnome-screenshot", softwareKey, QStringLiteral("gnome-screenshot"), true);
    software("GNOME Shell", softwareKey, QStringLiteral("GNOME Shell"), true);
    software("Xfce", softwareKey, QStringLiteral("xfce4-screenshooter"), true);
    software("Source Flameshot", QStringLiteral("Source"), QStringLiteral("Flameshot"), true);
    software("long text, compressed", softwareKey,
             QStringLiteral("Spectacle 24.02.1, the screenshot utility of the KDE desktop"), true);
    software("non-Latin text", softwareKey, QStringLiteral("ksnip – 截图工具"), true);
    software("image editor", softwareKey, QStringLiteral("GIMP 2.10"), false);
    software("tool name inside a word", softwareKey, QStringLiteral("Shutterstock Editor"), false);
    software("other keyword", QStringLiteral("Comment"), QStringLiteral("Spectacle"), false);
    software("no text at all", {}, {}, false);
    QFile corpus(qEnvironmentVariable("QUILLO_CORPUS_DIR") + QStringLiteral("/images/c022.png"));
    if (corpus.open(QIODevice::ReadOnly))
        QTest::addRow("real gnome-screenshot capture") << QByteArray() << corpus.readAll() << true;
}

void ScreenshotDetectorTest::captureFlag()
{
    QFETCH(QByteArray, attribute);
    QFETCH(QByteArray, file);
    QFETCH(bool, expected);
    writeFile(QStringLiteral("IMG_0001.png"), file);
    if (!attribute.isNull())
        QVERIFY(m_fileSystem.setExtendedAttribute(path(QStringLiteral("IMG_0001.png")),
                                                  ScreenshotDetector::screenCaptureAttributeName, attribute));
    QCOMPARE(ScreenshotDetector::hasScreenCaptureMetadata(m_fileSystem, path(QStringLiteral("IMG_0001.png"))),
             expected);
}

void ScreenshotDetectorTest::damagedPng_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("expected");
    const QByteArray whole = png(QStringLiteral("Software"), QStringLiteral("Flameshot"));
    const qsizetype chunk = whole.indexOf("tEXt") - 4;
    const qsizetype afterChunk = chunk + 12 + qFromBigEndian<quint32>(whole.constData() + chunk);
    QByteArray badChecksum = whole;
    badChecksum[afterChunk - 1] = char(badChecksum[afterChunk - 1] ^ 0x55);
    QByteArray hugeLength = whole;
    qToBigEndian<quint32>(0x7ffffff0, hugeLength.data() + chunk);
    QTest::addRow("cut after the text chunk") << whole.left(afterChunk) << true;
    QTest::addRow("cut inside the text chunk") << whole.left(afterChunk - 6) << false;
    QTest::addRow("cut inside a chunk header") << whole.left(chunk + 3) << false;
    QTest::addRow("wrong checksum") << badChecksum << false;
    QTest::addRow("length beyond the file") << hugeLength << false;
    QTest::addRow("not a PNG") << QByteArray("GIF89a Software\0Flameshot", 25) << false;
    QTest::addRow("empty") << QByteArray() << false;
}

void ScreenshotDetectorTest::damagedPng()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, expected);
    writeFile(QStringLiteral("a.png"), file);
    QCOMPARE(ScreenshotDetector::hasScreenCaptureMetadata(m_fileSystem, path(QStringLiteral("a.png"))),
             expected);
}

void ScreenshotDetectorTest::candidateReadsFileFacts_data()
{
    QTest::addColumn<QByteArray>("name"); // raw bytes, as on disk
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("found");
    QTest::addColumn<bool>("isDirectory");
    QTest::addRow("file") << QByteArray("Screenshot 1.png") << "file" << true << false;
    QTest::addRow("folder") << QByteArray("Screenshot 2.png") << "folder" << true << true;
    QTest::addRow("gone already") << QByteArray("Screenshot 3.png") << "none" << false << false;
    QTest::addRow("dangling link") << QByteArray("Screenshot 4.png") << "link" << false << false;
    QTest::addRow("name not valid UTF-8") << QByteArray("Screenshot \xff.png") << "file" << false << false;
}

void ScreenshotDetectorTest::candidateReadsFileFacts()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, kind);
    QFETCH(bool, found);
    QFETCH(bool, isDirectory);
    const QByteArray raw = QFile::encodeName(m_folder->path()) + '/' + name;
    if (kind == u"file")
        QVERIFY(::close(::open(raw.constData(), O_CREAT | O_WRONLY, 0644)) == 0);
    if (kind == u"folder")
        QVERIFY(QDir().mkdir(QFile::decodeName(raw)));
    if (kind == u"link")
        QVERIFY(QFile::link(path(QStringLiteral("missing")), QFile::decodeName(raw)));
    const auto candidate = ScreenshotDetector::candidate(m_fileSystem, QFile::decodeName(raw));
    ::unlink(raw.constData()); // QTemporaryDir cannot remove a name that is not valid UTF-8
    QCOMPARE(candidate.has_value(), found);
    if (!found)
        return;
    QCOMPARE(candidate->isDirectory, isDirectory);
    QVERIFY(!candidate->isMarkedHandled && !candidate->hasScreenCaptureMetadata);
    if (candidate->creationDate) // birth time, where the file system keeps one
        QVERIFY(qAbs(candidate->creationDate->secsTo(QDateTime::currentDateTimeUtc())) < 60);
}

void ScreenshotDetectorTest::markerOutlivesRestartAndMove()
{
    writeFile(QStringLiteral("Screenshot 1.png"), png());
    QVERIFY(ScreenshotDetector::markHandled(m_fileSystem, path(QStringLiteral("Screenshot 1.png"))));
    QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("elsewhere")));
    const QString moved = path(QStringLiteral("elsewhere/Screenshot 1.png"));
    QVERIFY(QFile::rename(path(QStringLiteral("Screenshot 1.png")), moved));

    const LinuxFileSystem afterRestart;
    QCOMPARE(afterRestart.extendedAttribute(moved, ScreenshotDetector::handledAttributeName),
             QByteArray("1"));
    const auto candidate = ScreenshotDetector::candidate(afterRestart, moved);
    QVERIFY(candidate && candidate->isMarkedHandled);
    QCOMPARE(ScreenshotDetector().evaluate(*candidate, {}, QDateTime::currentDateTimeUtc()),
             DetectionVerdict::RejectAlreadyProcessed);
}

void ScreenshotDetectorTest::markingFailsWithoutAttributeSupport()
{
    FakeFileSystem withoutAttributes;
    withoutAttributes.setExtendedAttributesSupported(false);
    writeFile(QStringLiteral("Screenshot 1.png"), png());
    const FileResult result =
        ScreenshotDetector::markHandled(withoutAttributes, path(QStringLiteral("Screenshot 1.png")));
    QCOMPARE(result.error, FileError::Unsupported);
    QVERIFY(!result.description.isEmpty());
    QVERIFY(!ScreenshotDetector::isMarkedHandled(m_fileSystem, path(QStringLiteral("Screenshot 1.png"))));
}

void ScreenshotDetectorTest::processedPathsCompareCanonically_data()
{
    QTest::addColumn<QString>("reported");
    QTest::addColumn<DetectionVerdict>("expected");
    QTest::addRow("same path") << "real/Screenshot 1.png" << DetectionVerdict::RejectAlreadyProcessed;
    QTest::addRow("through a linked parent")
        << "link/Screenshot 1.png" << DetectionVerdict::RejectAlreadyProcessed;
    QTest::addRow("with . and ..") << "real/./sub/../Screenshot 1.png"
                                   << DetectionVerdict::RejectAlreadyProcessed;
    QTest::addRow("another file") << "real/Screenshot 2.png" << DetectionVerdict::Accept;
}

void ScreenshotDetectorTest::processedPathsCompareCanonically()
{
    QFETCH(QString, reported);
    QFETCH(DetectionVerdict, expected);
    QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("real/sub")));
    QVERIFY(QFile::link(path(QStringLiteral("real")), path(QStringLiteral("link"))));
    const QSet<QString> processed{canonicalPath(path(QStringLiteral("real/Screenshot 1.png")))};
    const ScreenshotCandidate candidate{path(reported), false, false, std::nullopt, false};
    QCOMPARE(verdictName(ScreenshotDetector().evaluate(candidate, processed, now)), verdictName(expected));
}

QTEST_GUILESS_MAIN(ScreenshotDetectorTest)
#include "ScreenshotDetectorTest.moc"
