// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusArgument>
#include <QList>
#include <QObject>
#include <QVariantMap>

class DesktopSearch;
class ResultActions;

// An action KRunner offers on every match: (id, text, icon name).
struct RunnerAction
{
    QString id;
    QString text;
    QString iconName;

    friend bool operator==(const RunnerAction &, const RunnerAction &) = default;
};

// One match: (id, text, icon name, type, relevance, properties).
struct RunnerMatch
{
    QString id;
    QString text;
    QString iconName;
    int type = 0;
    double relevance = 0;
    QVariantMap properties; // "subtext", "urls", "category", "icon-data"
};

// A picture as (width, height, row stride, has alpha, bits per sample, channels, bytes).
struct RunnerImage
{
    int width = 0;
    int height = 0;
    int rowStride = 0;
    bool hasAlpha = true;
    int bitsPerSample = 8;
    int channels = 4;
    QByteArray data;
};

QDBusArgument &operator<<(QDBusArgument &argument, const RunnerAction &action);
const QDBusArgument &operator>>(const QDBusArgument &argument, RunnerAction &action);
QDBusArgument &operator<<(QDBusArgument &argument, const RunnerMatch &match);
const QDBusArgument &operator>>(const QDBusArgument &argument, RunnerMatch &match);
QDBusArgument &operator<<(QDBusArgument &argument, const RunnerImage &image);
const QDBusArgument &operator>>(const QDBusArgument &argument, RunnerImage &image);

Q_DECLARE_METATYPE(RunnerAction)
Q_DECLARE_METATYPE(RunnerMatch)
Q_DECLARE_METATYPE(RunnerImage)

// Quillo's runner for KRunner (org.kde.krunner1): matches open the screenshot, or with the
// "reveal" action show it in its folder. Main thread.
class KRunnerProvider final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.krunner1")

public:
    static constexpr char revealAction[] = "reveal";

    KRunnerProvider(DesktopSearch &search, ResultActions &actions, QObject *parent = nullptr);

    // Makes the types above known to QtDBus; once, before any call.
    static void registerTypes();

signals:
    // Any method was called; the service stays up while it is in use.
    void used();

public slots:
    Q_SCRIPTABLE QList<RunnerAction> Actions();
    Q_SCRIPTABLE QList<RunnerMatch> Match(const QString &query);
    Q_SCRIPTABLE void Run(const QString &matchId, const QString &actionId);
    Q_SCRIPTABLE void Teardown();

private:
    DesktopSearch &m_search;
    ResultActions &m_actions;
};
