#include "calc/CalcNValue.h"

#include "calc/LibCal_Nti.h"

#include <cmath>
#include <limits>

namespace koruba {

namespace {

// Which cell of a row stands left and right of the column: 0 no bay,
// 1 side 1, 2 side 2.
struct Sides {
    int left;
    int right;
};

struct PatternFactors {
    float b1;
    float b2;
    float l;
    Sides a1;
    Sides a2;
    bool twoStorey;
};

bool FactorsOf(std::int32_t tag, bool rev, PatternFactors& f) {
    switch (tag) {
    case 21:
        f = {0.8f, 0.0f, 0.4f, rev ? Sides{2, 0} : Sides{0, 1}, {0, 0}, false};
        return true;
    case 22:
        f = {0.5f, 0.0f, 0.6f, {1, 2}, {0, 0}, false};
        return true;
    case 11:
        f = {0.8f, 0.8f, 1.0f, rev ? Sides{2, 0} : Sides{0, 1}, rev ? Sides{2, 0} : Sides{0, 1},
             true};
        return true;
    case 12:
        f = {0.5f, 0.8f, 1.6f, {1, 2}, rev ? Sides{1, 0} : Sides{0, 2}, true};
        return true;
    case 13:
        f = {0.5f, 0.5f, 1.6f, {1, 2}, {1, 2}, true};
        return true;
    default:
        return false;
    }
}

float BaySum(const BayRow& row, int side, float cap) {
    const auto i = static_cast<std::size_t>(side - 1);
    const auto sum = static_cast<float>(static_cast<long double>(row.BraceMult[i]) +
                                        static_cast<long double>(row.PanelMult[i]));
    return sum > cap ? cap : sum;
}

// Wall sums of one row: a side that the pattern leaves out counts 0.0.
void RowSums(const BayRow& row, Sides s, float cap, float& left, float& right) {
    left = (s.left == 1 || s.right == 1) ? BaySum(row, 1, cap) : 0.0f;
    right = (s.left == 2 || s.right == 2) ? BaySum(row, 2, cap) : 0.0f;
}

float RowCorrection(const BayRow& row, Sides s) {
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
ResultType Calculate(const BayTable& bays, std::int32_t patternTag, std::int32_t patternReversed,
                     float multiplierCap, long double factor1, long double factor2) {
    ResultType r;
    PatternFactors f{};
    if (!FactorsOf(patternTag, patternReversed != 0, f)) {
        return r;
    }
    r.B1 = f.b1;
    r.B2 = f.b2;
    r.L = f.l;

    // The first term describes the only storey of a single-storey frame
    // (row 2) and the lower storey of a two-storey frame (row 1).
    const BayRow& rowA1 = bays.Row(f.twoStorey ? 1 : 2);
    RowSums(rowA1, f.a1, multiplierCap, r.WallA1Left, r.WallA1Right);
    r.CorrA1 = RowCorrection(rowA1, f.a1);
    if (f.twoStorey) {
        const BayRow& rowA2 = bays.Row(2);
        RowSums(rowA2, f.a2, multiplierCap, r.WallA2Left, r.WallA2Right);
        r.CorrA2 = RowCorrection(rowA2, f.a2);
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
    return Calculate(bays, patternTag, patternReversed, multiplierCap, 1.0L, 1.0L);
}

ResultType CalcNValue(const BayTable& bays, std::int32_t patternTag, std::int32_t patternReversed,
                      const CalcConditions& conditions) {
    if (conditions.rules == RuleSet::Notice2000) {
        return CalcNValue(bays, patternTag, patternReversed);
    }
    if (!IsPatternTag(patternTag) || conditionsError(conditions, StoreyCountOf(patternTag))) {
        return ResultType{};
    }
    const bool twoStorey = StoreyCountOf(patternTag) == 2;
    const long double f1 = heightFactor(conditions.h1Cm);
    const long double f2 = twoStorey ? heightFactor(conditions.h2Cm) : 1.0L;
    ResultType r = Calculate(bays, patternTag, patternReversed,
                             std::numeric_limits<float>::infinity(), f1, f2);
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

} // namespace koruba
