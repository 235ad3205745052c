#include "ui/ColumnRow.h"

#include "calc/CalcNValue.h"
#include "cli/BayToken.h"

#include <utility>

namespace koruba {

namespace {

bool readColumn(const ColumnRow& row, cli::ColumnInput& column, std::string& error) {
    if (row.pattern.find_first_not_of(" \t") == std::string::npos) {
        error = "軸組パターンが選ばれていません";
        return false;
    }
    std::string problem;
    if (!cli::ParsePatternText(row.pattern, column.Pattern, problem) ||
        !cli::ParseReversedText(row.reversed, column.Reversed, problem)) {
        error = std::move(problem);
        return false;
    }
    for (std::size_t b = 0; b < row.bays.size(); ++b) {
        if (!cli::ParseBayToken(row.bays[b], column.Bays[b], problem)) {
            error = "bay" + std::to_string(b + 1) + ": " + problem;
            return false;
        }
    }
    return true;
}

bool readHeight(const std::string& text, const char* name, std::int32_t& cm, std::string& error) {
    if (text.empty()) {
        cm = 0;
        return true;
    }
    std::string problem;
    if (!parseStoreyHeight(text, cm, problem)) {
        error = std::string(name) + ": " + problem;
        return false;
    }
    return true;
}

bool readConditions(const ColumnRow& row, std::int32_t storeyCount, CalcConditions& conditions,
                    std::string& error) {
    std::string problem;
    if (!row.rules.empty() && !parseRuleSet(row.rules, conditions.rules, problem)) {
        error = "rules: " + problem;
        return false;
    }
    if (!readHeight(row.h1, "h1", conditions.h1Cm, error) ||
        !readHeight(row.h2, "h2", conditions.h2Cm, error)) {
        return false;
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
    if (!outcome.columnRead || !readConditions(row, StoreyCountOf(outcome.column.Pattern),
                                               outcome.conditions, outcome.error)) {
        return outcome;
    }
    outcome.result = CalcNValue(cli::BayTableOf(outcome.column), outcome.column.Pattern,
                                outcome.column.Reversed, outcome.conditions);
    outcome.computed = true;
    return outcome;
}

void setRowColumn(ColumnRow& row, std::int32_t pattern, std::int32_t reversed,
                  const BayTable& bays) {
    cli::ColumnInput now;
    std::string ignored;
    const bool patternRead = cli::ParsePatternText(row.pattern, now.Pattern, ignored);
    if (!patternRead || now.Pattern != pattern) {
        row.pattern = pattern != 0 ? std::to_string(pattern) : std::string();
    }
    if (!cli::ParseReversedText(row.reversed, now.Reversed, ignored) ||
        (now.Reversed != 0) != (reversed != 0)) {
        row.reversed = reversed != 0 ? "1" : "0";
    }
    for (std::int32_t tag = 1; tag <= 4; ++tag) {
        int storey = 0;
        int side = 0;
        BayOfTag(tag, storey, side);
        const BayCell wanted = bays.Cell(storey, side);
        std::string& text = row.bays[static_cast<std::size_t>(tag - 1)];
        BayCell cell;
        if (!cli::ParseBayToken(text, cell, ignored) || !(cell == wanted)) {
            text = cli::BayTokenOf(wanted);
        }
    }
}

void setRowConditions(ColumnRow& row, const CalcConditions& conditions) {
    RuleSet rules = RuleSet::Notice2000;
    std::string ignored;
    if (!(row.rules.empty() || parseRuleSet(row.rules, rules, ignored)) ||
        rules != conditions.rules) {
        row.rules = std::to_string(static_cast<std::int32_t>(conditions.rules));
    }
    auto setHeight = [&ignored](std::string& text, std::int32_t cm) {
        std::int32_t now = 0;
        if (text.empty() ? cm != 0 : !parseStoreyHeight(text, now, ignored) || now != cm) {
            text = cm != 0 ? storeyHeightText(cm) : std::string();
        }
    };
    setHeight(row.h1, conditions.h1Cm);
    setHeight(row.h2, conditions.h2Cm);
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

} // namespace koruba
