#pragma once

#include "calc/BracingModel.h"
#include "calc/CalcConditions.h"
#include "calc/HouseDerivation.h"
#include "calc/ResultType.h"

#include <QPageLayout>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPainter;
class QRectF;

namespace koruba {

// The tables of a house's sheet, in the order the sheet shows them: the
// upper storey's columns, the lower storey's under the upper storey, and
// those that carry a roof alone (every column of a one-storey house, and a
// lower column outside the upper storey's outline).
enum class HouseTable : std::int32_t { Upper = 0, Lower = 1, SingleStorey = 2 };

// A column of a house on its sheet: both directions as derived, the table
// it stands in and its storey's label ("1階", "2階", "平屋").
struct HouseSheetColumn {
    ColumnResult column;
    HouseTable table = HouseTable::SingleStorey;
    std::string storey;
};

// One column of a calculation sheet: what was asked (name, pattern, mirror
// state, the four bays, the conditions) and either its result or, for a
// record that could not be computed, the error text. The pattern tag is 0
// when the record gave none that could be used. Texts are UTF-8.
struct SheetRow {
    std::string name;
    std::int32_t patternTag = 0;
    std::int32_t reversed = 0;
    BayTable bays;
    CalcConditions conditions;
    std::optional<ResultType> result;
    std::string error;
    // Set for a column of a house: its cells come from here, and result is
    // the governing direction's.
    std::shared_ptr<const HouseSheetColumn> house;
};

// Whole pages a sheet shows before its method block and tables (a house's
// plan, one page per storey): the page count is known before the layout,
// and each page is painted into the area below the header. A page may
// have a paper of its own (a plan on A3 landscape); by default it is the
// sheet's A4 portrait.
class SheetLeadingPages {
public:
    virtual ~SheetLeadingPages() = default;
    virtual std::size_t count() const = 0;
    virtual QPageLayout pageLayout(std::size_t page) const;
    virtual void paint(QPainter& painter, std::size_t page, const QRectF& area) const = 0;
};

// Rows made when they are needed rather than held: the sheet is laid out
// and painted in passes over its rows, each visiting them all in the same
// order, so that only what a page needs is kept in memory.
class SheetRowSource {
public:
    virtual ~SheetRowSource() = default;
    virtual void forEachRow(const std::function<void(const SheetRow&)>& visit) const = 0;
    // Why the rows of the passes made so far cannot be trusted to be the
    // same rows each time (what they are made from changed or could not be
    // read again); empty when they can. A sheet with a problem is not
    // written.
    virtual std::string problem() const { return {}; }
};

// Everything a calculation sheet shows, in the order given: the rows, or
// when a source is set, the rows it makes (rows is then not read). rules
// is the rule set the sheet states when no row says otherwise (an empty
// sheet).
struct SheetDescription {
    std::string project;
    std::string designer;
    std::string date;
    RuleSet rules = RuleSet::Notice2000;
    std::vector<SheetRow> rows;
    std::shared_ptr<const SheetRowSource> rowSource;
    // A house's sheet: its rows are house columns, laid out in the house's
    // tables with the hardware schedule after them. storeyLabels names the
    // house's storeys, upper first, for the schedule's columns.
    bool house = false;
    std::vector<std::string> storeyLabels;
    std::shared_ptr<const SheetLeadingPages> leadingPages;
};

inline void forEachRow(const SheetDescription& sheet,
                       const std::function<void(const SheetRow&)>& visit) {
    if (sheet.rowSource) {
        sheet.rowSource->forEachRow(visit);
        return;
    }
    for (const SheetRow& row : sheet.rows) {
        visit(row);
    }
}

} // namespace koruba
