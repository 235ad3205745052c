#include "calc/RuleText.h"

namespace koruba {

std::string_view ruleSetName(RuleSet rules) {
    return rules == RuleSet::Revision2025 ? "2025年改正（階高補正）" : "2000年告示";
}

std::string_view ruleFormula(RuleSet rules, std::int32_t storeyCount) {
    const bool twoStorey = storeyCount == 2;
    if (rules == RuleSet::Revision2025) {
        return twoStorey ? "N = A1×B1×f(H1) + A2×B2×f(H2) − L" : "N = A1×B1×f(H1) − L";
    }
    return twoStorey ? "N = A1×B1 + A2×B2 − L" : "N = A1×B1 − L";
}

std::string_view heightFactorConditions(RuleSet rules) {
    if (rules != RuleSet::Revision2025) {
        return {};
    }
    return "f(H) = 1（H ≦ 3.2m のとき。H = 2.7m とみなす）\n"
           "f(H) = H / 2.7（H > 3.2m のとき）\n"
           "H1：当該柱の階の横架材の上端の相互間の垂直距離（m）\n"
           "H2：その上の階の横架材の上端の相互間の垂直距離（m）\n"
           "L には f(H) を乗じない。壁の倍率の合計は 5.0 を上限としない。";
}

std::string tallStoreyWarning(RuleSet rules, std::int32_t h1Cm, std::int32_t h2Cm) {
    if (rules != RuleSet::Revision2025) {
        return {};
    }
    const bool tall1 = h1Cm > kStandardHeightLimitCm;
    const bool tall2 = h2Cm > kStandardHeightLimitCm;
    if (!tall1 && !tall2) {
        return {};
    }
    std::string s = tall1 && tall2 ? "H1・H2" : tall1 ? "H1" : "H2";
    s += " が 3.2m を超えるため、告示の表による仕様は使えません。N値計算が必要です（本計算）。";
    return s;
}

} // namespace koruba
