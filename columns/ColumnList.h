#pragma once

#include "columns/ColumnFileFormat.h"
#include "columns/ColumnRow.h"

#include <string>
#include <string_view>
#include <vector>

namespace koruba::columns {

// What heads the list's calculation sheet. A list file keeps it in the
// columns (JSON members) project and designer of its first row, which the
// batch tool's sheet reads too; empty when never given.
struct ListHeading {
    std::string project;
    std::string designer;

    bool empty() const { return project.empty() && designer.empty(); }
    friend bool operator==(const ListHeading&, const ListHeading&) = default;
};

// The columns of a house in their order, with the file's columns in file
// order (names as written there), so that a list read and written again
// keeps its shape. A new list starts with the batch tool's input columns.
struct ColumnList {
    std::vector<std::string> columns;
    std::vector<ColumnRow> rows;
    ListHeading heading;

    // The columns the list does not know, in file order; each row's extra
    // cells follow this order.
    std::vector<std::string> extraColumns() const;

    friend bool operator==(const ColumnList&, const ColumnList&) = default;
};

// Reads a list file. A file whose header lacks one of the batch tool's
// input columns, names a column twice, gives two different projects or
// designers, or cannot be split into records is refused with the reason; cells that cannot be read
// are kept in their rows, which then say why they have no result.
bool readColumnList(std::string_view bytes, ColumnFileFormat format, ColumnList& list,
                    std::string& error);

// The list in the batch tool's input format: CSV in UTF-8 with a byte order
// mark and CRLF line ends, or one JSON object per line. A file written
// here reads back to the same list and writes again to the same bytes.
std::string writeColumnList(const ColumnList& list, ColumnFileFormat format);

} // namespace koruba::columns
