#include "cli/JsonLineParser.h"

#include "cli/BayToken.h"
#include "cli/Utf8Text.h"

#include <array>

namespace koruba::cli {

namespace {

constexpr unsigned IdMember = 1;
constexpr unsigned PatternMember = 2;
constexpr unsigned ReversedMember = 4;
constexpr unsigned BaysMember = 8;

constexpr std::array<std::string_view, 4> MemberNames{"id", "pattern", "reversed", "bays"};

unsigned MemberOf(std::string_view key) {
    switch (key.size()) {
    case 2:
        return key == "id" ? IdMember : 0;
    case 4:
        return key == "bays" ? BaysMember : 0;
    case 7:
        return key == "pattern" ? PatternMember : 0;
    case 8:
        return key == "reversed" ? ReversedMember : 0;
    default:
        return 0;
    }
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

bool JsonLineParser::Fail(std::size_t at, std::string_view what) {
    std::string& e = *error_;
    e = "column ";
    e += std::to_string(CharacterColumn(s_, at));
    e += ": ";
    e += what;
    return false;
}

void JsonLineParser::SkipBlanks() {
    while (i_ < s_.size() &&
           (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n')) {
        ++i_;
    }
}

bool JsonLineParser::Expect(char c, std::string_view what) {
    SkipBlanks();
    if (i_ < s_.size() && s_[i_] == c) {
        ++i_;
        return true;
    }
    if (i_ >= s_.size()) {
        return Fail(i_, std::string(what) + ", found the end of the line");
    }
    return Fail(i_, what);
}

// A string without escapes is returned as a view into the line; one with
// escapes is decoded into the scratch buffer, which the next call reuses.
bool JsonLineParser::ReadString(std::string_view& value) {
    const std::size_t open = i_;
    ++i_; // the opening quote
    const std::size_t start = i_;
    bool escaped = false;
    const std::size_t n = s_.size();
    while (i_ < n) {
        const auto c = static_cast<unsigned char>(s_[i_]);
        if (c > '\\' || (c >= 0x20 && c != '"' && c != '\\')) {
            ++i_;
            continue;
        }
        if (c == '"') {
            break;
        }
        if (c < 0x20) {
            return Fail(i_, "control character inside a string (write it as an escape)");
        }
        escaped = true;
        i_ += 2;
    }
    if (i_ >= s_.size()) {
        return Fail(open, "string is not closed");
    }
    const std::size_t close = i_;
    ++i_;
    if (!escaped) {
        value = s_.substr(start, close - start);
        return true;
    }
    scratch_.clear();
    for (std::size_t k = start; k < close; ++k) {
        const char c = s_[k];
        if (c != '\\') {
            scratch_ += c;
            continue;
        }
        const char e = s_[++k];
        switch (e) {
        case '"':
        case '\\':
        case '/':
            scratch_ += e;
            break;
        case 'b':
            scratch_ += '\b';
            break;
        case 'f':
            scratch_ += '\f';
            break;
        case 'n':
            scratch_ += '\n';
            break;
        case 'r':
            scratch_ += '\r';
            break;
        case 't':
            scratch_ += '\t';
            break;
        case 'u': {
            auto hex4 = [&](std::size_t at, char32_t& cp) {
                if (at + 4 > close) {
                    return false;
                }
                cp = 0;
                for (std::size_t h = at; h < at + 4; ++h) {
                    const int v = HexValue(s_[h]);
                    if (v < 0) {
                        return false;
                    }
                    cp = cp * 16 + static_cast<char32_t>(v);
                }
                return true;
            };
            char32_t cp = 0;
            if (!hex4(k + 1, cp)) {
                return Fail(k - 1, "\\u must be followed by four hexadecimal digits");
            }
            const std::size_t escapeAt = k - 1;
            k += 4;
            if (cp >= 0xDC00 && cp <= 0xDFFF) {
                return Fail(escapeAt, "\\u escape is a lone low surrogate");
            }
            if (cp >= 0xD800 && cp <= 0xDBFF) {
                char32_t low = 0;
                if (k + 2 >= close || s_[k + 1] != '\\' || s_[k + 2] != 'u' || !hex4(k + 3, low) ||
                    low < 0xDC00 || low > 0xDFFF) {
                    return Fail(escapeAt, "\\u escape is a high surrogate without its low half");
                }
                k += 6;
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            }
            AppendUtf8(scratch_, cp);
            break;
        }
        default:
            return Fail(k - 1, "unknown escape in a string");
        }
    }
    value = scratch_;
    return true;
}

bool JsonLineParser::ReadNumber(std::string_view& text) {
    const std::size_t start = i_;
    if (i_ < s_.size() && s_[i_] == '-') {
        ++i_;
    }
    auto digits = [&] {
        const std::size_t from = i_;
        while (i_ < s_.size() && IsDigit(s_[i_])) {
            ++i_;
        }
        return i_ - from;
    };
    const std::size_t intStart = i_;
    const std::size_t intDigits = digits();
    if (intDigits == 0 || (intDigits > 1 && s_[intStart] == '0')) {
        return Fail(start, "malformed number");
    }
    if (i_ < s_.size() && s_[i_] == '.') {
        ++i_;
        if (digits() == 0) {
            return Fail(start, "malformed number");
        }
    }
    if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
        ++i_;
        if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) {
            ++i_;
        }
        if (digits() == 0) {
            return Fail(start, "malformed number");
        }
    }
    text = s_.substr(start, i_ - start);
    return true;
}

bool JsonLineParser::ReadWord(std::string_view word) {
    if (s_.substr(i_, word.size()) == word) {
        i_ += word.size();
        return true;
    }
    return Fail(i_, "unexpected character where a value should start");
}

bool JsonLineParser::SkipValue(int depth) {
    SkipBlanks();
    if (i_ >= s_.size()) {
        return Fail(i_, "a value is missing at the end of the line");
    }
    const char c = s_[i_];
    if (c == '"') {
        std::string_view ignored;
        return ReadString(ignored);
    }
    if (c == '-' || IsDigit(c)) {
        std::string_view ignored;
        return ReadNumber(ignored);
    }
    if (c == 't') {
        return ReadWord("true");
    }
    if (c == 'f') {
        return ReadWord("false");
    }
    if (c == 'n') {
        return ReadWord("null");
    }
    if (c != '{' && c != '[') {
        return Fail(i_, "unexpected character where a value should start");
    }
    if (depth >= MaxDepth) {
        return Fail(i_, "values nested deeper than 256 levels");
    }
    const char close = c == '{' ? '}' : ']';
    ++i_;
    SkipBlanks();
    if (i_ < s_.size() && s_[i_] == close) {
        ++i_;
        return true;
    }
    while (true) {
        if (close == '}') {
            SkipBlanks();
            if (i_ >= s_.size() || s_[i_] != '"') {
                return Fail(i_, "expected a member name in quotes");
            }
            std::string_view ignored;
            if (!ReadString(ignored) || !Expect(':', "expected ':' after a member name")) {
                return false;
            }
        }
        if (!SkipValue(depth + 1)) {
            return false;
        }
        SkipBlanks();
        if (i_ < s_.size() && s_[i_] == ',') {
            ++i_;
            continue;
        }
        if (i_ < s_.size() && s_[i_] == close) {
            ++i_;
            return true;
        }
        return Fail(i_, close == '}' ? "expected ',' or '}'" : "expected ',' or ']'");
    }
}

bool JsonLineParser::ReadId(JsonColumnRecord& record) {
    const char c = s_[i_];
    std::string_view text;
    if (c == '"') {
        if (!ReadString(text)) {
            return false;
        }
    } else if (c == '-' || IsDigit(c)) {
        if (!ReadNumber(text)) {
            return false;
        }
    } else {
        return Fail(i_, "\"id\" must be a string or a number");
    }
    record.Id.assign(text);
    record.HaveId = true;
    return true;
}

bool JsonLineParser::ReadPattern(ColumnInput& column) {
    const std::size_t at = i_;
    const char c = s_[i_];
    std::string_view text;
    if (c != '-' && !IsDigit(c)) {
        return Fail(at, "\"pattern\" must be the number 21, 22, 11, 12 or 13");
    }
    if (!ReadNumber(text)) {
        return false;
    }
    std::string message;
    if (!ParsePatternText(text, column.Pattern, message)) {
        return Fail(at, message);
    }
    return true;
}

bool JsonLineParser::ReadReversed(ColumnInput& column) {
    const std::size_t at = i_;
    if (s_.substr(i_, 4) == "true") {
        i_ += 4;
        column.Reversed = 1;
        return true;
    }
    if (s_.substr(i_, 5) == "false") {
        i_ += 5;
        column.Reversed = 0;
        return true;
    }
    std::string_view text;
    if ((s_[i_] == '-' || IsDigit(s_[i_])) && ReadNumber(text) && (text == "0" || text == "1")) {
        column.Reversed = text == "1" ? 1 : 0;
        return true;
    }
    return Fail(at, "\"reversed\" must be true, false, 0 or 1");
}

bool JsonLineParser::ReadBays(ColumnInput& column) {
    const std::size_t at = i_;
    if (s_[i_] != '[') {
        return Fail(at, "\"bays\" must be an array of four tokens (bays 1 to 4)");
    }
    ++i_;
    std::size_t count = 0;
    SkipBlanks();
    if (i_ < s_.size() && s_[i_] == ']') {
        ++i_;
        return Fail(at, "\"bays\" holds no token; it needs four (bays 1 to 4)");
    }
    std::string tokenError;
    while (true) {
        SkipBlanks();
        const std::size_t tokenAt = i_;
        if (i_ >= s_.size() || s_[i_] != '"') {
            if (i_ < s_.size() && count < 4) {
                return Fail(i_, "bay " + std::to_string(count + 1) + " must be a string token");
            }
            if (!SkipValue(0)) {
                return false;
            }
        } else {
            std::string_view token;
            if (!ReadString(token)) {
                return false;
            }
            if (count < 4 && !ParseBayToken(token, column.Bays[count], tokenError)) {
                return Fail(tokenAt, "bay " + std::to_string(count + 1) + ": " + tokenError);
            }
        }
        ++count;
        SkipBlanks();
        if (i_ < s_.size() && s_[i_] == ',') {
            ++i_;
            continue;
        }
        if (i_ < s_.size() && s_[i_] == ']') {
            ++i_;
            break;
        }
        return Fail(i_, "expected ',' or ']' in \"bays\"");
    }
    if (count != 4) {
        return Fail(at, "\"bays\" holds " + std::to_string(count) +
                            " tokens; it needs four (bays 1 to 4)");
    }
    return true;
}

bool JsonLineParser::Parse(std::string_view line, JsonColumnRecord& record, std::string& error) {
    s_ = line;
    i_ = 0;
    error_ = &error;
    record.HaveId = false;
    record.Id.clear();
    record.Column = ColumnInput{};

    const std::size_t bad = FindInvalidUtf8(line);
    if (bad != std::string_view::npos) {
        return Fail(bad, "the line is not UTF-8 text");
    }
    if (!Expect('{', "expected a JSON object starting with '{'")) {
        return false;
    }
    unsigned seen = 0;
    SkipBlanks();
    if (i_ < s_.size() && s_[i_] == '}') {
        ++i_;
    } else {
        while (true) {
            SkipBlanks();
            if (i_ >= s_.size() || s_[i_] != '"') {
                return Fail(i_, "expected a member name in quotes");
            }
            const std::size_t keyAt = i_;
            std::string_view key;
            if (!ReadString(key)) {
                return false;
            }
            const unsigned member = MemberOf(key);
            if ((seen & member) != 0) {
                return Fail(keyAt, "member \"" + std::string(key) + "\" appears twice");
            }
            seen |= member;
            if (!Expect(':', "expected ':' after a member name")) {
                return false;
            }
            SkipBlanks();
            if (i_ >= s_.size()) {
                return Fail(i_, "a value is missing at the end of the line");
            }
            bool ok = true;
            switch (member) {
            case IdMember:
                ok = ReadId(record);
                break;
            case PatternMember:
                ok = ReadPattern(record.Column);
                break;
            case ReversedMember:
                ok = ReadReversed(record.Column);
                break;
            case BaysMember:
                ok = ReadBays(record.Column);
                break;
            default:
                ok = SkipValue(0);
                break;
            }
            if (!ok) {
                return false;
            }
            SkipBlanks();
            if (i_ < s_.size() && s_[i_] == ',') {
                ++i_;
                continue;
            }
            if (i_ < s_.size() && s_[i_] == '}') {
                ++i_;
                break;
            }
            return Fail(i_, i_ < s_.size() ? "expected ',' or '}' after a member"
                                           : "expected ',' or '}' after a member, found the end "
                                             "of the line");
        }
    }
    SkipBlanks();
    if (i_ < s_.size()) {
        return Fail(i_, "text after the end of the object");
    }
    if (seen != (IdMember | PatternMember | ReversedMember | BaysMember)) {
        std::string missing;
        for (std::size_t k = 0; k < MemberNames.size(); ++k) {
            if ((seen & (1u << k)) == 0) {
                missing += missing.empty() ? "\"" : ", \"";
                missing += MemberNames[k];
                missing += '"';
            }
        }
        return Fail(0, "the object lacks " + missing);
    }
    return true;
}

} // namespace koruba::cli
