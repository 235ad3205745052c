#include "cli/ResultJson.h"

#include "calc/NumberFormat.h"
#include "calc/ResultText.h"

namespace koruba::cli {

namespace {

bool NeedsEscape(unsigned char c) {
    return c < 0x20 || c == '"' || c == '\\';
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
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!NeedsEscape(c)) {
            continue;
        }
        out.append(text.data() + start, i - start);
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
            out += Hex[c >> 4];
            out += Hex[c & 0xF];
            break;
        }
    }
    out.append(text.data() + start, text.size() - start);
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
