// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/ScreenLayout.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <optional>

// Synthetic recogniser output for the layout and naming tests.

using Lines = QList<RecognizedLine>;
using OptionalText = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalText)

// x and y are the lower-left corner, as the recogniser reports boxes.
inline RecognizedLine line(const QString &text, double x, double y, double w = 0.5, double h = 0.02,
                           float conf = 0.9f)
{
    return {text, conf, QRectF(x, y, w, h), {}};
}

// The lines' texts joined by "|".
inline QString joinedTexts(const QList<LaidOutLine> &lines)
{
    QStringList texts;
    for (const LaidOutLine &laidOut : lines)
        texts.append(laidOut.recognized.text);
    return texts.join(u'|');
}
