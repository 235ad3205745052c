#pragma once

#include "columns/JsonText.h"

#include "calc/ResultType.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace koruba::columns {

// Appends `"result":{...},"labels":{...}` for one computed column: every
// field of the result by name in declaration order (floats as the shortest
// decimal that reads back as the same 32-bit float, the class as an
// integer; under the 2025 rules also "rules", "HeightFactor1",
// "HeightFactor2" and the "formula"), then the caption of every label that the result display
// writes and shows, by label name in the order the window assigns them.
void appendResultAndLabels(std::string& out, const ResultType& result, std::int32_t storeyCount);

} // namespace koruba::columns
