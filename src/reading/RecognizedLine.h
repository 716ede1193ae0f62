// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRectF>
#include <QString>

// One word of a line as the engine split it, with the engine's confidence in it (0 to 1).
struct RecognizedWord
{
    QString text;
    float confidence = 0;

    friend bool operator==(const RecognizedWord &, const RecognizedWord &) = default;
};

// One line of recognised text.
//
// boundingBox is in normalised image coordinates: fractions of the image width and height, origin at
// the lower-left corner, y growing upward, so a line at the top of the screen has minY() close to 1.
// QRectF's own names assume y grows downward: here boundingBox.top() is minY and bottom() is maxY.
// Use the accessors below, which read like the geometry they mean.
struct RecognizedLine
{
    QString text;         // as the engine returned it, without the engine's line separator
    float confidence = 0; // 0 to 1
    QRectF boundingBox;
    QList<RecognizedWord> words; // in text order; empty when the engine gives no word results

    qreal minX() const { return boundingBox.x(); }
    qreal maxX() const { return boundingBox.x() + boundingBox.width(); }
    qreal minY() const { return boundingBox.y(); }
    qreal maxY() const { return boundingBox.y() + boundingBox.height(); }
    qreal midY() const { return boundingBox.y() + boundingBox.height() / 2; }
    qreal width() const { return boundingBox.width(); }
    qreal height() const { return boundingBox.height(); }

    // QRectF compares its coordinates with qFuzzyCompare.
    friend bool operator==(const RecognizedLine &, const RecognizedLine &) = default;
};
