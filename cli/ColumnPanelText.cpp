#include "cli/ColumnPanelText.h"

#include "calc/ResultText.h"

namespace koruba::cli {

std::string ColumnPanelText(const ResultType& result, std::int32_t storeyCount) {
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
    return s;
}

} // namespace koruba::cli
