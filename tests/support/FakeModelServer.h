#pragma once

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

#include <chrono>

class QTcpSocket;

// A local model server on 127.0.0.1 (a free port) that speaks enough HTTP/1.1 to answer
// /api/tags, /api/show and /api/chat, and records every request. It lives on the thread that creates
// it; a blocking client call on that thread is served from the client's own event loop.
class FakeModelServer final : public QObject
{
    Q_OBJECT

public:
    enum class Behaviour
    {
        Answer,      // a well-formed answer
        Hang,        // accept the request and never answer
        Delay,       // answer after the given delay
        ServerError, // HTTP 500 with an error message
        Malformed,   // HTTP 200 with a body that is not JSON
        HugeBody,    // HTTP 200 streaming 50 MB without a Content-Length
        Close        // close the connection without a word
    };

    struct Request
    {
        QByteArray method;
        QByteArray path;
        QByteArray body;

        QJsonObject json() const;
    };

    static constexpr qint64 hugeBodySize = 50 * 1024 * 1024;

    explicit FakeModelServer(QObject *parent = nullptr);
    ~FakeModelServer() override;

    QUrl baseUrl() const;

    // What /api/tags lists; each entry carries the name as both "name" and "model".
    void setModels(const QStringList &names) { m_models = names; }
    // What /api/show reports for any model.
    void setCapabilities(const QStringList &capabilities) { m_capabilities = capabilities; }
    // The generated text of successive /api/chat answers; the last one repeats.
    void setChatContents(const QList<QByteArray> &contents) { m_chatContents = contents; }
    // How requests to `path` ("/api/chat") are treated; every path answers unless told otherwise.
    void setBehaviour(const QByteArray &path, Behaviour behaviour, std::chrono::milliseconds delay = {})
    {
        m_behaviours.insert(path, {behaviour, delay});
    }

    QList<Request> requests(const QByteArray &path) const;
    // How much of a huge body went out before the client hung up.
    qint64 hugeBodyBytesSent() const { return m_hugeBodyBytesSent; }

private:
    void readFrom(QTcpSocket *socket);
    void handle(QTcpSocket *socket, const Request &request);
    void answer(QTcpSocket *socket, const Request &request);
    QByteArray answerBody(const Request &request);
    void streamHugeBody(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_pending;
    QStringList m_models;
    QStringList m_capabilities;
    QList<QByteArray> m_chatContents;
    qsizetype m_chatCount = 0;
    QHash<QByteArray, std::pair<Behaviour, std::chrono::milliseconds>> m_behaviours;
    QList<Request> m_requests;
    qint64 m_hugeBodyBytesSent = 0;
};
