// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/PngText.h"

#include <QtEndian>

#include <array>

namespace {

constexpr char signature[] = "\x89PNG\r\n\x1a\n";
constexpr qsizetype signatureSize = 8;
// Compressed text is inflated only from small chunks: a short Software line never needs more,
// and it keeps a hostile file from inflating into megabytes.
constexpr qsizetype compressedTextLimit = 4 * 1024;

quint32 crc32(QByteArrayView bytes)
{
    static constexpr auto table = [] {
        std::array<quint32, 256> entries{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320U ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    quint32 crc = 0xffffffffU;
    for (const char byte : bytes)
        crc = table[(crc ^ uchar(byte)) & 0xff] ^ (crc >> 8);
    return crc ^ 0xffffffffU;
}

std::optional<QByteArray> inflated(QByteArrayView compressed)
{
    if (compressed.size() > compressedTextLimit)
        return std::nullopt;
    // qUncompress wants the expected size in front; it grows its buffer when the guess is short.
    QByteArray framed(4, '\0');
    qToBigEndian<quint32>(quint32(compressedTextLimit), framed.data());
    framed.append(compressed);
    QByteArray text = qUncompress(framed);
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

// The text of one chunk's data (keyword, NUL, then the per-type layout), when the keyword is wanted.
std::optional<QString> chunkText(QByteArrayView type, QByteArrayView data, const QByteArrayList &keywords)
{
    const qsizetype keywordEnd = data.indexOf('\0');
    if (keywordEnd < 0 || !keywords.contains(data.first(keywordEnd)))
        return std::nullopt;
    QByteArrayView rest = data.sliced(keywordEnd + 1);
    if (type == "tEXt")
        return QString::fromLatin1(rest);
    if (type == "zTXt") {
        if (rest.isEmpty() || rest.front() != 0)
            return std::nullopt; // 0 is the only compression method
        const auto text = inflated(rest.sliced(1));
        return text ? std::optional(QString::fromLatin1(*text)) : std::nullopt;
    }
    // iTXt: compression flag, method, language tag, NUL, translated keyword, NUL, UTF-8 text.
    if (rest.size() < 2)
        return std::nullopt;
    const bool isCompressed = rest[0] != 0;
    rest = rest.sliced(2);
    for (int field = 0; field < 2; ++field) {
        const qsizetype end = rest.indexOf('\0');
        if (end < 0)
            return std::nullopt;
        rest = rest.sliced(end + 1);
    }
    if (!isCompressed)
        return QString::fromUtf8(rest);
    const auto text = inflated(rest);
    return text ? std::optional(QString::fromUtf8(*text)) : std::nullopt;
}

} // namespace

QStringList PngText::values(const QByteArray &head, const QByteArrayList &keywords)
{
    QStringList texts;
    if (!head.startsWith(QByteArrayView(signature, signatureSize)))
        return texts;
    qsizetype position = signatureSize;
    while (position + 8 <= head.size()) {
        const quint32 length = qFromBigEndian<quint32>(head.constData() + position);
        const QByteArrayView type(head.constData() + position + 4, 4);
        if (type == "IDAT" || type == "IEND" || length > 0x7fffffffU)
            break;
        const qsizetype end = position + 12 + qsizetype(length);
        if (end > head.size())
            break; // truncated, or beyond what was read
        const QByteArrayView typeAndData(head.constData() + position + 4, 4 + qsizetype(length));
        const quint32 storedCrc = qFromBigEndian<quint32>(head.constData() + end - 4);
        if ((type == "tEXt" || type == "zTXt" || type == "iTXt") && crc32(typeAndData) == storedCrc) {
            if (const auto text = chunkText(type, typeAndData.sliced(4), keywords))
                texts.append(*text);
        }
        position = end;
    }
    return texts;
}
