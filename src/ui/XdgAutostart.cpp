// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/XdgAutostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// The Exec key's quoting: the path in double quotes with ", `, $ and \ escaped, then the string
// escape for backslashes, and %% for a percent sign, which would otherwise start a field code.
QString execValue(const QString &program)
{
    QString quoted;
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u'\\', QLatin1String("\\\\")).replace(u'%', QLatin1String("%%"));
    return u'"' + quoted + u'"';
}

bool isHidden(const QByteArray &entry)
{
    bool inMainGroup = false;
    for (const QByteArray &rawLine : entry.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('['))
            // not for people: the entry's group
            inMainGroup = line == "[Desktop Entry]";
        // not for people: a key of the entry
        else if (inMainGroup && line.startsWith("Hidden") && line.mid(6).trimmed().startsWith('='))
            return line.mid(line.indexOf('=') + 1).trimmed() == "true";
    }
    return false;
}

} // namespace

XdgAutostart::XdgAutostart(QString autostartFolder, QString executable)
    : m_folder(std::move(autostartFolder))
    , m_executable(std::move(executable))
{}

XdgAutostart XdgAutostart::forThisProgram()
{
    const QString appImage = qEnvironmentVariable("APPIMAGE");
    return XdgAutostart(QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) +
                            QStringLiteral("/autostart"),
                        appImage.isEmpty() ? QCoreApplication::applicationFilePath() : appImage);
}

QString XdgAutostart::entryPath() const
{
    return QDir(m_folder).filePath(QStringLiteral("org.quillo.Quillo.desktop"));
}

bool XdgAutostart::isEnabled() const
{
    QFile file(entryPath());
    return file.open(QIODevice::ReadOnly) && !isHidden(file.readAll());
}

std::optional<QString> XdgAutostart::setEnabled(bool enabled)
{
    if (!enabled) {
        QFile file(entryPath());
        if (!file.exists() || file.remove())
            return std::nullopt;
        return QCoreApplication::translate("XdgAutostart", "Could not remove %1: %2")
            .arg(file.fileName(), file.errorString());
    }
    if (!QDir().mkpath(m_folder))
        return QCoreApplication::translate("XdgAutostart", "Could not create the folder %1.").arg(m_folder);
    QSaveFile file(entryPath());
    // Desktops' lists of startup programs show this text, in the languages of the launcher entry.
    const QString entry =
        // not for people: translated in the entry itself
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Quillo\n"
                       "Comment=Give new screenshots meaningful file names\n"
                       "Comment[de]=Neuen Bildschirmfotos aussagekräftige Dateinamen geben\n"
                       "Comment[fr]=Donner des noms de fichier parlants aux nouvelles captures "
                       "d’écran\n"
                       "Exec=%1 --autostart\n"
                       "Icon=org.quillo.Quillo\n"
                       "Terminal=false\n"
                       "X-GNOME-Autostart-enabled=true\n")
            .arg(execValue(m_executable));
    if (file.open(QIODevice::WriteOnly) && file.write(entry.toUtf8()) >= 0 && file.commit())
        return std::nullopt;
    return QCoreApplication::translate("XdgAutostart", "Could not write %1: %2")
        .arg(file.fileName(), file.errorString());
}
