#include "columns/ColumnInput.h"

#include "calc/CalcNValue.h"
#include "calc/PlainText.h"
#include "columns/FieldNames.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace koruba::columns {

namespace {} // namespace

BayTable bayTableOf(const ColumnInput& column) {
    BayTable table;
    for (std::int32_t tag = 1; tag <= 4; ++tag) {
        const BayAddress bay = *bayOfTag(tag);
        table.SetCell(bay.storey, bay.side, column.bays[static_cast<std::size_t>(tag - 1)]);
    }
    return table;
}

ResultType computeColumn(const ColumnInput& column) {
    return CalcNValue(bayTableOf(column), column.pattern, column.reversed, column.conditions);
}

bool parsePatternText(std::string_view text, std::int32_t& pattern, std::string& error) {
    const std::string_view t = trimBlanks(text);
    if (t.size() == 2 && t[0] >= '1' && t[0] <= '2' && t[1] >= '0' && t[1] <= '9') {
        const std::int32_t tag = (t[0] - '0') * 10 + (t[1] - '0');
        if (IsPatternTag(tag)) {
            pattern = tag;
            return true;
        }
    }
    error = "pattern \"";
    error += text;
    error += "\" is not one of 21, 22, 11, 12, 13";
    return false;
}

bool parseReversedText(std::string_view text, std::int32_t& reversed, std::string& error) {
    const std::string_view t = trimBlanks(text);
    if (t.empty() || t == "0" || equalsNoCase(t, "false")) {
        reversed = 0;
        return true;
    }
    if (t == "1" || equalsNoCase(t, "true")) {
        reversed = 1;
        return true;
    }
    error = "reversed \"";
    error += text;
    error += "\" is not 0, 1, true or false";
    return false;
}

bool isBlankCell(std::string_view text) {
    return text.find_first_not_of(" \t\r") == std::string_view::npos;
}

bool parseConditionCell(std::string_view name, std::string_view text, CalcConditions& conditions,
                        std::string& error) {
    if (isBlankCell(text)) {
        return true;
    }
    if (isRulesField(name)) {
        return parseRuleSet(text, conditions.rules, error);
    }
    return parseStoreyHeight(text, name == kH1Field ? conditions.h1Cm : conditions.h2Cm, error);
}

} // namespace koruba::columns
