// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/ScreenshotDetector.h"

#include "core/CanonicalPath.h"
#include "intake/PngText.h"
#include "intake/PropertyList.h"

#include <QRegularExpression>

#include <algorithm>
#include <iterator>

namespace {

// Text chunks sit near the start; a colour profile before them is a few kilobytes.
constexpr qsizetype pngHeadLimit = 64 * 1024;

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString extensionOf(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? QString() : fileName.mid(dot + 1).toLower();
}

// Names compare after case folding and composition, so that "é" typed either way matches.
QString folded(const QString &text)
{
    return text.normalized(QString::NormalizationForm_C).toLower();
}

bool startsWithPrefix(const QString &foldedName, const QString &prefix)
{
    const QString foldedPrefix = folded(prefix);
    if (!foldedName.startsWith(foldedPrefix) || foldedName.size() <= foldedPrefix.size())
        return false;
    const QChar next = foldedName.at(foldedPrefix.size());
    return next == u' ' || next == u'_' || next == u'-' || next == QChar(0x00a0);
}

bool namesScreenshotTool(QString software)
{
    static const QRegularExpression tools(
        QStringLiteral("\\b(gnome screenshot|gnome shell|spectacle|flameshot|ksnip|shutter|xfce4 "
                       "screenshooter|mate screenshot)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    software.replace(u'-', u' ').replace(u'_', u' ');
    return tools.match(software).hasMatch();
}

std::optional<bool> extendedAttributeBool(const FileSystem &fileSystem, const char *name, const QString &path)
{
    const auto bytes = fileSystem.extendedAttribute(path, name);
    if (!bytes || bytes->isEmpty())
        return std::nullopt;
    return PropertyList::truthValue(*bytes);
}

const QSet<QString> &supportedExtensions()
{
    static const QSet<QString> extensions = {
        QStringLiteral("png"),  QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("heic"),
        QStringLiteral("tiff"), QStringLiteral("tif"), QStringLiteral("pdf"),
    };
    return extensions;
}

const QStringList &defaultFilenamePrefixes()
{
    static const QStringList prefixes = {
        QStringLiteral("Screenshot"),
        QStringLiteral("Screen Shot"),
        QStringLiteral("CleanShot"),
        QStringLiteral("Bildschirmfoto"),
        QStringLiteral("Capture d’écran"), // typographic apostrophe U+2019
        QStringLiteral("Capture d'écran"),
        QStringLiteral("Captura de pantalla"),
        QStringLiteral("Captura de ecrã"),
        QStringLiteral("Schermata"),
        QStringLiteral("Schermafbeelding"),
        QStringLiteral("Skjermbilde"),
        QStringLiteral("Skärmavbild"),
        QStringLiteral("Skærmbillede"),
        QStringLiteral("Näyttökuva"),
        QStringLiteral("Zrzut ekranu"),
        QStringLiteral("Снимок экрана"),
        QStringLiteral("スクリーンショット"),
        QStringLiteral("截屏"),
        QStringLiteral("螢幕快照"),
        QStringLiteral("스크린샷"),
    };
    return prefixes;
}

} // namespace

QString verdictName(DetectionVerdict verdict)
{
    static constexpr const char *names[] = {"accept",
                                            "rejectTemporaryFile",
                                            "rejectDirectory",
                                            "rejectSpecialFile",
                                            "rejectSymbolicLink",
                                            "rejectUnsupportedType",
                                            "rejectAlreadyProcessed",
                                            "rejectNotScreenshot",
                                            "rejectStale"};
    static_assert(std::size(names) == size_t(DetectionVerdict::RejectStale) + 1);
    const auto index = size_t(verdict);
    return index < std::size(names) ? QString::fromLatin1(names[index]) : QString::number(index);
}

DetectionVerdict ScreenshotDetector::evaluate(const ScreenshotCandidate &candidate,
                                              const QSet<QString> &processedPaths, const QDateTime &now) const
{
    const QString name = fileNameOf(candidate.path);
    if (name.startsWith(u'.'))
        return DetectionVerdict::RejectTemporaryFile;
    if (candidate.isDirectory)
        return DetectionVerdict::RejectDirectory;
    // Moving a FIFO someone named like a screenshot would hand it to whoever reads there.
    if (candidate.isSpecial)
        return DetectionVerdict::RejectSpecialFile;
    // A link may lead out of the folder; neither it nor what it leads to is Quillo's to rename.
    if (candidate.isSymbolicLink)
        return DetectionVerdict::RejectSymbolicLink;
    if (!supportedExtensions().contains(extensionOf(name)))
        return DetectionVerdict::RejectUnsupportedType;
    if (candidate.isMarkedHandled || processedPaths.contains(canonicalPath(candidate.path)))
        return DetectionVerdict::RejectAlreadyProcessed;
    if (!candidate.hasScreenCaptureMetadata && !matchesScreenshotFilename(name))
        return DetectionVerdict::RejectNotScreenshot;
    // Exactly the maximum age, a date in the future or no date at all still pass.
    if (candidate.creationDate && double(candidate.creationDate->msecsTo(now)) / 1000.0 > maximumAge)
        return DetectionVerdict::RejectStale;
    return DetectionVerdict::Accept;
}

bool ScreenshotDetector::matchesScreenshotFilename(const QString &fileName) const
{
    const QString name = folded(fileName);
    const auto &prefixes = defaultFilenamePrefixes();
    if (std::any_of(prefixes.begin(), prefixes.end(), [&](const QString &prefix) {
            return startsWithPrefix(name, prefix);
        }))
        return true;
    return std::any_of(toolNames.begin(), toolNames.end(), [&](const QRegularExpression &pattern) {
        return pattern.match(fileName).hasMatch();
    });
}

QList<QRegularExpression> ScreenshotDetector::compiledNames(const QStringList &patterns)
{
    QList<QRegularExpression> compiled;
    for (const QString &pattern : patterns) {
        QRegularExpression expression(pattern, QRegularExpression::CaseInsensitiveOption |
                                                   QRegularExpression::UseUnicodePropertiesOption);
        if (expression.isValid())
            compiled.append(expression);
    }
    return compiled;
}

std::optional<ScreenshotCandidate> ScreenshotDetector::candidate(const FileSystem &fileSystem,
                                                                 const QString &path)
{
    const auto facts = fileSystem.facts(path);
    if (!facts)
        return std::nullopt;
    ScreenshotCandidate candidate{path,  facts->isDirectory,    false,           facts->creationDate,
                                  false, facts->isSymbolicLink, facts->identity, facts->isSpecial};
    if (!facts->isSymbolicLink && !facts->isSpecial) {
        candidate.hasScreenCaptureMetadata = hasScreenCaptureMetadata(fileSystem, path);
        candidate.isMarkedHandled = isMarkedHandled(fileSystem, path);
    }
    return candidate;
}

bool ScreenshotDetector::hasScreenCaptureMetadata(const FileSystem &fileSystem, const QString &path)
{
    if (const auto flag = extendedAttributeBool(fileSystem, screenCaptureAttributeName, path))
        return *flag;
    const auto head = fileSystem.readStart(path, pngHeadLimit);
    if (!head)
        return false;
    const QStringList software =
        PngText::values(*head, {QByteArrayLiteral("Software"), QByteArrayLiteral("Source")});
    return std::any_of(software.begin(), software.end(), namesScreenshotTool);
}

bool ScreenshotDetector::isMarkedHandled(const FileSystem &fileSystem, const QString &path)
{
    return fileSystem.extendedAttribute(path, handledAttributeName).has_value();
}

FileResult ScreenshotDetector::markHandled(const FileSystem &fileSystem, const QString &path)
{
    return fileSystem.setExtendedAttribute(path, handledAttributeName, QByteArrayLiteral("1"));
}
