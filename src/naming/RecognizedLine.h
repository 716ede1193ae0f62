#pragma once

#include <QRectF>
#include <QString>

// One line of recognised text. The box is in normalised image coordinates: fractions of the image
// width and height, origin at the lower-left, y growing upward. So QRectF's top() is the line's
// lowest edge (minY) and bottom() its highest (maxY); a line at the top of the screen has y near 1.
struct RecognizedLine
{
    QString text;
    float confidence = 0; // 0 to 1
    QRectF boundingBox;

    double minX() const { return boundingBox.x(); }
    double maxX() const { return boundingBox.x() + boundingBox.width(); }
    double midX() const { return boundingBox.x() + boundingBox.width() / 2; }
    double minY() const { return boundingBox.y(); }
    double maxY() const { return boundingBox.y() + boundingBox.height(); }
    double midY() const { return boundingBox.y() + boundingBox.height() / 2; }
    double width() const { return boundingBox.width(); }
    double height() const { return boundingBox.height(); }

    friend bool operator==(const RecognizedLine &, const RecognizedLine &) = default;
};
