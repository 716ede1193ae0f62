// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reading/RecognizedLine.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Where on the screen a line sits. The raw values are the names the model prompt and logs use.
enum class LayoutRegion
{
    Main,        // the content the screenshot is about
    Sidebar,     // a narrow left column (when one was detected) or a narrow strip at the right edge
    TopChrome,   // a thin line in the top band: title bars, menu bars, tab strips
    BottomChrome // a line in the bottom band: status bars, composer fields, docks
};

// "main", "sidebar", "topChrome", "bottomChrome".
QString rawValue(LayoutRegion region);

struct LaidOutLine
{
    RecognizedLine recognized;
    LayoutRegion region = LayoutRegion::Main;
    bool isBoilerplate = false; // interface text: placeholders, timestamps, "2 replies", ...
    double prominence = 1.0;    // height over the median body-text height; above 1 reads as a heading

    friend bool operator==(const LaidOutLine &, const LaidOutLine &) = default;
};

// One screenshot's lines sorted into reading order, each with its region, boilerplate flag and
// prominence, and the title of the sidebar entry that is open in the main pane, if any.
// An immutable value; computing it needs nothing but the lines, on any thread.
class ScreenLayout final
{
public:
    ScreenLayout() = default;
    // The lines may come in any order.
    explicit ScreenLayout(const QList<RecognizedLine> &lines);

    // Every input line, top to bottom, left to right within a row.
    const QList<LaidOutLine> &lines() const { return m_lines; }
    const std::optional<QString> &selectedSidebarItem() const { return m_selectedSidebarItem; }

    // Main-pane lines that are not boilerplate, and all the others; both in reading order.
    QList<LaidOutLine> mainContent() const;
    QList<LaidOutLine> background() const;

    // The title of the sidebar entry whose preview text (4+ words) occurs in the main pane: the
    // aligned sidebar line right above the preview, when it has fewer than 7 words.
    static std::optional<QString> selectedSidebarItem(const QList<LaidOutLine> &lines);

    // Whether `run` occurs as a contiguous sequence in `words`; an empty run occurs everywhere.
    static bool containsRun(const QStringList &run, const QStringList &words);

    friend bool operator==(const ScreenLayout &, const ScreenLayout &) = default;

private:
    QList<LaidOutLine> m_lines;
    std::optional<QString> m_selectedSidebarItem;
};
