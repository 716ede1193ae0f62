// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QTcpServer>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>

class QTcpSocket;

// A web server on 127.0.0.1 (a free port), over http or https, for testing HTTP clients. It records every
// request and answers each path with its handler's response: at once, late, never, cut short or far too long.
// Lives on the thread that creates it; a blocking client on that thread is served from the client's
// own event loop.
class FakeWebServer : public QObject
{
    Q_OBJECT

public:
    struct Request
    {
        QByteArray method;
        QByteArray path;
        QByteArray head; // the request line and the headers
        QByteArray body;

        // The value of header `name` (any case); empty when missing.
        QByteArray header(const QByteArray &name) const;
        QJsonObject json() const;
    };
    struct Response
    {
        int status = 200;
        QByteArray body;
    };
    using Handler = std::function<Response(const Request &)>;

    enum class Behaviour
    {
        Answer,         // the handler's response
        Hang,           // accept the request and never answer
        Delay,          // answer after the given delay
        Close,          // close the connection without a word
        HugeBody,       // HTTP 200 streaming 50 MB until the connection closes, without a Content-Length
        HugeChunkedBody // the same in chunked transfer encoding
    };
    static constexpr qint64 hugeBodySize = 50 * 1024 * 1024;
    enum class Transport
    {
        Http,
        Https // with a self-signed certificate for 127.0.0.1 that clients trust only when told to
    };
    static QSslCertificate httpsCertificate();

    explicit FakeWebServer(Transport transport = Transport::Http, QObject *parent = nullptr);
    ~FakeWebServer() override;

    // The address of `path` ("/appcast.xml") on this server; the server itself for no path.
    QUrl url(const QString &path = {}) const;
    // What `path` answers, with its true Content-Length; paths without a handler answer 404.
    void serve(const QByteArray &path, const QByteArray &body, int status = 200);
    void handle(const QByteArray &path, Handler handler) { m_handlers.insert(path, std::move(handler)); }
    void setBehaviour(const QByteArray &path, Behaviour behaviour, std::chrono::milliseconds delay = {})
    {
        m_behaviours.insert(path, {behaviour, delay});
    }

    QList<Request> requests(const QByteArray &path) const;
    // How much of a huge body went out before the client hung up.
    qint64 hugeBodyBytesSent() const { return m_hugeBodyBytesSent; }

private:
    void readFrom(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const Request &request);
    void streamHugeBody(QTcpSocket *socket, bool chunked);

    Transport m_transport;
    std::unique_ptr<QTcpServer> m_server;
    QHash<QByteArray, Handler> m_handlers;
    QHash<QByteArray, std::pair<Behaviour, std::chrono::milliseconds>> m_behaviours;
    QList<Request> m_requests;
    qint64 m_hugeBodyBytesSent = 0;
};
