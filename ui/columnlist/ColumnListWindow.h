#pragma once

#include "columns/ColumnList.h"
#include "report/SheetDescription.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
class QUndoStack;
class TMainF;

namespace koruba {

class ColumnFileWatch;
class ColumnFilterModel;
class RecentFilesMenu;
class ColumnTableModel;

// The column list (柱リスト): the columns of a house in a table, with the
// main calculator as the editor of one row. The calculator edits exactly
// the row its title and the list's status bar name, shown in bold and
// never hidden by a filter; choosing, adding or duplicating a row makes it
// that row. Files are the batch tool's CSV and JSON Lines; every change is
// undoable. The window wires: each handler pushes a command, opens or
// saves a file, or moves a row into the calculator.
class ColumnListWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit ColumnListWindow(TMainF* calculator, QWidget* parent = nullptr);
    ~ColumnListWindow() override;

    // Opens a list file in place of the current list; false (and the list
    // unchanged) when it cannot be read, after saying why.
    bool openFile(const QString& path);
    // Saves to the path in the format its name says; false (and the list
    // kept, still marked as changed, the old file whole) when it cannot be
    // written, after saying why. Over the list's own file that another
    // program changed since, it first asks (setChangedFileQuestion).
    bool saveFile(const QString& path);
    // The calculation sheet of the whole list as a PDF file; false after
    // saying why when it cannot be written.
    bool exportPdf(const QString& path);
    // The list with its results, as the batch tool writes them, in a CSV
    // file for a spreadsheet; false after saying why when it cannot be
    // written.
    bool exportResults(const QString& path);

    // Turns a house file into a new, unsaved list (after the current
    // list's unsaved-changes question); false and the list unchanged when
    // the file cannot be read, after saying why.
    bool expandHouse(const QString& path);

    // Puts the window beside another (the calculator), on the side with
    // more room on its screen, narrower when the screen is small; moves the
    // other to an edge of a screen too small for both otherwise.
    void placeBeside(QWidget& other);

    // Appends the calculator's column as a new row and makes it the row
    // the calculator edits.
    void addCalculatorColumn();
    // Moves a row (of the model) into the calculator; false when its cells
    // cannot be read, after saying why.
    bool editInCalculator(int row);

    bool isModified() const;
    QString filePath() const { return path_; }
    ColumnTableModel* tableModel() const { return model_; }
    QTableView* tableView() const { return table_; }
    QUndoStack* undoStack() const { return undoStack_; }
    // The model row the calculator edits, -1 when none.
    int linkedRow() const;

    // How errors and questions reach the user; replaceable so that tests
    // can answer them. The question answers Save, Discard or Cancel.
    using ErrorReport = std::function<void(const QString& message)>;
    using UnsavedQuestion = std::function<int()>;
    void setErrorReport(ErrorReport report) { reportError_ = std::move(report); }
    void setUnsavedQuestion(UnsavedQuestion ask) { askUnsaved_ = std::move(ask); }
    // Asked before a save would overwrite the list's file that another
    // program changed after the list read it.
    enum ChangedFileAnswer { ReloadFile, OverwriteFile, SaveElsewhere, KeepFile };
    using ChangedFileQuestion = std::function<ChangedFileAnswer(const QString& path)>;
    void setChangedFileQuestion(ChangedFileQuestion ask) { askChangedFile_ = std::move(ask); }
    // Asks for the project and designer of the list's sheet, filled with
    // a suggestion; nothing when the user cancels.
    using HeadingQuestion =
        std::function<std::optional<columns::ListHeading>(const columns::ListHeading& suggested)>;
    void setHeadingQuestion(HeadingQuestion ask) { askHeading_ = std::move(ask); }
    // Asks for the house file to expand; empty when the user cancels.
    using HouseFileQuestion = std::function<QString()>;
    void setHouseFileQuestion(HouseFileQuestion ask) { askHouseFile_ = std::move(ask); }

    // Asks about unsaved changes; true when the list may be discarded.
    bool maybeSave();
    // Ends the list without asking (the user has answered already, as the
    // calculator closes): emptied and hidden.
    void discardAndHide();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildTable();
    void buildFileMenu();
    void buildEditMenu();
    void buildFilterBar();
    void connectModels();
    template <class Handler>
    QAction* makeAction(QMenu* menu, const char* name, const QString& text,
                        const QList<QKeySequence>& keys, Handler handler);

    void newList();
    void endList();
    void openDialog();
    void expandHouseDialog();
    bool save();
    bool saveAsDialog();
    void exportPdfDialog();
    void exportResultsDialog();
    void printSheet();
    void printPreview();
    bool ensureHeading();
    bool editHeading();
    SheetDescription listSheet() const;
    void copyRows();
    void duplicateRows();
    void deleteRows();
    void renameRow();
    void moveUp();
    void moveDown();
    void editCurrent();
    void moveCurrent(int step);
    void onCalculatorShown();
    void onCalculatorConditions();
    void showRowInCalculator(int row);
    void onRowReplaced(std::uint64_t id);
    void followSelection();
    void linkRow(int row);
    void updateEdited();
    void keepEditedVisible();
    void fitColumns();
    void updateStatus();
    void updateTitle();
    void updateMoveActions();
    void clearSort();
    std::vector<int> selectedRows() const;
    int currentRow() const;
    void selectOnly(int row);

    QPointer<TMainF> calculator_;
    QUndoStack* undoStack_;
    ColumnTableModel* model_;
    ColumnFilterModel* filter_;
    QTableView* table_ = nullptr;
    QLineEdit* nameFilter_ = nullptr;
    QComboBox* patternFilter_ = nullptr;
    QComboBox* classFilter_ = nullptr;
    QLabel* editedLabel_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QAction* moveUp_ = nullptr;
    QAction* moveDown_ = nullptr;
    RecentFilesMenu* recentMenu_ = nullptr;
    std::uint64_t linkedId_ = 0;
    // Why the chosen row is not the one edited (its cells cannot be read).
    QString unlinkedReason_;
    // A row is being shown in the calculator: what it raises is no edit.
    bool loading_ = false;
    QString path_;
    ErrorReport reportError_;
    UnsavedQuestion askUnsaved_;
    ChangedFileQuestion askChangedFile_;
    HeadingQuestion askHeading_;
    HouseFileQuestion askHouseFile_;
    ColumnFileWatch* fileWatch_;
};

} // namespace koruba
