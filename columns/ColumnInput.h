#pragma once

#include "calc/BracingModel.h"
#include "calc/CalcConditions.h"
#include "calc/ResultType.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace koruba::columns {

// One column to compute: the pattern, its mirror state, the four bays,
// indexed by bay image tag - 1 (upper left, upper right, lower left, lower
// right), and the rule set with the storey heights it is computed under.
// Both batch formats and the one-column mode fill one of these.
struct ColumnInput {
    std::int32_t pattern = 0;
    std::int32_t reversed = 0;
    std::array<BayCell, 4> bays{};
    CalcConditions conditions;
};

BayTable bayTableOf(const ColumnInput& column);
ResultType computeColumn(const ColumnInput& column);

// "21", "22", "11", "12" or "13", blanks around allowed.
bool parsePatternText(std::string_view text, std::int32_t& pattern, std::string& error);
// "0", "1", "true", "false" in any letter case; an empty text is false.
bool parseReversedText(std::string_view text, std::int32_t& reversed, std::string& error);

// Whether a cell is blank: empty, or spaces, tabs and a carriage return only.
bool isBlankCell(std::string_view text);

// One cell of the conditions, named "rules" (or "rule_set"), "h1" or "h2", as every reader
// of column files reads it (CSV, JSON Lines, the column list): a blank
// cell (empty or spaces) is not given and leaves conditions as they are,
// so that the rules then need that height and say it is missing; any
// other text must be a rule set or a storey height. On failure error is
// the reason, naming the text.
bool parseConditionCell(std::string_view name, std::string_view text, CalcConditions& conditions,
                        std::string& error);

} // namespace koruba::columns
