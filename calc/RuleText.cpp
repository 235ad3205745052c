#include "calc/RuleText.h"

#include "calc/BracingModel.h"
#include "calc/LibCal_Nti.h"
#include "calc/NumberFormat.h"

#include <algorithm>
#include <cmath>

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

std::string supersededRulesNote(RuleSet rules) {
    if (rules != RuleSet::Notice2000) {
        return {};
    }
    return "※2025年4月以降に確認申請する建築物は" +
           std::string(ruleSetName(RuleSet::Revision2025)) +
           "の規定（階高による補正 f(H)、壁倍率の合計に " + F1(kBayMultiplierCap2000) +
           " の上限なし）で審査されます。";
}

bool beyondNoticeTable(std::int32_t jointClass) {
    return jointClass == 0 || jointClass > NoticeClassCount;
}

namespace {

std::string tableLimitText() {
    return "告示の表の範囲外（N>" + F2(jointClassRow(NoticeClassCount)->nLimit) +
           "）：短期引張耐力 ";
}

} // namespace

std::string beyondTableFactorText() {
    return std::to_string(kBeyondTableKnPerNTenths / 10) + "." +
           std::to_string(kBeyondTableKnPerNTenths % 10);
}

std::string beyondTableRuleText() {
    return tableLimitText() + "N×" + beyondTableFactorText() + "kN 以上の接合方法とする";
}

std::string beyondTableStrengthText(float nValue) {
    // N in hundredths exactly as the two-decimal text rounds it: a float
    // times 100 is exact in a double, and llround rounds halves away from
    // zero as the text does.
    if (!(std::fabs(nValue) < 1.0e9f)) {
        return F2(nValue); // not a number a frame can give; shown as it is
    }
    const long long n = std::llround(static_cast<double>(nValue) * 100.0);
    // Hundredths of N times tenths of a kN per N: thousandths of a kN,
    // rounded up to hundredths. N beyond the table is positive.
    const long long thousandths = std::max(n, 0LL) * kBeyondTableKnPerNTenths;
    const long long hundredths = (thousandths + 9) / 10;
    std::string cents = std::to_string(hundredths % 100);
    if (cents.size() < 2) {
        cents.insert(0, "0");
    }
    return std::to_string(hundredths / 100) + "." + cents;
}

std::string beyondTableText(float nValue) {
    return tableLimitText() + "N×" + beyondTableFactorText() + "＝" +
           beyondTableStrengthText(nValue) + "kN 以上の接合方法とする";
}

} // namespace koruba
