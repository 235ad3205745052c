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
// The strength alone, "8.47", or "---" when no hardware class applies.
std::string strengthValueText(const ResultType& result);
std::string NLineText(const ResultType& result, std::int32_t storeyCount);

} // namespace koruba
