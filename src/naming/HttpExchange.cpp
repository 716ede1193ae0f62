// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/HttpExchange.h"

#include <QEventLoop>
#include <QNetworkProxy>
#include <QSslSocket>
#include <QTimer>

#include <memory>

namespace {

constexpr qsizetype maxHeadSize = 64 * 1024;

QString seconds(std::chrono::milliseconds duration)
{
    return QString::number(double(duration.count()) / 1000.0, 'g', 3);
}

QByteArray headerValue(const QList<QByteArray> &lines, const QByteArray &name)
{
    for (const QByteArray &line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

// Decodes chunks from `data`; complete at the last (empty) chunk.
void dechunk(QByteArrayView data, HttpExchange::Response &response)
{
    qsizetype position = 0;
    while (true) {
        const qsizetype lineEnd = data.indexOf("\r\n", position);
        if (lineEnd < 0)
            return;
        QByteArrayView sizeText = data.sliced(position, lineEnd - position);
        if (const qsizetype extension = sizeText.indexOf(';'); extension >= 0)
            sizeText = sizeText.first(extension);
        bool ok = false;
        const qsizetype size = sizeText.trimmed().toLongLong(&ok, 16);
        if (!ok || size < 0) {
            response.malformed = true;
            return;
        }
        if (size == 0) {
            response.complete = true;
            return;
        }
        position = lineEnd + 2;
        if (size > data.size() - position - 2)
            return;
        response.body += data.sliced(position, size);
        position += size + 2;
    }
}

QByteArray requestText(const QUrl &url, const std::optional<QByteArray> &body,
                       const QList<std::pair<QByteArray, QByteArray>> &headers)
{
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (url.hasQuery())
        target += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    QByteArray text = (body ? "POST " : "GET ") + target +
                      " HTTP/1.1\r\nHost: " + url.authority(QUrl::FullyEncoded).section(u'@', -1).toLatin1() +
                      "\r\nConnection: close\r\nAccept: application/json\r\n";
    if (body)
        text +=
            "Content-Type: application/json\r\nContent-Length: " + QByteArray::number(body->size()) + "\r\n";
    for (const auto &[name, value] : headers)
        text += name + ": " + value + "\r\n";
    return text + "\r\n" + body.value_or(QByteArray());
}

} // namespace

namespace HttpExchange {

Response readResponse(const QByteArray &received, bool closed)
{
    Response response;
    const qsizetype headEnd = received.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return response;
    const QList<QByteArray> lines = received.left(headEnd).split('\n');
    const QList<QByteArray> statusLine = lines.first().trimmed().split(' ');
    bool ok = false;
    response.status = statusLine.value(1).toInt(&ok);
    response.hasHead = statusLine.first().startsWith("HTTP/") && ok;
    response.malformed = !response.hasHead;
    const QByteArrayView body = QByteArrayView(received).sliced(headEnd + 4);
    if (headerValue(lines, "Transfer-Encoding").toLower().contains("chunked")) {
        dechunk(body, response);
        return response;
    }
    const QByteArray lengthText = headerValue(lines, "Content-Length");
    const qsizetype length = lengthText.toLongLong(&ok);
    if (!lengthText.isEmpty() && ok) {
        response.complete = body.size() >= length;
        response.body = body.first(std::min(length, body.size())).toByteArray();
    } else {
        response.complete = closed;
        response.body = body.toByteArray();
    }
    return response;
}

Result run(const QUrl &url, const std::optional<QByteArray> &body,
           const QList<std::pair<QByteArray, QByteArray>> &headers, std::chrono::milliseconds timeLimit,
           qsizetype maxBodySize)
{
    const bool secure = url.scheme() == QLatin1String("https");
    const std::unique_ptr<QTcpSocket> socket(secure ? new QSslSocket : new QTcpSocket);
    // Screenshots go to the server the user named, never through a proxy.
    socket->setProxy(QNetworkProxy::NoProxy);
    // Keeps Qt from reading far ahead of the size checks below.
    socket->setReadBufferSize(64 * 1024);

    Result result;
    QByteArray received;
    Response response;
    QEventLoop loop;
    bool done = false;
    const auto finish = [&](const QString &error) {
        if (!std::exchange(done, true))
            result.error = error;
        loop.quit();
    };
    const auto readMore = [&](bool closed) {
        received += socket->readAll();
        response = readResponse(received, closed);
        const qsizetype headSize = response.hasHead ? received.indexOf("\r\n\r\n") + 4 : 0;
        if (received.size() - headSize > maxBodySize + (response.hasHead ? 0 : maxHeadSize))
            finish(QStringLiteral("The answer is larger than 1 MiB"));
        else if (response.malformed)
            finish(QStringLiteral("The model server's answer is not HTTP"));
        else if (response.complete)
            finish({});
        else if (closed)
            finish(response.hasHead ? QStringLiteral("The answer was cut short")
                                    : QStringLiteral("Cannot reach the model server: the connection closed "
                                                     "without an answer"));
    };
    QObject::connect(socket.get(), &QTcpSocket::readyRead, &loop, [&] {
        readMore(false);
    });
    QObject::connect(socket.get(), &QTcpSocket::disconnected, &loop, [&] {
        readMore(true);
    });
    QObject::connect(
        socket.get(), &QTcpSocket::errorOccurred, &loop, [&](QAbstractSocket::SocketError error) {
            if (error == QAbstractSocket::RemoteHostClosedError)
                readMore(true);
            else
                finish(QStringLiteral("Cannot reach the model server: %1").arg(socket->errorString()));
        });
    const QByteArray request = requestText(url, body, headers);
    const auto send = [&] {
        socket->write(request);
    };
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        result.timedOut = true;
        finish(QStringLiteral("No answer within %1 s").arg(seconds(timeLimit)));
    });
    deadline.start(timeLimit);
    const quint16 port = quint16(url.port(secure ? 443 : 80));
    if (secure) {
        auto *ssl = static_cast<QSslSocket *>(socket.get());
        QObject::connect(ssl, &QSslSocket::encrypted, &loop, send);
        ssl->connectToHostEncrypted(url.host(), port);
    } else {
        QObject::connect(socket.get(), &QTcpSocket::connected, &loop, send);
        socket->connectToHost(url.host(), port);
    }
    if (!done)
        loop.exec();
    socket->disconnect(&loop);
    socket->abort();

    result.reachedServer = response.hasHead;
    result.status = response.status;
    result.body = response.body;
    return result;
}

} // namespace HttpExchange
