#include "app/NameCommand.h"

#include "naming/OnDeviceNamer.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThreadPool>
#include <QtConcurrent>

#include <cstdio>

namespace {

QByteArray jsonLine(const QString &file, const OnDeviceNamer::Outcome &outcome)
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

QByteArray plainLine(const QString &file, const OnDeviceNamer::Outcome &outcome)
{
    if (!outcome.recognitionError.isEmpty())
        return (file + QStringLiteral(": ") + outcome.recognitionError).toUtf8();
    return (outcome.suggestion.slug + u'\t' + rawValue(outcome.suggestion.category) + u'\t' +
            rawValue(outcome.suggestion.source) + u'\t' + file)
        .toUtf8();
}

} // namespace

namespace NameCommand {

int run(const QStringList &files, bool json)
{
    PreferencesStore preferences(PreferencesStore::defaultPath());
    const SettingsStore settings(preferences);
    QThreadPool pool;
    const OnDeviceNamer namer(
        {settings.useLocalModel(), settings.localModelUrl(), settings.localModelName(), {}}, pool);
    const RoutingConfiguration routing = settings.routing();

    // Named two at a time on a two-core machine, printed in the order given.
    QList<QFuture<OnDeviceNamer::Outcome>> outcomes;
    for (const QString &file : files) {
        outcomes.append(
            QtConcurrent::run(&pool, [&namer, &routing, path = QFileInfo(file).absoluteFilePath()] {
                return namer.name(path, CaptureContext{}, routing);
            }));
    }
    int status = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const OnDeviceNamer::Outcome outcome = outcomes[i].result();
        if (!outcome.recognitionError.isEmpty()) {
            status = 1;
            if (!json) {
                std::fprintf(stderr, "quillo: %s\n", plainLine(files[i], outcome).constData());
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
