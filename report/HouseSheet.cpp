#include "report/HouseSheet.h"

#include "calc/HouseDerivation.h"
#include "report/HousePlanPages.h"

#include <algorithm>
#include <memory>

namespace koruba {

namespace {

HouseTable tableOf(const ColumnResult& column) {
    if (column.storey == 2) {
        return HouseTable::Upper;
    }
    return column.frame == HouseFrame::LowerStorey ? HouseTable::Lower : HouseTable::SingleStorey;
}

std::string nameCell(const House& house, const ColumnResult& column) {
    const std::string point = gridPointName(house, column.at);
    std::string text = point;
    if (column.name != point) {
        text += "\n" + column.name;
    }
    if (column.through) {
        text += "\n通し柱";
    }
    return text;
}

} // namespace

SheetDescription houseSheet(const House& house, const std::string& date) {
    SheetDescription sheet;
    sheet.project = house.project;
    sheet.designer = house.designer;
    sheet.date = date;
    sheet.rules = house.rules;
    sheet.house = true;
    std::vector<std::int32_t> numbers;
    for (const Storey& s : house.storeys) {
        numbers.push_back(s.number);
    }
    std::sort(numbers.rbegin(), numbers.rend());
    for (const std::int32_t n : numbers) {
        sheet.storeyLabels.push_back(storeyLabel(house, n));
    }
    std::vector<ColumnResult> columns = deriveHouse(house);
    sheet.leadingPages = housePlanPages(house, columns);
    for (ColumnResult& column : columns) {
        auto entry = std::make_shared<HouseSheetColumn>();
        entry->table = tableOf(column);
        entry->storey = storeyLabel(house, column.storey);
        SheetRow row;
        row.name = nameCell(house, column);
        row.conditions.rules = house.rules;
        row.result = column.result();
        entry->column = std::move(column);
        row.house = std::move(entry);
        sheet.rows.push_back(std::move(row));
    }
    return sheet;
}

} // namespace koruba
