#pragma once

#include <QSortFilterProxyModel>

#include <cstdint>

namespace koruba {

// The column list as the window shows it: sorted by any column (numbers as
// numbers) and narrowed by a part of the name, a pattern and a hardware
// class. All filters empty shows every row. The row the calculator edits
// is always shown, so that an edit never hides the row it changes.
class ColumnFilterModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    // Class filters besides the class numbers 1..11 and 0 (N above the
    // hardware table).
    static constexpr int kAnyClass = -2;
    static constexpr int kFailedClass = -1;

    explicit ColumnFilterModel(QObject* parent = nullptr);

    void setNamePart(const QString& part);
    // 0 for every pattern.
    void setPattern(std::int32_t pattern);
    // A hardware class number, kFailedClass or kAnyClass.
    void setHardwareClass(int jointClass);
    // The row shown whatever the filters say (a ColumnTableModel::IdRole
    // value); 0 for none.
    void setShownId(std::uint64_t id);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString namePart_;
    std::int32_t pattern_ = 0;
    int class_ = kAnyClass;
    std::uint64_t shownId_ = 0;
};

} // namespace koruba
