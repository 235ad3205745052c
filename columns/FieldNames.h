#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace koruba::columns {

// The names of a column's cells, one table for every reader and writer of
// column files: a CSV header names its columns so (in any letter case,
// blanks around allowed), a JSON Lines object its members, and the column
// list writes them so. Every record has the first seven (JSON Lines holds
// the four bays in one member, kBaysMember); the rest name the rules it is
// computed under, the rule set under either of two names (rule_set is the
// one the tool's output writes, so that an output reads back).
inline constexpr std::array<std::string_view, 11> kFieldNames{
    "id", "pattern", "reversed", "bay1", "bay2", "bay3", "bay4", "rules", "h1", "h2", "rule_set"};
inline constexpr std::size_t kRequiredFields = 7;

inline constexpr std::string_view kIdField = kFieldNames[0];
inline constexpr std::string_view kPatternField = kFieldNames[1];
inline constexpr std::string_view kReversedField = kFieldNames[2];
inline constexpr std::string_view kBay1Field = kFieldNames[3];
inline constexpr std::string_view kRulesField = kFieldNames[7];
inline constexpr std::string_view kH1Field = kFieldNames[8];
inline constexpr std::string_view kH2Field = kFieldNames[9];
inline constexpr std::string_view kRuleSetField = kFieldNames[10];
inline constexpr std::string_view kBaysMember = "bays";
// A longer name for people beside the id, which the sheets show when given.
inline constexpr std::string_view kNameField = "name";

// The heading of a calculation sheet, kept in the cells of a list file's
// first row and read by the tool's sheet too.
inline constexpr std::string_view kProjectField = "project";
inline constexpr std::string_view kDesignerField = "designer";

// Whether a name (as compared, normalColumnName) names the rule set.
constexpr bool isRulesField(std::string_view name) {
    return name == kRulesField || name == kRuleSetField;
}

// Whether it names a cell of the conditions: the rule set or a storey height.
constexpr bool isConditionField(std::string_view name) {
    return isRulesField(name) || name == kH1Field || name == kH2Field;
}

} // namespace koruba::columns
