#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QLineEdit;

namespace koruba {

// What a printed sheet says besides the column: the project, the designer
// and the column's name. Remembered between runs in the settings store,
// in a group of its own beside the program's record.
struct SheetInfo {
    QString project;
    QString designer;
    QString column;

    static SheetInfo load();
    // Throws ERegistryException when the store cannot take a value.
    void save() const;
};

// Asks for the three texts in one small dialog, filled with the last ones.
class SheetInfoDialog : public QDialog {
    Q_OBJECT

public:
    // Without askColumn the column's name is not asked (a list's sheet
    // names every column).
    SheetInfoDialog(const SheetInfo& info, QWidget* parent = nullptr, bool askColumn = true);
    SheetInfo info() const;

    // The dialog, run modally; nothing when the user cancels.
    static std::optional<SheetInfo> ask(QWidget* parent, const SheetInfo& info);
    // The same for the project and designer alone.
    static std::optional<SheetInfo> askHeading(QWidget* parent, const SheetInfo& info);

private:
    QLineEdit* project_;
    QLineEdit* designer_;
    QLineEdit* column_;
};

} // namespace koruba
