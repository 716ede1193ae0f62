// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/ScreenshotDetector.h"

#include "core/CanonicalPath.h"
#include "intake/LinuxFileSystem.h"
#include "settings/NamePattern.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sys/stat.h>
#include <sys/xattr.h>

#include <fcntl.h>

using namespace Qt::StringLiterals;

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
    void candidateReadsFileFacts_data();
    void candidateReadsFileFacts();
    void markerOutlivesRestartAndMove();
    void processedPathsCompareCanonically_data();
    void processedPathsCompareCanonically();

private:
    QString path(const QString &name) const { return m_folder->filePath(name); }

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
    return R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0">)" + object + "</plist>\n";
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
    QTest::failOnWarning(QRegularExpression(u"."_s));
    // Some temporary folders (older tmpfs) keep no user attributes; the home folder's disk does.
    for (const QString &base : {QDir::tempPath(), QDir::homePath()}) {
        m_folder = std::make_unique<QTemporaryDir>(base + u"/detector-XXXXXX"_s);
        QVERIFY(m_folder->isValid());
        if (::setxattr(QFile::encodeName(m_folder->path()).constData(), "user.probe", "1", 1, 0) == 0)
            return;
    }
    QSKIP("Neither the temporary nor the home folder keeps user extended attributes");
}

void ScreenshotDetectorTest::evaluate_data()
{
    QTest::addColumn<ScreenshotCandidate>("candidate");
    QTest::addColumn<DetectionVerdict>("expected");
    const auto row = [](const char *situation, const char *name, bool isDirectory, bool flagged, bool marked,
                        std::optional<int> age, DetectionVerdict expected) {
        const auto created = age ? std::optional(now.addSecs(-*age)) : std::nullopt;
        QTest::addRow("%s", situation) << ScreenshotCandidate{u"/shots/"_s + QString::fromUtf8(name),
                                                              isDirectory,
                                                              flagged,
                                                              created,
                                                              marked,
                                                              false,
                                                              {}}
                                       << expected;
    };
    using V = DetectionVerdict;
    row("hidden file first", ".Screenshot 2025-03-14 at 10.22.31.png", true, true, true, 999,
        V::RejectTemporaryFile);
    row("folder", "Screenshot 1.png", true, false, false, 0, V::RejectDirectory);
    row("upper-case extension", "Screenshot 2025-03-14 at 10.22.31.PNG", false, false, false, 0, V::Accept);
    row("gif with flag", "Screenshot 1.gif", false, true, false, 0, V::RejectUnsupportedType);
    row("no extension", "Screenshot 1", false, false, false, 0, V::RejectUnsupportedType);
    row("marked handled", "Screenshot 1.png", false, true, true, 0, V::RejectAlreadyProcessed);
    row("flag accepts any name", "IMG_0001.jpeg", false, true, false, 0, V::Accept);
    row("no flag, unknown name", "IMG_0001.jpeg", false, false, false, 0, V::RejectNotScreenshot);
    row("121 s old", "Screenshot 1.png", false, false, false, 121, V::RejectStale);
    row("exactly 120 s old", "Screenshot 1.png", false, false, false, 120, V::Accept);
    row("created in the future", "Screenshot 1.png", false, false, false, -60, V::Accept);
    row("no creation date", "Screenshot 1.png", false, false, false, std::nullopt, V::Accept);
    QTest::addRow("symbolic link, even flagged")
        << ScreenshotCandidate{u"/shots/Screenshot 1.png"_s, false, true, now, false, true, {}}
        << V::RejectSymbolicLink;
}

void ScreenshotDetectorTest::evaluate()
{
    QFETCH(ScreenshotCandidate, candidate);
    QFETCH(DetectionVerdict, expected);
    QCOMPARE(verdictName(ScreenshotDetector().evaluate(candidate, {}, now)), verdictName(expected));
}

void ScreenshotDetectorTest::matchesScreenshotFilename_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("toolPattern"); // a pattern of the tools saving here, or none
    QTest::addColumn<bool>("expected");
    const auto row = [](const char *situation, const QString &name, const QString &pattern, bool expected) {
        QTest::addRow("%s", situation) << name << pattern << expected;
    };
    using NamePattern::Syntax;
    const QString flameshot = NamePattern::fromTemplate(u"%F_%H-%M"_s, Syntax::Strftime);
    row("lower case, underscore", u"screenshot_12.png"_s, {}, true);
    row("no-break space", u"Screenshot\u00a02025.png"_s, {}, true);
    row("letter after prefix", u"Screenshots 2025.png"_s, {}, false);
    row("prefix alone", u"Screenshot"_s, {}, false);
    row("prefix not at the start", u"My Screenshot 1.png"_s, {}, false);
    row("newline after prefix", u"Screenshot\n1.png"_s, {}, false);
    row("upper-case Cyrillic", u"СНИМОК ЭКРАНА 1.png"_s, {}, true);
    row("decomposed accent", u"Capture d’e\u0301cran 1.png"_s, {}, true);
    row("a tool's name without a prefix", u"2026-12-06_10-00.png"_s, flameshot, true);
    row("the same name where no tool gives it", u"2026-12-06_10-00.png"_s, {}, false);
    row("a tool's second capture in a minute", u"2026-12-06_10-00_1.png"_s, flameshot, true);
    row("a photo beside a tool's captures", u"IMG_20261206_100000.jpg"_s, flameshot, false);
    row("a template's own prefix", u"Shot-2026 12.png"_s,
        NamePattern::fromTemplate(u"Shot-<yyyy> <MM>"_s, Syntax::SpectacleTags), true);
    row("a translated message", u"Bildschirmfoto vom 2026-12-06 10-00-00.png"_s,
        NamePattern::fromMessage(u"Bildschirmfoto vom %s.%s"_s, u"%Y-%m-%d %H-%M-%S"_s), true);
    row("Arabic digits in a tool's date", u"Shot_٢٠٢٦١٢٠٦_١٠٠٠٠٠.png"_s,
        NamePattern::fromTemplate(u"Shot_<yyyy><MM><dd>_<HH><mm><ss>"_s, Syntax::SpectacleTags), true);
}

void ScreenshotDetectorTest::matchesScreenshotFilename()
{
    QFETCH(QString, name);
    QFETCH(QString, toolPattern);
    QFETCH(bool, expected);
    ScreenshotDetector detector;
    if (!toolPattern.isEmpty())
        detector.toolNames = ScreenshotDetector::compiledNames({toolPattern});
    QCOMPARE(detector.matchesScreenshotFilename(name), expected);
}

void ScreenshotDetectorTest::captureFlag_data()
{
    QTest::addColumn<QByteArray>("attribute"); // null: none
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("expected");
    const auto row = [](const char *situation, const QByteArray &attribute, const QByteArray &file,
                        bool expected) {
        QTest::addRow("%s", situation) << attribute << file << expected;
    };
    const QByteArray plain = png();
    const QByteArray gnome = png(u"Software"_s, u"gnome-screenshot"_s);
    const QByteArray fromMac =
        QByteArray::fromHex("62706c69737430300908000000000000010100000000000000010000000000"
                            "0000000000000000000009");
    row("binary true as a Mac writes it", fromMac, plain, true);
    row("binary false beats PNG text", binaryPlist("\x08"), gnome, false);
    row("binary integer 1", binaryPlist(QByteArray("\x10\x01", 2)), plain, true);
    row("binary real 0.0", binaryPlist(QByteArray::fromHex("230000000000000000")), gnome, false);
    row("binary string", binaryPlist("QA"), plain, false); // 0x51 "Q": an ASCII string of length 1
    row("binary offset table outside", binaryPlist("\x09", 4000), plain, false);
    row("binary cut short", fromMac.left(20), plain, false);
    row("xml true", xmlPlist("<true/>"), plain, true);
    row("xml integer 0", xmlPlist("<integer>0</integer>"), gnome, false);
    row("xml unclosed, PNG decides", xmlPlist("<true/>").chopped(9), gnome, true);
    row("not a property list", "yes", plain, false);
    const auto software = [&](const char *situation, const char *key, const char *text, bool expected) {
        row(situation, {}, png(QString::fromUtf8(key), QString::fromUtf8(text)), expected);
    };
    software("gnome-screenshot", "Software", "gnome-screenshot", true);
    software("Source Flameshot", "Source", "Flameshot", true);
    software("long text, compressed", "Software",
             "Spectacle 24.02.1, the screenshot utility of the KDE desktop", true);
    software("non-Latin text", "Software", "ksnip – 截图工具", true);
    software("tool name inside a word", "Software", "Shutterstock Editor", false);
    software("other keyword", "Comment", "Spectacle", false);
    const QByteArray flameshot = png(u"Software"_s, u"Flameshot"_s);
    const qsizetype chunk = flameshot.indexOf("tEXt") - 4;
    const qsizetype afterChunk = chunk + 12 + qFromBigEndian<quint32>(flameshot.constData() + chunk);
    QByteArray damaged = flameshot;
    damaged[afterChunk - 1] = char(damaged[afterChunk - 1] ^ 0x55);
    row("PNG cut after the text chunk", {}, flameshot.left(afterChunk), true);
    row("PNG cut inside the text chunk", {}, flameshot.left(afterChunk - 6), false);
    row("PNG cut inside a chunk header", {}, flameshot.left(chunk + 3), false);
    row("PNG chunk with wrong checksum", {}, damaged, false);
    qToBigEndian<quint32>(0x7ffffff0, damaged.data() + chunk);
    row("PNG chunk longer than the file", {}, damaged, false);
    row("not a PNG", {}, QByteArray("GIF89a Software\0Flameshot", 25), false);
    row("real gnome-screenshot capture", {},
        TestFiles::read(QStringLiteral(QUILLO_TEST_DATA "/screenshots/c022.png")), true);
}

void ScreenshotDetectorTest::captureFlag()
{
    QFETCH(QByteArray, attribute);
    QFETCH(QByteArray, file);
    QFETCH(bool, expected);
    const QString image = path(u"IMG_0001.png"_s);
    QVERIFY(TestFiles::write(image, file));
    if (!attribute.isNull())
        QVERIFY(m_fileSystem.setExtendedAttribute(image, ScreenshotDetector::screenCaptureAttributeName,
                                                  attribute));
    QCOMPARE(ScreenshotDetector::hasScreenCaptureMetadata(m_fileSystem, image), expected);
}

void ScreenshotDetectorTest::candidateReadsFileFacts_data()
{
    QTest::addColumn<QByteArray>("name"); // raw bytes, as on disk
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("found");
    QTest::addRow("file") << QByteArray("Screenshot 1.png") << u"file"_s << true;
    QTest::addRow("folder") << QByteArray("Screenshot 2.png") << u"folder"_s << true;
    QTest::addRow("gone already") << QByteArray("Screenshot 3.png") << u"none"_s << false;
    QTest::addRow("link to a marked capture") << QByteArray("Screenshot 4.png") << u"link"_s << true;
    QTest::addRow("a FIFO with a screenshot's name") << QByteArray("Screenshot 5.png") << u"fifo"_s << true;
    QTest::addRow("name not valid UTF-8") << QByteArray("Screenshot \xff.png") << u"file"_s << false;
}

void ScreenshotDetectorTest::candidateReadsFileFacts()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, kind);
    QFETCH(bool, found);
    const QByteArray raw = QFile::encodeName(m_folder->path()) + '/' + name;
    if (kind == u"file")
        QVERIFY(::close(::open(raw.constData(), O_CREAT | O_WRONLY, 0644)) == 0);
    if (kind == u"folder")
        QVERIFY(QDir().mkdir(QFile::decodeName(raw)));
    if (kind == u"fifo")
        QVERIFY(::mkfifo(raw.constData(), 0600) == 0);
    if (kind == u"link") {
        const QString capture = path(u"capture.png"_s);
        QVERIFY(TestFiles::write(capture, png(u"Software"_s, u"Flameshot"_s)));
        QVERIFY(ScreenshotDetector::markHandled(m_fileSystem, capture));
        QVERIFY(QFile::link(capture, QFile::decodeName(raw)));
    }
    const auto candidate = ScreenshotDetector::candidate(m_fileSystem, QFile::decodeName(raw));
    ::unlink(raw.constData()); // QTemporaryDir cannot remove a name that is not valid UTF-8
    QCOMPARE(candidate.has_value(), found);
    if (!found)
        return;
    QCOMPARE(candidate->isDirectory, kind == u"folder");
    QCOMPARE(candidate->isSymbolicLink, kind == u"link");
    QCOMPARE(verdictName(ScreenshotDetector().evaluate(*candidate, {}, QDateTime::currentDateTimeUtc())) ==
                 u"rejectSpecialFile"_s,
             kind == u"fifo");
    QVERIFY(!candidate->isMarkedHandled && !candidate->hasScreenCaptureMetadata); // not read through a link
    if (candidate->creationDate) // birth time, where the file system keeps one
        QVERIFY(qAbs(candidate->creationDate->secsTo(QDateTime::currentDateTimeUtc())) < 60);
}

void ScreenshotDetectorTest::markerOutlivesRestartAndMove()
{
    QVERIFY(TestFiles::write(path(u"Screenshot 1.png"_s)));
    QVERIFY(ScreenshotDetector::markHandled(m_fileSystem, path(u"Screenshot 1.png"_s)));
    QVERIFY(QDir(m_folder->path()).mkdir(u"elsewhere"_s));
    const QString moved = path(u"elsewhere/Screenshot 1.png"_s);
    QVERIFY(QFile::rename(path(u"Screenshot 1.png"_s), moved));

    const LinuxFileSystem afterRestart;
    QCOMPARE(afterRestart.extendedAttribute(moved, ScreenshotDetector::handledAttributeName),
             QByteArray("1"));
    const auto candidate = ScreenshotDetector::candidate(afterRestart, moved);
    QVERIFY(candidate && candidate->isMarkedHandled);
    QCOMPARE(ScreenshotDetector().evaluate(*candidate, {}, QDateTime::currentDateTimeUtc()),
             DetectionVerdict::RejectAlreadyProcessed);
}

void ScreenshotDetectorTest::processedPathsCompareCanonically_data()
{
    QTest::addColumn<QString>("reported");
    QTest::addColumn<DetectionVerdict>("expected");
    QTest::addRow("through a linked parent")
        << u"link/Screenshot 1.png"_s << DetectionVerdict::RejectAlreadyProcessed;
    QTest::addRow("another file") << u"real/Screenshot 2.png"_s << DetectionVerdict::Accept;
}

void ScreenshotDetectorTest::processedPathsCompareCanonically()
{
    QFETCH(QString, reported);
    QFETCH(DetectionVerdict, expected);
    QVERIFY(QDir(m_folder->path()).mkdir(u"real"_s));
    QVERIFY(QFile::link(path(u"real"_s), path(u"link"_s)));
    const QSet<QString> processed{canonicalPath(path(u"real/Screenshot 1.png"_s))};
    const ScreenshotCandidate candidate{path(reported), false, false, std::nullopt, false, false, {}};
    QCOMPARE(verdictName(ScreenshotDetector().evaluate(candidate, processed, now)), verdictName(expected));
}

QTEST_GUILESS_MAIN(ScreenshotDetectorTest)
#include "ScreenshotDetectorTest.moc"
