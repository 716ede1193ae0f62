// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakeWebServer.h"

#include <QFile>
#include <QJsonDocument>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

namespace {

constexpr qint64 hugeChunkSize = 256 * 1024;

// Made for these tests alone, valid until 2126: a self-signed P-256 certificate for 127.0.0.1.
QByteArray httpsFile(const char *suffix)
{
    QFile file(QStringLiteral(QUILLO_HTTPS_DATA "/127.0.0.1.") + QLatin1String(suffix));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QByteArray FakeWebServer::Request::header(const QByteArray &name) const
{
    for (const QByteArray &line : head.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

QJsonObject FakeWebServer::Request::json() const
{
    return QJsonDocument::fromJson(body).object();
}

QSslCertificate FakeWebServer::httpsCertificate()
{
    return QSslCertificate(httpsFile("crt"));
}

FakeWebServer::FakeWebServer(Transport transport, QObject *parent)
    : QObject(parent)
    , m_transport(transport)
{
    if (transport == Transport::Https) {
        auto server = std::make_unique<QSslServer>();
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(httpsCertificate());
        configuration.setPrivateKey(QSslKey(httpsFile("key"), QSsl::Ec));
        server->setSslConfiguration(configuration);
        m_server = std::move(server);
    } else {
        m_server = std::make_unique<QTcpServer>();
    }
    // An https connection is pending only once its handshake is done.
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                readFrom(socket);
            });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    m_server->listen(QHostAddress::LocalHost, 0);
}

FakeWebServer::~FakeWebServer()
{
    // Open connections go first, while the state their handlers touch still exists.
    for (QTcpSocket *socket : m_server->findChildren<QTcpSocket *>(Qt::FindDirectChildrenOnly)) {
        socket->disconnect(this);
        delete socket;
    }
}

QUrl FakeWebServer::url(const QString &path) const
{
    const QString scheme = m_transport == Transport::Https ? QStringLiteral("https") : QStringLiteral("http");
    return QUrl(QStringLiteral("%1://127.0.0.1:%2%3").arg(scheme).arg(m_server->serverPort()).arg(path));
}

void FakeWebServer::serve(const QByteArray &path, const QByteArray &body, int status)
{
    handle(path, [body, status](const Request &) {
        return Response{status, body};
    });
}

QList<FakeWebServer::Request> FakeWebServer::requests(const QByteArray &path) const
{
    QList<Request> matching;
    for (const Request &request : m_requests)
        if (request.path == path)
            matching.append(request);
    return matching;
}

void FakeWebServer::readFrom(QTcpSocket *socket)
{
    const QByteArray buffer = socket->property("received").toByteArray() + socket->readAll();
    socket->setProperty("received", buffer);
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;
    Request request{{}, {}, buffer.left(headEnd), buffer.mid(headEnd + 4)};
    if (request.body.size() < request.header("Content-Length").toLongLong())
        return;
    const QList<QByteArray> requestLine = request.head.left(request.head.indexOf("\r\n")).split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    m_requests.append(request);

    const auto [behaviour, delay] = m_behaviours.value(request.path, {Behaviour::Answer, {}});
    switch (behaviour) {
    case Behaviour::Answer:
        answer(socket, request);
        break;
    case Behaviour::Hang:
        break;
    case Behaviour::Delay:
        QTimer::singleShot(delay, socket, [this, socket, request] {
            answer(socket, request);
        });
        break;
    case Behaviour::Close:
        socket->disconnectFromHost();
        break;
    case Behaviour::HugeBody:
    case Behaviour::HugeChunkedBody:
        streamHugeBody(socket, behaviour == Behaviour::HugeChunkedBody);
        break;
    }
}

void FakeWebServer::answer(QTcpSocket *socket, const Request &request)
{
    const auto handler = m_handlers.constFind(request.path);
    const Response reply = handler == m_handlers.cend() ? Response{404, "not found"} : (*handler)(request);
    socket->write("HTTP/1.1 " + QByteArray::number(reply.status) +
                  " Fake\r\nConnection: close\r\nContent-Length: " + QByteArray::number(reply.body.size()) +
                  "\r\n\r\n" + reply.body);
    socket->disconnectFromHost();
}

void FakeWebServer::streamHugeBody(QTcpSocket *socket, bool chunked)
{
    // Only the client's own limit can stop such a body. Chunks go out as the previous ones leave,
    // never all 50 MB at once.
    socket->write(QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n") +
                  (chunked ? "Transfer-Encoding: chunked\r\n\r\n" : "\r\n"));
    const QByteArray chunk = (chunked ? QByteArray::number(hugeChunkSize, 16) + "\r\n" : QByteArray()) +
                             QByteArray(hugeChunkSize, ' ') + (chunked ? "\r\n" : "");
    const auto *ssl = qobject_cast<QSslSocket *>(socket);
    const auto pending = [socket, ssl] {
        // An https socket counts what is still to encrypt apart from what waits encrypted.
        return socket->bytesToWrite() + (ssl ? ssl->encryptedBytesToWrite() : 0);
    };
    const auto writeMore = [this, socket, chunk, pending] {
        while (socket->state() == QAbstractSocket::ConnectedState && pending() < hugeChunkSize &&
               m_hugeBodyBytesSent < hugeBodySize) {
            socket->write(chunk);
            m_hugeBodyBytesSent += hugeChunkSize;
        }
        if (m_hugeBodyBytesSent >= hugeBodySize)
            socket->disconnectFromHost();
    };
    connect(socket, &QTcpSocket::bytesWritten, this, writeMore);
    if (ssl)
        connect(ssl, &QSslSocket::encryptedBytesWritten, this, writeMore);
    writeMore();
}
