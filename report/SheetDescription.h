#pragma once

#include "calc/BracingModel.h"
#include "calc/CalcConditions.h"
#include "calc/ResultType.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace koruba {

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
