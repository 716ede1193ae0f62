#include "support/FakeWebServer.h"

#include <QTcpSocket>

FakeWebServer::FakeWebServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                // GET requests have no body: the head is the whole request.
                QByteArray head = socket->property("head").toByteArray() + socket->readAll();
                socket->setProperty("head", head);
                if (!head.contains("\r\n\r\n"))
                    return;
                const QByteArray path = head.left(head.indexOf("\r\n")).split(' ').value(1);
                const auto body = m_bodies.constFind(path);
                const bool found = body != m_bodies.cend();
                const QByteArray content = found ? *body : QByteArray("not found");
                socket->write((found ? "HTTP/1.1 200 OK" : "HTTP/1.1 404 Not Found") +
                              QByteArray("\r\nConnection: close\r\nContent-Length: ") +
                              QByteArray::number(content.size()) + "\r\n\r\n" + content);
                socket->disconnectFromHost();
            });
        }
    });
    m_server.listen(QHostAddress::LocalHost, 0);
}

QUrl FakeWebServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}
