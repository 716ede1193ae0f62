// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading/ReadingProtocol.h"

#include <QStringDecoder>
#include <QtEndian>

#include <sys/socket.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace ReadingProtocol {

namespace {

constexpr quint32 requestMagic = 0x51524431; // "QRD1"
constexpr quint32 answerMagic = 0x51524131;  // "QRA1"
// Far more than any screenshot has; a larger count is a broken or hostile answer.
constexpr quint32 maximumLines = 20'000;
constexpr quint32 maximumWords = 2'000;
constexpr quint32 maximumTextBytes = 64 * 1024;

class Writer
{
public:
    template <typename T> void number(T value)
    {
        const T little = qToLittleEndian(value);
        m_bytes.append(reinterpret_cast<const char *>(&little), sizeof little);
    }
    void real(double value)
    {
        quint64 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        number(bits);
    }
    void text(const QString &value)
    {
        const QByteArray utf8 = value.toUtf8().left(maximumTextBytes);
        number(quint32(utf8.size()));
        m_bytes.append(utf8);
    }
    void raw(const char *data, qsizetype size) { m_bytes.append(data, size); }
    QByteArray take() { return std::move(m_bytes); }

private:
    QByteArray m_bytes;
};

// Every read checks what is left; a failed one leaves the reader failed for good.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_bytes(bytes)
    {}
    bool ok() const { return m_ok; }
    bool atEnd() const { return m_ok && m_position == m_bytes.size(); }

    template <typename T> T number()
    {
        T value{};
        if (const char *at = take(sizeof value))
            std::memcpy(&value, at, sizeof value);
        return qFromLittleEndian(value);
    }
    double real()
    {
        const quint64 bits = number<quint64>();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // Finite and within [low, high], or the reader fails.
    double realWithin(double low, double high)
    {
        const double value = real();
        m_ok = m_ok && std::isfinite(value) && value >= low && value <= high;
        return value;
    }
    QString text()
    {
        const quint32 size = number<quint32>();
        if (size > maximumTextBytes)
            m_ok = false;
        const char *at = take(size);
        if (!at)
            return {};
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString value = decoder(QByteArrayView(at, size));
        m_ok = m_ok && !decoder.hasError();
        return value;
    }
    const char *take(qint64 size)
    {
        if (!m_ok || size < 0 || size > m_bytes.size() - m_position) {
            m_ok = false;
            return nullptr;
        }
        const char *at = m_bytes.constData() + m_position;
        m_position += size;
        return at;
    }
    void require(bool condition) { m_ok = m_ok && condition; }

private:
    const QByteArray &m_bytes;
    qint64 m_position = 0;
    bool m_ok = true;
};

// Boxes are fractions of the image; a little outside allows for rounding.
constexpr double boxLow = -0.01;
constexpr double boxHigh = 1.01;

void writeLine(Writer &out, const RecognizedLine &line)
{
    out.text(line.text);
    out.real(line.confidence);
    for (const double value :
         {line.boundingBox.x(), line.boundingBox.y(), line.boundingBox.width(), line.boundingBox.height()})
        out.real(value);
    out.number(quint32(line.words.size()));
    for (const RecognizedWord &word : line.words) {
        out.text(word.text);
        out.real(word.confidence);
    }
}

RecognizedLine readLine(Reader &in)
{
    RecognizedLine line;
    line.text = in.text();
    line.confidence = float(in.realWithin(0, 1));
    const double x = in.realWithin(boxLow, boxHigh);
    const double y = in.realWithin(boxLow, boxHigh);
    const double width = in.realWithin(0, boxHigh - boxLow);
    const double height = in.realWithin(0, boxHigh - boxLow);
    line.boundingBox = QRectF(x, y, width, height);
    const quint32 words = in.number<quint32>();
    in.require(words <= maximumWords);
    for (quint32 i = 0; in.ok() && i < words; ++i) {
        QString text = in.text();
        line.words.append({std::move(text), float(in.realWithin(0, 1))});
    }
    return line;
}

void writeImage(Writer &out, const QImage &image)
{
    const bool hasAlpha = image.hasAlphaChannel();
    const QImage pixels = image.convertToFormat(hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    out.number(quint32(pixels.width()));
    out.number(quint32(pixels.height()));
    out.number(quint8(hasAlpha));
    for (int y = 0; y < pixels.height(); ++y)
        out.raw(reinterpret_cast<const char *>(pixels.constScanLine(y)), qsizetype(pixels.width()) * 4);
}

QImage readImage(Reader &in)
{
    const quint32 width = in.number<quint32>();
    const quint32 height = in.number<quint32>();
    const quint8 hasAlpha = in.number<quint8>();
    const qint64 rowBytes = qint64(width) * 4;
    in.require(hasAlpha <= 1 && width <= 1u << 16 && height <= 1u << 16 &&
               rowBytes * height <= Reading::memoryBudgetBytes);
    if (!in.ok() || width == 0 || height == 0)
        return {};
    QImage image(int(width), int(height), hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    in.require(!image.isNull());
    for (int y = 0; in.ok() && y < image.height(); ++y) {
        if (const char *row = in.take(rowBytes))
            std::memcpy(image.scanLine(y), row, size_t(rowBytes));
    }
    return in.ok() ? image : QImage();
}

} // namespace

QByteArray encode(const Request &request)
{
    Writer out;
    out.number(requestMagic);
    out.number(quint8(request.kind));
    out.text(request.extension);
    out.number(qint64(request.budgetMs));
    out.number(quint8(request.threads));
    return out.take();
}

std::optional<Request> decodeRequest(const QByteArray &bytes)
{
    Reader in(bytes);
    Request request;
    in.require(in.number<quint32>() == requestMagic);
    const quint8 kind = in.number<quint8>();
    in.require(kind == quint8(Kind::Lines) || kind == quint8(Kind::Image));
    request.kind = Kind(kind);
    request.extension = in.text();
    request.budgetMs = in.number<qint64>();
    in.require(request.budgetMs > 0);
    request.threads = in.number<quint8>();
    in.require(request.threads >= 1);
    if (!in.atEnd())
        return std::nullopt;
    return request;
}

QByteArray encode(const Answer &answer)
{
    Writer out;
    out.number(answerMagic);
    out.number(quint8(answer.recognition.isOverBudget));
    out.text(answer.recognition.error);
    // An empty size (an image that was not decoded) goes as 0 x 0.
    const QSize imageSize =
        answer.recognition.imageSize.isEmpty() ? QSize(0, 0) : answer.recognition.imageSize;
    out.number(quint32(imageSize.width()));
    out.number(quint32(imageSize.height()));
    out.number(quint32(answer.recognition.lines.size()));
    for (const RecognizedLine &line : answer.recognition.lines)
        writeLine(out, line);
    out.number(quint8(!answer.image.isNull()));
    if (!answer.image.isNull())
        writeImage(out, answer.image);
    return out.take();
}

std::optional<Answer> decodeAnswer(const QByteArray &bytes)
{
    Reader in(bytes);
    Answer answer;
    in.require(in.number<quint32>() == answerMagic);
    const quint8 overBudget = in.number<quint8>();
    in.require(overBudget <= 1);
    answer.recognition.isOverBudget = overBudget == 1;
    answer.recognition.error = in.text();
    const auto width = in.number<quint32>();
    const auto height = in.number<quint32>();
    in.require(width <= INT_MAX && height <= INT_MAX);
    if (width > 0 && height > 0)
        answer.recognition.imageSize = QSize(int(width), int(height));
    const quint32 lines = in.number<quint32>();
    in.require(lines <= maximumLines);
    for (quint32 i = 0; in.ok() && i < lines; ++i)
        answer.recognition.lines.push_back(readLine(in));
    const quint8 hasImage = in.number<quint8>();
    in.require(hasImage <= 1);
    if (hasImage == 1) {
        answer.image = readImage(in);
        in.require(!answer.image.isNull());
    }
    if (!in.atEnd())
        return std::nullopt;
    return answer;
}

bool send(int socket, const QByteArray &message, int descriptor)
{
    const quint32 length = qToLittleEndian(quint32(message.size()));
    iovec parts[2] = {{const_cast<quint32 *>(&length), sizeof length},
                      {const_cast<char *>(message.constData()), size_t(message.size())}};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr header{};
    header.msg_iov = parts;
    header.msg_iovlen = 2;
    if (descriptor >= 0) {
        header.msg_control = control;
        header.msg_controllen = sizeof control;
        cmsghdr *rights = CMSG_FIRSTHDR(&header);
        rights->cmsg_level = SOL_SOCKET;
        rights->cmsg_type = SCM_RIGHTS;
        rights->cmsg_len = CMSG_LEN(sizeof(int));
        std::memcpy(CMSG_DATA(rights), &descriptor, sizeof descriptor);
    }
    size_t total = sizeof length + size_t(message.size());
    while (total > 0) {
        const ssize_t sent = sendmsg(socket, &header, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        total -= size_t(sent);
        // The descriptor went with the first bytes; skip what was sent.
        header.msg_control = nullptr;
        header.msg_controllen = 0;
        size_t skip = size_t(sent);
        while (header.msg_iovlen > 0 && skip >= header.msg_iov->iov_len) {
            skip -= header.msg_iov->iov_len;
            ++header.msg_iov;
            --header.msg_iovlen;
        }
        if (header.msg_iovlen > 0) {
            header.msg_iov->iov_base = static_cast<char *>(header.msg_iov->iov_base) + skip;
            header.msg_iov->iov_len -= skip;
        }
    }
    return true;
}

namespace {

// Keeps the first descriptor that came along and closes any others.
void collectDescriptors(msghdr &header, FileDescriptor &descriptor)
{
    for (cmsghdr *part = CMSG_FIRSTHDR(&header); part; part = CMSG_NXTHDR(&header, part)) {
        if (part->cmsg_level != SOL_SOCKET || part->cmsg_type != SCM_RIGHTS)
            continue;
        const size_t count = (part->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (size_t i = 0; i < count; ++i) {
            int received = -1;
            std::memcpy(&received, CMSG_DATA(part) + i * sizeof(int), sizeof received);
            if (!descriptor.isValid())
                descriptor.reset(received);
            else
                close(received);
        }
    }
}

enum class Filled
{
    Done,
    Closed,
    TimedOut
};

Filled fill(int socket, char *into, size_t size, QDeadlineTimer deadline, FileDescriptor &descriptor)
{
    while (size > 0) {
        pollfd waiting{socket, POLLIN, 0};
        const int ready = poll(&waiting, 1, int(std::min<qint64>(deadline.remainingTime(), INT_MAX)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            return Filled::TimedOut;
        if (ready < 0)
            return Filled::Closed;
        iovec part{into, size};
        alignas(cmsghdr) char control[CMSG_SPACE(4 * sizeof(int))];
        msghdr header{};
        header.msg_iov = &part;
        header.msg_iovlen = 1;
        header.msg_control = control;
        header.msg_controllen = sizeof control;
        const ssize_t got = recvmsg(socket, &header, MSG_CMSG_CLOEXEC);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return Filled::Closed;
        collectDescriptors(header, descriptor);
        into += got;
        size -= size_t(got);
    }
    return Filled::Done;
}

} // namespace

Reception receive(int socket, QDeadlineTimer deadline, qint64 maximumBytes)
{
    Reception reception;
    const auto outcome = [&reception](Filled filled) {
        reception.status = filled == Filled::TimedOut ? Received::TimedOut : Received::Closed;
        return std::move(reception);
    };
    quint32 length = 0;
    if (const Filled filled =
            fill(socket, reinterpret_cast<char *>(&length), sizeof length, deadline, reception.descriptor);
        filled != Filled::Done)
        return outcome(filled);
    length = qFromLittleEndian(length);
    if (qint64(length) > maximumBytes) {
        reception.status = Received::TooLarge;
        return reception;
    }
    reception.message.resize(qsizetype(length));
    if (const Filled filled =
            fill(socket, reception.message.data(), size_t(length), deadline, reception.descriptor);
        filled != Filled::Done)
        return outcome(filled);
    reception.status = Received::Message;
    return reception;
}

} // namespace ReadingProtocol
