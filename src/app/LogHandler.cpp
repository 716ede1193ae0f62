// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LogHandler.h"

#include "core/TextScanning.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <systemd/sd-journal.h>

#include <cstdio>
#include <syslog.h>
#include <unistd.h>

namespace {

constexpr char journalSocket[] = "/run/systemd/journal/socket";
constexpr char subsystem[] = "quillo";

bool g_useJournal = false;
bool g_showDebug = false;
bool g_showInfo = true;

int priority(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return LOG_DEBUG;
    case QtInfoMsg:
        return LOG_INFO;
    case QtWarningMsg:
        return LOG_ERR;
    case QtCriticalMsg:
        return LOG_CRIT;
    case QtFatalMsg:
        return LOG_EMERG;
    }
    return LOG_INFO;
}

const char *levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    default:
        return "error";
    }
}

// "quillo.rename" -> "rename"; Qt's own categories stay whole.
QByteArray shortCategory(const char *category)
{
    QByteArray name(category ? category : "default");
    const QByteArray prefix = QByteArray(subsystem) + '.';
    return name.startsWith(prefix) ? name.mid(prefix.size()) : name;
}

void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QByteArray category = shortCategory(context.category);
    // File names reach messages as they are: a line break or an escape sequence in one must not
    // make a line of its own or rewrite the terminal.
    const QByteArray text = TextScanning::withoutControls(message).toUtf8();
    if (g_useJournal) {
        sd_journal_send("MESSAGE=%s", text.constData(), "PRIORITY=%d", priority(type),
                        "SYSLOG_IDENTIFIER=quillo", "QUILLO_SUBSYSTEM=%s", subsystem, "QUILLO_CATEGORY=%s",
                        category.constData(), nullptr);
    } else if ((type != QtDebugMsg || g_showDebug) && (type != QtInfoMsg || g_showInfo)) {
        std::fprintf(stderr, "quillo[%s] %s: %s\n", // not for people: the log's line format
                     category.constData(), levelName(type), text.constData());
        std::fflush(stderr);
    }
    if (type == QtFatalMsg)
        abort();
}

} // namespace

namespace LogHandler {

void install(bool forCommand)
{
    // A command prints what it did itself; the same news as log lines on the terminal is noise.
    g_showInfo = !forCommand || qEnvironmentVariableIsSet("QUILLO_DEBUG");
    g_useJournal = ::access(journalSocket, W_OK) == 0 && !qEnvironmentVariableIsSet("QUILLO_LOG_TO_STDERR");
    g_showDebug = qEnvironmentVariableIsSet("QUILLO_DEBUG");
    qInstallMessageHandler(handle);
}

} // namespace LogHandler
