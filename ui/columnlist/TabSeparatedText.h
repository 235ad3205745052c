#pragma once

#include <QString>

#include <vector>

class QAbstractItemModel;

namespace koruba {

// Rows of a table as the clipboard text spreadsheets paste as cells: the
// header line, then one line per row, cells separated by tabs. A cell that
// holds a tab, a line break or a quote is put in quotes with its quotes
// doubled, as Excel and LibreOffice read it.
QString tabSeparatedText(const QAbstractItemModel& model, const std::vector<int>& rows);

} // namespace koruba
