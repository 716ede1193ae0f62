// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/RecognitionLanguages.h"

#include "core/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QRegularExpression>

namespace {

const QString english = QStringLiteral("eng");

// Tesseract names its data after ISO 639-2, with its own names where a script or variant matters.
QString tesseractName(const QLocale &locale)
{
    switch (locale.language()) {
    case QLocale::C:
    case QLocale::AnyLanguage:
        return {};
    case QLocale::Chinese:
        return locale.script() == QLocale::TraditionalChineseScript ||
                       locale.territory() == QLocale::Taiwan || locale.territory() == QLocale::HongKong
                   ? QStringLiteral("chi_tra")
                   : QStringLiteral("chi_sim");
    case QLocale::NorwegianBokmal:
    case QLocale::NorwegianNynorsk:
        return QStringLiteral("nor");
    default:
        return QLocale::languageToCode(locale.language(), QLocale::ISO639Part2T);
    }
}

// "de_DE.UTF-8@euro" -> "de_DE"; "C" and "POSIX" name no language.
QString localeName(const QString &entry)
{
    const QString name = entry.section(u'.', 0, 0).section(u'@', 0, 0);
    return name == u"C" || name == u"POSIX" ? QString() : name;
}

// gettext's order: LANGUAGE lists languages by preference, the others name one locale.
QStringList localeNames(const QProcessEnvironment &environment)
{
    QStringList names;
    for (const QString &entry : environment.value(QStringLiteral("LANGUAGE")).split(u':', Qt::SkipEmptyParts))
        names.append(localeName(entry));
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = environment.value(QLatin1String(variable));
        if (!value.isEmpty()) {
            names.append(localeName(value));
            break;
        }
    }
    return names;
}

// "German" for "deu", "Chinese" for "chi_sim"; the name itself when it is no ISO 639 code.
QString languageName(const QString &language, bool translated)
{
    const QLocale::Language known = QLocale::codeToLanguage(QStringView(language).left(3));
    if (known == QLocale::AnyLanguage)
        return language;
    if (!translated || InterfaceLanguage::current().isEmpty())
        return QLocale::languageToString(known);
    // Qt names English after a country ("American English"); every other language by its own name.
    return known == QLocale::English ? QCoreApplication::translate("RecognitionLanguages", "English")
                                     : QLocale(known).nativeLanguageName();
}

} // namespace

namespace RecognitionLanguages {

QString dataFolder()
{
    const QString prefix = qEnvironmentVariable("TESSDATA_PREFIX");
    return prefix.isEmpty() ? QStringLiteral(QUILLO_TESSDATA_DIR) : prefix;
}

QStringList installed(const QString &folder)
{
    QStringList languages;
    for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.traineddata")}, QDir::Files))
        languages.append(file.completeBaseName());
    return languages;
}

QStringList wanted(const std::optional<QString> &setting, const QProcessEnvironment &environment)
{
    QStringList languages;
    if (setting)
        languages = setting->split(QRegularExpression(QStringLiteral("[+,\\s]+")), Qt::SkipEmptyParts);
    if (languages.isEmpty()) {
        for (const QString &name : localeNames(environment)) {
            const QString language = name.isEmpty() ? QString() : tesseractName(QLocale(name));
            if (!language.isEmpty())
                languages.append(language);
        }
    }
    languages.append(english);
    languages.removeDuplicates();
    return languages;
}

Choice choose(const QStringList &wanted, const QStringList &installed)
{
    Choice choice;
    for (const QString &language : wanted)
        (installed.contains(language) ? choice.languages : choice.missing).append(language);
    return choice;
}

Choice current(const std::optional<QString> &setting)
{
    return choose(wanted(setting), installed());
}

QString debianPackage(const QString &language)
{
    return QStringLiteral("tesseract-ocr-") + language.toLower().replace(u'_', u'-');
}

QString missingDataNotice(const Choice &choice, Wording wording)
{
    const bool translated = wording == Wording::Translated;
    const auto say = [translated](const char *text) {
        return translated ? QCoreApplication::translate("RecognitionLanguages", text)
                          : QString::fromUtf8(text);
    };
    QStringList readNames;
    for (const QString &language : choice.languages)
        readNames.append(languageName(language, translated));
    const QLocale locale = translated ? QLocale() : QLocale(QLocale::English);
    const QString meanwhile = readNames.isEmpty()
                                  ? say(QT_TRANSLATE_NOOP("RecognitionLanguages", "text recognition is off"))
                                  : say(QT_TRANSLATE_NOOP("RecognitionLanguages", "reading %1"))
                                        .arg(locale.createSeparatedList(readNames));
    QStringList sentences;
    for (const QString &language : choice.missing) {
        sentences.append(say(QT_TRANSLATE_NOOP("RecognitionLanguages",
                                               "%1 text recognition needs the package %2; %3 until then."))
                             .arg(languageName(language, translated), debianPackage(language), meanwhile));
    }
    return sentences.join(u' ');
}

} // namespace RecognitionLanguages
