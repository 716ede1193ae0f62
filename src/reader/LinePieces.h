// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

#include <vector>

namespace tesseract {
class TessBaseAPI;
}

// Tesseract reads a page by cutting each text line into runs of nearby words of like height and
// recognising each run on its own, from the grey pixels around it. Making the same cuts here lets the
// runs be recognised on several cores at once, and gives the same text whichever core reads which run.
namespace LinePieces {

struct Piece
{
    QRect crop;         // the pixels of the page that are recognised for it
    QRect shown;        // the box of its words as Tesseract counts a line's box: without dots above or below
    int line = 0;       // which text line it belongs to, in reading order
    bool isLine = true; // a run of one line, or a block of sideways text read as a page
    // What recognising it costs, roughly: Tesseract brings the run to a fixed height first.
    double cost() const;
};

// The pieces of the page the engine has just analysed (AnalyseLayout), in reading order.
std::vector<Piece> find(tesseract::TessBaseAPI &engine, int pageWidth, int pageHeight);

} // namespace LinePieces
