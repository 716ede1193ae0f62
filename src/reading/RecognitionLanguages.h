// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

// Which languages text recognition reads, by Tesseract's names ("eng", "deu", "chi_sim"). Pure
// functions, apart from listing the data folder.
namespace RecognitionLanguages {

// The folder holding Tesseract's language data: $TESSDATA_PREFIX as Tesseract reads it, else the
// system's folder.
QString dataFolder();
// The languages with data in the folder.
QStringList installed(const QString &folder = dataFolder());

// The languages wanted, the first preferred: the setting ("deu+fra") when it names any, else the
// user's languages from LANGUAGE, LC_ALL, LC_MESSAGES or LANG; English is always added.
QStringList wanted(const std::optional<QString> &setting,
                   const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

struct Choice
{
    QStringList languages; // what recognition reads: the wanted ones installed
    QStringList missing;   // wanted, but without data

    friend bool operator==(const Choice &, const Choice &) = default;
};
Choice choose(const QStringList &wanted, const QStringList &installed);
// The choice for the setting and the user's locale against the data installed now.
Choice current(const std::optional<QString> &setting);

// The Debian package with a language's data: "tesseract-ocr-deu", "tesseract-ocr-chi-sim".
QString debianPackage(const QString &language);
// "German text recognition needs the package tesseract-ocr-deu; reading English until then.", one
// sentence per missing language; empty when nothing is missing. In English for the journal, in the
// user's language for the settings window.
enum class Wording
{
    English,
    Translated
};
QString missingDataNotice(const Choice &choice, Wording wording = Wording::English);

} // namespace RecognitionLanguages
