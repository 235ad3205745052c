#pragma once

#include "calc/BracingModel.h"
#include "calc/CalcConditions.h"
#include "calc/ResultType.h"

#include <cstdint>
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

// Everything a calculation sheet shows, in the order given. rules is the
// rule set the sheet states when no row says otherwise (an empty sheet).
struct SheetDescription {
    std::string project;
    std::string designer;
    std::string date;
    RuleSet rules = RuleSet::Notice2000;
    std::vector<SheetRow> rows;
};

} // namespace koruba
