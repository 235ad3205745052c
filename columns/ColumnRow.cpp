#include "columns/ColumnRow.h"

#include "calc/CalcNValue.h"
#include "calc/PatternTable.h"
#include "columns/BayToken.h"
#include "columns/FieldNames.h"
#include "columns/HouseList.h"

#include <optional>
#include <string_view>
#include <utility>

namespace koruba::columns {

namespace {

bool readColumn(const ColumnRow& row, ColumnInput& column, std::string& error) {
    if (row.pattern.find_first_not_of(" \t") == std::string::npos) {
        error = "軸組パターンが選ばれていません";
        return false;
    }
    // A frame no pattern draws carries its reason in the cell.
    const std::size_t start = row.pattern.find_first_not_of(" \t");
    if (std::string_view(row.pattern).substr(start).starts_with(kNoPatternMark)) {
        error = row.pattern.substr(start);
        return false;
    }
    std::string problem;
    if (!parsePatternText(row.pattern, column.pattern, problem) ||
        !parseReversedText(row.reversed, column.reversed, problem)) {
        error = std::move(problem);
        return false;
    }
    for (std::size_t b = 0; b < row.bays.size(); ++b) {
        if (!parseBayToken(row.bays[b], column.bays[b], problem)) {
            error = "bay" + std::to_string(b + 1) + ": " + problem;
            return false;
        }
    }
    return true;
}

bool readConditions(const ColumnRow& row, std::int32_t storeyCount, CalcConditions& conditions,
                    std::string& error) {
    std::string problem;
    if (!parseConditionCell(kRulesField, row.rules, conditions, problem)) {
        error = "rules: " + problem;
        return false;
    }
    for (const auto& [name, text] : {std::pair{kH1Field, &row.h1}, std::pair{kH2Field, &row.h2}}) {
        if (!parseConditionCell(name, *text, conditions, problem)) {
            error = std::string(name) + ": " + problem;
            return false;
        }
    }
    if (auto refused = conditionsError(conditions, storeyCount)) {
        error = std::move(*refused);
        return false;
    }
    return true;
}

} // namespace

RowOutcome evaluateRow(const ColumnRow& row) {
    RowOutcome outcome;
    outcome.columnRead = readColumn(row, outcome.column, outcome.error);
    if (!outcome.columnRead || !readConditions(row, StoreyCountOf(outcome.column.pattern),
                                               outcome.conditions, outcome.error)) {
        return outcome;
    }
    outcome.result = CalcNValue(bayTableOf(outcome.column), outcome.column.pattern,
                                outcome.column.reversed, outcome.conditions);
    outcome.computed = true;
    return outcome;
}

BayTable baysInUse(std::int32_t pattern, std::int32_t reversed, const BayTable& bays) {
    BayTable used;
    for (std::int32_t tag = 1; tag <= 4; ++tag) {
        const std::optional<BayAddress> bay = bayOfTag(tag);
        if (bay && bayInUse(tag, pattern, reversed)) {
            used.SetCell(bay->storey, bay->side, bays.Cell(bay->storey, bay->side));
        }
    }
    return used;
}

void setRowColumn(ColumnRow& row, std::int32_t pattern, std::int32_t reversed,
                  const BayTable& bays) {
    ColumnInput now;
    std::string ignored;
    const bool patternRead = parsePatternText(row.pattern, now.pattern, ignored);
    if (!patternRead || now.pattern != pattern) {
        row.pattern = pattern != 0 ? std::to_string(pattern) : std::string();
    }
    if (!parseReversedText(row.reversed, now.reversed, ignored) ||
        (now.reversed != 0) != (reversed != 0)) {
        row.reversed = reversed != 0 ? "1" : "0";
    }
    // A bay the pattern does not read stays empty in the row (the
    // calculator keeps what was placed there while patterns change).
    const BayTable used = baysInUse(pattern, reversed, bays);
    for (std::int32_t tag = 1; tag <= 4; ++tag) {
        const BayAddress bay = *bayOfTag(tag);
        const BayCell wanted = used.Cell(bay.storey, bay.side);
        std::string& text = row.bays[static_cast<std::size_t>(tag - 1)];
        BayCell cell;
        if (!parseBayToken(text, cell, ignored) || !(cell == wanted)) {
            text = bayTokenOf(wanted);
        }
    }
}

void setRowConditions(ColumnRow& row, const CalcConditions& conditions) {
    // What each cell says now, read as the files are read; a cell that
    // cannot be read says nothing and is rewritten.
    auto says = [](std::string_view name, const std::string& text) {
        CalcConditions read;
        std::string ignored;
        return parseConditionCell(name, text, read, ignored) ? std::optional(read) : std::nullopt;
    };
    if (const auto now = says(kRulesField, row.rules); !now || now->rules != conditions.rules) {
        row.rules = std::to_string(static_cast<std::int32_t>(conditions.rules));
    }
    if (const auto now = says(kH1Field, row.h1); !now || now->h1Cm != conditions.h1Cm) {
        row.h1 = conditions.h1Cm != 0 ? storeyHeightText(conditions.h1Cm) : std::string();
    }
    if (const auto now = says(kH2Field, row.h2); !now || now->h2Cm != conditions.h2Cm) {
        row.h2 = conditions.h2Cm != 0 ? storeyHeightText(conditions.h2Cm) : std::string();
    }
}

ColumnRow rowOfColumn(std::string name, std::int32_t pattern, std::int32_t reversed,
                      const BayTable& bays, const CalcConditions& conditions) {
    ColumnRow row;
    row.name = std::move(name);
    row.reversed = "0";
    setRowColumn(row, pattern, reversed, bays);
    if (conditions.rules != RuleSet::Notice2000) {
        setRowConditions(row, conditions);
    }
    return row;
}

} // namespace koruba::columns
