#include "cli/ResultJson.h"

#include "calc/NumberFormat.h"
#include "calc/ResultText.h"
#include "calc/RuleText.h"

#include <charconv>
#include <cmath>

namespace koruba::cli {

namespace {

// `"key":value`, with the member's comma and quotes written as part of
// one literal prefix: a record appends some forty pieces, and fewer
// appends are most of what a record costs to write.
void appendFloat(std::string& out, std::string_view prefix, float value) {
    out += prefix;
    if (value == 0.0f && !std::signbit(value)) {
        out += '0'; // a third of the members: no need for the general path
        return;
    }
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, res.ptr);
}

} // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    // Texts seldom need an escape; a loop without an early exit looks at
    // all bytes at once, and such a text is copied in one piece. The flags
    // are OR-ed as integers: GCC vectorises that, not an AND of bools
    // (measured: 6% of the JSON Lines run).
    unsigned escapes = 0;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        escapes |= static_cast<unsigned>(c < 0x20) | static_cast<unsigned>(c == '"') |
                   static_cast<unsigned>(c == '\\');
    }
    out += '"';
    if (escapes == 0) {
        out += text;
        out += '"';
        return;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\') {
            continue;
        }
        // Runs of plain text are copied at once.
        out.append(text.substr(start, i - start));
        start = i + 1;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
            break;
        }
    }
    out.append(text.substr(start));
    out += '"';
}

void AppendResultAndLabels(std::string& out, const ResultType& r, std::int32_t storeyCount) {
    appendFloat(out, "\"result\":{\"WallA1Left\":", r.WallA1Left);
    appendFloat(out, ",\"WallA1Right\":", r.WallA1Right);
    appendFloat(out, ",\"WallA2Left\":", r.WallA2Left);
    appendFloat(out, ",\"WallA2Right\":", r.WallA2Right);
    appendFloat(out, ",\"CorrA1\":", r.CorrA1);
    appendFloat(out, ",\"CorrA2\":", r.CorrA2);
    appendFloat(out, ",\"A1\":", r.A1);
    appendFloat(out, ",\"B1\":", r.B1);
    appendFloat(out, ",\"A2\":", r.A2);
    appendFloat(out, ",\"B2\":", r.B2);
    appendFloat(out, ",\"L\":", r.L);
    appendFloat(out, ",\"PullOut\":", r.PullOut);
    appendFloat(out, ",\"JointStrength\":", r.JointStrength);
    appendFloat(out, ",\"NValue\":", r.NValue);
    out += ",\"JointClass\":";
    out += std::to_string(r.JointClass);
    appendFloat(out, ",\"JointNLimit\":", r.JointNLimit);
    out += ",\"JointSymbol\":";
    AppendJsonString(out, r.JointSymbol);
    out += ",\"JointName\":";
    AppendJsonString(out, r.JointName);
    if (r.Rules == RuleSet::Revision2025) {
        // Added members only: readers of 2000 results see what they saw.
        out += ",\"rules\":2025";
        appendFloat(out, ",\"HeightFactor1\":", r.HeightFactor1);
        appendFloat(out, ",\"HeightFactor2\":", r.HeightFactor2);
        out += ",\"formula\":";
        AppendJsonString(out, ruleFormula(r.Rules, storeyCount));
    }
    out += "},\"labels\":{";

    const ResultTexts texts = MakeResultTexts(r, storeyCount);
    bool first = true;
    for (const LabelCaption& c : texts.Captions) {
        // Label names are plain identifiers.
        out += first ? "\"" : ",\"";
        first = false;
        out += c.Label;
        out += "\":";
        AppendJsonString(out, c.Caption);
    }
    out += '}';
}

} // namespace koruba::cli
