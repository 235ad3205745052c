#include "columns/BayToken.h"

#include "calc/NumberFormat.h"
#include "calc/PlainText.h"

#include <array>

namespace koruba::columns {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string quoted(std::string_view s) {
    std::string q = "\"";
    q += s;
    q += '"';
    return q;
}

// "R45", "L30x90", "X90X90", "X15×90".
bool parseBrace(std::string_view part, BayCell& cell, std::string& error) {
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
    if (rest.size() >= 2 && isDigit(rest[0]) && isDigit(rest[1])) {
        const std::int32_t thickness = (rest[0] - '0') * 10 + (rest[1] - '0');
        for (std::size_t i = 0; i < kBraceSizes.size(); ++i) {
            if (kBraceSizes[i].thicknessMm == thickness) {
                size = static_cast<std::int32_t>(i);
                break;
            }
        }
    }
    if (size < 0) {
        error = quoted(part) + ": brace size must be 15, 30, 45 or 90";
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
        if (depth != std::to_string(kBraceSizes[static_cast<std::size_t>(size)].widthMm)) {
            error = quoted(part) + ": a brace is written as R, L or X, the size 15, 30, 45 or 90" +
                    " and optionally x90 (such as L45 or X90x90)";
            return false;
        }
    }
    float mult = 0.0f;
    // A token stores what a press on the bay stores under the 2000 rules;
    // the cap of a later computation applies there.
    BraceMultiplierOfRow(size, kind, kBayMultiplierCap2000, mult);
    cell.BraceKind = kind;
    cell.BraceSize = size;
    cell.BraceMult = mult;
    return true;
}

// "P0.5" ... "P5.0"; the whole numbers may drop ".0" ("P2" is 2.0).
bool parsePanel(std::string_view part, BayCell& cell, std::string& error) {
    const std::string_view v = part.substr(1);
    int tenths = -1;
    if (v.size() == 1 && isDigit(v[0])) {
        tenths = (v[0] - '0') * 10;
    } else if (v.size() == 3 && isDigit(v[0]) && v[1] == '.' && isDigit(v[2])) {
        tenths = (v[0] - '0') * 10 + (v[2] - '0');
    }
    if (tenths < 5 || tenths % 5 != 0 || tenths / 5 > kPanelMultiplierRows) {
        error = quoted(part) + ": panel multiplier must be one of 0.5, 1.0, 1.5 ... 5.0";
        return false;
    }
    const int index = tenths / 5 - 1;
    cell.PanelOn = 1;
    // The window's own list, so that the float is bit for bit the one a
    // press on the bay would store.
    cell.PanelMult = panelMultiplierOfRow(index);
    return true;
}

} // namespace

bool parseBayToken(std::string_view text, BayCell& cell, std::string& error) {
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
            error = quoted(token) + ": empty element before or after \"+\"";
        } else if (part.front() == 'R' || part.front() == 'L' || part.front() == 'X') {
            if (haveBrace) {
                error = quoted(token) + ": a bay holds at most one brace";
            } else {
                ok = parseBrace(part, cell, error);
                haveBrace = true;
            }
        } else if (part.front() == 'P') {
            if (havePanel) {
                error = quoted(token) + ": a bay holds at most one panel";
            } else {
                ok = parsePanel(part, cell, error);
                havePanel = true;
            }
        } else {
            error = quoted(part) + ": an element starts with R, L, X (brace) or P (panel)";
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

std::string bayTokenOf(const BayCell& cell) {
    std::string s;
    if (cell.BraceKind >= BraceRisingRight && cell.BraceKind <= CrossBrace && cell.BraceSize >= 0 &&
        cell.BraceSize < static_cast<std::int32_t>(kBraceSizes.size())) {
        s += "RLX"[cell.BraceKind - 1];
        s += std::to_string(kBraceSizes[static_cast<std::size_t>(cell.BraceSize)].thicknessMm);
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
