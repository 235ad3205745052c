#pragma once

#include "calc/ResultType.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace koruba::cli {

// The columns the CSV output adds after the input's columns.
inline constexpr std::array<std::string_view, 14> kAddedCsvColumns{
    "A1_term", "A1", "B1",          "A2_term", "A2",          "B2",       "L",
    "N_line",  "N",  "pull_out_kN", "symbol",  "strength_kN", "hardware", "error"};

// Appends the added columns of a computed column, the empty error field
// included, each followed by its comma but the last.
void AppendCsvResult(std::string& out, const ResultType& result, std::int32_t storeyCount);

} // namespace koruba::cli
