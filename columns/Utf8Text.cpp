#include "columns/Utf8Text.h"

#include <cstdint>
#include <cstring>

namespace koruba::columns {

std::size_t findInvalidUtf8(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        // Most input is ASCII: skip it eight bytes at a time.
        if (i + 8 <= n) {
            std::uint64_t word = 0;
            std::memcpy(&word, s + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len = 0;
        unsigned char lo = 0x80;
        unsigned char hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) {
                lo = 0xA0; // overlong
            } else if (c == 0xED) {
                hi = 0x9F; // surrogates
            }
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) {
                lo = 0x90; // overlong
            } else if (c == 0xF4) {
                hi = 0x8F; // above U+10FFFF
            }
        } else {
            return i;
        }
        if (i + len > n || s[i + 1] < lo || s[i + 1] > hi) {
            return i;
        }
        for (std::size_t k = 2; k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) {
                return i;
            }
        }
        i += len;
    }
    return std::string_view::npos;
}

std::size_t characterColumn(std::string_view line, std::size_t offset) {
    if (offset > line.size()) {
        offset = line.size();
    }
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return column;
}

bool appendValidUtf8(std::string& out, std::string_view text) {
    bool replaced = false;
    while (true) {
        const std::size_t bad = findInvalidUtf8(text);
        if (bad == std::string_view::npos) {
            out.append(text);
            return replaced;
        }
        out.append(text.substr(0, bad));
        out.append("\xEF\xBF\xBD");
        replaced = true;
        std::size_t skip = 1;
        while (skip < 4 && bad + skip < text.size() &&
               (static_cast<unsigned char>(text[bad + skip]) & 0xC0) == 0x80) {
            ++skip;
        }
        text.remove_prefix(bad + skip);
    }
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace koruba::columns
