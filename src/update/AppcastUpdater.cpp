// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/AppcastUpdater.h"

#include "core/NetworkAddress.h"
#include "update/UpdateSignature.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

constexpr qint64 maxFeedSize = 1024 * 1024;
constexpr qint64 maxArchiveSize = 1024LL * 1024 * 1024;
constexpr int stallTimeoutSeconds = 30;

// Reads the whole file through a memory map, so a large archive is not copied into memory.
bool fileVerifies(QFile &file, const AppcastItem &item, const QByteArray &publicKey)
{
    const qint64 size = file.size();
    if (size <= 0 || size != item.length)
        return false;
    uchar *bytes = file.map(0, size);
    if (!bytes)
        return false;
    const bool verified = UpdateSignature::verify(QByteArrayView(bytes, size), item.signature, publicKey);
    file.unmap(bytes);
    return verified;
}

bool isSecure(const QUrl &url)
{
    return url.scheme() == QLatin1String("https") ||
           (url.scheme() == QLatin1String("http") && NetworkAddress::isLoopback(url));
}

} // namespace

AppcastUpdater::AppcastUpdater(UpdateFeed feed, QString currentVersion, QString downloadFolder,
                               QObject *parent)
    : QObject(parent)
    , m_feed(std::move(feed))
    , m_currentVersion(std::move(currentVersion))
    , m_downloadFolder(std::move(downloadFolder))
{}

AppcastUpdater::~AppcastUpdater()
{
    endReply();
}

QNetworkReply *AppcastUpdater::get(const QUrl &url)
{
    // A proxy from the environment must not stand between Quillo and a server on this computer.
    m_network.setProxy(NetworkAddress::isLoopback(url) ? QNetworkProxy::NoProxy
                                                       : QNetworkProxy::DefaultProxy);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(stallTimeoutSeconds * 1000);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Quillo/%1").arg(m_currentVersion)); // not for people: user agent
    return m_network.get(request);
}

void AppcastUpdater::check()
{
    if (m_reply)
        return;
    m_feedBody.clear();
    m_reply = get(m_feed.url);
    connect(m_reply, &QNetworkReply::readyRead, this, [this] {
        m_feedBody += m_reply->readAll();
        if (m_feedBody.size() > maxFeedSize)
            fail(QCoreApplication::translate("AppcastUpdater", "The update feed is larger than 1 MiB."));
    });
    connect(m_reply, &QNetworkReply::finished, this, &AppcastUpdater::feedFinished);
}

void AppcastUpdater::cancel()
{
    endReply();
    m_partial.reset();
    m_downloading.reset();
}

void AppcastUpdater::feedFinished()
{
    if (const QString error = transferError(*m_reply); !error.isEmpty())
        return fail(error);
    m_feedBody += m_reply->readAll();
    endReply();
    const Appcast::Parsed parsed = Appcast::parse(m_feedBody, m_feed.url);
    if (!parsed.error.isEmpty())
        return fail(parsed.error);
    const auto update = Appcast::newestUpdate(parsed.items, m_currentVersion);
    if (!update) {
        emit finished({UpdateCheckResult::Outcome::UpToDate, {}, {}, {}});
        return;
    }
    const QString version = update->displayVersion;
    if (update->signature.isEmpty())
        return fail(
            QCoreApplication::translate("AppcastUpdater",
                                        "Quillo %1 is offered without a signature, so it was not downloaded.")
                .arg(version));
    if (update->length < 0 || update->length > maxArchiveSize)
        return fail(
            QCoreApplication::translate(
                "AppcastUpdater", "Quillo %1 is offered without a usable size, so it was not downloaded.")
                .arg(version));
    if (!isSecure(update->archiveUrl))
        return fail(QCoreApplication::translate(
                        "AppcastUpdater", "Quillo %1 is not offered over HTTPS, so it was not downloaded.")
                        .arg(version));
    // Downloaded and verified on an earlier day: nothing to fetch.
    QFile earlier(archivePath(*update));
    if (earlier.open(QIODevice::ReadOnly) && fileVerifies(earlier, *update, m_feed.publicKey))
        return succeed(*update, earlier.fileName());
    download(*update);
}

void AppcastUpdater::download(const AppcastItem &item)
{
    if (!QDir().mkpath(m_downloadFolder))
        return fail(QCoreApplication::translate("AppcastUpdater", "Could not create the download folder %1.")
                        .arg(m_downloadFolder));
    m_partial =
        std::make_unique<QTemporaryFile>(QDir(m_downloadFolder).filePath(QStringLiteral(".download-XXXXXX")));
    if (!m_partial->open())
        return fail(QCoreApplication::translate("AppcastUpdater", "Could not save the update in %1: %2")
                        .arg(m_downloadFolder, m_partial->errorString()));
    m_downloading = item;
    m_received = 0;
    emit downloadStarted(item.displayVersion);
    m_reply = get(item.archiveUrl);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > m_downloading->length)
            fail(QCoreApplication::translate(
                     "AppcastUpdater",
                     "The download of Quillo %1 is larger than the %2 bytes the feed states, so it "
                     "was deleted.")
                     .arg(m_downloading->displayVersion)
                     .arg(m_downloading->length));
    });
    connect(m_reply, &QNetworkReply::readyRead, this, &AppcastUpdater::archiveReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &AppcastUpdater::archiveFinished);
}

void AppcastUpdater::archiveReadyRead()
{
    const QByteArray data = m_reply->readAll();
    m_received += data.size();
    if (m_received > m_downloading->length)
        return fail(QCoreApplication::translate(
                        "AppcastUpdater",
                        "The download of Quillo %1 is larger than the %2 bytes the feed states, so "
                        "it was deleted.")
                        .arg(m_downloading->displayVersion)
                        .arg(m_downloading->length));
    if (m_partial->write(data) != data.size())
        return fail(QCoreApplication::translate("AppcastUpdater", "Could not save the update: %1")
                        .arg(m_partial->errorString()));
    emit downloadProgress(m_received, m_downloading->length);
}

void AppcastUpdater::archiveFinished()
{
    if (const QString error = transferError(*m_reply); !error.isEmpty())
        return fail(error);
    archiveReadyRead();
    if (!m_reply)
        return; // failed while reading the rest
    endReply();
    const AppcastItem item = *m_downloading;
    const QString name = QStringLiteral("Quillo %1").arg(item.displayVersion); // not for people: a name
    if (m_received != item.length)
        return fail(
            QCoreApplication::translate("AppcastUpdater", "The download of %1 ended after %2 of %3 bytes.")
                .arg(name)
                .arg(m_received)
                .arg(item.length));
    if (!m_partial->flush() || !fileVerifies(*m_partial, item, m_feed.publicKey))
        return fail(QCoreApplication::translate(
                        "AppcastUpdater",
                        "The signature of %1 does not match the download, so it was deleted and "
                        "nothing was installed.")
                        .arg(name));
    // Only an earlier download of ours can stand at this name.
    const QString path = archivePath(item);
    QFile::remove(path);
    if (!m_partial->rename(path))
        return fail(QCoreApplication::translate("AppcastUpdater", "Could not save the update as %1: %2")
                        .arg(path, m_partial->errorString()));
    m_partial->setAutoRemove(false);
    m_partial.reset();
    succeed(item, path);
}

void AppcastUpdater::succeed(const AppcastItem &item, const QString &path)
{
    m_downloading.reset();
    m_ready = Ready{item, path};
    emit finished({UpdateCheckResult::Outcome::Ready, item.displayVersion, path, {}});
}

void AppcastUpdater::fail(const QString &error)
{
    endReply();
    m_partial.reset();
    m_downloading.reset();
    emit finished({UpdateCheckResult::Outcome::Failed, {}, {}, error});
}

void AppcastUpdater::endReply()
{
    if (!m_reply)
        return;
    // Disconnected first: aborting a running reply reports it finished at once.
    m_reply->disconnect(this);
    m_reply->abort();
    m_reply->deleteLater();
    m_reply = nullptr;
}

QString AppcastUpdater::transferError(const QNetworkReply &reply) const
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply.error() == QNetworkReply::OperationCanceledError)
        return QCoreApplication::translate("AppcastUpdater",
                                           "The update server %1 stopped answering for %2 seconds.")
            .arg(reply.url().host())
            .arg(stallTimeoutSeconds);
    if (status == 0 || (reply.error() != QNetworkReply::NoError && status == 200))
        return QCoreApplication::translate("AppcastUpdater", "Could not reach the update server %1: %2")
            .arg(reply.url().host(), reply.errorString());
    if (status != 200)
        return QCoreApplication::translate("AppcastUpdater",
                                           "The update server %1 answered with HTTP status %2.")
            .arg(reply.url().host())
            .arg(status);
    return {};
}

QString AppcastUpdater::archivePath(const AppcastItem &item) const
{
    QString name = QFileInfo(item.archiveUrl.path()).fileName();
    if (name.isEmpty() || name.startsWith(u'.'))
        name = QStringLiteral("Quillo-") + item.version;
    return QDir(m_downloadFolder).filePath(name);
}

std::optional<QString> AppcastUpdater::install(const QString &targetPath)
{
    if (!m_ready)
        return QCoreApplication::translate("AppcastUpdater", "No verified update is ready.");
    QFile archive(m_ready->path);
    if (!archive.open(QIODevice::ReadOnly))
        return QCoreApplication::translate("AppcastUpdater", "Could not read the update %1: %2")
            .arg(archive.fileName(), archive.errorString());
    const qint64 size = archive.size();
    uchar *bytes = size == m_ready->item.length ? archive.map(0, size) : nullptr;
    // Verified again from the very bytes that are written, so nothing can change in between.
    if (!bytes ||
        !UpdateSignature::verify(QByteArrayView(bytes, size), m_ready->item.signature, m_feed.publicKey))
        return QCoreApplication::translate(
            "AppcastUpdater",
            "The downloaded update no longer matches its signature; nothing was installed.");
    QTemporaryFile replacement(QFileInfo(targetPath).absolutePath() +
                               QStringLiteral("/.Quillo-update-XXXXXX"));
    const auto failure = [&] {
        return QCoreApplication::translate("AppcastUpdater", "Could not replace %1: %2")
            .arg(targetPath, replacement.errorString());
    };
    if (!replacement.open() || replacement.write(reinterpret_cast<const char *>(bytes), size) != size ||
        !replacement.flush())
        return failure();
    replacement.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                               QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                               QFileDevice::ExeOther);
    if (::fsync(replacement.handle()) != 0 ||
        std::rename(QFile::encodeName(replacement.fileName()).constData(),
                    QFile::encodeName(targetPath).constData()) != 0)
        return QCoreApplication::translate("AppcastUpdater", "Could not replace %1: %2")
            .arg(targetPath, QString::fromLocal8Bit(std::strerror(errno)));
    replacement.setAutoRemove(false);
    archive.unmap(bytes);
    archive.remove();
    m_ready.reset();
    return std::nullopt;
}
