#include "ui/columnlist/ColumnCommands.h"

#include <algorithm>
#include <utility>

namespace koruba {

InsertRowsCommand::InsertRowsCommand(ColumnTableModel* model, int at, std::vector<StoredRow> rows,
                                     const QString& text)
    : QUndoCommand(text), model_(model), at_(at), rows_(std::move(rows)) {}

void InsertRowsCommand::redo() {
    model_->insertStoredRows(at_, rows_);
}

void InsertRowsCommand::undo() {
    model_->takeRows(at_, static_cast<int>(rows_.size()));
}

RemoveRowsCommand::RemoveRowsCommand(ColumnTableModel* model, std::vector<int> rows,
                                     const QString& text)
    : QUndoCommand(text), model_(model), positions_(std::move(rows)) {
    std::sort(positions_.begin(), positions_.end());
    positions_.erase(std::unique(positions_.begin(), positions_.end()), positions_.end());
}

void RemoveRowsCommand::redo() {
    removed_.clear();
    // From the last, so that the positions before it stay valid.
    for (auto it = positions_.rbegin(); it != positions_.rend(); ++it) {
        std::vector<StoredRow> taken = model_->takeRows(*it, 1);
        removed_.insert(removed_.begin(), std::move(taken.front()));
    }
}

void RemoveRowsCommand::undo() {
    for (std::size_t i = 0; i < positions_.size(); ++i) {
        model_->insertStoredRows(positions_[i], {removed_[i]});
    }
}

MoveRowCommand::MoveRowCommand(ColumnTableModel* model, int from, int to, const QString& text)
    : QUndoCommand(text), model_(model), from_(from), to_(to) {}

void MoveRowCommand::redo() {
    model_->moveStoredRow(from_, to_);
}

void MoveRowCommand::undo() {
    model_->moveStoredRow(to_, from_);
}

SetRowCommand::SetRowCommand(ColumnTableModel* model, int row, columns::ColumnRow after,
                             const QString& text)
    : QUndoCommand(text), model_(model), row_(row), before_(model->columnRow(row)),
      after_(std::move(after)) {}

void SetRowCommand::redo() {
    model_->replaceRow(row_, after_);
}

void SetRowCommand::undo() {
    model_->replaceRow(row_, before_);
}

SetHeadingCommand::SetHeadingCommand(ColumnTableModel* model, columns::ListHeading after,
                                     const QString& text)
    : QUndoCommand(text), model_(model), before_(model->heading()), after_(std::move(after)) {}

void SetHeadingCommand::redo() {
    model_->setHeading(after_);
}

void SetHeadingCommand::undo() {
    model_->setHeading(before_);
}

} // namespace koruba
