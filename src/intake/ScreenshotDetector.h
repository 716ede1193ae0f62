// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "intake/FileSystem.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// The facts about one file that the detector decides on.
struct ScreenshotCandidate
{
    QString path; // as reported
    bool isDirectory = false;
    bool hasScreenCaptureMetadata = false; // a screenshot tool marked it as a capture
    std::optional<QDateTime> creationDate = {};
    bool isMarkedHandled = false;
    bool isSymbolicLink = false;
    FileIdentity identity = {}; // the file these facts are about
    bool isSpecial = false;     // a FIFO, socket or device

    bool operator==(const ScreenshotCandidate &) const = default;
};

enum class DetectionVerdict
{
    Accept,
    RejectTemporaryFile,
    RejectDirectory,
    RejectSpecialFile,
    RejectSymbolicLink,
    RejectUnsupportedType,
    RejectAlreadyProcessed,
    RejectNotScreenshot,
    RejectStale,
};

// The case name as logs show it: "accept", "rejectTemporaryFile", ...
QString verdictName(DetectionVerdict verdict);

// Decides whether a file that appeared in the watched folder is a fresh screenshot to name, and
// keeps the marker that tells the files already named. A plain value; the static functions touch
// only the file they are given.
struct ScreenshotDetector
{
    // The names the screenshot tools saving into this folder give, beside the usual "Screenshot …".
    QList<QRegularExpression> toolNames;
    double maximumAge = 120; // seconds a file may be old and still be taken

    // `processedPaths` holds canonical paths (see CanonicalPath.h) of files already taken up.
    DetectionVerdict evaluate(const ScreenshotCandidate &candidate, const QSet<QString> &processedPaths,
                              const QDateTime &now) const;
    bool matchesScreenshotFilename(const QString &fileName) const;

    bool operator==(const ScreenshotDetector &) const = default;

    // Compiled as the tools' name patterns are matched (see NamePattern).
    static QList<QRegularExpression> compiledNames(const QStringList &patterns);
    // Presence alone means handled; the program writes "1".
    static constexpr char handledAttributeName[] = "user.quillo.handled";
    // A property-list boolean or number, as files copied from a Mac carry it.
    static constexpr char screenCaptureAttributeName[] = "user.com.apple.metadata:kMDItemIsScreenCapture";

    // Nothing when the file cannot be examined (for example because it is already gone). Nothing is
    // read through a symbolic link.
    static std::optional<ScreenshotCandidate> candidate(const FileSystem &fileSystem, const QString &path);
    // The capture flag attribute when present (a false there is final); otherwise the PNG text
    // "Software" or "Source" naming a screenshot tool.
    static bool hasScreenCaptureMetadata(const FileSystem &fileSystem, const QString &path);
    static bool isMarkedHandled(const FileSystem &fileSystem, const QString &path);
    // Fails, for example, on a file system without user attributes; the caller logs it.
    static FileResult markHandled(const FileSystem &fileSystem, const QString &path);
};
