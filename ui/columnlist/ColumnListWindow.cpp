#include "ui/columnlist/ColumnListWindow.h"

#include "ui/calculator/CompanionLink.h"

#include "calc/LibCal_Nti.h"
#include "calc/PatternTable.h"
#include "columns/BatchRun.h"
#include "columns/HouseFile.h"
#include "columns/HouseList.h"
#include "report/SheetPainter.h"
#include "report/SheetPdf.h"
#include "report/WholeFileSave.h"
#include "ui/calculator/MainForm.h"
#include "ui/columnlist/ColumnCommands.h"
#include "ui/columnlist/ColumnFileWatch.h"
#include "ui/columnlist/ColumnFilterModel.h"
#include "ui/columnlist/ColumnListSheet.h"
#include "ui/columnlist/ColumnTableModel.h"
#include "ui/columnlist/RecentFilesMenu.h"
#include "ui/columnlist/TabSeparatedText.h"
#include "ui/services/ConditionsRecord.h"
#include "ui/sheet/SheetInfoDialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QUndoStack>
#include <QWindow>

#include <algorithm>

namespace koruba {

namespace {

const QString kFileFilter =
    QStringLiteral("柱リスト (*.csv *.jsonl *.json);;CSV (*.csv);;JSON Lines (*.jsonl *.json)");
const QString kTitle = QStringLiteral("柱リスト");

int askUnsavedBox(QWidget* parent, const QString& path) {
    const QString name =
        path.isEmpty() ? QStringLiteral("無題の柱リスト") : QFileInfo(path).fileName();
    return QMessageBox::question(
        parent, kTitle, QStringLiteral("%1 の変更を保存しますか？").arg(name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
}

ColumnListWindow::ChangedFileAnswer askChangedFileBox(QWidget* parent, const QString& path) {
    QMessageBox box(QMessageBox::Warning, kTitle,
                    QStringLiteral("%1 は、開いた後にほかのプログラムで変更されています。\n"
                                   "上書きするとその変更は失われます。再読み込みすると"
                                   "この柱リストでの変更が失われます。")
                        .arg(path),
                    QMessageBox::NoButton, parent);
    QPushButton* reload = box.addButton(QStringLiteral("再読み込み"), QMessageBox::DestructiveRole);
    QPushButton* overwrite = box.addButton(QStringLiteral("上書き保存"), QMessageBox::AcceptRole);
    QPushButton* elsewhere =
        box.addButton(QStringLiteral("別の名前で保存..."), QMessageBox::ActionRole);
    QPushButton* keep = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(elsewhere);
    box.setEscapeButton(keep);
    box.exec();
    const QAbstractButton* chosen = box.clickedButton();
    return chosen == reload      ? ColumnListWindow::ReloadFile
           : chosen == overwrite ? ColumnListWindow::OverwriteFile
           : chosen == elsewhere ? ColumnListWindow::SaveElsewhere
                                 : ColumnListWindow::KeepFile;
}

// A name column as wide as a long name would push the results out of
// sight; such a name shows whole in its tooltip.
constexpr int kNameColumnEms = 16;
// Narrower than this, a list beside the calculator shows too little.
constexpr int kMinimumWidthBeside = 400;
const QSize kPreferredSize(1180, 640);

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

ColumnListWindow::ColumnListWindow(TMainF* calculator, QWidget* parent)
    : QMainWindow(parent), calculator_(calculator), undoStack_(new QUndoStack(this)),
      model_(new ColumnTableModel(undoStack_, this)), filter_(new ColumnFilterModel(this)),
      reportError_([this](const QString& message) { QMessageBox::warning(this, kTitle, message); }),
      askUnsaved_([this] { return askUnsavedBox(this, path_); }),
      askChangedFile_([this](const QString& path) { return askChangedFileBox(this, path); }),
      askHeading_([this](const columns::ListHeading& suggested)
                      -> std::optional<columns::ListHeading> {
          const auto given =
              SheetInfoDialog::askHeading(this, {QString::fromStdString(suggested.project),
                                                 QString::fromStdString(suggested.designer),
                                                 {}});
          if (!given) {
              return std::nullopt;
          }
          return columns::ListHeading{given->project.toStdString(), given->designer.toStdString()};
      }),
      askHouseFile_([this] {
          return QFileDialog::getOpenFileName(this, QStringLiteral("住宅ファイルを柱リストに展開"),
                                              QFileInfo(path_).path(),
                                              QStringLiteral("住宅ファイル (*.kxhouse)"));
      }),
      fileWatch_(new ColumnFileWatch(this)) {
    setObjectName(QStringLiteral("ColumnListWindow"));
    setAttribute(Qt::WA_QuitOnClose, false);
    filter_->setSourceModel(model_);
    buildTable();
    buildFileMenu();
    buildEditMenu();
    buildFilterBar();
    editedLabel_ = new QLabel(this);
    editedLabel_->setObjectName(QStringLiteral("editedLabel"));
    editedLabel_->setAccessibleName(QStringLiteral("計算画面で編集中の柱"));
    statusBar()->addPermanentWidget(editedLabel_);
    // The counts give way to a passing message (where a file went); the
    // edited row stays named.
    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("countLabel"));
    countLabel_->setAccessibleName(QStringLiteral("柱の数"));
    statusBar()->addWidget(countLabel_, 1);
    resize(kPreferredSize);

    connectModels();
    connect(fileWatch_, &ColumnFileWatch::changed, this, [this](const QString& path) {
        statusBar()->showMessage(
            QStringLiteral("%1 がほかのプログラムで変更されました（保存の前に確かめます）")
                .arg(path));
    });
    if (calculator_) {
        connect(calculator_, &TMainF::resultShown, this, &ColumnListWindow::onCalculatorShown);
        // A column shown from elsewhere is not this list's row.
        connect(calculator_, &TMainF::showingForeignColumn, this, [this] { linkRow(-1); });
        connect(calculator_, &TMainF::conditionsChanged, this,
                &ColumnListWindow::onCalculatorConditions);
    }
    newList();
}

// Counts, column widths and the edited row follow every change of the
// rows, whichever way it came.
void ColumnListWindow::connectModels() {
    connect(undoStack_, &QUndoStack::cleanChanged, this, &ColumnListWindow::updateTitle);
    connect(model_, &ColumnTableModel::rowReplaced, this, &ColumnListWindow::onRowReplaced);
    connect(filter_, &QAbstractItemModel::rowsInserted, this, &ColumnListWindow::updateStatus);
    connect(filter_, &QAbstractItemModel::rowsRemoved, this, &ColumnListWindow::updateStatus);
    connect(filter_, &QAbstractItemModel::dataChanged, this, &ColumnListWindow::updateStatus);
    connect(filter_, &QAbstractItemModel::modelReset, this, &ColumnListWindow::updateStatus);
    connect(filter_, &QAbstractItemModel::layoutChanged, this, &ColumnListWindow::updateStatus);
    // The filter drops removed rows before the list has; the counts are
    // right once the list has dropped them too.
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &ColumnListWindow::updateStatus);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &ColumnListWindow::updateEdited);
    connect(model_, &QAbstractItemModel::modelReset, this, &ColumnListWindow::updateEdited);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &ColumnListWindow::fitColumns);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &ColumnListWindow::fitColumns);
    connect(model_, &QAbstractItemModel::modelReset, this, &ColumnListWindow::fitColumns);
    connect(model_, &QAbstractItemModel::dataChanged, this, &ColumnListWindow::fitColumns);
    // A sort or a filter moves rows: the edited one stays in sight.
    connect(filter_, &QAbstractItemModel::layoutChanged, this,
            &ColumnListWindow::keepEditedVisible);
    connect(filter_, &QAbstractItemModel::rowsInserted, this, &ColumnListWindow::keepEditedVisible);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ColumnListWindow::followSelection);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ColumnListWindow::followSelection);
    connect(table_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            &ColumnListWindow::updateMoveActions);
}

ColumnListWindow::~ColumnListWindow() {
    // The stack, a child, is deleted after this window has stopped being
    // one, and a stack with changes says it became clean as it goes; the
    // models and the selection tell of rows going with the table.
    disconnect(undoStack_, nullptr, this, nullptr);
    disconnect(model_, nullptr, this, nullptr);
    disconnect(filter_, nullptr, this, nullptr);
    disconnect(table_->selectionModel(), nullptr, this, nullptr);
}

// ---------------------------------------------------------------- layout

template <class Handler>
QAction* ColumnListWindow::makeAction(QMenu* menu, const char* name, const QString& text,
                                      const QList<QKeySequence>& keys, Handler handler) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, handler);
    menu->addAction(action);
    return action;
}

void ColumnListWindow::buildTable() {
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("columnTable"));
    table_->setAccessibleName(QStringLiteral("柱リスト"));
    table_->setAccessibleDescription(
        QStringLiteral("Enter またはダブルクリックで計算画面に読み込みます"));
    table_->setModel(filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::EditKeyPressed);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    // Tab leaves the table for the filters, as the keyboard's way between
    // the window's parts; arrows move between cells.
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    // A third click on a header gives the list's own order back.
    table_->horizontalHeader()->setSortIndicatorClearable(true);
    setCentralWidget(table_);
    // Keys go to the rows first: arrows choose, Enter edits.
    table_->setFocus();
    // Enter and double-click activate a row.
    connect(table_, &QTableView::activated, this, [this](const QModelIndex& index) {
        editInCalculator(filter_->mapToSource(index).row());
    });
}

void ColumnListWindow::buildFileMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    makeAction(menu, "newList", QStringLiteral("新規(&N)"),
               QKeySequence::keyBindings(QKeySequence::New), [this] {
                   if (maybeSave()) {
                       newList();
                   }
               });
    makeAction(menu, "open", QStringLiteral("開く(&O)..."),
               QKeySequence::keyBindings(QKeySequence::Open), &ColumnListWindow::openDialog);
    recentMenu_ = new RecentFilesMenu(
        [this](const QString& path) {
            if (maybeSave()) {
                openFile(path);
            }
        },
        this);
    menu->addMenu(recentMenu_);
    makeAction(menu, "expandHouse", QStringLiteral("柱リストに展開(&H)..."),
               {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H)},
               &ColumnListWindow::expandHouseDialog);
    menu->addSeparator();
    makeAction(menu, "save", QStringLiteral("保存(&S)"),
               QKeySequence::keyBindings(QKeySequence::Save), &ColumnListWindow::save);
    // Not every platform binds a key to "save as"; this one is the same
    // everywhere.
    makeAction(menu, "saveAs", QStringLiteral("名前を付けて保存(&A)..."),
               {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, &ColumnListWindow::saveAsDialog);
    makeAction(menu, "exportResults", QStringLiteral("結果を書き出す(&E)..."), {},
               &ColumnListWindow::exportResultsDialog);
    menu->addSeparator();
    makeAction(menu, "printPreview", QStringLiteral("印刷プレビュー(&V)..."), {},
               &ColumnListWindow::printPreview);
    makeAction(menu, "printSheet", QStringLiteral("計算書を印刷(&P)..."),
               QKeySequence::keyBindings(QKeySequence::Print), &ColumnListWindow::printSheet);
    makeAction(menu, "exportPdf", QStringLiteral("計算書をPDFに保存(&D)..."),
               {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
               &ColumnListWindow::exportPdfDialog);
    makeAction(menu, "sheetHeading", QStringLiteral("計算書の物件名と設計者(&H)..."), {},
               &ColumnListWindow::editHeading);
    menu->addSeparator();
    makeAction(menu, "closeList", QStringLiteral("閉じる(&C)"),
               {QKeySequence(Qt::CTRL | Qt::Key_W)}, &QWidget::close);
}

void ColumnListWindow::buildEditMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    QAction* undo = undoStack_->createUndoAction(this, QStringLiteral("元に戻す"));
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcuts(QKeySequence::Undo);
    QAction* redo = undoStack_->createRedoAction(this, QStringLiteral("やり直し"));
    redo->setObjectName(QStringLiteral("redo"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    menu->addAction(undo);
    menu->addAction(redo);
    menu->addSeparator();
    makeAction(menu, "copyRows", QStringLiteral("行をコピー(&C)"),
               QKeySequence::keyBindings(QKeySequence::Copy), &ColumnListWindow::copyRows);
    menu->addSeparator();
    QToolBar* bar = addToolBar(QStringLiteral("編集"));
    bar->setObjectName(QStringLiteral("editToolBar"));
    bar->addAction(makeAction(menu, "editInCalculator", QStringLiteral("計算画面で編集(&E)"),
                              {QKeySequence(Qt::CTRL | Qt::Key_E)},
                              &ColumnListWindow::editCurrent));
    bar->addAction(makeAction(menu, "addColumn", QStringLiteral("計算画面の柱を追加(&A)"),
                              {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L)},
                              &ColumnListWindow::addCalculatorColumn));
    bar->addAction(makeAction(menu, "duplicateRows", QStringLiteral("複製(&D)"),
                              {QKeySequence(Qt::CTRL | Qt::Key_D)},
                              &ColumnListWindow::duplicateRows));
    bar->addAction(makeAction(menu, "deleteRows", QStringLiteral("削除(&L)"),
                              {QKeySequence(QKeySequence::Delete)}, &ColumnListWindow::deleteRows));
    bar->addAction(makeAction(menu, "renameRow", QStringLiteral("名前の変更(&R)"),
                              {QKeySequence(Qt::Key_F2)}, &ColumnListWindow::renameRow));
    moveUp_ = makeAction(menu, "moveUp", QStringLiteral("上へ(&U)"),
                         {QKeySequence(Qt::CTRL | Qt::Key_Up)}, &ColumnListWindow::moveUp);
    moveDown_ = makeAction(menu, "moveDown", QStringLiteral("下へ(&W)"),
                           {QKeySequence(Qt::CTRL | Qt::Key_Down)}, &ColumnListWindow::moveDown);
    bar->addAction(moveUp_);
    bar->addAction(moveDown_);
    makeAction(menu, "clearSort", QStringLiteral("リストの順に戻す(&O)"), {},
               &ColumnListWindow::clearSort);
    menu->addSeparator();
    makeAction(menu, "findName", QStringLiteral("柱名で絞り込み(&F)"),
               QKeySequence::keyBindings(QKeySequence::Find), [this] {
                   nameFilter_->setFocus(Qt::ShortcutFocusReason);
                   nameFilter_->selectAll();
               });
}

void ColumnListWindow::buildFilterBar() {
    QToolBar* bar = addToolBar(QStringLiteral("絞り込み"));
    bar->setObjectName(QStringLiteral("filterToolBar"));
    nameFilter_ = new QLineEdit(bar);
    nameFilter_->setObjectName(QStringLiteral("nameFilter"));
    nameFilter_->setPlaceholderText(QStringLiteral("柱名で絞り込み"));
    nameFilter_->setAccessibleName(QStringLiteral("柱名で絞り込み"));
    nameFilter_->setClearButtonEnabled(true);
    nameFilter_->setMaximumWidth(200);
    bar->addWidget(nameFilter_);
    connect(nameFilter_, &QLineEdit::textChanged, filter_, &ColumnFilterModel::setNamePart);

    patternFilter_ = new QComboBox(bar);
    patternFilter_->setObjectName(QStringLiteral("patternFilter"));
    patternFilter_->setAccessibleName(QStringLiteral("パターンで絞り込み"));
    patternFilter_->addItem(QStringLiteral("すべてのパターン"), 0);
    for (const FramePattern& pattern : kFramePatterns) {
        patternFilter_->addItem(patternDescription(pattern.tag), pattern.tag);
    }
    bar->addWidget(patternFilter_);
    connect(patternFilter_, &QComboBox::currentIndexChanged, this,
            [this] { filter_->setPattern(patternFilter_->currentData().toInt()); });

    classFilter_ = new QComboBox(bar);
    classFilter_->setObjectName(QStringLiteral("classFilter"));
    classFilter_->setAccessibleName(QStringLiteral("金物の記号で絞り込み"));
    classFilter_->addItem(QStringLiteral("すべての記号"), ColumnFilterModel::kAnyClass);
    for (std::int32_t joint = 1; joint <= JointClassCount; ++joint) {
        classFilter_->addItem(jointClassSymbol(joint), joint);
    }
    classFilter_->addItem(jointClassSymbol(0), 0);
    classFilter_->addItem(QStringLiteral("計算できない柱"), ColumnFilterModel::kFailedClass);
    bar->addWidget(classFilter_);
    connect(classFilter_, &QComboBox::currentIndexChanged, this,
            [this] { filter_->setHardwareClass(classFilter_->currentData().toInt()); });
}

// ---------------------------------------------------------------- files

void ColumnListWindow::newList() {
    model_->resetList(columns::ColumnList{});
    clearSort();
    undoStack_->clear();
    path_.clear();
    fileWatch_->stop();
    updateTitle();
    updateStatus();
}

bool ColumnListWindow::openFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reportError_(QStringLiteral("%1 を開けません: %2").arg(path, file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    columns::ColumnList list;
    std::string error;
    if (!columns::readColumnList(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
            columns::formatOfPath(path.toStdString()), list, error)) {
        reportError_(QStringLiteral("%1 を読めません: %2").arg(path, qText(error)));
        return false;
    }
    model_->resetList(std::move(list));
    // A sort chosen for another house is not this one's order.
    clearSort();
    undoStack_->clear();
    path_ = path;
    fileWatch_->watch(path,
                      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    recentMenu_->remember(path);
    updateTitle();
    updateStatus();
    return true;
}

bool ColumnListWindow::expandHouse(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reportError_(QStringLiteral("%1 を開けません: %2").arg(path, file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    House house;
    std::string error;
    if (!columns::readHouse(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), house,
            error)) {
        reportError_(QStringLiteral("%1 を読めません: %2").arg(path, qText(error)));
        return false;
    }
    model_->resetList(columns::listOfHouse(house));
    clearSort();
    // A new list: saving it asks for a list file, and the house file is
    // never written from here (the list cannot be turned back into it).
    undoStack_->clear();
    undoStack_->resetClean();
    path_.clear();
    fileWatch_->stop();
    updateTitle();
    updateStatus();
    statusBar()->showMessage(
        QStringLiteral("%1 を %2 行に展開しました").arg(path).arg(model_->rowCount()), 5000);
    return true;
}

void ColumnListWindow::expandHouseDialog() {
    if (!maybeSave()) {
        return;
    }
    const QString path = askHouseFile_();
    if (!path.isEmpty()) {
        expandHouse(path);
    }
}

bool ColumnListWindow::saveFile(const QString& path) {
    if (!path_.isEmpty() && QFileInfo(path) == QFileInfo(path_) && fileWatch_->changedOnDisk()) {
        switch (askChangedFile_(path)) {
        case ReloadFile:
            return openFile(path_);
        case OverwriteFile:
            break;
        case SaveElsewhere:
            return saveAsDialog();
        case KeepFile:
            return false;
        }
    }
    const std::string bytes =
        columns::writeColumnList(model_->list(), columns::formatOfPath(path.toStdString()));
    QString reason;
    if (!saveWholeFile(path, bytes, reason)) {
        reportError_(QStringLiteral("%1 に保存できません: %2").arg(path, reason));
        return false;
    }
    path_ = path;
    fileWatch_->watch(path, bytes);
    undoStack_->setClean();
    recentMenu_->remember(path);
    updateTitle();
    statusBar()->showMessage(QStringLiteral("%1 に保存しました").arg(path), 5000);
    return true;
}

void ColumnListWindow::openDialog() {
    if (!maybeSave()) {
        return;
    }
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("柱リストを開く"),
                                                      QFileInfo(path_).path(), kFileFilter);
    if (!path.isEmpty()) {
        openFile(path);
    }
}

bool ColumnListWindow::save() {
    return path_.isEmpty() ? saveAsDialog() : saveFile(path_);
}

bool ColumnListWindow::saveAsDialog() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("柱リストを保存"),
        path_.isEmpty() ? QStringLiteral("柱リスト.csv") : path_, kFileFilter);
    return !path.isEmpty() && saveFile(path);
}

// The list's sheet is headed with the list's own project and designer,
// asked for the first time a sheet is made and kept in the list file;
// never with those of another sheet.
bool ColumnListWindow::ensureHeading() {
    return !model_->heading().empty() || editHeading();
}

bool ColumnListWindow::editHeading() {
    columns::ListHeading suggested = model_->heading();
    if (suggested.empty() && !path_.isEmpty()) {
        suggested.project = QFileInfo(path_).completeBaseName().toStdString();
    }
    const std::optional<columns::ListHeading> given = askHeading_(suggested);
    if (!given) {
        return false;
    }
    if (*given != model_->heading()) {
        undoStack_->push(
            new SetHeadingCommand(model_, *given, QStringLiteral("計算書の物件名と設計者")));
    }
    return true;
}

SheetDescription ColumnListWindow::listSheet() const {
    return sheetOfList(*model_);
}

bool ColumnListWindow::exportPdf(const QString& path) {
    if (!ensureHeading()) {
        return false;
    }
    QString error;
    if (!writeSheetPdf(path, listSheet(), error)) {
        reportError_(error);
        return false;
    }
    statusBar()->showMessage(QStringLiteral("%1 に計算書を保存しました").arg(path), 5000);
    return true;
}

void ColumnListWindow::exportPdfDialog() {
    if (!ensureHeading()) {
        return;
    }
    const QString suggested = path_.isEmpty() ? QStringLiteral("計算書.pdf")
                                              : QFileInfo(path_).path() + QLatin1Char('/') +
                                                    QFileInfo(path_).completeBaseName() +
                                                    QStringLiteral(".pdf");
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("計算書をPDFに保存"),
                                                      suggested, QStringLiteral("PDF (*.pdf)"));
    if (!path.isEmpty()) {
        exportPdf(path);
    }
}

void ColumnListWindow::printPreview() {
    if (!ensureHeading()) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("計算書の印刷プレビュー"));
    const SheetDescription sheet = listSheet();
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [&sheet](QPrinter* target) { paintSheet(*target, sheet); });
    dialog.exec();
}

bool ColumnListWindow::exportResults(const QString& path) {
    // The batch tool's own run over the list as it would be saved, so that
    // the columns and texts are the tool's to the letter.
    const std::string input =
        columns::writeColumnList(model_->list(), columns::ColumnFileFormat::Csv);
    columns::RecordReader reader(columns::ColumnFileFormat::Csv, columns::readFromText(input));
    std::string output;
    columns::BatchOptions options;
    // Read by people in a spreadsheet, not by the tool again.
    options.spreadsheetSafe = true;
    const columns::BatchOutcome outcome = columns::runBatch(
        reader,
        [&output](std::string_view bytes) {
            output.append(bytes);
            return true;
        },
        options);
    if (!outcome.headerProblem.empty()) {
        reportError_(QStringLiteral("結果を書き出せません: %1").arg(qText(outcome.headerProblem)));
        return false;
    }
    QString reason;
    if (!saveWholeFile(path, output, reason)) {
        reportError_(QStringLiteral("%1 に書き出せません: %2").arg(path, reason));
        return false;
    }
    statusBar()->showMessage(QStringLiteral("%1 に結果を書き出しました").arg(path), 5000);
    return true;
}

void ColumnListWindow::exportResultsDialog() {
    const QString suggested = path_.isEmpty() ? QStringLiteral("結果.csv")
                                              : QFileInfo(path_).path() + QLatin1Char('/') +
                                                    QFileInfo(path_).completeBaseName() +
                                                    QStringLiteral("_結果.csv");
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("結果を書き出す"),
                                                      suggested, QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty()) {
        exportResults(path);
    }
}

void ColumnListWindow::printSheet() {
    if (!ensureHeading()) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (paintSheet(printer, listSheet()) == 0) {
        reportError_(QStringLiteral("計算書を印刷できません"));
    }
}

bool ColumnListWindow::isModified() const {
    return !undoStack_->isClean();
}

bool ColumnListWindow::maybeSave() {
    if (!isModified()) {
        return true;
    }
    switch (askUnsaved_()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

// Closing ends the list as closing a document does: the calculator no
// longer edits a row of it, and the list opens empty next time.
void ColumnListWindow::closeEvent(QCloseEvent* event) {
    event->setAccepted(maybeSave());
    if (event->isAccepted()) {
        endList();
    }
}

void ColumnListWindow::discardAndHide() {
    endList();
    hide();
}

// The calculator, working alone again, computes under the conditions the
// user chose for it (as at the next start), not those of the row it showed
// last.
void ColumnListWindow::endList() {
    newList();
    if (calculator_) {
        calculator_->setConditions(loadConditions());
    }
}

// ---------------------------------------------------------------- rows

std::vector<int> ColumnListWindow::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
        rows.push_back(filter_->mapToSource(index).row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

int ColumnListWindow::currentRow() const {
    const QModelIndex index = table_->currentIndex();
    return index.isValid() ? filter_->mapToSource(index).row() : -1;
}

// The row alone is chosen, as a click on it chooses it.
void ColumnListWindow::selectOnly(int row) {
    const QModelIndex index = filter_->mapFromSource(model_->index(row, 0));
    if (index.isValid()) {
        table_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
        table_->scrollTo(index);
    }
}

int ColumnListWindow::linkedRow() const {
    return linkedId_ == 0 ? -1 : model_->rowOfId(linkedId_);
}

void ColumnListWindow::addCalculatorColumn() {
    if (!calculator_) {
        return;
    }
    const BracingModel& column = calculator_->Model();
    StoredRow added{columns::rowOfColumn(model_->unusedName(), column.PatternTag(),
                                         column.PatternReversed(), column.Bays(),
                                         calculator_->conditions()),
                    model_->newRowId()};
    const int at = model_->rowCount();
    undoStack_->push(new InsertRowsCommand(model_, at, {added}, QStringLiteral("柱の追加")));
    linkRow(at);
    selectOnly(at);
}

void ColumnListWindow::duplicateRows() {
    const std::vector<int> rows = selectedRows();
    if (rows.empty()) {
        return;
    }
    std::vector<StoredRow> copies;
    for (const int row : rows) {
        columns::ColumnRow copy = model_->columnRow(row);
        copy.name += "-2";
        copies.push_back(StoredRow{std::move(copy), model_->newRowId()});
    }
    const int at = rows.back() + 1;
    undoStack_->push(new InsertRowsCommand(model_, at, std::move(copies), QStringLiteral("複製")));
    linkRow(at);
    selectOnly(at);
}

void ColumnListWindow::deleteRows() {
    const std::vector<int> rows = selectedRows();
    if (rows.empty()) {
        return;
    }
    // One row is one keystroke to undo; more may have been selected by
    // mistake, and go only when the user says so.
    if (rows.size() > 1 &&
        QMessageBox::question(
            this, kTitle, QStringLiteral("選択した %1 本の柱を削除しますか？").arg(rows.size()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    undoStack_->push(new RemoveRowsCommand(model_, rows, QStringLiteral("削除")));
}

void ColumnListWindow::renameRow() {
    const QModelIndex index = table_->currentIndex();
    if (index.isValid()) {
        table_->edit(index.siblingAtColumn(ColumnTableModel::NameColumn));
    }
}

void ColumnListWindow::moveUp() {
    moveCurrent(-1);
}

void ColumnListWindow::moveDown() {
    moveCurrent(1);
}

// Moves in the list's own order; disabled while the table is sorted, where
// a move would change nothing the user sees.
void ColumnListWindow::moveCurrent(int step) {
    const int row = currentRow();
    const int to = row + step;
    if (!moveUp_->isEnabled() || row < 0 || to < 0 || to >= model_->rowCount()) {
        return;
    }
    undoStack_->push(new MoveRowCommand(model_, row, to, QStringLiteral("移動")));
    selectOnly(to);
}

void ColumnListWindow::updateMoveActions() {
    const bool listOrder = table_->horizontalHeader()->sortIndicatorSection() < 0;
    moveUp_->setEnabled(listOrder);
    moveDown_->setEnabled(listOrder);
}

void ColumnListWindow::clearSort() {
    table_->sortByColumn(-1, Qt::AscendingOrder);
    updateMoveActions();
}

void ColumnListWindow::copyRows() {
    std::vector<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    QApplication::clipboard()->setText(tabSeparatedText(*filter_, rows));
}

// ---------------------------------------------------------------- calculator

void ColumnListWindow::editCurrent() {
    const int row = currentRow();
    if (row >= 0) {
        editInCalculator(row);
    }
}

bool ColumnListWindow::editInCalculator(int row) {
    const columns::RowOutcome& outcome = model_->outcome(row);
    if (!outcome.columnRead) {
        reportError_(QStringLiteral("%1 は計算画面で開けません: %2")
                         .arg(qText(model_->columnRow(row).name), qText(outcome.error)));
        return false;
    }
    if (!calculator_) {
        return false;
    }
    linkRow(row);
    selectOnly(row);
    calculator_->show();
    calculator_->raise();
    activateWindowOf(*calculator_);
    return true;
}

// The chosen row is the edited one: the current row once it is selected
// (a row that only has the keyboard focus, as the table gives it on
// entering, is not chosen).
void ColumnListWindow::followSelection() {
    const QModelIndex current = table_->currentIndex();
    if (current.isValid() && table_->selectionModel()->isRowSelected(current.row(), {})) {
        linkRow(filter_->mapToSource(current).row());
    }
}

// Makes a row the one the calculator edits and shows it there; a row whose
// cells the calculator cannot take leaves it editing none.
void ColumnListWindow::linkRow(int row) {
    const bool readable = row >= 0 && model_->outcome(row).columnRead;
    const std::uint64_t id = readable ? model_->rowId(row) : 0;
    unlinkedReason_ = row < 0 || readable ? QString()
                                          : QStringLiteral("%1 は計算画面で開けません: %2")
                                                .arg(qText(model_->columnRow(row).name),
                                                     qText(model_->outcome(row).error));
    if (id != linkedId_) {
        linkedId_ = id;
        model_->setEditedId(id);
        filter_->setShownId(id);
        if (calculator_) {
            if (id != 0) {
                calculator_->editFreely();
            }
            // The calculator's undo keeps one history per row.
            calculator_->setEditedColumn(id);
            if (id != 0) {
                showRowInCalculator(row);
            }
        }
    }
    updateEdited();
}

// Says which row the calculator edits, in the status bar and in the
// calculator's title; forgets a row that is gone.
void ColumnListWindow::updateEdited() {
    int row = linkedRow();
    if (row < 0 && linkedId_ != 0) {
        linkedId_ = 0;
        model_->setEditedId(0);
        filter_->setShownId(0);
        if (calculator_) {
            calculator_->setEditedColumn(0);
        }
    }
    if (model_->rowCount() == 0) {
        unlinkedReason_.clear();
    }
    const QString name = row >= 0 ? qText(model_->columnRow(row).name) : QString();
    editedLabel_->setText(!name.isEmpty() ? QStringLiteral("計算画面で編集中: %1").arg(name)
                          : !unlinkedReason_.isEmpty()
                              ? unlinkedReason_
                              : QStringLiteral("計算画面で編集中の柱はありません"));
    if (calculator_) {
        calculator_->setEditedColumnName(name);
    }
}

void ColumnListWindow::keepEditedVisible() {
    const int row = linkedRow();
    if (row >= 0) {
        table_->scrollTo(filter_->mapFromSource(model_->index(row, 0)));
    }
}

void ColumnListWindow::fitColumns() {
    table_->resizeColumnsToContents();
    const int widest = kNameColumnEms * table_->fontMetrics().height();
    if (table_->columnWidth(ColumnTableModel::NameColumn) > widest) {
        table_->setColumnWidth(ColumnTableModel::NameColumn, widest);
    }
}

namespace {

// The conditions of a row as the calculator should keep them: a one-storey
// row under the 2025 rules without H2 keeps none, though the calculator
// holds one (it shows any pattern).
CalcConditions rowConditionsOf(const columns::ColumnRow& row, std::int32_t pattern,
                               const CalcConditions& shown) {
    CalcConditions kept = shown;
    if (StoreyCountOf(pattern) == 1 && row.h2.empty()) {
        kept.h2Cm = 0;
    }
    return kept;
}

} // namespace

// Every change shown by the calculator becomes an undoable edit of the row
// it edits; showing the row itself changes nothing and adds no step.
void ColumnListWindow::onCalculatorShown() {
    const int row = linkedRow();
    if (row < 0 || !calculator_ || loading_) {
        return;
    }
    const BracingModel& column = calculator_->Model();
    columns::ColumnRow edited = model_->columnRow(row);
    columns::setRowColumn(edited, column.PatternTag(), column.PatternReversed(), column.Bays());
    // A one-storey row under the 2025 rules that becomes two-storey takes
    // the H2 the calculator shows, so that both say the same.
    if (calculator_->conditions().rules == RuleSet::Revision2025) {
        columns::setRowConditions(
            edited, rowConditionsOf(edited, column.PatternTag(), calculator_->conditions()));
    }
    if (edited != model_->columnRow(row)) {
        undoStack_->push(
            new SetRowCommand(model_, row, std::move(edited), QStringLiteral("計算画面での編集")));
    }
}

// The conditions chosen in the calculator become the row's rules and
// heights, as one undoable edit.
void ColumnListWindow::onCalculatorConditions() {
    const int row = linkedRow();
    if (row < 0 || !calculator_ || loading_) {
        return;
    }
    columns::ColumnRow edited = model_->columnRow(row);
    columns::setRowConditions(edited, rowConditionsOf(edited, calculator_->Model().PatternTag(),
                                                      calculator_->conditions()));
    if (edited != model_->columnRow(row)) {
        undoStack_->push(
            new SetRowCommand(model_, row, std::move(edited), QStringLiteral("計算条件の変更")));
    }
}

// The row's column, rules and heights, as if the user had entered them;
// the conditions remembered for the next run stay as they are. Heights a
// row under the 2000 rules leaves out do not matter there; the
// calculator's stay. A one-storey row under the 2025 rules shows with the
// calculator's H2 (or its own H1), which its result does not read.
void ColumnListWindow::showRowInCalculator(int row) {
    const QScopedValueRollback<bool> loading(loading_, true);
    const columns::RowOutcome& outcome = model_->outcome(row);
    const BracingModel& shown = calculator_->Model();
    const BayTable bays = columns::bayTableOf(outcome.column);
    // Bays the pattern does not read are not in the row; the calculator
    // keeps its own.
    const std::int32_t pattern = outcome.column.pattern;
    const std::int32_t reversed = outcome.column.reversed;
    if (shown.PatternTag() != pattern || shown.PatternReversed() != reversed ||
        !(columns::baysInUse(pattern, reversed, shown.Bays()) ==
          columns::baysInUse(pattern, reversed, bays))) {
        calculator_->loadColumn(outcome.column.pattern, outcome.column.reversed, bays);
    }
    if (!outcome.computed) {
        statusBar()->showMessage(
            QStringLiteral("計算画面は %1 の計算条件を使えません（%2）。計算画面の条件で表示します")
                .arg(qText(model_->columnRow(row).name), qText(outcome.error)));
        return;
    }
    CalcConditions conditions = outcome.conditions;
    if (conditions.rules == RuleSet::Notice2000 &&
        calculator_->conditions().rules == RuleSet::Notice2000) {
        return;
    }
    if (conditions.rules == RuleSet::Revision2025 && conditions.h2Cm == 0) {
        conditions.h2Cm =
            calculator_->conditions().h2Cm != 0 ? calculator_->conditions().h2Cm : conditions.h1Cm;
    }
    calculator_->setConditions(conditions);
}

// An undo or redo of the row the calculator edits shows in the calculator.
void ColumnListWindow::onRowReplaced(std::uint64_t id) {
    const int row = model_->rowOfId(id);
    if (id == linkedId_ && calculator_ && row >= 0 && model_->outcome(row).columnRead) {
        showRowInCalculator(row);
    }
    if (id == linkedId_) {
        updateEdited();
    }
}

// ---------------------------------------------------------------- status

void ColumnListWindow::updateStatus() {
    QStringList parts;
    parts << QStringLiteral("%1 本").arg(model_->rowCount());
    if (filter_->rowCount() != model_->rowCount()) {
        parts << QStringLiteral("表示 %1 本").arg(filter_->rowCount());
    }
    const ColumnTableModel::ClassCounts counts = model_->classCounts();
    for (const auto& [joint, count] : counts.perClass) {
        parts << QStringLiteral("%1 %2").arg(jointClassSymbol(joint)).arg(count);
    }
    if (counts.failed > 0) {
        parts << QStringLiteral("計算できない %1 本").arg(counts.failed);
    }
    countLabel_->setText(parts.join(QStringLiteral("   ")));
}

void ColumnListWindow::updateTitle() {
    const QString name = path_.isEmpty() ? QStringLiteral("無題") : QFileInfo(path_).fileName();
    setWindowTitle(QStringLiteral("%1[*] - 柱リスト - KORUBA-X").arg(name));
    setWindowModified(isModified());
}

void ColumnListWindow::placeBeside(QWidget& other) {
    const QScreen* screen = other.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect room = screen->availableGeometry();
    QRect taken = other.frameGeometry();
    // This window's frame, before it has one, as wide as the other's.
    const QMargins frame(
        other.geometry().left() - taken.left(), other.geometry().top() - taken.top(),
        taken.right() - other.geometry().right(), taken.bottom() - other.geometry().bottom());
    const int frameWidth = frame.left() + frame.right();
    const auto roomRight = [&] { return room.right() - taken.right() - frameWidth; };
    const auto roomLeft = [&] { return taken.left() - room.left() - frameWidth; };
    if (std::max(roomRight(), roomLeft()) < kMinimumWidthBeside) {
        // The other window in the middle of a small screen goes to the
        // edge it is nearer, when the list then fits beside it.
        if (room.width() - taken.width() - frameWidth < kMinimumWidthBeside) {
            return;
        }
        taken.moveLeft(roomLeft() <= roomRight() ? room.left() : room.right() + 1 - taken.width());
        other.move(taken.topLeft());
    }
    const int right = roomRight();
    const int left = roomLeft();
    const int width = std::min(kPreferredSize.width(), std::max(right, left));
    const int height =
        std::min(kPreferredSize.height(), room.height() - frame.top() - frame.bottom());
    const int x =
        right >= left ? taken.right() + 1 + frame.left() : taken.left() - width - frame.right();
    const int lowest =
        std::max(room.top(), room.bottom() + 1 - height - frame.top() - frame.bottom());
    const int y = std::clamp(taken.top(), room.top(), lowest) + frame.top();
    setGeometry(x, y, width, height);
}

} // namespace koruba
