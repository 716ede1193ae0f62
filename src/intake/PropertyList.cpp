// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/PropertyList.h"

#include <QXmlStreamReader>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr qsizetype binaryHeaderSize = 8;
constexpr qsizetype binaryTrailerSize = 32;

quint64 bigEndian(const uchar *bytes, int width)
{
    quint64 value = 0;
    for (int i = 0; i < width; ++i)
        value = value << 8 | bytes[i];
    return value;
}

// A number object (marker 0x1n integer or 0x2n real, 2^n bytes) as a truth value.
std::optional<bool> numberTruth(uchar marker, const uchar *payload, quint64 available)
{
    const quint64 width = quint64(1) << (marker & 0x0f);
    if (width > available)
        return std::nullopt;
    if (marker >> 4 == 0x1) {
        if (width > 16)
            return std::nullopt;
        return std::any_of(payload, payload + width, [](uchar byte) {
            return byte != 0;
        });
    }
    if (width == 4)
        return qFromBigEndian<float>(payload) != 0.0F;
    if (width == 8)
        return qFromBigEndian<double>(payload) != 0.0;
    return std::nullopt;
}

// Layout: header, objects, offset table, 32-byte trailer. Every offset is checked against the
// size, so that no input can make the reader leave the buffer.
std::optional<bool> binaryTruthValue(const QByteArray &data)
{
    if (data.size() < binaryHeaderSize + 1 + binaryTrailerSize)
        return std::nullopt;
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    const quint64 trailerStart = quint64(data.size() - binaryTrailerSize);
    const uchar *trailer = bytes + trailerStart;
    const int offsetSize = trailer[6];
    const quint64 objectCount = qFromBigEndian<quint64>(trailer + 8);
    const quint64 topObject = qFromBigEndian<quint64>(trailer + 16);
    const quint64 tableOffset = qFromBigEndian<quint64>(trailer + 24);
    if (offsetSize < 1 || offsetSize > 8 || topObject >= objectCount)
        return std::nullopt;
    if (tableOffset < binaryHeaderSize || tableOffset > trailerStart ||
        objectCount > (trailerStart - tableOffset) / quint64(offsetSize))
        return std::nullopt;
    const quint64 objectOffset = bigEndian(bytes + tableOffset + topObject * quint64(offsetSize), offsetSize);
    if (objectOffset < binaryHeaderSize || objectOffset >= tableOffset)
        return std::nullopt;
    const uchar marker = bytes[objectOffset];
    if (marker == 0x08 || marker == 0x09)
        return marker == 0x09;
    if (marker >> 4 == 0x1 || marker >> 4 == 0x2)
        return numberTruth(marker, bytes + objectOffset + 1, tableOffset - objectOffset - 1);
    return std::nullopt;
}

std::optional<bool> xmlValue(QXmlStreamReader &xml)
{
    const auto tag = xml.name();
    if (tag == u"true")
        return true;
    if (tag == u"false")
        return false;
    if (tag != u"integer" && tag != u"real")
        return std::nullopt;
    bool isNumber = false;
    const double number = xml.readElementText().trimmed().toDouble(&isNumber);
    if (!isNumber)
        return std::nullopt;
    return number != 0.0;
}

std::optional<bool> xmlTruthValue(const QByteArray &data)
{
    QXmlStreamReader xml(data);
    if (!xml.readNextStartElement() || xml.name() != u"plist" || !xml.readNextStartElement())
        return std::nullopt;
    const std::optional<bool> value = xmlValue(xml);
    while (!xml.atEnd())
        xml.readNext(); // the rest must be well formed, too
    if (xml.hasError())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<bool> PropertyList::truthValue(const QByteArray &bytes)
{
    if (bytes.startsWith("bplist00"))
        return binaryTruthValue(bytes);
    return xmlTruthValue(bytes);
}
