// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopsearch/KRunnerProvider.h"

#include "desktopsearch/DesktopSearch.h"
#include "desktopsearch/DesktopSearchLog.h"
#include "desktopsearch/ResultActions.h"

#include <QCoreApplication>
#include <QDBusMetaType>
#include <QImage>
#include <QUrl>

namespace {

// KRunner's "possible match": shown among files and documents, below exact hits.
constexpr int possibleMatch = 30;

RunnerImage runnerImage(const QImage &thumbnail)
{
    const QImage image = thumbnail.convertToFormat(QImage::Format_RGBA8888);
    return {image.width(),
            image.height(),
            int(image.bytesPerLine()),
            true,
            8,
            4,
            QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes())};
}

} // namespace

QDBusArgument &operator<<(QDBusArgument &argument, const RunnerAction &action)
{
    argument.beginStructure();
    argument << action.id << action.text << action.iconName;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, RunnerAction &action)
{
    argument.beginStructure();
    argument >> action.id >> action.text >> action.iconName;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const RunnerMatch &match)
{
    argument.beginStructure();
    argument << match.id << match.text << match.iconName << match.type << match.relevance << match.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, RunnerMatch &match)
{
    argument.beginStructure();
    argument >> match.id >> match.text >> match.iconName >> match.type >> match.relevance >> match.properties;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const RunnerImage &image)
{
    argument.beginStructure();
    argument << image.width << image.height << image.rowStride << image.hasAlpha << image.bitsPerSample
             << image.channels << image.data;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, RunnerImage &image)
{
    argument.beginStructure();
    argument >> image.width >> image.height >> image.rowStride >> image.hasAlpha >> image.bitsPerSample >>
        image.channels >> image.data;
    argument.endStructure();
    return argument;
}

KRunnerProvider::KRunnerProvider(DesktopSearch &search, ResultActions &actions, QObject *parent)
    : QObject(parent)
    , m_search(search)
    , m_actions(actions)
{
    registerTypes();
}

void KRunnerProvider::registerTypes()
{
    qDBusRegisterMetaType<RunnerAction>();
    qDBusRegisterMetaType<QList<RunnerAction>>();
    qDBusRegisterMetaType<RunnerMatch>();
    qDBusRegisterMetaType<QList<RunnerMatch>>();
    qDBusRegisterMetaType<RunnerImage>();
}

QList<RunnerAction> KRunnerProvider::Actions()
{
    emit used();
    return {{QString::fromLatin1(revealAction),
             QCoreApplication::translate("KRunnerProvider", "Show in Folder"),
             QStringLiteral("folder-open")}};
}

QList<RunnerMatch> KRunnerProvider::Match(const QString &query)
{
    emit used();
    const QList<DesktopResult> results = m_search.describe(m_search.find({query}));
    QList<RunnerMatch> matches;
    for (qsizetype rank = 0; rank < results.size(); ++rank) {
        const DesktopResult &result = results.at(rank);
        QVariantMap properties{
            {QStringLiteral("subtext"), result.description},
            {QStringLiteral("urls"),
             QStringList{QUrl::fromLocalFile(result.id).toString(QUrl::FullyEncoded)}},
            {QStringLiteral("category"), QCoreApplication::translate("KRunnerProvider", "Screenshots")}};
        if (!result.thumbnail.isNull())
            properties.insert(QStringLiteral("icon-data"),
                              QVariant::fromValue(runnerImage(result.thumbnail)));
        // Best first, all within the upper half so none sinks below unrelated guesses.
        const double relevance = 1.0 - 0.5 * double(rank) / double(results.size());
        matches.append({result.id, result.name, result.iconName, possibleMatch, relevance, properties});
    }
    return matches;
}

void KRunnerProvider::Run(const QString &matchId, const QString &actionId)
{
    emit used();
    if (!DesktopSearch::isOpenable(matchId)) {
        qCInfo(lcDesktopSearch) << "not running" << matchId << "as it is no file";
        return;
    }
    if (actionId.isEmpty())
        m_actions.open(matchId);
    else if (actionId == QLatin1StringView(revealAction))
        m_actions.reveal(matchId);
    else
        qCInfo(lcDesktopSearch) << "no action" << actionId;
}

void KRunnerProvider::Teardown()
{
    emit used();
}
