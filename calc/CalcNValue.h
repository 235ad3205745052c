#pragma once

#include "calc/BracingModel.h"
#include "calc/CalcConditions.h"
#include "calc/ResultType.h"

namespace koruba {

// The N value of the column-end joint with the terms of its formula, the
// pull-out force and the required hardware, for a pattern (21, 22, 11, 12,
// 13), its mirror state and the bay table. Any other pattern tag gives the
// zero result.
ResultType CalcNValue(const BayTable& bays, std::int32_t patternTag, std::int32_t patternReversed,
                      float multiplierCap = kBayMultiplierCap2000);
ResultType CalcNValue(const BracingModel& model);

// The same under a rule set. Under the 2025 rules a bay's multiplier sum is
// not capped and each storey's product A x B is multiplied by its height
// factor; L is not. Conditions that conditionsError refuses give the zero
// result, so that no value is ever computed from a missing height.
ResultType CalcNValue(const BayTable& bays, std::int32_t patternTag, std::int32_t patternReversed,
                      const CalcConditions& conditions);
ResultType CalcNValue(const BracingModel& model, const CalcConditions& conditions);

// The same for any frame given as a pattern record, also one that is none
// of the five: a column derived from a house plan is computed here, so that
// it comes out float for float as the window's pattern would give it.
ResultType calcFrame(const BayTable& bays, const FramePattern& pattern, bool mirrored,
                     const CalcConditions& conditions);

} // namespace koruba
