// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QCoreApplication;

// Which language Quillo's own texts are shown in, read from the locale as gettext programs do.
namespace InterfaceLanguage {

// The languages asked for, most wanted first, each as "de_AT" then "de": the entries of LANGUAGE,
// then the first of LC_ALL, LC_MESSAGES and LANG that is set. "C" and "POSIX" mean English.
QStringList preferred(const std::function<QString(const char *)> &environment);

// Loads the first of `languages` that `folder` holds quillo_<language>.qm for, with Qt's own texts in
// the same language, into `app`. Returns that language, or an empty text (English) when none is there.
QString install(QCoreApplication &app, const QStringList &languages, const QString &folder);

// The language install() chose; empty while Quillo speaks English.
QString current();

// Where the translations of this copy of Quillo lie: beside the program in a build, under share/ once
// installed.
QString translationsFolder();

} // namespace InterfaceLanguage
