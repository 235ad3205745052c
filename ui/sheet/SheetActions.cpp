#include "ui/sheet/SheetActions.h"

#include "report/SheetDate.h"
#include "report/SheetPainter.h"
#include "report/SheetPdf.h"
#include "report/SheetRowBuilder.h"
#include "ui/calculator/MainForm.h"
#include "ui/services/RegistryRecord.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace koruba {

namespace {

// The rules and storey heights the window computes under.
CalcConditions windowConditions(const TMainF& window) {
    return window.conditions();
}

} // namespace

SheetDescription windowSheet(const TMainF& window, const SheetInfo& info) {
    SheetDescription sheet;
    sheet.project = info.project.toStdString();
    sheet.designer = info.designer.toStdString();
    sheet.date = todaysSheetDate();
    ColumnOnSheet column;
    column.nameCell = info.column.toStdString();
    column.pattern = window.Model().PatternTag();
    column.reversed = window.Model().PatternReversed();
    column.bays = window.Model().Bays();
    column.conditions = windowConditions(window);
    column.result = window.Result();
    SheetRow row = sheetRowOf(std::move(column));
    sheet.rules = row.conditions.rules;
    sheet.rows.push_back(std::move(row));
    return sheet;
}

SheetActions::SheetActions(TMainF& window)
    : QObject(&window), window_(window),
      print_(new QAction(QStringLiteral("計算書を印刷(&P)…"), &window)),
      preview_(new QAction(QStringLiteral("計算書の印刷プレビュー(&V)…"), &window)),
      savePdf_(new QAction(QStringLiteral("計算書をPDFに保存(&S)…"), &window)) {
    print_->setObjectName(QStringLiteral("actPrintSheet"));
    preview_->setObjectName(QStringLiteral("actPreviewSheet"));
    savePdf_->setObjectName(QStringLiteral("actSaveSheetPdf"));
    print_->setShortcut(QKeySequence::Print);
    // The window has no menu bar: its own actions take their shortcuts
    // while it is active.
    for (QAction* action : {print_, preview_, savePdf_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window.addAction(action);
    }
    connect(print_, &QAction::triggered, this, &SheetActions::printSheet);
    connect(preview_, &QAction::triggered, this, &SheetActions::previewSheet);
    connect(savePdf_, &QAction::triggered, this, &SheetActions::savePdf);
}

QString SheetActions::askPdfPathDialog(QWidget* parent, const QString& suggestion) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("計算書をPDFに保存"), suggestion,
                                        QStringLiteral("PDF (*.pdf)"));
}

std::optional<SheetDescription> SheetActions::prepareSheet() {
    if (window_.Model().PatternTag() == 0) {
        QMessageBox::information(
            &window_, window_.windowTitle(),
            QStringLiteral("軸組パターンを選んでから計算書を作成してください。"));
        return std::nullopt;
    }
    const std::optional<SheetInfo> info = askInfo(&window_, SheetInfo::load());
    if (!info) {
        return std::nullopt;
    }
    try {
        info->save();
    } catch (const ERegistryException& error) {
        // The sheet can still be made; only the answers are not kept.
        QMessageBox::warning(&window_, window_.windowTitle(), error.Message());
    }
    return windowSheet(window_, *info);
}

void SheetActions::printSheet() {
    const std::optional<SheetDescription> sheet = prepareSheet();
    if (!sheet) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(sheetPageLayout());
    QPrintDialog dialog(&printer, &window_);
    if (dialog.exec() == QDialog::Accepted && paintSheet(printer, *sheet) == 0) {
        QMessageBox::warning(&window_, window_.windowTitle(),
                             QStringLiteral("計算書を印刷できませんでした。"));
    }
}

void SheetActions::previewSheet() {
    const std::optional<SheetDescription> sheet = prepareSheet();
    if (!sheet) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(sheetPageLayout());
    QPrintPreviewDialog dialog(&printer, &window_);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [&sheet](QPrinter* target) { paintSheet(*target, *sheet); });
    dialog.exec();
}

void SheetActions::savePdf() {
    const std::optional<SheetDescription> sheet = prepareSheet();
    if (!sheet) {
        return;
    }
    const QString name = sheet->rows.front().name.empty()
                             ? QStringLiteral("N値計算書.pdf")
                             : QStringLiteral("N値計算書_%1.pdf")
                                   .arg(QString::fromStdString(sheet->rows.front().name));
    const QString path = askPdfPath(&window_, QDir::home().filePath(name));
    if (path.isEmpty()) {
        return;
    }
    QString error;
    if (!writeSheetPdf(path, *sheet, error)) {
        QMessageBox::warning(&window_, window_.windowTitle(), error);
    }
}

SheetActions* installSheetActions(TMainF& window) {
    return new SheetActions(window);
}

} // namespace koruba
