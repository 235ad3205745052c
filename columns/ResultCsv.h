#pragma once

#include "calc/ResultType.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace koruba::columns {

// The columns the CSV output adds after the input's columns.
inline constexpr std::array<std::string_view, 14> kAddedCsvColumns{
    "A1_term", "A1", "B1",          "A2_term", "A2",          "B2",       "L",
    "N_line",  "N",  "pull_out_kN", "symbol",  "strength_kN", "hardware", "error"};

// Added before error when the input can name the rules (a rules, h1 or h2
// column, or other default rules): what each row was computed under.
inline constexpr std::array<std::string_view, 4> kRuleCsvColumns{"rule_set", "height_factor1",
                                                                 "height_factor2", "formula"};

// Appends the rule columns of a computed column, each followed by a comma.
void appendCsvRules(std::string& out, const ResultType& result, std::int32_t storeyCount);

// Appends the added columns of a computed column, the empty error field
// included, each followed by its comma but the last. With rule columns,
// they go before the error field.
void appendCsvResult(std::string& out, const ResultType& result, std::int32_t storeyCount,
                     bool ruleColumns = false);

} // namespace koruba::columns
