// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <chrono>
#include <optional>
#include <utility>

// One HTTP/1.1 request and its answer over a connection of its own, bounded in time and in the size
// of what arrives. Blocks the calling thread (a local event loop runs); never call it on the main
// thread. Not left to QNetworkAccessManager: it decodes a chunked body in its own thread as fast as
// the body arrives, past any read buffer size, so a huge answer would fill memory before anyone
// could refuse it. Here the limit is checked on every read, whatever the transfer encoding.
namespace HttpExchange {

struct Result
{
    bool reachedServer = false; // an HTTP status line arrived
    bool timedOut = false;
    int status = 0;
    QByteArray body; // decoded
    QString error;   // readable; empty when the exchange completed, whatever the status
};

// What has arrived so far, read as a response. Complete once the body is whole: its Content-Length,
// the last chunk, or (with neither) the end of the connection.
struct Response
{
    bool hasHead = false;
    bool complete = false;
    bool malformed = false;
    int status = 0;
    QByteArray body; // decoded
};
Response readResponse(const QByteArray &received, bool closed);

// A body makes it a POST of JSON. No proxy is used and redirects are not followed.
Result run(const QUrl &url, const std::optional<QByteArray> &body,
           const QList<std::pair<QByteArray, QByteArray>> &headers, std::chrono::milliseconds timeLimit,
           qsizetype maxBodySize);

} // namespace HttpExchange
