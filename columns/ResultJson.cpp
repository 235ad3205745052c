#include "columns/ResultJson.h"

#include "calc/NumberFormat.h"
#include "calc/ResultText.h"
#include "calc/RuleText.h"

#include <charconv>
#include <cmath>

namespace koruba::columns {

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

void appendResultAndLabels(std::string& out, const ResultType& r, std::int32_t storeyCount) {
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
    appendJsonString(out, r.JointSymbol);
    out += ",\"JointName\":";
    appendJsonString(out, r.JointName);
    if (r.Rules == RuleSet::Revision2025) {
        // Added members only: readers of 2000 results see what they saw.
        out += ",\"rules\":2025";
        appendFloat(out, ",\"HeightFactor1\":", r.HeightFactor1);
        appendFloat(out, ",\"HeightFactor2\":", r.HeightFactor2);
        out += ",\"formula\":";
        appendJsonString(out, ruleFormula(r.Rules, storeyCount));
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
        appendJsonString(out, c.Caption);
    }
    out += '}';
}

} // namespace koruba::columns
