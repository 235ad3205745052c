#pragma once

#include "calc/BracingModel.h"
#include "calc/CalcConditions.h"
#include "calc/ResultType.h"
#include "report/SheetDescription.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace koruba {

// One column as a sheet needs it, from whichever reader read it: the
// batch tool's records, the column list's rows, the calculator window.
// Every sheet row is made from one of these by sheetRowOf, so that the
// sheets of one file name and draw their rows alike.
struct ColumnOnSheet {
    // The name the input gives the column (a `name` cell or member), its
    // id, and the line its record starts on (0 when there is none).
    std::string nameCell;
    std::string id;
    std::int64_t firstLine = 0;
    std::int32_t pattern = 0;
    std::int32_t reversed = 0;
    // Only when every bay was read: bays read before a fault may be only
    // some of them, and the row then shows the bare pattern rather than a
    // frame that was not asked for.
    std::optional<BayTable> bays;
    CalcConditions conditions;
    std::optional<ResultType> result;
    std::string error; // why there is no result
};

// A column's name on the sheet: its name cell when not empty, else its id
// when not empty, else "line N"; empty when none of them is known. A file
// keeps its id for the results (they are keyed by it) and may give people
// a longer name beside it; the sheet is read by people.
std::string sheetRowName(std::string_view nameCell, std::string_view id, std::int64_t firstLine);

SheetRow sheetRowOf(ColumnOnSheet column);

} // namespace koruba
