#pragma once

#include "ui/columnlist/ColumnTableModel.h"

#include <QUndoCommand>

#include <vector>

namespace koruba {

// The undoable changes of a column list. Each works on the model's rows by
// position; as every change goes through the stack, positions at undo time
// are those at redo time.

// Adds rows at a position (add, duplicate).
class InsertRowsCommand : public QUndoCommand {
public:
    InsertRowsCommand(ColumnTableModel* model, int at, std::vector<StoredRow> rows,
                      const QString& text);
    void undo() override;
    void redo() override;

private:
    ColumnTableModel* model_;
    int at_;
    std::vector<StoredRow> rows_;
};

// Removes rows, given in any order.
class RemoveRowsCommand : public QUndoCommand {
public:
    RemoveRowsCommand(ColumnTableModel* model, std::vector<int> rows, const QString& text);
    void undo() override;
    void redo() override;

private:
    ColumnTableModel* model_;
    std::vector<int> positions_; // ascending
    std::vector<StoredRow> removed_;
};

class MoveRowCommand : public QUndoCommand {
public:
    MoveRowCommand(ColumnTableModel* model, int from, int to, const QString& text);
    void undo() override;
    void redo() override;

private:
    ColumnTableModel* model_;
    int from_;
    int to_;
};

// Replaces a row's cells (rename, an edit made in the calculator).
class SetRowCommand : public QUndoCommand {
public:
    SetRowCommand(ColumnTableModel* model, int row, columns::ColumnRow after, const QString& text);
    void undo() override;
    void redo() override;

private:
    ColumnTableModel* model_;
    int row_;
    columns::ColumnRow before_;
    columns::ColumnRow after_;
};

// Sets what heads the list's sheet.
class SetHeadingCommand : public QUndoCommand {
public:
    SetHeadingCommand(ColumnTableModel* model, columns::ListHeading after, const QString& text);
    void undo() override;
    void redo() override;

private:
    ColumnTableModel* model_;
    columns::ListHeading before_;
    columns::ListHeading after_;
};

} // namespace koruba
