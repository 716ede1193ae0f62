// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/LinePieces.h"

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <memory>

namespace LinePieces {

namespace {

// Tesseract's own rule for which words of a line it recognises together, and how much grey it takes
// around them. Its results depend on these pixels, so they are its values, not ours to tune.
constexpr double maximumWordHeight = 1.25; // of the line's height
constexpr double maximumRunHeight = 1.25;
constexpr double maximumGap = 2.0;
constexpr int padding = 4;
// The height Tesseract's recogniser brings every run to.
constexpr double recognitionHeight = 36;

// Boxes in Tesseract's page coordinates: y grows upward from the bottom edge.
struct PageBox
{
    int left = 0, bottom = 0, right = 0, top = 0;
    int height() const { return top - bottom; }
};

struct Word
{
    PageBox box; // with the dots above and below
    QRect shown; // image coordinates (y downward), without them
};

struct Line
{
    float height = 0;     // x-height, ascenders and descenders
    float descenders = 0; // below the baseline, so negative
    float baseX1 = 0, baseY1 = 0, baseX2 = 0, baseY2 = 0;
    std::vector<Word> words;

    float baselineAt(int x) const
    {
        return baseX2 == baseX1 ? baseY1 : baseY1 + (baseY2 - baseY1) * float(x - baseX1) / (baseX2 - baseX1);
    }
};

PageBox united(const PageBox &a, const PageBox &b)
{
    return {std::min(a.left, b.left), std::min(a.bottom, b.bottom), std::max(a.right, b.right),
            std::max(a.top, b.top)};
}

void cut(const Line &line, int index, int pageWidth, int pageHeight, std::vector<Piece> &pieces)
{
    for (std::size_t first = 0; first < line.words.size();) {
        PageBox run = line.words[first].box;
        QRect shown = line.words[first].shown;
        std::size_t next = first + 1;
        if (run.height() <= line.height * maximumWordHeight) {
            for (; next < line.words.size(); ++next) {
                const PageBox &word = line.words[next].box;
                const PageBox joined = united(run, word);
                if (word.height() > line.height * maximumWordHeight ||
                    joined.height() > line.height * maximumRunHeight ||
                    word.left > run.right + line.height * maximumGap)
                    break;
                run = joined;
                shown |= line.words[next].shown;
            }
        }
        // The run reaches down to the line's descenders and up to its ascenders, wherever its own
        // letters end.
        const float baseline = line.baselineAt((run.left + run.right) / 2);
        const float ascent = line.height + line.descenders;
        int bottom = run.bottom, top = run.top;
        if (baseline + line.descenders < float(bottom))
            bottom = int(baseline + line.descenders);
        if (baseline + ascent > float(top))
            top = int(baseline + ascent);
        const int left = std::max(0, run.left - padding);
        const int right = std::min(pageWidth, run.right + padding);
        bottom = std::max(0, bottom - padding);
        top = std::min(pageHeight, top + padding);
        if (right > left && top > bottom)
            pieces.push_back({QRect(left, pageHeight - top, right - left, top - bottom), shown, index, true});
        first = next;
    }
}

} // namespace

double Piece::cost() const
{
    return double(crop.width()) * recognitionHeight / std::max(1, crop.height());
}

std::vector<Piece> find(tesseract::TessBaseAPI &engine, int pageWidth, int pageHeight)
{
    std::vector<Piece> pieces;
    // The iterator of a page not yet recognised walks the layout's words.
    const std::unique_ptr<tesseract::ResultIterator> word(engine.GetIterator());
    if (!word || word->Empty(tesseract::RIL_WORD))
        return pieces;
    Line line;
    int lineIndex = -1;
    bool inText = false;
    bool isUpright = true;
    const auto upward = [pageHeight](int y) {
        return pageHeight - y;
    };
    do {
        if (word->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
            cut(line, lineIndex, pageWidth, pageHeight, pieces);
            line = {};
            ++lineIndex;
        }
        if (word->IsAtBeginningOf(tesseract::RIL_BLOCK)) {
            tesseract::Orientation orientation{};
            tesseract::WritingDirection direction{};
            tesseract::TextlineOrder order{};
            float deskew = 0;
            word->Orientation(&orientation, &direction, &order, &deskew);
            inText = PTIsTextType(word->BlockType());
            isUpright = orientation == tesseract::ORIENTATION_PAGE_UP;
            // Tesseract turns the words of a block of sideways text upright before it reads them.
            // Such blocks are few and small on screens: each is read whole, as a page of its own.
            int left = 0, top = 0, right = 0, bottom = 0;
            if (inText && !isUpright &&
                word->BoundingBox(tesseract::RIL_BLOCK, &left, &top, &right, &bottom)) {
                const QRect block(left, top, right - left, bottom - top);
                pieces.push_back({block.adjusted(-padding, -padding, padding, padding) &
                                      QRect(0, 0, pageWidth, pageHeight),
                                  block, lineIndex, false});
            }
        }
        if (!inText || !isUpright)
            continue;
        if (line.words.empty()) {
            float ascenders = 0;
            word->RowAttributes(&line.height, &line.descenders, &ascenders);
            int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
            word->Baseline(tesseract::RIL_TEXTLINE, &x1, &y1, &x2, &y2);
            line.baseX1 = float(x1);
            line.baseY1 = float(upward(y1));
            line.baseX2 = float(x2);
            line.baseY2 = float(upward(y2));
        }
        int left = 0, top = 0, right = 0, bottom = 0;
        word->SetBoundingBoxComponents(true, true);
        word->BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom);
        Word entry{{left, upward(bottom), right, upward(top)}, QRect(left, top, right - left, bottom - top)};
        // A word of nothing but dots has no box without them; Tesseract then gives the whole page.
        word->SetBoundingBoxComponents(false, false);
        if (word->BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom)) {
            const QRect withoutDots(left, top, right - left, bottom - top);
            if (!withoutDots.isEmpty() && entry.shown.contains(withoutDots))
                entry.shown = withoutDots;
        }
        line.words.push_back(entry);
    } while (word->Next(tesseract::RIL_WORD));
    cut(line, lineIndex, pageWidth, pageHeight, pieces);
    return pieces;
}

} // namespace LinePieces
