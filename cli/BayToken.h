#pragma once

// The bay tokens belong to the column file format and live in columns/;
// the tool's readers keep their short names for them.
#include "columns/BayToken.h"

namespace koruba::cli {

using columns::bayTokenOf;
using columns::parseBayToken;

} // namespace koruba::cli
