// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "update/Appcast.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

class QTemporaryFile;

// How one check ended.
struct UpdateCheckResult
{
    enum class Outcome
    {
        UpToDate,
        Ready, // a newer version is downloaded and its signature verified
        Failed
    };

    Outcome outcome = Outcome::Failed;
    QString version;     // Ready: the version shown to the user
    QString archivePath; // Ready: the verified download
    QString error;       // Failed: what went wrong, for the user
};

// Reads the update feed, downloads the newest release in the background into `downloadFolder` and
// keeps it only when its size matches the feed and its Ed25519 signature verifies; anything else is
// deleted and reported. Lives on the main thread; all network I/O is asynchronous.
class AppcastUpdater final : public QObject
{
    Q_OBJECT

public:
    AppcastUpdater(UpdateFeed feed, QString currentVersion, QString downloadFolder,
                   QObject *parent = nullptr);
    ~AppcastUpdater() override;

    const UpdateFeed &feed() const { return m_feed; }
    // Ignored while a check runs.
    void check();
    // Ends the running check without a result.
    void cancel();

    // Replaces `targetPath` (the running AppImage) with the update the last check made ready, after
    // verifying it once more. The old file stays whole on any failure. Nothing on success, else why.
    // The download is removed once installed.
    std::optional<QString> install(const QString &targetPath);
    bool hasReadyUpdate() const { return m_ready.has_value(); }

signals:
    void downloadStarted(const QString &version);
    void downloadProgress(qint64 received, qint64 total);
    void finished(const UpdateCheckResult &result);

private:
    QNetworkReply *get(const QUrl &url);
    void feedFinished();
    void download(const AppcastItem &item);
    void archiveReadyRead();
    void archiveFinished();
    void succeed(const AppcastItem &item, const QString &path);
    void fail(const QString &error);
    void endReply();
    QString transferError(const QNetworkReply &reply) const;
    QString archivePath(const AppcastItem &item) const;

    UpdateFeed m_feed;
    QString m_currentVersion;
    QString m_downloadFolder;
    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_feedBody;
    std::optional<AppcastItem> m_downloading;
    std::unique_ptr<QTemporaryFile> m_partial;
    qint64 m_received = 0;
    struct Ready
    {
        AppcastItem item;
        QString path;
    };
    std::optional<Ready> m_ready;
};
