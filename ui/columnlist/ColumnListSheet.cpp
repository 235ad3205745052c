#include "ui/columnlist/ColumnListSheet.h"

#include "columns/FieldNames.h"
#include "columns/RecordReader.h"
#include "report/SheetDate.h"
#include "report/SheetRowBuilder.h"
#include "ui/columnlist/ColumnTableModel.h"

#include <utility>

namespace koruba {

namespace {

// Where the list keeps the cells that name its rows on the sheet: the
// positions, among each row's extra cells, of the file's name columns.
std::vector<std::size_t> nameCellsOf(const ColumnTableModel& model) {
    columns::ColumnList list;
    list.columns = model.fileColumns();
    const std::vector<std::string> extra = list.extraColumns();
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < extra.size(); ++i) {
        if (columns::normalColumnName(extra[i]) == columns::kNameField) {
            at.push_back(i);
        }
    }
    return at;
}

std::string nameCellOf(const columns::ColumnRow& row, const std::vector<std::size_t>& nameCells) {
    for (const std::size_t i : nameCells) {
        if (i < row.extra.size() && row.extra[i].present && !row.extra[i].text.empty()) {
            return row.extra[i].text;
        }
    }
    return {};
}

} // namespace

SheetDescription sheetOfList(const ColumnTableModel& model) {
    SheetDescription sheet;
    sheet.project = model.heading().project;
    sheet.designer = model.heading().designer;
    sheet.date = todaysSheetDate();
    const std::vector<std::size_t> nameCells = nameCellsOf(model);
    for (int row = 0; row < model.rowCount(); ++row) {
        const columns::RowOutcome& outcome = model.outcome(row);
        const columns::ColumnRow& cells = model.columnRow(row);
        // A row whose pattern was read stands in its storey's table even
        // when a later cell failed.
        ColumnOnSheet column;
        column.nameCell = nameCellOf(cells, nameCells);
        column.id = cells.name;
        column.pattern = outcome.column.pattern;
        column.reversed = outcome.column.reversed;
        column.conditions = outcome.conditions;
        if (outcome.columnRead) {
            column.bays = columns::bayTableOf(outcome.column);
        }
        if (outcome.computed) {
            column.result = outcome.result;
        } else {
            column.error = outcome.error;
        }
        sheet.rows.push_back(sheetRowOf(std::move(column)));
    }
    return sheet;
}

} // namespace koruba
