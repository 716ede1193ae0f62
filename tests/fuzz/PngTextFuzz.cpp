// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/PngText.h"

#include <QtEndian>

#include <cstdint>

namespace {

quint32 crc32(const char *bytes, qsizetype size)
{
    quint32 crc = 0xffffffffU;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= uchar(bytes[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? 0xedb88320U ^ (crc >> 1) : crc >> 1;
    }
    return crc ^ 0xffffffffU;
}

// The input with every whole chunk's checksum made right, so that mutations reach the chunk
// contents instead of stopping at the checksum.
QByteArray withValidChecksums(QByteArray png)
{
    for (qsizetype position = 8; position + 12 <= png.size();) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + position);
        if (length > quint32(png.size() - position - 12))
            break;
        const qsizetype end = position + 12 + qsizetype(length);
        qToBigEndian<quint32>(crc32(png.constData() + position + 4, 4 + qsizetype(length)),
                              png.data() + end - 4);
        position = end;
    }
    return png;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto head = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArrayList keywords{QByteArrayLiteral("Software"), QByteArrayLiteral("Source")};
    PngText::values(head, keywords);
    const QByteArray repaired = withValidChecksums(QByteArray(head.constData(), head.size()));
    PngText::values(QByteArray::fromRawData(repaired.constData(), repaired.size()), keywords);
    return 0;
}
