// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// "de_AT.UTF-8@euro" -> "de_AT"; empty for the untranslated locales.
QString localeName(QString value)
{
    value = value.section(u'.', 0, 0).section(u'@', 0, 0).trimmed();
    return value == u"C" || value == u"POSIX" ? QString() : value;
}

void appendWithLanguageAlone(QStringList &languages, const QString &name)
{
    if (name.isEmpty())
        return;
    for (const QString &candidate : {name, name.section(u'_', 0, 0)}) {
        if (!languages.contains(candidate))
            languages.append(candidate);
    }
}

QString &chosen()
{
    static QString language;
    return language;
}

} // namespace

namespace InterfaceLanguage {

QString current()
{
    return chosen();
}

QStringList preferred(const std::function<QString(const char *)> &environment)
{
    QStringList languages;
    for (const QString &entry : environment("LANGUAGE").split(u':', Qt::SkipEmptyParts))
        appendWithLanguageAlone(languages, localeName(entry));
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = environment(variable);
        if (!value.isEmpty()) {
            appendWithLanguageAlone(languages, localeName(value));
            break;
        }
    }
    return languages;
}

QString install(QCoreApplication &app, const QStringList &languages, const QString &folder)
{
    for (const QString &language : languages) {
        if (language == u"en" || language.startsWith(u"en_"))
            return {};
        auto own = new QTranslator(&app);
        if (!own->load(QStringLiteral("quillo_") + language, folder)) {
            delete own;
            continue;
        }
        QCoreApplication::installTranslator(own);
        // Qt's own texts (the buttons of a dialog, the help of --version) where Qt's translations are
        // installed; Quillo's alone otherwise.
        auto qt = new QTranslator(&app);
        if (qt->load(QStringLiteral("qtbase_") + language,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qt);
        else
            delete qt;
        chosen() = language;
        return language;
    }
    return {};
}

QString translationsFolder()
{
    // In a build, beside the program or (for the tools) one folder up.
    const QDir programFolder(QCoreApplication::applicationDirPath());
    for (const QString &built : {QStringLiteral("translations"), QStringLiteral("../translations")}) {
        if (programFolder.exists(built + QStringLiteral("/quillo_de.qm")))
            return QDir::cleanPath(programFolder.filePath(built));
    }
    return QDir::cleanPath(programFolder.filePath(QStringLiteral("../share/quillo/translations")));
}

} // namespace InterfaceLanguage
