#include "ui/ColumnListSheet.h"

#include "ui/ColumnTableModel.h"

#include <utility>

namespace koruba {

SheetDescription sheetOfList(const ColumnTableModel& model, std::string project, std::string date) {
    SheetDescription sheet;
    sheet.project = std::move(project);
    sheet.date = std::move(date);
    for (int row = 0; row < model.rowCount(); ++row) {
        const columns::RowOutcome& outcome = model.outcome(row);
        SheetRow sheetRow;
        sheetRow.name = model.columnRow(row).name;
        // A row whose pattern was read stands in its storey's table even
        // when a later cell failed.
        sheetRow.patternTag = outcome.column.Pattern;
        sheetRow.reversed = outcome.column.Reversed;
        if (outcome.columnRead) {
            sheetRow.bays = columns::BayTableOf(outcome.column);
        }
        sheetRow.conditions = outcome.conditions;
        if (outcome.computed) {
            sheetRow.result = outcome.result;
        } else {
            sheetRow.error = outcome.error;
        }
        sheet.rows.push_back(std::move(sheetRow));
    }
    return sheet;
}

} // namespace koruba
