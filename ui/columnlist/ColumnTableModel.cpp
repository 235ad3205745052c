#include "ui/columnlist/ColumnTableModel.h"

#include "calc/LibCal_Nti.h"
#include "calc/NumberFormat.h"
#include "calc/ResultText.h"
#include "calc/RuleText.h"
#include "ui/calculator/Artwork.h"
#include "ui/columnlist/ColumnCommands.h"

#include <QColor>
#include <QFont>
#include <QUndoStack>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <utility>

namespace koruba {

namespace {

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const char* const kHeaders[ColumnTableModel::ColumnCount] = {
    "柱名",           "パターン", "反転",        "壁1",  "壁2",  "壁3",       "壁4", "規準",
    "階高 H1/H2 (m)", "N値",      "引抜力 (kN)", "記号", "金物", "耐力 (kN)", "状態"};

// What a screen reader says for a header: the abbreviated captions spelled
// out.
const char* const kHeaderDescriptions[ColumnTableModel::ColumnCount] = {"柱の名前",
                                                                        "軸組パターン",
                                                                        "軸組の反転",
                                                                        "壁1（左上）の筋かい・面材",
                                                                        "壁2（右上）の筋かい・面材",
                                                                        "壁3（左下）の筋かい・面材",
                                                                        "壁4（右下）の筋かい・面材",
                                                                        "計算規準",
                                                                        "階高",
                                                                        "N値",
                                                                        "引抜力",
                                                                        "接合部の記号",
                                                                        "接合金物",
                                                                        "接合耐力",
                                                                        "計算できない理由"};

} // namespace

QString jointClassSymbol(std::int32_t jointClass) {
    const std::optional<JointClassRow> row = jointClassRow(jointClass);
    return qText(row ? row->symbol : kNoClassText);
}

QString patternDescription(std::int32_t pattern) {
    const QString caption = artwork::patternCaptionLine(pattern);
    return caption.isEmpty() ? QString() : QString::number(pattern) + QLatin1Char(' ') + caption;
}

ColumnTableModel::ColumnTableModel(QUndoStack* undoStack, QObject* parent)
    : QAbstractTableModel(parent), undoStack_(undoStack) {}

void ColumnTableModel::resetList(columns::ColumnList list) {
    beginResetModel();
    columns_ = std::move(list.columns);
    heading_ = std::move(list.heading);
    rows_.clear();
    outcomes_.clear();
    for (columns::ColumnRow& row : list.rows) {
        outcomes_.push_back(columns::evaluateRow(row));
        rows_.push_back(StoredRow{std::move(row), nextId_++});
    }
    endResetModel();
}

columns::ColumnList ColumnTableModel::list() const {
    columns::ColumnList list;
    list.columns = columns_;
    list.heading = heading_;
    for (const StoredRow& stored : rows_) {
        list.rows.push_back(stored.row);
    }
    return list;
}

int ColumnTableModel::rowOfId(std::uint64_t id) const {
    const auto it = std::find_if(rows_.begin(), rows_.end(),
                                 [id](const StoredRow& stored) { return stored.id == id; });
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

ColumnTableModel::ClassCounts ColumnTableModel::classCounts() const {
    // Class 0 (N above the table) sorts after class 11.
    std::map<std::int32_t, int> byClass;
    ClassCounts counts;
    for (const columns::RowOutcome& outcome : outcomes_) {
        if (!outcome.computed) {
            ++counts.failed;
            continue;
        }
        const std::int32_t joint = outcome.result.JointClass;
        ++byClass[joint > 0 ? joint : JointClassCount + 1];
    }
    for (const auto& [key, count] : byClass) {
        counts.perClass.emplace_back(key > JointClassCount ? 0 : key, count);
    }
    return counts;
}

std::string ColumnTableModel::unusedName() const {
    std::set<std::string> names;
    for (const StoredRow& stored : rows_) {
        names.insert(stored.row.name);
    }
    for (std::size_t n = rows_.size() + 1;; ++n) {
        std::string name = "C" + std::to_string(n);
        if (names.count(name) == 0) {
            return name;
        }
    }
}

void ColumnTableModel::setEditedId(std::uint64_t id) {
    if (id == editedId_) {
        return;
    }
    const int before = rowOfId(editedId_);
    editedId_ = id;
    for (const int row : {before, rowOfId(id)}) {
        if (row >= 0) {
            emit dataChanged(index(row, 0), index(row, ColumnCount - 1), {Qt::FontRole});
        }
    }
}

void ColumnTableModel::insertStoredRows(int at, std::vector<StoredRow> rows) {
    if (rows.empty()) {
        return;
    }
    beginInsertRows({}, at, at + static_cast<int>(rows.size()) - 1);
    std::vector<columns::RowOutcome> outcomes;
    for (const StoredRow& stored : rows) {
        outcomes.push_back(columns::evaluateRow(stored.row));
    }
    rows_.insert(rows_.begin() + at, std::make_move_iterator(rows.begin()),
                 std::make_move_iterator(rows.end()));
    outcomes_.insert(outcomes_.begin() + at, std::make_move_iterator(outcomes.begin()),
                     std::make_move_iterator(outcomes.end()));
    endInsertRows();
}

std::vector<StoredRow> ColumnTableModel::takeRows(int at, int count) {
    beginRemoveRows({}, at, at + count - 1);
    const auto first = rows_.begin() + at;
    std::vector<StoredRow> taken(std::make_move_iterator(first),
                                 std::make_move_iterator(first + count));
    rows_.erase(first, first + count);
    outcomes_.erase(outcomes_.begin() + at, outcomes_.begin() + at + count);
    endRemoveRows();
    return taken;
}

void ColumnTableModel::moveStoredRow(int from, int to) {
    if (from == to) {
        return;
    }
    // Qt counts the destination before the move: one further down.
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    const auto f = static_cast<std::size_t>(from);
    const auto t = static_cast<std::size_t>(to);
    StoredRow row = std::move(rows_[f]);
    columns::RowOutcome outcome = std::move(outcomes_[f]);
    rows_.erase(rows_.begin() + from);
    outcomes_.erase(outcomes_.begin() + from);
    rows_.insert(rows_.begin() + static_cast<long>(t), std::move(row));
    outcomes_.insert(outcomes_.begin() + static_cast<long>(t), std::move(outcome));
    endMoveRows();
}

void ColumnTableModel::replaceRow(int row, columns::ColumnRow columnRow) {
    const auto r = static_cast<std::size_t>(row);
    rows_[r].row = std::move(columnRow);
    outcomes_[r] = columns::evaluateRow(rows_[r].row);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    emit rowReplaced(rows_[r].id);
}

int ColumnTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ColumnTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ColumnTableModel::displayText(int row, int column) const {
    const columns::ColumnRow& cells = columnRow(row);
    const columns::RowOutcome& out = outcome(row);
    const ResultType& r = out.result;
    switch (column) {
    case NameColumn:
        return qText(cells.name);
    case PatternColumn:
        if (out.columnRead) {
            return patternDescription(out.column.pattern);
        }
        return qText(cells.pattern);
    case MirroredColumn:
        if (out.columnRead) {
            return out.column.reversed != 0 ? QStringLiteral("反転") : QString();
        }
        return qText(cells.reversed);
    case Bay1Column:
    case Bay2Column:
    case Bay3Column:
    case Bay4Column:
        return qText(cells.bays[static_cast<std::size_t>(column - Bay1Column)]);
    case RulesColumn:
        return out.computed ? qText(ruleSetName(out.conditions.rules)) : qText(cells.rules);
    case HeightsColumn:
        if (cells.h1.empty() && cells.h2.empty()) {
            return {};
        }
        return qText(cells.h1) + QStringLiteral(" / ") + qText(cells.h2);
    case ProblemColumn:
        return qText(out.error);
    default:
        break;
    }
    if (!out.computed) {
        return {};
    }
    switch (column) {
    case NColumn:
        return qText(F2(r.NValue));
    case PullOutColumn:
        return qText(F2(r.PullOut));
    case SymbolColumn:
        return qText(r.JointSymbol);
    case HardwareColumn:
        return qText(r.JointName);
    case StrengthColumn:
        return qText(strengthValueText(r));
    default:
        return {};
    }
}

QVariant ColumnTableModel::sortValue(int row, int column) const {
    const columns::RowOutcome& out = outcome(row);
    // Rows without a result sort after every number.
    constexpr double kNoValue = 1e30;
    switch (column) {
    case NColumn:
        return out.computed ? double(out.result.NValue) : kNoValue;
    case PullOutColumn:
        return out.computed ? double(out.result.PullOut) : kNoValue;
    case SymbolColumn:
        return out.computed && out.result.JointClass > 0 ? out.result.JointClass : 1000;
    case StrengthColumn:
        return out.computed && out.result.JointClass > 0 ? double(out.result.JointStrength)
                                                         : kNoValue;
    case PatternColumn:
        return out.columnRead ? out.column.pattern : 1000;
    default:
        return displayText(row, column);
    }
}

QVariant ColumnTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const int row = index.row();
    const columns::RowOutcome& out = outcome(row);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return displayText(row, index.column());
    case Qt::AccessibleTextRole:
        // A cell read out alone still says which column it is.
        return QString::fromUtf8(kHeaderDescriptions[index.column()]) + QStringLiteral(": ") +
               displayText(row, index.column()).toString();
    case Qt::ToolTipRole: {
        // The whole text of a cell too narrow for it (a long name), and
        // why a row has no result.
        const QString text = displayText(row, index.column()).toString();
        if (out.error.empty() || index.column() == ProblemColumn) {
            return text.isEmpty() ? QVariant() : QVariant(text);
        }
        return text.isEmpty() ? qText(out.error) : text + QLatin1Char('\n') + qText(out.error);
    }
    case Qt::FontRole: {
        if (rows_[static_cast<std::size_t>(row)].id != editedId_) {
            return {};
        }
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::ForegroundRole:
        return out.error.empty() ? QVariant() : QVariant(QColor(Qt::darkRed));
    case Qt::BackgroundRole:
        return out.error.empty() ? QVariant() : QVariant(QColor(255, 235, 235));
    case Qt::TextAlignmentRole:
        if (index.column() >= NColumn && index.column() <= PullOutColumn) {
            return int(Qt::AlignRight | Qt::AlignVCenter);
        }
        return index.column() == StrengthColumn ? int(Qt::AlignRight | Qt::AlignVCenter)
                                                : QVariant();
    case SortRole:
        return sortValue(row, index.column());
    case ClassRole:
        return out.computed ? out.result.JointClass : -1;
    case PatternRole:
        return out.columnRead ? out.column.pattern : 0;
    case IdRole:
        return QVariant::fromValue(rows_[static_cast<std::size_t>(row)].id);
    default:
        return {};
    }
}

QVariant ColumnTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    }
    if (section < 0 || section >= ColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return QString::fromUtf8(kHeaders[section]);
    }
    if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) {
        return QString::fromUtf8(kHeaderDescriptions[section]);
    }
    return {};
}

Qt::ItemFlags ColumnTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == NameColumn) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool ColumnTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() != NameColumn) {
        return false;
    }
    columns::ColumnRow renamed = columnRow(index.row());
    const std::string name = value.toString().trimmed().toStdString();
    if (name.empty() || name == renamed.name) {
        return false;
    }
    renamed.name = name;
    undoStack_->push(
        new SetRowCommand(this, index.row(), std::move(renamed), QStringLiteral("名前の変更")));
    return true;
}

} // namespace koruba
