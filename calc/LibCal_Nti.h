#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace koruba {

// Tolerance of the N-value comparisons, held as a 32-bit float.
inline constexpr float NValueTolerance = 1.0e-6f;

// Correction of one storey for the braces that meet the column under study.
// Sizes are brace size indexes 0..3, kinds brace kinds 0..3 of the bay left
// and right of the column (a side without a bay is kind 0).
float BraceCorrection(std::int32_t leftSize, std::int32_t leftKind, std::int32_t rightSize,
                      std::int32_t rightKind);

// Hardware class 1..11 for an N value. Returns false and leaves the three
// outputs untouched when N lies above the last class.
bool ClassifyJoint(float n, std::int32_t& jointClass, std::string_view& symbol,
                   std::string_view& name);

// N limit and strength (kN) of a hardware class; false and outputs
// untouched for a class outside 1..11.
bool JointSpec(std::int32_t jointClass, float& nLimit, float& strength);

inline constexpr std::int32_t JointClassCount = 11;

// One row of the hardware class table: the symbol, the hardware, the
// largest N of the class and the joint's strength in kN.
struct JointClassRow {
    std::string_view symbol;
    std::string_view name;
    float nLimit = 0.0f;
    float strength = 0.0f;
};
// The row of a hardware class 1..11; nothing for any other class.
std::optional<JointClassRow> jointClassRow(std::int32_t jointClass);

// What stands for the symbol, the hardware and the strength where no class
// applies (class 0: N above the table, or a column not computed).
inline constexpr std::string_view kNoClassText = "---";

// The notification's own table ends with class 10, (ぬ). Class 11, (る)*, is
// reference hardware for N values beyond that table, where the notification
// asks for a joint of a short-term tensile capacity of at least N times
// kBeyondTableKnPerNTenths / 10 kN instead of naming one.
inline constexpr std::int32_t NoticeClassCount = 10;
inline constexpr std::int32_t kBeyondTableKnPerNTenths = 53;

} // namespace koruba
