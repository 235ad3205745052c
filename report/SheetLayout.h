#pragma once

#include "report/SheetCells.h"
#include "report/SheetDescription.h"

#include <QFont>
#include <QString>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace koruba {

// Lengths on the sheet are in tenths of a millimetre: the painter is scaled
// to them, and fonts are sized in them.
inline constexpr qreal kSheetWidth = 1900.0;  // A4 less 10 mm margins
inline constexpr qreal kSheetHeight = 2770.0; // A4 less 10 mm margins

// The fonts of the sheet, all the IPA Gothic the window's fonts map onto.
struct SheetFonts {
    QFont title;
    QFont heading;
    QFont text;
    QFont cell;
    QFont small;
};
SheetFonts sheetFonts();

// One table of the sheet: its storey kind, columns with their widths, and
// how many rows it holds (the rows of its storey kind, in input order).
// A house's table holds the columns of one HouseTable instead, in grid
// order, each row with a line per direction.
struct SheetTable {
    std::int32_t storeys = 1;
    std::optional<HouseTable> house;
    std::vector<SheetColumn> columns;
    std::vector<qreal> widths;
    std::size_t rowCount = 0;
};
// The lines of each row of the table, and whether a column has a text per
// line rather than one across the row.
int linesOf(const SheetTable& table);
bool isPerLine(const SheetTable& table, SheetColumn column);
std::string_view headerOf(const SheetTable& table, SheetColumn column);

// The hardware schedule of a house (使用金物一覧): one row per hardware
// class in use, from the smallest, with its count in each storey and in
// all, and a last row of totals. Each row's cells: symbol, hardware, the
// counts per storey (upper first), the total.
struct HardwareSchedule {
    std::vector<QString> heads;
    std::vector<std::vector<QString>> rows;
};
HardwareSchedule hardwareSchedule(const SheetDescription& sheet);

// Where the error of a failed record stands: from this column (the first
// after diagram, name, pattern and mirror state) to the sheet's right edge.
std::size_t errorColumn(const SheetTable& table);
std::string errorCellText(const SheetRow& row);

// Something placed on a page at height y: the first page's method and
// legend block, a table's caption, its header row, one of its rows, the
// note of an empty table, or a line of the notes after the tables. A row
// carries its name and, for a failed record, its error as they are shown:
// wrapped in their cells and, past a few lines, cut with a mark whose note
// holds the whole text.
struct SheetItem {
    enum class Kind {
        Method,
        Caption,
        HeaderRow,
        Row,
        EmptyNote,
        NotesCaption,
        Note,
        ScheduleCaption,
        ScheduleRow, // row -1: the schedule's header
    };
    Kind kind;
    qreal y = 0;
    qreal height = 0;
    int table = -1;
    int row = -1;
    QString text;
    QString detail;
};

// The first page's block under the header: method, rules, formulas, the
// 2025 conditions, the pattern codes and the hardware legend, as lines of
// text broken to the sheet's width and the legend.
struct MethodBlock {
    std::vector<QString> lines;
    std::vector<LegendRow> legend;
};
MethodBlock methodBlock(const SheetDescription& sheet, const SheetFonts& fonts);

// What stands on every page of the sheet, and how the tables' columns are
// laid out. Every page repeats the header lines (project, designer, date),
// which end at headerRule; the page's items start below it. The items
// themselves are placed in a pass over the rows (placeSheetItems), the
// tables split between rows, a continued table repeating its caption and
// header row on the new page.
struct SheetLayout {
    std::vector<QString> header;
    qreal headerRule = 0;
    MethodBlock method;
    std::vector<SheetTable> tables;
    HardwareSchedule schedule; // a house's; empty otherwise
    std::size_t leadingPages = 0;
    std::size_t pageCount = 0;
};
SheetLayout layOutSheet(const SheetDescription& sheet, const SheetFonts& fonts);

// Gives every item of the sheet, from the top of the first page after the
// leading pages to the end
// of the notes, with the index of its page and, for a row, the row (valid
// during the call only).
using SheetItemSink =
    std::function<void(std::size_t page, const SheetItem& item, const SheetRow* row)>;
void placeSheetItems(const SheetDescription& sheet, const SheetFonts& fonts,
                     const SheetLayout& layout, const SheetItemSink& sink);

// Heights shared by the layout and the painter: the title line, then the
// header's lines from kHeaderTop, the rule under them, the page's content
// kHeaderGap below the rule.
inline constexpr qreal kTitleHeight = 65.0;
inline constexpr qreal kHeaderTop = 70.0;
inline constexpr qreal kHeaderLine = 40.0;
inline constexpr qreal kHeaderGap = 15.0;
inline constexpr qreal kMethodLine = 38.0;
inline constexpr qreal kLegendLine = 36.0;
inline constexpr qreal kCaptionHeight = 55.0;
inline constexpr qreal kHeaderRowHeight = 80.0;
inline constexpr qreal kStoreyLine = 70.0;
inline constexpr qreal kSingleRow = 90.0;
inline constexpr qreal kNoteLine = 36.0;
inline constexpr qreal kScheduleLine = 40.0;
inline constexpr qreal kCellPad = 8.0;
qreal methodBlockHeight(const MethodBlock& block);
// The widths of the schedule's columns for a number of storeys.
std::vector<qreal> scheduleWidths(std::size_t storeys);

} // namespace koruba
