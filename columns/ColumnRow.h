#pragma once

#include "calc/BracingModel.h"
#include "calc/CalcConditions.h"
#include "calc/ResultType.h"
#include "columns/ColumnInput.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace koruba::columns {

// A cell of a column the list does not know, kept as read so that it is
// written back unchanged. A JSON value that is not a string is kept as its
// JSON text; a member that a JSON line lacks stays absent.
struct ExtraCell {
    std::string text;
    bool json = false;
    bool present = true;

    friend bool operator==(const ExtraCell&, const ExtraCell&) = default;
};

// One column of a house as the list holds it: its name and its input cells
// as text, as read or as the calculator last set them. Holding the text
// rather than parsed values keeps a cell written in a spreadsheet ("L45x90",
// "TRUE") as it was, and keeps a cell that cannot be read, so that saving
// the list again loses nothing.
struct ColumnRow {
    std::string name;
    std::string pattern;
    std::string reversed;
    std::array<std::string, 4> bays; // by bay image tag - 1
    std::string rules;               // empty: the 2000 rules
    std::string h1;                  // metres, as typed
    std::string h2;
    std::vector<ExtraCell> extra; // aligned with the list's extra columns

    friend bool operator==(const ColumnRow&, const ColumnRow&) = default;
};

// What a row's cells give: the column when pattern, mirror and bays can be
// read; the result when the rules and heights can be used as well;
// otherwise the reason, naming the cell.
struct RowOutcome {
    bool columnRead = false;
    bool computed = false;
    ColumnInput column;
    CalcConditions conditions;
    ResultType result;
    std::string error;
};

RowOutcome evaluateRow(const ColumnRow& row);

// The bays of a table that the pattern, drawn or mirrored, reads; the
// others empty.
BayTable baysInUse(std::int32_t pattern, std::int32_t reversed, const BayTable& bays);

// Sets the pattern, mirror and bay cells to a column; the cells of bays
// the pattern does not read are emptied. Only cells whose meaning changes
// are rewritten, so the wording of the others survives.
void setRowColumn(ColumnRow& row, std::int32_t pattern, std::int32_t reversed,
                  const BayTable& bays);

// Sets the rules and height cells to conditions, in the same way. Heights
// of 0 leave their cells empty.
void setRowConditions(ColumnRow& row, const CalcConditions& conditions);

// A column's cells as the calculator holds it, for a new row.
ColumnRow rowOfColumn(std::string name, std::int32_t pattern, std::int32_t reversed,
                      const BayTable& bays, const CalcConditions& conditions = {});

} // namespace koruba::columns
