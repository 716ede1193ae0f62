#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

// A web server on 127.0.0.1 (a free port) answering GET requests with fixed bodies, for testing
// clients that download. Lives on the thread that creates it.
class FakeWebServer final : public QObject
{
    Q_OBJECT

public:
    explicit FakeWebServer(QObject *parent = nullptr);

    // The address of `path` ("/appcast.xml") on this server.
    QUrl url(const QString &path) const;
    // What GET `path` answers, with its true Content-Length; other paths answer 404.
    void serve(const QByteArray &path, const QByteArray &body) { m_bodies.insert(path, body); }

private:
    QTcpServer m_server;
    QHash<QByteArray, QByteArray> m_bodies;
};
