// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/PngText.h"
#include "support/SampleFiles.h"

#include <QtEndian>

#include <cstdint>

namespace {

// The input with every whole chunk's checksum made right, so that mutations reach the chunk
// contents instead of stopping at the checksum.
QByteArray withValidChecksums(QByteArray png)
{
    for (qsizetype position = 8; position + 12 <= png.size();) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + position);
        if (length > quint32(png.size() - position - 12))
            break;
        const qsizetype end = position + 12 + qsizetype(length);
        qToBigEndian<quint32>(SampleFiles::crc32(png.mid(position + 4, 4 + qsizetype(length))),
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
