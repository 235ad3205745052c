#include "cli/HouseRecords.h"

#include "calc/HouseDerivation.h"
#include "calc/NumberFormat.h"
#include "calc/ResultText.h"
#include "columns/BayToken.h"
#include "columns/CsvRecord.h"
#include "columns/ResultJson.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace koruba::cli {

namespace {

constexpr std::array<std::string_view, 2> kDirectionNames{"X", "Y"};

// The per-direction fields, each written once for X and once for Y with
// the direction's name in front ("X_A1").
constexpr std::array<std::string_view, 12> kDirectionFields{
    "bay_lower", "bay_higher", "upper_bay_lower", "upper_bay_higher", "A1", "B1", "A2",
    "B2",        "L",          "factor1",         "factor2",          "N"};

constexpr std::string_view kCorner = "出隅";
constexpr std::string_view kOther = "その他";

bool twoStoreys(const ColumnResult& c) {
    return c.frame == HouseFrame::LowerStorey;
}

// What stands beside the column in one direction, as bay tokens: the own
// storey's bays toward the lower and the higher coordinate, then the upper
// column's (empty texts for a single-storey frame).
std::array<std::string, 4> bayTokens(const ColumnResult& c, HouseDirection d) {
    const BayTable& b = c.in(d).bays;
    if (!twoStoreys(c)) {
        return {columns::bayTokenOf(b.Cell(2, 1)), columns::bayTokenOf(b.Cell(2, 2)), "", ""};
    }
    return {columns::bayTokenOf(b.Cell(1, 1)), columns::bayTokenOf(b.Cell(1, 2)),
            columns::bayTokenOf(b.Cell(2, 1)), columns::bayTokenOf(b.Cell(2, 2))};
}

// The values of one direction in kDirectionFields order after the four
// bays; an empty text where the frame has no such term.
std::array<std::string, 8> directionValues(const ColumnResult& c, HouseDirection d) {
    const ResultType& r = c.in(d).result;
    const bool two = twoStoreys(c);
    return {FormatFixed(r.A1, 1),
            FormatFixed(r.B1, 1),
            two ? FormatFixed(r.A2, 1) : std::string(),
            two ? FormatFixed(r.B2, 1) : std::string(),
            FormatFixed(r.L, 1),
            FormatFixed(r.HeightFactor1, 3),
            two ? FormatFixed(r.HeightFactor2, 3) : std::string(),
            FormatFixed(r.NValue, 2)};
}

std::string upperCornerText(const ColumnResult& c) {
    if (!twoStoreys(c) || !c.upperColumn) {
        return {};
    }
    return std::string(c.upperCorner ? kCorner : kOther);
}

std::string joinedWarnings(const ColumnResult& c) {
    std::string out;
    for (const std::string& w : c.warnings) {
        out += out.empty() ? "" : "; ";
        out += w;
    }
    return out;
}

} // namespace

std::string houseCsv(const House& house, bool byteOrderMark) {
    std::string out;
    if (byteOrderMark) {
        out += "\xEF\xBB\xBF";
    }
    out += "storey,name,grid_point,through,corner,upper_corner,";
    for (const std::string_view d : kDirectionNames) {
        for (const std::string_view f : kDirectionFields) {
            out += d;
            out += '_';
            out += f;
            out += ',';
        }
    }
    out += "governing,N,pull_out_kN,class,symbol,hardware,strength_kN,warnings\r\n";

    for (const ColumnResult& c : deriveHouse(house)) {
        auto field = [&](std::string_view text) {
            columns::appendCsvField(out, text);
            out += ',';
        };
        field(storeyLabel(house, c.storey));
        field(c.name);
        field(gridPointName(house, c.at));
        field(c.through ? "1" : "0");
        field(c.corner ? kCorner : kOther);
        field(upperCornerText(c));
        for (const HouseDirection d : {HouseDirection::X, HouseDirection::Y}) {
            for (const std::string& t : bayTokens(c, d)) {
                field(t);
            }
            for (const std::string& v : directionValues(c, d)) {
                field(v);
            }
        }
        const ResultType& r = c.result();
        field(kDirectionNames[static_cast<std::size_t>(c.governing)]);
        field(FormatFixed(r.NValue, 2));
        field(FormatFixed(r.PullOut, 2));
        field(r.JointClass == 0 ? std::string() : std::to_string(r.JointClass));
        field(r.JointSymbol);
        field(r.JointName);
        field(strengthValueText(r));
        columns::appendCsvField(out, joinedWarnings(c));
        out += "\r\n";
    }
    return out;
}

std::string houseJsonLines(const House& house) {
    std::string out;
    for (const ColumnResult& c : deriveHouse(house)) {
        // Numbers as the sheet shows them (fixed decimals), which are
        // plain JSON numbers; a term the frame lacks is null.
        auto number = [&](std::string_view name, const std::string& value) {
            out += ",\"";
            out += name;
            out += "\":";
            out += value.empty() ? std::string("null") : value;
        };
        out += "{\"storey\":";
        out += std::to_string(c.storey);
        out += ",\"storey_label\":";
        columns::appendJsonString(out, storeyLabel(house, c.storey));
        out += ",\"name\":";
        columns::appendJsonString(out, c.name);
        out += ",\"grid_point\":";
        columns::appendJsonString(out, gridPointName(house, c.at));
        out += ",\"through\":";
        out += c.through ? "true" : "false";
        out += ",\"corner\":";
        columns::appendJsonString(out, c.corner ? kCorner : kOther);
        out += ",\"upper_corner\":";
        const std::string upper = upperCornerText(c);
        if (upper.empty()) {
            out += "null";
        } else {
            columns::appendJsonString(out, upper);
        }
        for (const HouseDirection d : {HouseDirection::X, HouseDirection::Y}) {
            out += ",\"";
            out += kDirectionNames[static_cast<std::size_t>(d)];
            out += "\":{\"bays\":[";
            const auto tokens = bayTokens(c, d);
            for (std::size_t i = 0; i < (twoStoreys(c) ? 4u : 2u); ++i) {
                out += i == 0 ? "" : ",";
                columns::appendJsonString(out, tokens[i]);
            }
            out += ']';
            const auto values = directionValues(c, d);
            for (std::size_t i = 0; i < values.size(); ++i) {
                number(kDirectionFields[i + 4], values[i]);
            }
            out += '}';
        }
        const ResultType& r = c.result();
        out += ",\"governing\":";
        columns::appendJsonString(out, kDirectionNames[static_cast<std::size_t>(c.governing)]);
        number("N", FormatFixed(r.NValue, 2));
        number("pull_out_kN", FormatFixed(r.PullOut, 2));
        number("class", r.JointClass == 0 ? std::string() : std::to_string(r.JointClass));
        out += ",\"symbol\":";
        columns::appendJsonString(out, r.JointSymbol);
        out += ",\"hardware\":";
        columns::appendJsonString(out, r.JointName);
        number("strength_kN", r.JointClass == 0 ? std::string() : FormatFixed(r.JointStrength, 2));
        out += ",\"warnings\":[";
        for (std::size_t i = 0; i < c.warnings.size(); ++i) {
            out += i == 0 ? "" : ",";
            columns::appendJsonString(out, c.warnings[i]);
        }
        out += "]}\n";
    }
    return out;
}

} // namespace koruba::cli
