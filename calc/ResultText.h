#pragma once

#include "calc/ResultType.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace koruba {

// One caption that the result display writes, by the label's name.
struct LabelCaption {
    std::string_view Label;
    std::string Caption;
};

// The captions of the formula and result labels for one result, in the
// order they are assigned. Of the two L labels only the one that is shown
// is written; the other keeps its last caption and is hidden.
struct ResultTexts {
    std::array<LabelCaption, 11> Captions;
    std::string_view ShownL;
    std::string_view HiddenL;

    const std::string* Find(std::string_view label) const;
};

ResultTexts MakeResultTexts(const ResultType& result, std::int32_t storeyCount);

// The individual texts, for callers that want one of them.
std::string ATermText(std::string_view name, float left, float right, float corr);
std::string StrengthText(const ResultType& result);
// The strength alone, "8.47", or kNoClassText when no hardware class applies.
std::string strengthValueText(const ResultType& result);
// Under the 2025 rules a storey whose factor is not 1 adds "xf1" (or "xf2")
// after its B; HeightFactorText says what f1 and f2 are.
std::string NLineText(const ResultType& result, std::int32_t storeyCount);

// The 2025 factor of a storey taller than 3.20 m as the exact fraction it
// is, "f1= 3.30/2.7", so that a reader can recompute N from the shown
// numbers. Empty where the factor is 1 and under the 2000 rules.
std::string HeightFactorText(std::string_view name, RuleSet rules, std::int32_t heightCm);
// The factor alone, "3.30/2.7", or "1" where it is 1.
std::string heightFactorValueText(RuleSet rules, std::int32_t heightCm);

// The rule set a result is computed under, with the storey heights of the
// 2025 rules: "2025年改正（階高補正）  H1 = 3.30m  H2 = 2.80m" (H2 only for a
// column that is not known to be single-storey). Empty under the 2000 rules.
std::string RulesLineText(const CalcConditions& conditions, std::int32_t storeyCount);

} // namespace koruba
