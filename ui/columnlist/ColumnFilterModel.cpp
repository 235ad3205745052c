#include "ui/columnlist/ColumnFilterModel.h"

#include "ui/columnlist/ColumnTableModel.h"

namespace koruba {

ColumnFilterModel::ColumnFilterModel(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(ColumnTableModel::SortRole);
    setSortLocaleAware(true);
}

void ColumnFilterModel::setNamePart(const QString& part) {
    namePart_ = part;
    invalidateRowsFilter();
}

void ColumnFilterModel::setPattern(std::int32_t pattern) {
    pattern_ = pattern;
    invalidateRowsFilter();
}

void ColumnFilterModel::setHardwareClass(int jointClass) {
    class_ = jointClass;
    invalidateRowsFilter();
}

void ColumnFilterModel::setShownId(std::uint64_t id) {
    if (id != shownId_) {
        shownId_ = id;
        invalidateRowsFilter();
    }
}

bool ColumnFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const QAbstractItemModel* source = sourceModel();
    const QModelIndex name = source->index(sourceRow, ColumnTableModel::NameColumn, sourceParent);
    if (shownId_ != 0 && name.data(ColumnTableModel::IdRole).toULongLong() == shownId_) {
        return true;
    }
    if (!namePart_.isEmpty() &&
        !name.data(Qt::DisplayRole).toString().contains(namePart_, Qt::CaseInsensitive)) {
        return false;
    }
    if (pattern_ != 0 && name.data(ColumnTableModel::PatternRole).toInt() != pattern_) {
        return false;
    }
    return class_ == kAnyClass || name.data(ColumnTableModel::ClassRole).toInt() == class_;
}

} // namespace koruba
