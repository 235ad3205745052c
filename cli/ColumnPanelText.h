#pragma once

#include "calc/ResultType.h"

#include <cstdint>
#include <string>

namespace koruba::cli {

// The formula panel and the result boxes of the main window as lines of
// text, with the captions the window writes: the upper block (the upper or
// only storey), the lower block for a two-storey frame, then the N line,
// the symbol with the strength, and the hardware name. Labels that the
// window leaves empty or hides are left out.
std::string columnPanelText(const ResultType& result, std::int32_t storeyCount);

} // namespace koruba::cli
