#include "report/SheetRowBuilder.h"

#include "calc/PatternTable.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace koruba {

std::string sheetRowName(std::string_view nameCell, std::string_view id, std::int64_t firstLine) {
    if (!nameCell.empty()) {
        return std::string(nameCell);
    }
    if (!id.empty()) {
        return std::string(id);
    }
    return firstLine > 0 ? "line " + std::to_string(firstLine) : std::string();
}

SheetRow sheetRowOf(ColumnOnSheet column) {
    SheetRow row;
    row.name = sheetRowName(column.nameCell, column.id, column.firstLine);
    row.patternTag = IsPatternTag(column.pattern) ? column.pattern : 0;
    row.reversed = column.reversed;
    if (column.bays) {
        row.bays = *column.bays;
    }
    row.conditions = column.conditions;
    if (column.result) {
        row.result = column.result;
    } else {
        row.error = std::move(column.error);
    }
    return row;
}

} // namespace koruba
