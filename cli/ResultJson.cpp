#include "cli/ResultJson.h"

#include "calc/NumberFormat.h"
#include "calc/ResultText.h"

#include <cstdint>
#include <cstring>

namespace koruba::cli {

namespace {

bool NeedsEscape(unsigned char c) {
    return c < 0x20 || c == '"' || c == '\\';
}

// Whether any of eight bytes may be a quote, a backslash or a control
// character (a cheap filter; a hit is checked byte by byte).
bool WordMayNeedEscape(const char* p) {
    constexpr std::uint64_t Ones = 0x0101010101010101ULL;
    constexpr std::uint64_t Highs = 0x8080808080808080ULL;
    std::uint64_t w = 0;
    std::memcpy(&w, p, 8);
    const auto hasZero = [](std::uint64_t v) { return (v - Ones) & ~v & Highs; };
    const std::uint64_t below20 = (w - Ones * 0x20) & ~w & Highs;
    return (below20 | hasZero(w ^ (Ones * '"')) | hasZero(w ^ (Ones * '\\'))) != 0;
}

void AppendFloatMember(std::string& out, std::string_view key, float value) {
    out += '"';
    out += key;
    out += "\":";
    out += ShortestFloat(value);
    out += ',';
}

} // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char Hex[] = "0123456789abcdef";
    out += '"';
    std::size_t start = 0;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        // Texts rarely need an escape: test eight bytes at a time.
        if (i + 8 <= n && !WordMayNeedEscape(text.data() + i)) {
            i += 8;
            continue;
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (!NeedsEscape(c)) {
            ++i;
            continue;
        }
        out.append(text.data() + start, i - start);
        start = i + 1;
        ++i;
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
            out += Hex[c >> 4];
            out += Hex[c & 0xF];
            break;
        }
    }
    out.append(text.data() + start, n - start);
    out += '"';
}

void AppendResultAndLabels(std::string& out, const ResultType& r, std::int32_t storeyCount) {
    out += "\"result\":{";
    AppendFloatMember(out, "WallA1Left", r.WallA1Left);
    AppendFloatMember(out, "WallA1Right", r.WallA1Right);
    AppendFloatMember(out, "WallA2Left", r.WallA2Left);
    AppendFloatMember(out, "WallA2Right", r.WallA2Right);
    AppendFloatMember(out, "CorrA1", r.CorrA1);
    AppendFloatMember(out, "CorrA2", r.CorrA2);
    AppendFloatMember(out, "A1", r.A1);
    AppendFloatMember(out, "B1", r.B1);
    AppendFloatMember(out, "A2", r.A2);
    AppendFloatMember(out, "B2", r.B2);
    AppendFloatMember(out, "L", r.L);
    AppendFloatMember(out, "PullOut", r.PullOut);
    AppendFloatMember(out, "JointStrength", r.JointStrength);
    AppendFloatMember(out, "NValue", r.NValue);
    out += "\"JointClass\":";
    out += std::to_string(r.JointClass);
    out += ',';
    AppendFloatMember(out, "JointNLimit", r.JointNLimit);
    out += "\"JointSymbol\":";
    AppendJsonString(out, r.JointSymbol);
    out += ",\"JointName\":";
    AppendJsonString(out, r.JointName);
    out += "},\"labels\":{";

    const ResultTexts texts = MakeResultTexts(r, storeyCount);
    bool first = true;
    for (const LabelCaption& c : texts.Captions) {
        if (!first) {
            out += ',';
        }
        first = false;
        AppendJsonString(out, c.Label);
        out += ':';
        AppendJsonString(out, c.Caption);
    }
    out += '}';
}

} // namespace koruba::cli
