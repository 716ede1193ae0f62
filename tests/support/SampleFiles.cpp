// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/SampleFiles.h"

#include <QRandomGenerator>
#include <QtEndian>

namespace {

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    return bigEndian(quint32(data.size())) + type + data + bigEndian(SampleFiles::crc32(type + data));
}

} // namespace

namespace SampleFiles {

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xffffffff;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

QByteArray sparseNoisePng(quint32 width, quint32 height, int density)
{
    // Grey level, one bit a pixel, 1 is white; each row starts with filter type 0.
    const qsizetype rowBytes = 1 + (qsizetype(width) + 7) / 8;
    QByteArray rows(rowBytes * height, char(0xff));
    QRandomGenerator random(7);
    for (quint32 y = 0; y < height; ++y) {
        char *row = rows.data() + rowBytes * y;
        row[0] = 0;
        for (quint32 x = random.bounded(density); x < width; x += 1 + random.bounded(2 * density))
            row[1 + x / 8] = char(row[1 + x / 8] & ~(0x80 >> (x % 8)));
    }
    const QByteArray header = bigEndian(width) + bigEndian(height) + QByteArray("\x01\x00\x00\x00\x00", 5);
    // qCompress gives a zlib stream after a 4-byte length of its own.
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) +
           pngChunk("IDAT", qCompress(rows, 9).mid(4)) + pngChunk("IEND", {});
}

QByteArray pdfOf(const QList<QByteArray> &objects, const QByteArray &trailerExtra)
{
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R " + trailerExtra +
           " >>\n";
    pdf += "startxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

QByteArray nestedFormsPdf(int depth)
{
    const auto stream = [](const QByteArray &dictionary, const QByteArray &content) {
        return "<< " + dictionary + " /Length " + QByteArray::number(content.size()) + " >>\nstream\n" +
               content + "\nendstream";
    };
    QList<QByteArray> objects{"<< /Type /Catalog /Pages 2 0 R >>",
                              "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                              "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 4 0 R"
                              " /Resources << /XObject << /F 5 0 R >> >> >>",
                              stream({}, "/F Do")};
    // Form n is object 5 + n; the last one draws a square.
    for (int level = 0; level < depth; ++level) {
        const QByteArray form = "/Type /XObject /Subtype /Form /BBox [0 0 200 200]";
        if (level + 1 == depth) {
            objects.append(stream(form, "0 0 10 10 re f"));
        } else {
            objects.append(
                stream(form + " /Resources << /XObject << /F " + QByteArray::number(6 + level) + " 0 R >> >>",
                       "/F Do /F Do"));
        }
    }
    return pdfOf(objects);
}

} // namespace SampleFiles
