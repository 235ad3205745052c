#pragma once

#include "columns/ColumnList.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <utility>
#include <vector>

class QUndoStack;

namespace koruba {

// A row of the list with the identity that undo commands and the link to
// the calculator follow while rows move.
struct StoredRow {
    columns::ColumnRow row;
    std::uint64_t id = 0;
};

// The column list as a table: one row per column, the input cells and the
// results side by side. It owns the list and each row's outcome, computed
// again whenever the row changes. Changes come only through the undo
// commands; an edit typed into a cell is turned into one.
class ColumnTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        NameColumn,
        PatternColumn,
        MirroredColumn,
        Bay1Column,
        Bay2Column,
        Bay3Column,
        Bay4Column,
        RulesColumn,
        HeightsColumn,
        NColumn,
        PullOutColumn,
        SymbolColumn,
        HardwareColumn,
        StrengthColumn,
        ProblemColumn,
        ColumnCount
    };
    enum Role {
        // Numbers sort as numbers, rows without a result last.
        SortRole = Qt::UserRole + 1,
        // The hardware class: 1..11, 0 above the table, -1 without a result.
        ClassRole,
        PatternRole,
        // The row's identity (StoredRow::id).
        IdRole,
    };

    explicit ColumnTableModel(QUndoStack* undoStack, QObject* parent = nullptr);

    // Replaces the whole list (a file opened, a new list); not undoable.
    void resetList(columns::ColumnList list);
    columns::ColumnList list() const;
    const std::vector<std::string>& fileColumns() const { return columns_; }
    const columns::ListHeading& heading() const { return heading_; }

    const columns::ColumnRow& columnRow(int row) const {
        return rows_[static_cast<std::size_t>(row)].row;
    }
    const columns::RowOutcome& outcome(int row) const {
        return outcomes_[static_cast<std::size_t>(row)];
    }
    std::uint64_t rowId(int row) const { return rows_[static_cast<std::size_t>(row)].id; }
    int rowOfId(std::uint64_t id) const;
    std::uint64_t newRowId() { return nextId_++; }
    // How many rows have each hardware class, in the order of the class
    // table (N above the table last), and how many have no result.
    struct ClassCounts {
        std::vector<std::pair<std::int32_t, int>> perClass;
        int failed = 0;
    };
    ClassCounts classCounts() const;
    // A name no row has yet: "C1", "C2", ...
    std::string unusedName() const;
    // The row the calculator edits, shown in bold; 0 for none.
    void setEditedId(std::uint64_t id);

    // The changes the undo commands make.
    void insertStoredRows(int at, std::vector<StoredRow> rows);
    std::vector<StoredRow> takeRows(int at, int count);
    void moveStoredRow(int from, int to);
    void replaceRow(int row, columns::ColumnRow columnRow);
    void setHeading(columns::ListHeading heading) { heading_ = std::move(heading); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // After a row's cells changed (not after insertions or removals).
    void rowReplaced(std::uint64_t id);

private:
    QVariant displayText(int row, int column) const;
    QVariant sortValue(int row, int column) const;

    QUndoStack* undoStack_;
    std::vector<std::string> columns_;
    columns::ListHeading heading_;
    std::vector<StoredRow> rows_;
    std::vector<columns::RowOutcome> outcomes_;
    std::uint64_t nextId_ = 1;
    std::uint64_t editedId_ = 0;
};

// The pattern with its description, as the tool bar's picture names it:
// "21 ２階または１階 下屋の出隅".
QString patternDescription(std::int32_t pattern);

// The symbol of a hardware class 1..11 ("(ほ)"), from the core's table;
// kNoClassText for any other class, as the result box writes N above the table.
QString jointClassSymbol(std::int32_t jointClass);

} // namespace koruba
