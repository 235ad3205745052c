#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

namespace koruba {

// Text as designers type it into cells and options: spaces and tabs
// around a value do not count, and names are compared without regard to
// ASCII letter case. One helper for every reader, so that a cell that one
// of them takes is taken by all.

// The text without the spaces and tabs at either end.
inline std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Whether two texts are equal but for the case of ASCII letters.
inline bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace koruba
