#include "report/SheetRowBuilder.h"

#include "calc/PatternTable.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace koruba {

bool isSheetNameColumn(std::string_view columnName) {
    const std::size_t first = columnName.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return false;
    }
    columnName = columnName.substr(first, columnName.find_last_not_of(" \t") + 1 - first);
    constexpr std::string_view kName = "name";
    return std::equal(
        columnName.begin(), columnName.end(), kName.begin(), kName.end(),
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

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
