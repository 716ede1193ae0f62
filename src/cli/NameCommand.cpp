// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/NameCommand.h"

#include "core/TextScanning.h"
#include "naming/ScreenshotNamer.h"
#include "reading/ReadingWorkers.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtConcurrent>

#include <cstdio>
#include <unistd.h>

namespace {

QByteArray jsonLine(const QString &file, const ScreenshotNamer::Outcome &outcome)
{
    QJsonObject object{{QStringLiteral("file"), file}};
    if (!outcome.recognitionError.isEmpty()) {
        object.insert(QStringLiteral("error"), outcome.recognitionError);
    } else {
        object.insert(QStringLiteral("slug"), outcome.suggestion.slug);
        object.insert(QStringLiteral("category"), rawValue(outcome.suggestion.category));
        object.insert(QStringLiteral("source"), rawValue(outcome.suggestion.source));
        object.insert(QStringLiteral("ocrMs"), outcome.ocrMs);
        object.insert(QStringLiteral("totalMs"), outcome.totalMs);
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray plainLine(const QString &file, const ScreenshotNamer::Outcome &outcome)
{
    if (!outcome.recognitionError.isEmpty())
        return (file + QStringLiteral(": ") + outcome.recognitionError).toUtf8();
    return (outcome.suggestion.slug + u'\t' + rawValue(outcome.suggestion.category) + u'\t' +
            rawValue(outcome.suggestion.source) + u'\t' + file)
        .toUtf8();
}

// A path Qt can open for the argument: the name itself when it survives decoding, else a link with
// a plain name (and the same extension) in `links`, pointing at the original bytes.
QString readablePath(const QByteArray &argument, const QTemporaryDir &links, int index)
{
    const QString decoded = QFile::decodeName(argument);
    if (QFile::encodeName(decoded) == argument)
        return QFileInfo(decoded).absoluteFilePath();
    QByteArray target = argument;
    if (!target.startsWith('/'))
        target = QFile::encodeName(QDir::currentPath()) + '/' + target;
    const QByteArray extension = argument.mid(argument.lastIndexOf('.') + 1);
    const bool plainExtension = argument.contains('.') && !extension.contains('/') &&
                                std::all_of(extension.begin(), extension.end(), [](char c) {
                                    return std::isalnum(uchar(c));
                                });
    const QString link = links.filePath(QString::number(index) +
                                        (plainExtension ? u'.' + QString::fromLatin1(extension) : QString()));
    if (::symlink(target.constData(), QFile::encodeName(link).constData()) != 0)
        return decoded;
    return link;
}

} // namespace

namespace NameCommand {

int run(const QList<QByteArray> &arguments, bool json)
{
    QTemporaryDir links;
    QStringList paths;
    QStringList files;
    for (const QByteArray &argument : arguments) {
        paths.append(readablePath(argument, links, int(paths.size())));
        files.append(TextScanning::escaped(argument));
    }

    PreferencesStore preferences(PreferencesStore::defaultPath());
    const SettingsStore settings(preferences);
    QThreadPool pool;
    ReadingWorkers::Options reading = ReadingWorkers::Options::installed();
    reading.followsLinks = true;
    const ScreenshotNamer namer(
        ScreenshotNamer::Options::fromSettings(settings, std::make_shared<ModelPause>(),
                                               std::make_shared<ReadingWorkers>(reading)),
        pool);
    const RoutingConfiguration routing = settings.routing();

    // Named two at a time on a two-core machine, printed in the order given.
    QList<QFuture<ScreenshotNamer::Outcome>> outcomes;
    for (const QString &path : paths) {
        outcomes.append(QtConcurrent::run(&pool, [&namer, &routing, path] {
            return namer.name(path, CaptureContext{}, routing);
        }));
    }
    int status = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const ScreenshotNamer::Outcome outcome = outcomes[i].result();
        if (!outcome.recognitionError.isEmpty()) {
            status = 1;
            if (!json) {
                std::fprintf(stderr, "%s\n",
                             qPrintable(QCoreApplication::translate("NameCommand", "quillo: %1")
                                            .arg(QString::fromUtf8(plainLine(files[i], outcome)))));
                continue;
            }
        }
        const QByteArray line = json ? jsonLine(files[i], outcome) : plainLine(files[i], outcome);
        std::printf("%s\n", line.constData());
        std::fflush(stdout);
    }
    return status;
}

} // namespace NameCommand
