// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Finds named things in one line of recognised text (files, repositories, projects with a pull
// request or version) and returns each as a short group of lower-case words. Pure functions, safe
// on any thread; the word sets and patterns are built once on first use.
namespace ArtifactExtractor {

// fileNames, then namesBeforeMarkers, then repositoryNames, without empty groups.
QList<QStringList> names(const QString &text);

// The project words of every token with a known extension: "Quarterly-Report.pdf" -> [quarterly].
QList<QStringList> fileNames(QStringView text);

// Up to 3 capitalised tokens right before "PR #42", "v2.1.0" or "pull request #7".
QList<QStringList> namesBeforeMarkers(const QString &text);

// The repository of "owner/repository" when it does not read as prose ("acme/widgets" does).
QList<QStringList> repositoryNames(const QString &text);

// The first 3 words of the stem's first part that names something: "QuarterlyReport_2024" ->
// [quarterly, report]; none for "IMG_2024" or "Screenshot_final".
std::optional<QStringList> projectWords(QStringView fileStem);

// A space before each upper-case letter that follows a lower-case one: "iOSApp" -> "i OSApp".
QString splitCamelCase(QStringView text);

} // namespace ArtifactExtractor
