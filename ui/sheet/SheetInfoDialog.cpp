#include "ui/sheet/SheetInfoDialog.h"

#include "ui/services/RegistryRecord.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace koruba {

namespace {

const QString kSheetKeyPath = RegKeyPath + QStringLiteral("\\Sheet");

QString readValue(const QString& name) {
    QString value;
    RegStrIO(RegMode::Read, kSheetKeyPath, name, value);
    return value;
}

void writeValue(const QString& name, QString value) {
    RegStrIO(RegMode::Write, kSheetKeyPath, name, value);
}

} // namespace

SheetInfo SheetInfo::load() {
    return {readValue(QStringLiteral("Project")), readValue(QStringLiteral("Designer")),
            readValue(QStringLiteral("Column"))};
}

void SheetInfo::save() const {
    writeValue(QStringLiteral("Project"), project);
    writeValue(QStringLiteral("Designer"), designer);
    writeValue(QStringLiteral("Column"), column);
}

SheetInfoDialog::SheetInfoDialog(const SheetInfo& info, QWidget* parent, bool askColumn)
    : QDialog(parent), project_(new QLineEdit(info.project, this)),
      designer_(new QLineEdit(info.designer, this)), column_(new QLineEdit(info.column, this)) {
    setWindowTitle(QStringLiteral("計算書の記載事項"));
    project_->setObjectName(QStringLiteral("sheetProject"));
    designer_->setObjectName(QStringLiteral("sheetDesigner"));
    column_->setObjectName(QStringLiteral("sheetColumn"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("物件名(&P)："), project_);
    form->addRow(QStringLiteral("設計者(&D)："), designer_);
    form->addRow(QStringLiteral("柱名(&C)："), column_);
    form->setRowVisible(column_, askColumn);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    project_->setMinimumWidth(260);
}

SheetInfo SheetInfoDialog::info() const {
    return {project_->text().trimmed(), designer_->text().trimmed(), column_->text().trimmed()};
}

std::optional<SheetInfo> SheetInfoDialog::ask(QWidget* parent, const SheetInfo& info) {
    SheetInfoDialog dialog(info, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.info();
}

std::optional<SheetInfo> SheetInfoDialog::askHeading(QWidget* parent, const SheetInfo& info) {
    SheetInfoDialog dialog(info, parent, false);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.info();
}

} // namespace koruba
