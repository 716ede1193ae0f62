// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FileDescriptor.h"
#include "reading/ReadingResults.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QImage>
#include <QString>

#include <optional>

// What Quillo and its reading processes say to each other over a Unix socket pair. Every message is
// a 32-bit length and that many bytes. A request carries the file's open descriptor; an answer is
// checked field by field, since a reading process may have been taken over by the file it read.
namespace ReadingProtocol {

// The reading process's end of the socket pair, set up by the one that starts it.
constexpr int workerSocket = 3;

enum class Kind : quint8
{
    Lines = 1,
    Image = 2
};

struct Request
{
    Kind kind = Kind::Lines;
    QString extension;   // the file's, chooses the decoder
    qint64 budgetMs = 0; // processor time for decoding and recognition together
    int threads = 1;     // cores the reading of this file may take
};

// A reading process's answer: its readiness after start (error: why it refuses to read), or what a
// request produced. For Kind::Image the image is set unless there is an error.
struct Answer
{
    RecognitionResult recognition;
    QImage image;
};

// Answers larger than this are nonsense: the largest image within the memory budget, plus text.
constexpr qint64 maximumAnswerBytes = 192 * 1024 * 1024;

QByteArray encode(const Request &request);
std::optional<Request> decodeRequest(const QByteArray &bytes);
QByteArray encode(const Answer &answer);
// Nothing when the bytes are not a well-formed answer.
std::optional<Answer> decodeAnswer(const QByteArray &bytes);

// Blocking on the socket; false when it is closed or fails. `descriptor` travels alongside, or -1.
bool send(int socket, const QByteArray &message, int descriptor = -1);

enum class Received
{
    Message,
    Closed,
    TimedOut,
    TooLarge
};
struct Reception
{
    Received status = Received::Closed;
    QByteArray message;
    FileDescriptor descriptor; // what came along, if anything
};
// Waits for one message until the deadline; larger than `maximumBytes` ends it as TooLarge.
Reception receive(int socket, QDeadlineTimer deadline, qint64 maximumBytes);

} // namespace ReadingProtocol
