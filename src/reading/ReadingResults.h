// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reading/RecognizedLine.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <chrono>
#include <vector>

// What reading one file gives, on both sides of the reading process's socket, and the limits a file
// is read within.
namespace Reading {

// Each file gets this long for decoding and recognition together.
inline constexpr std::chrono::milliseconds timeBudget{15'000};
// Width x height x bytes per pixel, counted as at least 4: text recognition works on 32-bit pixels.
// An 8K capture (7680 x 4320) takes 127 MiB.
inline constexpr qint64 memoryBudgetBytes = 160 * 1024 * 1024;
// Larger files are refused unread: a screenshot within the memory budget is far smaller on disk.
inline constexpr qint64 maximumFileBytes = memoryBudgetBytes;

// "file too large (…)" for a file of that many bytes.
QString tooLongText(qint64 bytes);
// "reading it took longer than 15 s of processor time", for a file over that budget.
QString overTimeText(std::chrono::milliseconds budget);

} // namespace Reading

// The lines read from one file, or why the file could not be read. An image without text gives no
// lines and no error.
struct RecognitionResult
{
    std::vector<RecognizedLine> lines;
    QString error;
    bool isOverBudget = false; // it needed more memory or time than a screenshot may take
    bool isUnconfined = false; // a reading process could not shut itself in, so nothing was read
    QSize imageSize = {};      // of the decoded image, in pixels; empty when it was not decoded
};

// A file decoded into a bitmap: either image is set, or error says why the file could not be decoded
// ("cannot decode image (…)", "image too large (30000 x 30000 …)", "PDF is encrypted", …).
struct DecodedImage
{
    QImage image;
    QString error;
    bool isOverBudget = false; // the file needs more memory or time than a screenshot may take
};
