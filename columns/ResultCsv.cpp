#include "columns/ResultCsv.h"

#include "calc/NumberFormat.h"
#include "calc/ResultText.h"
#include "calc/RuleText.h"
#include "columns/CsvRecord.h"

namespace koruba::columns {

void appendCsvRules(std::string& out, const ResultType& r, std::int32_t storeys) {
    out += std::to_string(static_cast<std::int32_t>(r.Rules));
    out += ',';
    AppendFixed(out, r.HeightFactor1, 3);
    out += ',';
    if (storeys == 2) {
        AppendFixed(out, r.HeightFactor2, 3);
    }
    out += ',';
    appendCsvField(out, ruleFormula(r.Rules, storeys));
    out += ',';
}

void appendCsvResult(std::string& out, const ResultType& r, std::int32_t storeys,
                     bool ruleColumns) {
    auto fixed = [&](float v, int decimals) {
        AppendFixed(out, v, decimals);
        out += ',';
    };
    // None of the formula texts holds a comma, quote or line end.
    out += ATermText("A1", r.WallA1Left, r.WallA1Right, r.CorrA1);
    out += ',';
    fixed(r.A1, 1);
    fixed(r.B1, 1);
    if (storeys == 2) {
        out += ATermText("A2", r.WallA2Left, r.WallA2Right, r.CorrA2);
        out += ',';
        fixed(r.A2, 1);
        fixed(r.B2, 1);
    } else {
        out += ",,,";
    }
    fixed(r.L, 1);
    out += NLineText(r, storeys);
    out += ',';
    fixed(r.NValue, 2);
    fixed(r.PullOut, 2);
    appendCsvField(out, r.JointSymbol);
    out += ',';
    out += strengthValueText(r);
    out += ',';
    appendCsvField(out, r.JointName);
    out += ',';
    if (ruleColumns) {
        appendCsvRules(out, r, storeys);
    }
}

} // namespace koruba::columns
