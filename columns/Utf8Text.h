#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace koruba::columns {

// Offset of the first byte that does not belong to well-formed UTF-8
// (overlong forms, surrogates and code points above U+10FFFF count as
// ill-formed), or npos when the whole text is UTF-8. Input from a file is
// checked with this before any of it is copied into the output, so that the
// output stays valid UTF-8 whatever the input holds.
std::size_t findInvalidUtf8(std::string_view text);

// 1-based character column of a byte offset, for messages that point into
// a line of Japanese text.
std::size_t characterColumn(std::string_view line, std::size_t offset);

// Appends text with each ill-formed sequence (a bad byte and the
// continuation bytes after it) replaced by U+FFFD; returns whether there
// was any. Cells taken from input go through this, so that the output is
// UTF-8 whatever the input holds.
bool appendValidUtf8(std::string& out, std::string_view text);

// Appends a code point as UTF-8.
void appendUtf8(std::string& out, char32_t codePoint);

} // namespace koruba::columns
