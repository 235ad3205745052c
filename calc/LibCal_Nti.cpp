#include "calc/LibCal_Nti.h"

#include <array>

namespace koruba {

namespace {

// Base value of a brace's correction by size index (15x90, 30x90, 45x90,
// 90x90); no brace counts as 0.0.
float BaseValue(std::int32_t size, std::int32_t kind) {
    static constexpr std::array<float, 4> base{0.0f, 0.5f, 0.5f, 2.0f};
    if (kind == 0 || size < 0 || size > 3) {
        return 0.0f;
    }
    return base[static_cast<std::size_t>(size)];
}

bool IsSingle(std::int32_t kind) {
    return kind == 1 || kind == 2;
}

// A single brace left of the column meets its top when it rises to the
// right; right of the column, when it rises to the left.
bool LeftMeetsTop(std::int32_t kind) {
    return kind == 1;
}
bool RightMeetsTop(std::int32_t kind) {
    return kind == 2;
}

struct JointRow {
    long double limit; // as a decimal constant, for the comparison
    float nLimit;      // as stored in the result
    std::string_view symbol;
    std::string_view name;
};

constexpr std::array<JointRow, JointClassCount> kJointTable{{
    {0.0L, 0.0f, "(い)", "短ほぞ差し・かすがい(C)"},
    {0.65L, 0.65f, "(ろ)", "長ほぞ差し込み栓・かど金物(CP･L)"},
    {1.0L, 1.0f, "(は)", "かど金物(CP･T)・山形プレート(VP)"},
    {1.4L, 1.4f, "(に)", "羽子板ﾎﾞﾙﾄ(SB)・短冊金物(S)"},
    {1.6L, 1.6f, "(ほ)", "羽子板ﾎﾞﾙﾄ(SB+ZS50)･短冊金物(S+ZS50)"},
    {1.8L, 1.8f, "(へ)", "引き寄せ金物(HD-10)"},
    {2.8L, 2.8f, "(と)", "引き寄せ金物(HD-15)"},
    {3.7L, 3.7f, "(ち)", "引き寄せ金物(HD-20)"},
    {4.7L, 4.7f, "(り)", "引き寄せ金物(HD-25)"},
    {5.6L, 5.6f, "(ぬ)", "引き寄せ金物(HD-15)×２個"},
    {7.5L, 7.5f, "(る)*", "引き寄せ金物(HD-20)×２個(参考)"},
}};

} // namespace

float BraceCorrection(std::int32_t leftSize, std::int32_t leftKind, std::int32_t rightSize,
                      std::int32_t rightKind) {
    const float left = BaseValue(leftSize, leftKind);
    const float right = BaseValue(rightSize, rightKind);
    float corr = 0.0f;
    if (leftKind == 3) {
        corr = (IsSingle(rightKind) && RightMeetsTop(rightKind)) ? right : 0.0f;
    } else if (rightKind == 3) {
        corr = (IsSingle(leftKind) && LeftMeetsTop(leftKind)) ? left : 0.0f;
    } else if (IsSingle(leftKind) && !IsSingle(rightKind)) {
        corr = LeftMeetsTop(leftKind) ? left : -left;
    } else if (IsSingle(rightKind) && !IsSingle(leftKind)) {
        corr = RightMeetsTop(rightKind) ? right : -right;
    } else if (IsSingle(leftKind) && IsSingle(rightKind)) {
        const bool bothAtFoot = !LeftMeetsTop(leftKind) && !RightMeetsTop(rightKind);
        corr = bothAtFoot ? 0.0f : left + right;
    }
    // A 15x90 brace at the column foot would give -0.0; it is no
    // correction at all.
    return corr == 0.0f ? 0.0f : corr;
}

bool ClassifyJoint(float n, std::int32_t& jointClass, std::string_view& symbol,
                   std::string_view& name) {
    const float eps = NValueTolerance;
    const long double wide = n;
    for (std::size_t i = 0; i < kJointTable.size(); ++i) {
        if (wide - kJointTable[i].limit < static_cast<long double>(eps)) {
            jointClass = static_cast<std::int32_t>(i + 1);
            symbol = kJointTable[i].symbol;
            name = kJointTable[i].name;
            return true;
        }
    }
    return false;
}

bool JointSpec(std::int32_t jointClass, float& nLimit, float& strength) {
    const std::optional<JointClassRow> row = jointClassRow(jointClass);
    if (!row) {
        return false;
    }
    nLimit = row->nLimit;
    strength = row->strength;
    return true;
}

std::optional<JointClassRow> jointClassRow(std::int32_t jointClass) {
    if (jointClass < 1 || jointClass > JointClassCount) {
        return std::nullopt;
    }
    const JointRow& row = kJointTable[static_cast<std::size_t>(jointClass - 1)];
    return JointClassRow{row.symbol, row.name, row.nLimit,
                         static_cast<float>(1.96L * static_cast<long double>(row.nLimit) * 2.7L)};
}

} // namespace koruba
