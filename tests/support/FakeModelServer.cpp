#include "support/FakeModelServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTcpSocket>
#include <QTimer>

namespace {

constexpr qint64 hugeChunkSize = 256 * 1024;

QByteArray response(int status, const QByteArray &reason, const QByteArray &body)
{
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason +
           "\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

QByteArray compact(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

qsizetype contentLength(const QByteArray &head)
{
    for (const QByteArray &line : head.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.toLower().startsWith("content-length:"))
            return trimmed.mid(15).trimmed().toLongLong();
    }
    return 0;
}

} // namespace

QJsonObject FakeModelServer::Request::json() const
{
    return QJsonDocument::fromJson(body).object();
}

FakeModelServer::FakeModelServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                readFrom(socket);
            });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_pending.remove(socket);
                socket->deleteLater();
            });
        }
    });
    m_server.listen(QHostAddress::LocalHost, 0);
}

FakeModelServer::~FakeModelServer()
{
    // Open connections go first, while the state their handlers touch still exists.
    for (QTcpSocket *socket : m_server.findChildren<QTcpSocket *>()) {
        socket->disconnect(this);
        delete socket;
    }
}

QUrl FakeModelServer::baseUrl() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()));
}

QList<FakeModelServer::Request> FakeModelServer::requests(const QByteArray &path) const
{
    QList<Request> matching;
    for (const Request &request : m_requests)
        if (request.path == path)
            matching.append(request);
    return matching;
}

void FakeModelServer::readFrom(QTcpSocket *socket)
{
    QByteArray &buffer = m_pending[socket];
    buffer += socket->readAll();
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;
    const QByteArray head = buffer.left(headEnd);
    const qsizetype bodyStart = headEnd + 4;
    if (buffer.size() - bodyStart < contentLength(head))
        return;
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    const Request request{requestLine.value(0), requestLine.value(1), buffer.mid(bodyStart)};
    m_pending.remove(socket);
    m_requests.append(request);
    handle(socket, request);
}

void FakeModelServer::handle(QTcpSocket *socket, const Request &request)
{
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
    case Behaviour::ServerError:
        socket->write(
            response(500, "Internal Server Error", R"({"error":"model runner has unexpectedly stopped"})"));
        socket->disconnectFromHost();
        break;
    case Behaviour::Malformed:
        socket->write(response(200, "OK", R"({"message": {"content": "{\"keywords\": [)"));
        socket->disconnectFromHost();
        break;
    case Behaviour::HugeBody:
        streamHugeBody(socket);
        break;
    case Behaviour::Close:
        socket->disconnectFromHost();
        break;
    }
}

void FakeModelServer::answer(QTcpSocket *socket, const Request &request)
{
    const QByteArray body = answerBody(request);
    socket->write(body.isNull() ? response(404, "Not Found", "{}") : response(200, "OK", body));
    socket->disconnectFromHost();
}

QByteArray FakeModelServer::answerBody(const Request &request)
{
    if (request.path == "/api/tags") {
        QJsonArray models;
        for (const QString &name : std::as_const(m_models))
            models.append(QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("model"), name}});
        return compact({{QStringLiteral("models"), models}});
    }
    if (request.path == "/api/show")
        return compact({{QStringLiteral("capabilities"), QJsonArray::fromStringList(m_capabilities)}});
    if (request.path == "/api/chat") {
        const QByteArray content =
            m_chatContents.isEmpty() ? QByteArray()
                                     : m_chatContents.value(std::min(m_chatCount, m_chatContents.size() - 1));
        ++m_chatCount;
        const QJsonObject message{{QStringLiteral("role"), QStringLiteral("assistant")},
                                  {QStringLiteral("content"), QString::fromUtf8(content)}};
        return compact({{QStringLiteral("model"), request.json().value(QStringLiteral("model"))},
                        {QStringLiteral("message"), message},
                        {QStringLiteral("done"), true},
                        {QStringLiteral("done_reason"), QStringLiteral("stop")}});
    }
    return {};
}

void FakeModelServer::streamHugeBody(QTcpSocket *socket)
{
    // Without a Content-Length the body runs until the connection closes, so only the client's own
    // limit can stop it. Chunks go out as the previous ones leave, never all 50 MB at once.
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n\r\n");
    const QByteArray chunk(hugeChunkSize, ' ');
    const auto writeMore = [this, socket, chunk] {
        while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < hugeChunkSize &&
               m_hugeBodyBytesSent < hugeBodySize) {
            socket->write(chunk);
            m_hugeBodyBytesSent += chunk.size();
        }
        if (m_hugeBodyBytesSent >= hugeBodySize)
            socket->disconnectFromHost();
    };
    connect(socket, &QTcpSocket::bytesWritten, this, writeMore);
    writeMore();
}
