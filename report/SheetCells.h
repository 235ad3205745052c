#pragma once

#include "report/SheetDescription.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace koruba {

// The columns of a sheet's tables, left to right. Per-storey columns have
// one line per storey of the row (the upper storey on top, as in the
// drawing); the others span the whole row.
enum class SheetColumn {
    Diagram,
    Name,
    Pattern,
    Mirrored,
    Storey,
    Position,
    WallLeft,
    WallRight,
    Correction,
    A,
    B,
    Height,
    HeightFactor,
    L,
    N,
    PullOut,
    Symbol,
    Hardware,
    Strength,
    // A house's tables only: the direction of a line (X, Y), the upper
    // storey's terms of a lower column, N in the line's direction, and the
    // direction that governs.
    Direction,
    A2,
    B2,
    HeightFactor2,
    DirectionN,
    Governing,
};

// The columns of the table for rows of storeyCount storeys (0 for records
// without a usable pattern), with the height columns when any row of the
// table was computed under the 2025 rules.
std::vector<SheetColumn> sheetColumns(std::int32_t storeyCount, bool withHeights);
// Header text; a line break separates its two lines.
std::string_view columnHeader(SheetColumn column);
bool isPerStorey(SheetColumn column);

// Storeys of a row's pattern: 1, 2, or 0 when the pattern is not one.
std::int32_t storeyCountOf(const SheetRow& row);
// "平屋・2階の柱", "2階建ての1階の柱", or for storeyCount 0 the records
// whose pattern could not be read.
std::string_view tableCaption(std::int32_t storeyCount);

// The text of one cell, numbers formatted as the window and the batch tool
// format them. line counts the row's storey lines from the top (0 only,
// for spanning columns and single-storey rows). A row without a result
// has texts in its name, pattern and mirror columns only; its error stands
// across the rest of the row.
std::string cellText(const SheetRow& row, SheetColumn column, int line);

// The columns of one of a house's tables. Every row has two lines, the X
// direction on top: the direction, A and N per line, the rest spanning.
// The lower storey's table adds the upper column's terms.
std::vector<SheetColumn> houseSheetColumns(HouseTable table, bool withHeights);
std::string_view houseColumnHeader(SheetColumn column);
bool isPerDirection(SheetColumn column);
// "2階の柱", "1階の柱", "平屋・下屋の柱".
std::string_view houseTableCaption(HouseTable table);

// The rule sets the rows were computed under, oldest first; the sheet's
// own when no row names one.
std::vector<RuleSet> rulesInUse(const SheetDescription& sheet);

// One line of the hardware legend.
struct LegendRow {
    std::string symbol;
    std::string range;
    std::string name;
    std::string strength;
};
// The hardware classes, from the core's class table: the notification's
// ten, the rule beyond its table and the reference hardware there.
std::vector<LegendRow> hardwareLegend();

// The pattern codes in words, each storey's column position as the rows'
// position column writes it.
std::string patternLegend();

} // namespace koruba
