#include "cli/ColumnPanelText.h"

#include "calc/ResultText.h"
#include "calc/RuleText.h"

namespace koruba::cli {

std::string columnPanelText(const ResultType& result, std::int32_t storeyCount) {
    const ResultTexts t = MakeResultTexts(result, storeyCount);
    auto caption = [&](std::string_view label) {
        const std::string* c = t.Find(label);
        return c != nullptr ? *c : std::string();
    };
    auto shown = [&](std::string_view label) { return t.ShownL == label; };

    std::string s;
    auto line = [&](const std::string& a, const std::string& b = {}) {
        s += a;
        if (!a.empty() && !b.empty()) {
            s += "  ";
        }
        s += b;
        s += '\n';
    };
    line(caption("Lbl_A_12F_Siki"));
    line(caption("Lbl_A_12F"));
    line(caption("Lbl_B_12F"), shown("Lbl_L_12F") ? caption("Lbl_L_12F") : std::string());
    if (storeyCount == 2) {
        s += '\n';
        line(caption("Lbl_A_1F_Siki"));
        line(caption("Lbl_A_1F"));
        line(caption("Lbl_B_1F"), shown("Lbl_L_1F") ? caption("Lbl_L_1F") : std::string());
    }
    s += '\n';
    line(caption("Lbl_Nti"));
    line(caption("Lbl_KanaKigo"), caption("Lbl_Tairyoku"));
    line(caption("Lbl_KanaName"));
    if (result.Rules == RuleSet::Revision2025) {
        // What was computed, so that a reviewer can redo it.
        s += '\n';
        line(std::string(ruleSetName(result.Rules)) + ": " +
             std::string(ruleFormula(result.Rules, storeyCount)));
        std::string heights = "H1= " + storeyHeightText(result.H1Cm) + "m";
        if (storeyCount == 2) {
            heights += "  H2= " + storeyHeightText(result.H2Cm) + "m";
        }
        line(heights);
        // The factors that are not 1, as the window names them in the N line.
        for (const std::string& f :
             {HeightFactorText("f1", result.Rules, result.H1Cm),
              storeyCount == 2 ? HeightFactorText("f2", result.Rules, result.H2Cm)
                               : std::string()}) {
            if (!f.empty()) {
                line(f);
            }
        }
        const std::string warning = tallStoreyWarning(result.Rules, result.H1Cm, result.H2Cm);
        if (!warning.empty()) {
            line(warning);
        }
    }
    return s;
}

} // namespace koruba::cli
