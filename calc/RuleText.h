#pragma once

#include "calc/CalcConditions.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace koruba {

// The words every place that names or explains a rule set uses: the
// window, the summary, the calculation sheet and the batch tool. Kept here
// so that a reviewer reads the same formula wherever a result is shown.

// The notification the simplified N-value method comes from.
inline constexpr std::string_view kMethodCitation = "平成12年建設省告示第1460号 第二号 ただし書";

// "2000年告示" or "2025年改正（階高補正）".
std::string_view ruleSetName(RuleSet rules);

// The general formula for a column of storeyCount storeys under the rules,
// such as "N = A1×B1×f(H1) − L".
std::string_view ruleFormula(RuleSet rules, std::int32_t storeyCount);

// The lines that define the storey-height factor and the other 2025
// conditions, in reading order; empty for the 2000 rules.
std::string_view heightFactorConditions(RuleSet rules);

// The warning shown under the 2025 rules for a storey above 3.20 m: the
// notification's table method may not be used there and this calculation
// is required. Empty when no storey of the result is that tall.
std::string tallStoreyWarning(RuleSet rules, std::int32_t h1Cm, std::int32_t h2Cm);

// Under the 2000 rules: that buildings submitted for permission from April
// 2025 are assessed under the 2025 provisions, so that a result under the
// old rules never looks current. Empty for the 2025 rules.
std::string supersededRulesNote(RuleSet rules);

// Whether a hardware class (0 for none) lies beyond the notification's
// table of joint specifications.
bool beyondNoticeTable(std::int32_t jointClass);
// The rule beyond the table, for a legend: "告示の表の範囲外（N>5.60）：短期
// 引張耐力 N×5.3kN 以上の接合方法とする".
std::string beyondTableRuleText();
// The factor beyond the table, "5.3" (kN per unit of N).
std::string beyondTableFactorText();
// The capacity a joint beyond the table needs, "32.81": the N value as
// shown (two decimals) times the factor, rounded up to the hundredth so
// that it is never less than what the shown N asks for.
std::string beyondTableStrengthText(float nValue);
// The rule for one N value: "告示の表の範囲外（N>5.60）：短期引張耐力
// N×5.3＝32.81kN 以上の接合方法とする".
std::string beyondTableText(float nValue);

} // namespace koruba
