#include "columns/BayToken.h"

#include "calc/NumberFormat.h"
#include "calc/PlainText.h"

#include <array>

namespace koruba::columns {

namespace {

constexpr std::array<std::string_view, 4> SizeTexts{"15", "30", "45", "90"};

std::string Quoted(std::string_view s) {
    std::string q = "\"";
    q += s;
    q += '"';
    return q;
}

// "R45", "L30x90", "X90X90", "X15×90".
bool ParseBrace(std::string_view part, BayCell& cell, std::string& error) {
    std::int32_t kind = NoBrace;
    switch (part.front()) {
    case 'R':
        kind = BraceRisingRight;
        break;
    case 'L':
        kind = BraceRisingLeft;
        break;
    default:
        kind = CrossBrace;
        break;
    }
    std::string_view rest = part.substr(1);
    std::int32_t size = -1;
    if (rest.size() >= 2) {
        for (std::size_t i = 0; i < SizeTexts.size(); ++i) {
            if (rest[0] == SizeTexts[i][0] && rest[1] == SizeTexts[i][1]) {
                size = static_cast<std::int32_t>(i);
                break;
            }
        }
    }
    if (size < 0) {
        error = Quoted(part) + ": brace size must be 15, 30, 45 or 90";
        return false;
    }
    rest.remove_prefix(2);
    if (!rest.empty()) {
        // The section depth is always 90; writing it is optional.
        std::string_view depth;
        if (rest.front() == 'x' || rest.front() == 'X') {
            depth = rest.substr(1);
        } else if (rest.substr(0, 2) == "\xC3\x97") { // U+00D7 MULTIPLICATION SIGN
            depth = rest.substr(2);
        }
        if (depth != "90") {
            error = Quoted(part) + ": a brace is written as R, L or X, the size 15, 30, 45 or 90" +
                    " and optionally x90 (such as L45 or X90x90)";
            return false;
        }
    }
    float mult = 0.0f;
    BraceMultiplierOfRow(size, kind, 5.0f, mult);
    cell.BraceKind = kind;
    cell.BraceSize = size;
    cell.BraceMult = mult;
    return true;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "P0.5" ... "P5.0"; the whole numbers may drop ".0" ("P2" is 2.0).
bool ParsePanel(std::string_view part, BayCell& cell, std::string& error) {
    const std::string_view v = part.substr(1);
    int tenths = -1;
    if (v.size() == 1 && IsDigit(v[0])) {
        tenths = (v[0] - '0') * 10;
    } else if (v.size() == 3 && IsDigit(v[0]) && v[1] == '.' && IsDigit(v[2])) {
        tenths = (v[0] - '0') * 10 + (v[2] - '0');
    }
    if (tenths < 5 || tenths > 50 || tenths % 5 != 0) {
        error = Quoted(part) + ": panel multiplier must be one of 0.5, 1.0, 1.5 ... 5.0";
        return false;
    }
    const int index = tenths / 5 - 1;
    cell.PanelOn = 1;
    // The same expression as the multiplier list of the window, so that the
    // float is bit for bit the one a press on the bay would store.
    cell.PanelMult = 0.5f + 0.5f * static_cast<float>(index);
    return true;
}

} // namespace

bool ParseBayToken(std::string_view text, BayCell& cell, std::string& error) {
    cell = BayCell{};
    const std::string_view token = trimBlanks(text);
    if (token.empty() || token == "-") {
        return true;
    }
    bool haveBrace = false;
    bool havePanel = false;
    std::string_view rest = token;
    while (true) {
        const std::size_t plus = rest.find('+');
        const std::string_view part = trimBlanks(rest.substr(0, plus));
        bool ok = false;
        if (part.empty()) {
            error = Quoted(token) + ": empty element before or after \"+\"";
        } else if (part.front() == 'R' || part.front() == 'L' || part.front() == 'X') {
            if (haveBrace) {
                error = Quoted(token) + ": a bay holds at most one brace";
            } else {
                ok = ParseBrace(part, cell, error);
                haveBrace = true;
            }
        } else if (part.front() == 'P') {
            if (havePanel) {
                error = Quoted(token) + ": a bay holds at most one panel";
            } else {
                ok = ParsePanel(part, cell, error);
                havePanel = true;
            }
        } else {
            error = Quoted(part) + ": an element starts with R, L, X (brace) or P (panel)";
        }
        if (!ok) {
            cell = BayCell{};
            return false;
        }
        if (plus == std::string_view::npos) {
            return true;
        }
        rest.remove_prefix(plus + 1);
    }
}

std::string BayTokenOf(const BayCell& cell) {
    std::string s;
    if (cell.BraceKind >= BraceRisingRight && cell.BraceKind <= CrossBrace && cell.BraceSize >= 0 &&
        cell.BraceSize <= 3) {
        s += "RLX"[cell.BraceKind - 1];
        s += SizeTexts[static_cast<std::size_t>(cell.BraceSize)];
    }
    if (cell.PanelOn != 0) {
        if (!s.empty()) {
            s += '+';
        }
        s += 'P';
        s += FormatFixed(cell.PanelMult, 1);
    }
    return s;
}

} // namespace koruba::columns
