#pragma once

#include <string>
#include <string_view>

namespace koruba::columns {

// Appends text as a JSON string literal. The text must be UTF-8; quotes,
// backslashes and control characters are escaped, everything else is
// copied as it is.
void appendJsonString(std::string& out, std::string_view text);

} // namespace koruba::columns
