// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

// Files written byte by byte, so that tests and benchmarks can have any shape of PNG or PDF, hostile
// ones included. Qt Core only.
namespace SampleFiles {

// The CRC of PNG chunks.
quint32 crc32(const QByteArray &data);

// A black-and-white PNG of the given size, white with one black pixel in `density`, spread at random:
// under a megabyte on disk for 49 megapixels.
QByteArray sparseNoisePng(quint32 width, quint32 height, int density = 64);

// A PDF of the given objects, numbered from 1 (the first is the catalog), with a correct cross
// reference table; `trailerExtra` is added to the trailer dictionary.
QByteArray pdfOf(const QList<QByteArray> &objects, const QByteArray &trailerExtra = {});

// One page drawing a form that draws the next form twice, `depth` deep: 2^depth drawings, 3 KB.
QByteArray nestedFormsPdf(int depth);

} // namespace SampleFiles
