#pragma once

#include "calc/CalcConditions.h"

#include <cstdint>
#include <string_view>

namespace koruba {

// The result of one N-value calculation, field for field as the formula
// and result labels show it. The two texts point into the fixed class
// table and are empty when no class applies.
struct ResultType {
    float WallA1Left = 0.0f;
    float WallA1Right = 0.0f;
    float WallA2Left = 0.0f;
    float WallA2Right = 0.0f;
    float CorrA1 = 0.0f;
    float CorrA2 = 0.0f;
    float A1 = 0.0f;
    float B1 = 0.0f;
    float A2 = 0.0f;
    float B2 = 0.0f;
    float L = 0.0f;
    float PullOut = 0.0f;
    float JointStrength = 0.0f;
    float NValue = 0.0f;
    std::int32_t JointClass = 0;
    float JointNLimit = 0.0f;
    std::string_view JointSymbol;
    std::string_view JointName;
    // What the value was computed under. Under the 2000 rules the heights
    // are 0 and both factors 1; under the 2025 rules the products A x B of
    // each storey were multiplied by its factor before L was taken off.
    RuleSet Rules = RuleSet::Notice2000;
    std::int32_t H1Cm = 0;
    std::int32_t H2Cm = 0;
    float HeightFactor1 = 1.0f;
    float HeightFactor2 = 1.0f;

    friend bool operator==(const ResultType&, const ResultType&) = default;
};

} // namespace koruba
