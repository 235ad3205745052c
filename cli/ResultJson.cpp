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

template <typename FloatText>
void AppendFloatMember(OutputBuffer& out, std::string_view key, float value, FloatText&& text) {
    out.Put('"');
    out.Put(key);
    out.Put("\":");
    out.Put(text(value));
    out.Put(',');
}

} // namespace

void AppendJsonString(OutputBuffer& out, std::string_view text) {
    static constexpr char Hex[] = "0123456789abcdef";
    out.Put('"');
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
        out.Put(text.substr(start, i - start));
        start = i + 1;
        ++i;
        switch (c) {
        case '"':
            out.Put("\\\"");
            break;
        case '\\':
            out.Put("\\\\");
            break;
        case '\n':
            out.Put("\\n");
            break;
        case '\r':
            out.Put("\\r");
            break;
        case '\t':
            out.Put("\\t");
            break;
        default:
            out.Put("\\u00");
            out.Put(Hex[c >> 4]);
            out.Put(Hex[c & 0xF]);
            break;
        }
    }
    out.Put(text.substr(start));
    out.Put('"');
}

template <typename FloatText>
void AppendResultAndLabelsWith(OutputBuffer& out, const ResultType& r, std::int32_t storeyCount,
                               FloatText&& text) {
    out.Put("\"result\":{");
    AppendFloatMember(out, "WallA1Left", r.WallA1Left, text);
    AppendFloatMember(out, "WallA1Right", r.WallA1Right, text);
    AppendFloatMember(out, "WallA2Left", r.WallA2Left, text);
    AppendFloatMember(out, "WallA2Right", r.WallA2Right, text);
    AppendFloatMember(out, "CorrA1", r.CorrA1, text);
    AppendFloatMember(out, "CorrA2", r.CorrA2, text);
    AppendFloatMember(out, "A1", r.A1, text);
    AppendFloatMember(out, "B1", r.B1, text);
    AppendFloatMember(out, "A2", r.A2, text);
    AppendFloatMember(out, "B2", r.B2, text);
    AppendFloatMember(out, "L", r.L, text);
    AppendFloatMember(out, "PullOut", r.PullOut, text);
    AppendFloatMember(out, "JointStrength", r.JointStrength, text);
    AppendFloatMember(out, "NValue", r.NValue, text);
    out.Put("\"JointClass\":");
    out.Put(std::to_string(r.JointClass));
    out.Put(',');
    AppendFloatMember(out, "JointNLimit", r.JointNLimit, text);
    out.Put("\"JointSymbol\":");
    AppendJsonString(out, r.JointSymbol);
    out.Put(",\"JointName\":");
    AppendJsonString(out, r.JointName);
    out.Put("},\"labels\":{");

    const ResultTexts texts = MakeResultTexts(r, storeyCount);
    bool first = true;
    for (const LabelCaption& c : texts.Captions) {
        if (!first) {
            out.Put(',');
        }
        first = false;
        // Label names are plain identifiers.
        out.Put('"');
        out.Put(c.Label);
        out.Put("\":");
        AppendJsonString(out, c.Caption);
    }
    out.Put('}');
}

void AppendResultAndLabels(OutputBuffer& out, const ResultType& r, std::int32_t storeyCount) {
    AppendResultAndLabelsWith(out, r, storeyCount, [](float v) { return ShortestFloat(v); });
}

void AppendResultAndLabels(OutputBuffer& out, const ResultType& r, std::int32_t storeyCount,
                           FloatTextCache& floats) {
    AppendResultAndLabelsWith(out, r, storeyCount, [&](float v) { return floats.Text(v); });
}

std::string_view FloatTextCache::Text(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Slot& s = slots_[(bits * 2654435761u) >> 22];
    if (s.size == 0 || s.bits != bits) {
        const std::string t = ShortestFloat(value);
        s.bits = bits;
        s.size = static_cast<std::uint8_t>(t.copy(s.text, sizeof s.text));
    }
    return {s.text, s.size};
}

} // namespace koruba::cli
