#pragma once

// The bay tokens belong to the column file format and live in columns/;
// the tool's readers keep their short names for them.
#include "columns/BayToken.h"

namespace koruba::cli {

using columns::BayTokenOf;
using columns::ParseBayToken;

} // namespace koruba::cli
