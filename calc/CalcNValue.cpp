#include "calc/CalcNValue.h"

#include "calc/LibCal_Nti.h"

#include <cmath>

namespace koruba {

namespace {

// Wall sums of one term: a side that the pattern leaves out counts 0.0.
void TermSums(const BayTable& bays, int storey, TermSides s, float cap, float& left, float& right) {
    const auto sum = [&](int side) {
        return s.left == side || s.right == side ? bayMultiplier(bays.Cell(storey, side), cap).sum
                                                 : 0.0f;
    };
    left = sum(1);
    right = sum(2);
}

float RowCorrection(const BayRow& row, TermSides s) {
    const auto size = [&](int side) {
        return side == 0 ? 0 : row.BraceSize[static_cast<std::size_t>(side - 1)];
    };
    const auto kind = [&](int side) {
        return side == 0 ? 0 : row.BraceKind[static_cast<std::size_t>(side - 1)];
    };
    return BraceCorrection(size(s.left), kind(s.left), size(s.right), kind(s.right));
}

float RowA(float left, float right, float corr) {
    return static_cast<float>(std::fabs(static_cast<long double>(left) - right) +
                              static_cast<long double>(corr));
}

// The calculation under either rule set: factors of 1 and the 5.0 cap give
// the 2000 method exactly.
ResultType Calculate(const BayTable& bays, const FramePattern* p, bool mirrored,
                     float multiplierCap, long double factor1, long double factor2) {
    ResultType r;
    if (p == nullptr) {
        return r;
    }
    r.B1 = p->b1;
    r.B2 = p->b2;
    r.L = p->l;

    const TermSides a1 = termSides(*p, 1, mirrored);
    const int storey1 = termStorey(*p, 1);
    TermSums(bays, storey1, a1, multiplierCap, r.WallA1Left, r.WallA1Right);
    r.CorrA1 = RowCorrection(bays.Row(storey1), a1);
    if (p->storeys == 2) {
        const TermSides a2 = termSides(*p, 2, mirrored);
        TermSums(bays, termStorey(*p, 2), a2, multiplierCap, r.WallA2Left, r.WallA2Right);
        r.CorrA2 = RowCorrection(bays.Row(termStorey(*p, 2)), a2);
    }

    r.A1 = RowA(r.WallA1Left, r.WallA1Right, r.CorrA1);
    r.A2 = RowA(r.WallA2Left, r.WallA2Right, r.CorrA2);

    // Each product is rounded to a float before the sum; the tolerance of
    // the class limits absorbs this rounding.
    const auto p1 = static_cast<float>(static_cast<long double>(r.A1) * r.B1 * factor1);
    const auto p2 = static_cast<float>(static_cast<long double>(r.A2) * r.B2 * factor2);
    r.NValue = static_cast<float>(static_cast<long double>(p1) + p2 - r.L);
    r.PullOut = static_cast<float>(1.96L * static_cast<long double>(r.NValue) * 2.7L);

    // Above the last class there is no hardware: class, limit and strength
    // stay 0 so that nothing of an earlier column can show through.
    if (ClassifyJoint(r.NValue, r.JointClass, r.JointSymbol, r.JointName)) {
        JointSpec(r.JointClass, r.JointNLimit, r.JointStrength);
    }
    return r;
}

} // namespace

ResultType CalcNValue(const BayTable& bays, std::int32_t patternTag, std::int32_t patternReversed,
                      float multiplierCap) {
    return Calculate(bays, framePattern(patternTag), patternReversed != 0, multiplierCap, 1.0L,
                     1.0L);
}

ResultType CalcNValue(const BayTable& bays, std::int32_t patternTag, std::int32_t patternReversed,
                      const CalcConditions& conditions) {
    const FramePattern* p = framePattern(patternTag);
    if (p == nullptr) {
        return ResultType{};
    }
    return calcFrame(bays, *p, patternReversed != 0, conditions);
}

ResultType calcFrame(const BayTable& bays, const FramePattern& pattern, bool mirrored,
                     const CalcConditions& conditions) {
    if (conditions.rules == RuleSet::Notice2000) {
        return Calculate(bays, &pattern, mirrored, kBayMultiplierCap2000, 1.0L, 1.0L);
    }
    if (conditionsError(conditions, pattern.storeys)) {
        return ResultType{};
    }
    const bool twoStorey = pattern.storeys == 2;
    const long double f1 = heightFactor(conditions.h1Cm);
    const long double f2 = twoStorey ? heightFactor(conditions.h2Cm) : 1.0L;
    ResultType r =
        Calculate(bays, &pattern, mirrored, bayMultiplierCap(RuleSet::Revision2025), f1, f2);
    r.Rules = RuleSet::Revision2025;
    r.H1Cm = conditions.h1Cm;
    r.H2Cm = twoStorey ? conditions.h2Cm : 0;
    r.HeightFactor1 = static_cast<float>(f1);
    r.HeightFactor2 = static_cast<float>(f2);
    return r;
}

ResultType CalcNValue(const BracingModel& model) {
    return CalcNValue(model.Bays(), model.PatternTag(), model.PatternReversed(),
                      model.MultiplierCap());
}

ResultType CalcNValue(const BracingModel& model, const CalcConditions& conditions) {
    return CalcNValue(model.Bays(), model.PatternTag(), model.PatternReversed(), conditions);
}

} // namespace koruba
