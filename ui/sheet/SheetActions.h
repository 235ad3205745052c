#pragma once

#include "report/SheetDescription.h"
#include "ui/sheet/SheetInfoDialog.h"

#include <QObject>

#include <functional>
#include <optional>

class QAction;
class TMainF;

namespace koruba {

// The calculation sheet of the main window's current column: printing
// (Ctrl+P, Qt's print dialog), a print preview and saving as PDF. The
// actions are the window's own (QWidget::actions()), so that its context
// menu and its shortcuts reach them. Before each sheet the project,
// designer and column name are asked for, filled with the last answers.
class SheetActions : public QObject {
    Q_OBJECT

public:
    explicit SheetActions(TMainF& window);

    // The dialogs the actions open, replaceable so that tests can answer
    // them: the sheet's texts (nothing: cancelled) and the PDF's path
    // (empty: cancelled).
    std::function<std::optional<SheetInfo>(QWidget*, const SheetInfo&)> askInfo =
        &SheetInfoDialog::ask;
    std::function<QString(QWidget*, const QString&)> askPdfPath = &askPdfPathDialog;
    static QString askPdfPathDialog(QWidget* parent, const QString& suggestion);

    QAction* printAction() const { return print_; }
    QAction* previewAction() const { return preview_; }
    QAction* savePdfAction() const { return savePdf_; }

private:
    std::optional<SheetDescription> prepareSheet();
    void printSheet();
    void previewSheet();
    void savePdf();

    TMainF& window_;
    QAction* print_;
    QAction* preview_;
    QAction* savePdf_;
};

// What the sheet of the window's current column holds, today's date.
SheetDescription windowSheet(const TMainF& window, const SheetInfo& info);

// Adds the sheet's actions to the main window; they live as long as it.
SheetActions* installSheetActions(TMainF& window);

} // namespace koruba
