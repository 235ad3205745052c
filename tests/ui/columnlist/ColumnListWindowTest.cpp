// The column list window and its model on the offscreen platform: the
// undo invariants of the row commands, and the flows a designer goes
// through with real keys and clicks: open a house, edit a row in the
// calculator, undo, save, reopen; a save that fails; filters, copying and
// the status bar.
#include "tests/ui/calculator/MainFormTestSupport.h"

#include "calc/HouseDerivation.h"
#include "calc/PatternTable.h"
#include "columns/HouseFile.h"
#include "columns/HouseList.h"
#include "report/SheetDate.h"
#include "tests/support/FullDisk.h"
#include "ui/columnlist/ColumnCommands.h"
#include "ui/columnlist/ColumnFilterModel.h"
#include "ui/columnlist/ColumnListLink.h"
#include "ui/columnlist/ColumnListWindow.h"
#include "ui/columnlist/ColumnTableModel.h"
#include "ui/sheet/SheetInfoDialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <QWindow>

#include <memory>

using namespace koruba;
using namespace koruba::columns;
using namespace mainform_test;

namespace {

const QString kHouse = QStringLiteral(KORUBA_EXAMPLES "/house60.csv");

ColumnRow namedRow(const char* name, const char* pattern, const char* bay1) {
    ColumnRow row;
    row.name = name;
    row.pattern = pattern;
    row.reversed = "0";
    row.bays[0] = bay1;
    return row;
}

ColumnList threeRows() {
    ColumnList list;
    list.rows = {namedRow("A", "21", "L45"), namedRow("B", "22", "X90+P2.5"),
                 namedRow("C", "", "")};
    return list;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(cannot be read)");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString pdfText(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), path, QStringLiteral("-")});
    pdftotext.waitForFinished(60000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

QString cell(const QAbstractItemModel& model, int row, int column) {
    return model.index(row, column).data().toString();
}

// Gives a window the keyboard, as a click on its title bar does (the list
// is a transient window of the calculator, which activateWindow() skips).
void focusWindow(QWidget* window) {
    QWindow* handle = window->windowHandle();
    handle->requestActivate();
    QVERIFY(QTest::qWaitFor([handle] { return QGuiApplication::focusWindow() == handle; }));
}

// Clicks a button of the next message box; its text lands in seen.
struct BoxSeen : QObject {
    QString text;
};
void answerNextBox(QMessageBox::StandardButton button, BoxSeen* seen, int tries = 1000) {
    QTimer::singleShot(0, seen, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return tries > 0 ? answerNextBox(button, seen, tries - 1) : void();
        }
        seen->text = box->text();
        QTest::mouseClick(box->button(button), Qt::LeftButton);
    });
}

void clickRow(QTableView* table, int viewRow, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(table->viewport(), Qt::LeftButton, keys,
                      table->visualRect(table->model()->index(viewRow, 0)).center());
}

void clickHeader(QTableView* table, int column) {
    QHeaderView* header = table->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
}

QString typeName(QTableView* table, const QString& name) {
    QTest::keyClick(table, Qt::Key_F2);
    auto* editor = table->viewport()->findChild<QLineEdit*>();
    editor->setText(name);
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor hands its text over, and goes, once the event loop runs.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return table->currentIndex().siblingAtColumn(0).data().toString();
}

// The calculator as the program makes it, with the list in its reach.
struct LinkedCalculator {
    TMainF calculator;
    explicit LinkedCalculator(const QStringList& files = {}) {
        installColumnList(calculator, files);
        calculator.show();
    }
    ColumnListWindow& list() { return *calculator.findChild<ColumnListWindow*>(); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        focusWindow(&calculator);
        QTest::keyClick(&calculator, key, modifiers);
    }
};

ColumnRow aboveTheTable() {
    ColumnRow row = namedRow("above", "21", "X90+P5.0");
    row.bays = {"X90+P5.0", "X90+P5.0", "X90+P5.0", "X90+P5.0"};
    row.rules = "2025";
    row.h1 = row.h2 = "4.50";
    return row;
}

} // namespace

class ColumnListWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void commandsUndoToTheStartAndRedoToTheEnd_data();
    void commandsUndoToTheStartAndRedoToTheEnd();
    void rowsWithoutResultSayWhy();
    void openEditInCalculatorUndoSaveReopen();
    void anotherRowSwitchesTheCalculator();
    void conditionsTravelWithTheRow();
    void rowHoldsOnlyTheBaysItsPatternReads();
    void failingSaveKeepsTheListAndSaysWhy();
    void saveOnAFullDiskKeepsTheOldFile();
    void unreadableFileLeavesTheListAsItWas_data();
    void unreadableFileLeavesTheListAsItWas();
    void failingRowsOpenAgainFromJsonLines();
    void fileChangedOnDiskIsNotOverwrittenUnasked_data();
    void fileChangedOnDiskIsNotOverwrittenUnasked();
    void closingWithChangesAsks_data();
    void closingWithChangesAsks();
    void filtersNarrowTheRows_data();
    void filtersNarrowTheRows();
    void statusBarCountsPerClass();
    void copiesSelectedRowsAsTabSeparatedText();
    void calculatorContextMenuAddsItsColumn();
    void sheetHoldsEveryRowOfTheList();
    void sheetHeadingTravelsWithTheListFile();
    void listAndToolSheetsOfOneFileAgree();
    void addedRowKeepsTheRulesAndChoosingARowShowsItsOwn();
    void theCalculatorEditsTheRowItsTitleNames();
    void aColumnShownFromElsewhereLeavesTheRowAlone();
    void addSelectsTheNewRowAloneAndDeletingSeveralAsks();
    void closingTheCalculatorAsksOnceNamingTheFile();
    void rowsWithoutAClassComeAfterTheClasses();
    void resultsAreTheBatchToolsOwn();
    void screenshotOfTheHouse();
    void houseExpandsToOneRowPerColumnAndDirection_data();
    void houseExpandsToOneRowPerColumnAndDirection();
    void refusedHouseFileLeavesTheListAsItWas();

private:
    ColumnListWindow& list() { return *list_; }
    QTableView* table() { return list_->tableView(); }
    void openHouse();
    void activateRow(int viewRow);

    std::unique_ptr<TMainF> calculator_;
    ColumnListWindow* list_ = nullptr;
    QStringList errors_;
    QStringList headingAsks_; // the project suggested each time
    QTemporaryDir dir_;
};

void ColumnListWindowTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(dir_.isValid());
}

void ColumnListWindowTest::init() {
    calculator_ = std::make_unique<TMainF>();
    calculator_->show();
    list_ = new ColumnListWindow(calculator_.get(), calculator_.get());
    list_->setWindowFlag(Qt::Window);
    errors_.clear();
    list_->setErrorReport([this](const QString& message) { errors_ << message; });
    list_->setUnsavedQuestion([] { return int(QMessageBox::Discard); });
    headingAsks_.clear();
    list_->setHeadingQuestion([this](const ListHeading& suggested) {
        headingAsks_ << QString::fromStdString(suggested.project);
        return std::optional(ListHeading{"山田邸", "佐藤設計"});
    });
    list_->show();
    QVERIFY(QTest::qWaitForWindowExposed(list_));
}

void ColumnListWindowTest::cleanup() {
    calculator_.reset();
    list_ = nullptr;
}

void ColumnListWindowTest::openHouse() {
    QVERIFY(list().openFile(kHouse));
    QCOMPARE(list().tableModel()->rowCount(), 60);
}

// Enter on a row, as a user moving with the arrow keys does.
void ColumnListWindowTest::activateRow(int viewRow) {
    table()->setFocus();
    table()->setCurrentIndex(table()->model()->index(viewRow, 0));
    QTest::keyClick(table(), Qt::Key_Return);
}

// Each step is a command; whatever the steps, undoing all gives the list
// back as it was and redoing all gives the end state, with every row's
// outcome recomputed from its cells.
void ColumnListWindowTest::commandsUndoToTheStartAndRedoToTheEnd_data() {
    QTest::addColumn<QString>("steps");
    QTest::newRow("add") << "a";
    QTest::newRow("delete first and last") << "d0 d1";
    QTest::newRow("move down, up, to the end") << "m01 m10 m02";
    QTest::newRow("rename then edit the renamed") << "r1 e1";
    QTest::newRow("delete several at once") << "D";
    QTest::newRow("mixed") << "a e3 m30 d1 r0 a m12";
}

void ColumnListWindowTest::commandsUndoToTheStartAndRedoToTheEnd() {
    QFETCH(QString, steps);
    QUndoStack stack;
    ColumnTableModel model(&stack);
    model.resetList(threeRows());
    const ColumnList start = model.list();
    for (const QString& step : steps.split(QLatin1Char(' '))) {
        const int a = step.size() > 1 ? step.mid(1, 1).toInt() : 0;
        const int b = step.size() > 2 ? step.mid(2, 1).toInt() : 0;
        switch (step.at(0).toLatin1()) {
        case 'a':
            stack.push(new InsertRowsCommand(
                &model, model.rowCount(), {StoredRow{namedRow("N", "13", "X45"), model.newRowId()}},
                {}));
            break;
        case 'd':
            stack.push(new RemoveRowsCommand(&model, {a}, {}));
            break;
        case 'D':
            stack.push(new RemoveRowsCommand(&model, {2, 0}, {}));
            break;
        case 'm':
            stack.push(new MoveRowCommand(&model, a, b, {}));
            break;
        case 'r': {
            QVERIFY(model.setData(model.index(a, ColumnTableModel::NameColumn),
                                  QStringLiteral("改名"), Qt::EditRole));
            break;
        }
        case 'e': {
            ColumnRow edited = model.columnRow(a);
            edited.bays[0] = "R30+P1.0";
            edited.pattern = "22";
            stack.push(new SetRowCommand(&model, a, edited, {}));
            break;
        }
        }
    }
    const ColumnList end = model.list();
    std::vector<std::uint64_t> ids;
    for (int r = 0; r < model.rowCount(); ++r) {
        ids.push_back(model.rowId(r));
        QCOMPARE(model.outcome(r).error, evaluateRow(model.columnRow(r)).error);
        QCOMPARE(model.outcome(r).result, evaluateRow(model.columnRow(r)).result);
    }
    std::sort(ids.begin(), ids.end());
    QVERIFY(std::adjacent_find(ids.begin(), ids.end()) == ids.end());

    while (stack.canUndo()) {
        stack.undo();
    }
    QVERIFY(model.list() == start);
    while (stack.canRedo()) {
        stack.redo();
    }
    QVERIFY(model.list() == end);
}

void ColumnListWindowTest::rowsWithoutResultSayWhy() {
    QUndoStack stack;
    ColumnTableModel model(&stack);
    ColumnList rows = threeRows();
    rows.rows[1].bays[1] = "X95";
    model.resetList(rows);
    QCOMPARE(cell(model, 0, ColumnTableModel::NColumn), QStringLiteral("1.60"));
    QCOMPARE(cell(model, 0, ColumnTableModel::SymbolColumn), QStringLiteral("(ほ)"));
    QCOMPARE(cell(model, 0, ColumnTableModel::PatternColumn),
             QStringLiteral("21 ２階または１階 下屋の出隅"));
    QCOMPARE(cell(model, 1, ColumnTableModel::ProblemColumn),
             QStringLiteral("bay2: \"X95\": brace size must be 15, 30, 45 or 90"));
    QCOMPARE(cell(model, 1, ColumnTableModel::NColumn), QString());
    QCOMPARE(cell(model, 2, ColumnTableModel::ProblemColumn),
             QStringLiteral("軸組パターンが選ばれていません"));
    QCOMPARE(model.index(2, ColumnTableModel::NColumn).data(Qt::AccessibleTextRole).toString(),
             QStringLiteral("N値: "));
}

void ColumnListWindowTest::openEditInCalculatorUndoSaveReopen() {
    openHouse();
    // 1F-X1Y1: pattern 11, P2.5 in bays 1 and 3.
    activateRow(0);
    QCOMPARE(list().linkedRow(), 0);
    QCOMPARE(calculator_->Model().PatternTag(), 11);
    const QString before = cell(*list().tableModel(), 0, ColumnTableModel::NColumn);
    QCOMPARE(Text(calculator_.get(), QStringLiteral("Lbl_Nti")).contains(before), true);

    // Brace rising left, then a click on bay 3 (the lower left) of the
    // calculator: the bay holds the panel and now the brace too.
    ClickRadio(calculator_.get(), QStringLiteral("RBtn_1"));
    ClickBay(calculator_.get(), 3);
    const ColumnRow& edited = list().tableModel()->columnRow(0);
    QCOMPARE(QString::fromStdString(edited.bays[2]), QStringLiteral("L45+P2.5"));
    const QString after = cell(*list().tableModel(), 0, ColumnTableModel::NColumn);
    QVERIFY(after != before);
    QVERIFY(Text(calculator_.get(), QStringLiteral("Lbl_Nti")).contains(after));
    QCOMPARE(list().undoStack()->count(), 1);
    QVERIFY(list().isModified());

    list().activateWindow();
    table()->setFocus();
    QTest::keyClick(table(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(QString::fromStdString(list().tableModel()->columnRow(0).bays[2]),
             QStringLiteral("P2.5"));
    QCOMPARE(cell(*list().tableModel(), 0, ColumnTableModel::NColumn), before);
    QVERIFY(Text(calculator_.get(), QStringLiteral("Lbl_Nti")).contains(before));
    QCOMPARE(list().undoStack()->count(), 1);
    QTest::keyClick(table(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(cell(*list().tableModel(), 0, ColumnTableModel::NColumn), after);

    const QString path = dir_.filePath(QStringLiteral("house.csv"));
    QVERIFY(list().saveFile(path));
    QVERIFY(!list().isModified());
    const QList<QAction*> recent =
        list().findChild<QMenu*>(QStringLiteral("recentMenu"))->actions();
    QVERIFY(!recent.isEmpty());
    QCOMPARE(recent.first()->toolTip(), QFileInfo(path).absoluteFilePath());
    QVERIFY(list().openFile(path));
    QCOMPARE(QString::fromStdString(list().tableModel()->columnRow(0).bays[2]),
             QStringLiteral("L45+P2.5"));
    QCOMPARE(cell(*list().tableModel(), 0, ColumnTableModel::NColumn), after);
    // A file the list wrote is written again byte for byte.
    QFile first(path);
    QVERIFY(first.open(QIODevice::ReadOnly));
    const QByteArray bytes = first.readAll();
    QVERIFY(list().saveFile(dir_.filePath(QStringLiteral("again.csv"))));
    QFile second(dir_.filePath(QStringLiteral("again.csv")));
    QVERIFY(second.open(QIODevice::ReadOnly));
    QCOMPARE(second.readAll(), bytes);
    QVERIFY(errors_.isEmpty());
}

void ColumnListWindowTest::anotherRowSwitchesTheCalculator() {
    openHouse();
    const ColumnRow first = list().tableModel()->columnRow(0);
    const ColumnRow last = list().tableModel()->columnRow(59);
    activateRow(0);
    activateRow(59); // 2F-X6Y6: pattern 21, mirrored
    QCOMPARE(list().linkedRow(), 59);
    QCOMPARE(calculator_->Model().PatternTag(), 21);
    QCOMPARE(calculator_->Model().PatternReversed(), 1);
    // Loading a row is no edit.
    QCOMPARE(list().undoStack()->count(), 0);
    ClickRadio(calculator_.get(), QStringLiteral("RBtn_4"));
    ClickBay(calculator_.get(), 2);
    QCOMPARE(list().undoStack()->count(), 1);
    QVERIFY(list().tableModel()->columnRow(0) == first);
    QVERIFY(list().tableModel()->columnRow(59).bays[1] != last.bays[1]);
}

// The row's rules and heights go to the calculator with the column; rules
// chosen there come back as an undoable edit of the row.
void ColumnListWindowTest::conditionsTravelWithTheRow() {
    ColumnList house;
    ColumnRow row = namedRow("H", "13", "X45");
    row.rules = "2025";
    row.h1 = "3.30";
    row.h2 = "2.8";
    house.rows = {row, namedRow("P", "21", "")};
    list().tableModel()->resetList(house);
    activateRow(0);
    const CalcConditions tall{RuleSet::Revision2025, 330, 280};
    QCOMPARE(calculator_->conditions(), tall);
    QCOMPARE(list().undoStack()->count(), 0);

    QVERIFY(calculator_->setConditions(CalcConditions{RuleSet::Revision2025, 330, 300}));
    QCOMPARE(list().undoStack()->count(), 1);
    QCOMPARE(QString::fromStdString(list().tableModel()->columnRow(0).h2), QStringLiteral("3.00"));
    QCOMPARE(QString::fromStdString(list().tableModel()->columnRow(0).h1), QStringLiteral("3.30"));
    list().undoStack()->undo();
    QVERIFY(list().tableModel()->columnRow(0) == row);
    QCOMPARE(calculator_->conditions(), tall);
    // A row of the 2000 rules takes the calculator back to them.
    activateRow(1);
    QCOMPARE(calculator_->conditions().rules, RuleSet::Notice2000);
    QCOMPARE(list().undoStack()->count(), 1);
}

// A bay placed under a two-storey pattern leaves the row, and its file,
// when a single-storey pattern is chosen, and comes back with the pattern:
// the calculator keeps it meanwhile.
void ColumnListWindowTest::rowHoldsOnlyTheBaysItsPatternReads() {
    ColumnList house;
    house.rows = {namedRow("P", "13", "X45")};
    list().tableModel()->resetList(house);
    activateRow(0);
    ClickRadio(calculator_.get(), QStringLiteral("RBtn_1"));
    ClickBay(calculator_.get(), 4);
    const std::string placed = list().tableModel()->columnRow(0).bays[3];
    QVERIFY(!placed.empty());

    ChoosePattern(calculator_.get(), 21);
    const ColumnRow single = list().tableModel()->columnRow(0);
    QCOMPARE(single.pattern, std::string("21"));
    for (std::size_t b = 0; b < 4; ++b) {
        QCOMPARE(single.bays[b].empty(), !bayInUse(int(b) + 1, 21, 0));
    }
    const QString path = dir_.filePath(QStringLiteral("single.csv"));
    QVERIFY(list().saveFile(path));
    QVERIFY2(!fileBytes(path).contains(placed.c_str()), placed.c_str());

    ChoosePattern(calculator_.get(), 13);
    QCOMPARE(list().tableModel()->columnRow(0).bays[3], placed);
    QCOMPARE(list().tableModel()->columnRow(0).bays[0], std::string("X45"));
}

void ColumnListWindowTest::failingSaveKeepsTheListAndSaysWhy() {
    openHouse();
    QTest::keyClick(table(), Qt::Key_Delete);
    table()->setFocus();
    table()->selectRow(0);
    QTest::keyClick(table(), Qt::Key_Delete);
    QCOMPARE(list().tableModel()->rowCount(), 59);
    // Root may write into any existing directory; a directory that does not
    // exist fails for every user.
    const QString path = dir_.filePath(QStringLiteral("no such dir/house.csv"));
    QVERIFY(!list().saveFile(path));
    QCOMPARE(errors_.size(), 1);
    QVERIFY2(errors_.first().contains(path), qPrintable(errors_.first()));
    QCOMPARE(list().tableModel()->rowCount(), 59);
    QVERIFY(list().isModified());
    QCOMPARE(list().filePath(), kHouse);
    QVERIFY(!QFile::exists(path));
}

// Ctrl+S with no byte left on the disk: the file keeps its old content,
// the message names it and the reason, and the list is still changed.
void ColumnListWindowTest::saveOnAFullDiskKeepsTheOldFile() {
    test::FullDisk disk;
    if (!disk.skipReason().isEmpty()) {
        QSKIP(qPrintable(disk.skipReason()));
    }
    const QString path = disk.filePath(QStringLiteral("house60.csv"));
    QVERIFY(QFile::copy(kHouse, path));
    const QByteArray bytes = fileBytes(path);
    QVERIFY(list().openFile(path));
    table()->setFocus();
    table()->selectRow(0);
    QTest::keyClick(table(), Qt::Key_Delete);
    QVERIFY(disk.fill());
    QTest::keyClick(table(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(errors_.size(), 1);
    QVERIFY2(errors_.first().contains(path) &&
                 errors_.first().contains(QStringLiteral("No space left on device")),
             qPrintable(errors_.first()));
    QCOMPARE(fileBytes(path), bytes);
    QVERIFY(list().isModified());
    QVERIFY(list().windowTitle().contains(QStringLiteral("[*]")) && list().isWindowModified());
    QVERIFY(!list().statusBar()->currentMessage().contains(QStringLiteral("保存しました")));
}

void ColumnListWindowTest::unreadableFileLeavesTheListAsItWas_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray header = "id,pattern,reversed,bay1,bay2,bay3,bay4\n";
    QTest::newRow("unclosed quote") << header + "\"A,21,0,,,,\n" << QStringLiteral("line 2");
    // Opened with the extra fields dropped, the row would look as if it
    // failed only for its token.
    QTest::newRow("too many fields and a bad token") << header + "A,21,0,L46,,,,extra\n"
                                                     << QStringLiteral("line 2: 8 fields");
    QTest::newRow("Shift-JIS and a bad token") << header + "\x96\x6b\x91\xa4,21,0,L46,,,\n"
                                               << QStringLiteral("line 2, column 1");
}

void ColumnListWindowTest::unreadableFileLeavesTheListAsItWas() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    openHouse();
    const QString path = dir_.filePath(QStringLiteral("broken.csv"));
    QVERIFY(writeFile(path, bytes));
    QVERIFY(!list().openFile(path));
    QCOMPARE(errors_.size(), 1);
    QVERIFY2(errors_.first().contains(reason), qPrintable(errors_.first()));
    QCOMPARE(list().tableModel()->rowCount(), 60);
    QCOMPARE(list().filePath(), kHouse);
}

// Rows a spreadsheet made that cannot be computed (a bad token, a height
// typed with a comma) saved as JSON Lines, under a .json name as well:
// written as JSON, with the comma height a string, and opened again with
// the rows failed for the same reasons.
void ColumnListWindowTest::failingRowsOpenAgainFromJsonLines() {
    const QString csv = dir_.filePath(QStringLiteral("sheet.csv"));
    QVERIFY(writeFile(csv, "id,pattern,reversed,bay1,bay2,bay3,bay4,rules,h1,hardware\n"
                           "A,21,0,L46,,,,,,HD-20\n"
                           "B,21,0,L45,,,,2025,\"3,3\",\n"
                           "C,21,0,L45,,,,2025,3.30,\n"));
    QVERIFY(list().openFile(csv));
    const auto problems = [this] {
        QStringList texts;
        for (int row = 0; row < list().tableModel()->rowCount(); ++row) {
            texts << cell(*list().tableModel(), row, ColumnTableModel::ProblemColumn);
        }
        return texts;
    };
    const QStringList before = problems();
    QVERIFY2(before[0].contains(QStringLiteral("bay1")) &&
                 before[1].contains(QStringLiteral("h1")) && before[2].isEmpty(),
             qPrintable(before.join(QLatin1Char('|'))));

    const QString json = dir_.filePath(QStringLiteral("house.json"));
    QVERIFY(list().saveFile(json));
    const QByteArray bytes = fileBytes(json);
    QVERIFY2(bytes.startsWith("{\"id\":\"A\"") && bytes.contains("\"h1\":\"3,3\""),
             bytes.constData());
    QVERIFY(list().openFile(json));
    QVERIFY2(errors_.isEmpty(), qPrintable(errors_.join(QLatin1Char('\n'))));
    QCOMPARE(problems(), before);
    QVERIFY(list().saveFile(dir_.filePath(QStringLiteral("again.jsonl"))));
    QCOMPARE(fileBytes(dir_.filePath(QStringLiteral("again.jsonl"))), bytes);
}

void ColumnListWindowTest::fileChangedOnDiskIsNotOverwrittenUnasked_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("rowsAfter");
    QTest::addColumn<bool>("fileKeepsTheAddedRow");
    QTest::newRow("cancel") << int(ColumnListWindow::KeepFile) << 1 << true;
    QTest::newRow("reload") << int(ColumnListWindow::ReloadFile) << 2 << true;
    QTest::newRow("overwrite") << int(ColumnListWindow::OverwriteFile) << 1 << false;
}

// Another program adds a row to the open file; a plain Ctrl+S, with no
// edit, asks before it would overwrite that row, once.
void ColumnListWindowTest::fileChangedOnDiskIsNotOverwrittenUnasked() {
    QFETCH(int, answer);
    QFETCH(int, rowsAfter);
    QFETCH(bool, fileKeepsTheAddedRow);
    const QString path = dir_.filePath(QStringLiteral("changed.csv"));
    const QByteArray first = "id,pattern,reversed,bay1,bay2,bay3,bay4\nA,21,0,L45,,,\n";
    QVERIFY(writeFile(path, first));
    QVERIFY(list().openFile(path));
    QStringList asked;
    list().setChangedFileQuestion([&asked, answer](const QString& about) {
        asked << about;
        return ColumnListWindow::ChangedFileAnswer(answer);
    });

    QSignalSpy notice(list().findChild<QFileSystemWatcher*>(QStringLiteral("listFileWatcher")),
                      &QFileSystemWatcher::fileChanged);
    QVERIFY(writeFile(path, first + "B,22,0,,,,\n"));
    QVERIFY(notice.wait());
    QVERIFY2(list().statusBar()->currentMessage().contains(QStringLiteral("変更されました")),
             qPrintable(list().statusBar()->currentMessage()));

    table()->setFocus();
    QTest::keyClick(table(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(asked, QStringList{path});
    QCOMPARE(list().tableModel()->rowCount(), rowsAfter);
    QCOMPARE(fileBytes(path).contains("B,22,0"), fileKeepsTheAddedRow);
    QVERIFY(errors_.isEmpty());
    if (answer != ColumnListWindow::KeepFile) {
        // What the list read or wrote itself is no change.
        QTest::keyClick(table(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(asked.size(), 1);
    }
}

void ColumnListWindowTest::closingWithChangesAsks_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::newRow("cancel keeps the window") << int(QMessageBox::Cancel) << false;
    QTest::newRow("discard closes") << int(QMessageBox::Discard) << true;
    QTest::newRow("save closes after saving") << int(QMessageBox::Save) << true;
}

void ColumnListWindowTest::closingWithChangesAsks() {
    QFETCH(int, answer);
    QFETCH(bool, closed);
    const QString path = dir_.filePath(QStringLiteral("close.csv"));
    QVERIFY(QFile::copy(kHouse, path) || QFile::exists(path));
    QVERIFY(list().openFile(path));
    int asked = 0;
    list().setUnsavedQuestion([&] {
        ++asked;
        return answer;
    });
    QVERIFY(list().close());
    QCOMPARE(asked, 0);
    QCOMPARE(list().tableModel()->rowCount(), 0);
    QVERIFY(list().openFile(path));
    list().show();
    list().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(list_));
    table()->setFocus();
    table()->selectRow(3);
    QTest::keyClick(table(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(list().tableModel()->rowCount(), 61);
    QCOMPARE(list().close(), closed);
    QCOMPARE(asked, 1);
    QCOMPARE(list().isModified(), !closed);
    QCOMPARE(list().tableModel()->rowCount(), closed ? 0 : 61);
    if (answer == int(QMessageBox::Save)) {
        list().openFile(path);
        QCOMPARE(list().tableModel()->rowCount(), 61);
    }
    QFile::remove(path);
}

void ColumnListWindowTest::filtersNarrowTheRows_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("patternRow");
    QTest::addColumn<int>("classRow");
    QTest::addColumn<int>("rows");
    QTest::newRow("none") << "" << 0 << 0 << 60;
    QTest::newRow("second storey by name") << "2f-" << 0 << 0 << 24;
    QTest::newRow("pattern 13") << "" << 5 << 0 << 16;
    QTest::newRow("class (い)") << "" << 0 << 1 << 18;
    QTest::newRow("name and pattern") << "Y1" << 3 << 0 << 2;
    QTest::newRow("failed rows") << "" << 0 << 13 << 0;
}

void ColumnListWindowTest::filtersNarrowTheRows() {
    QFETCH(QString, name);
    QFETCH(int, patternRow);
    QFETCH(int, classRow);
    QFETCH(int, rows);
    openHouse();
    auto* nameFilter = list().findChild<QLineEdit*>(QStringLiteral("nameFilter"));
    QTest::keyClick(table(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(nameFilter->hasFocus());
    QTest::keyClicks(nameFilter, name);
    // On to the two drop-downs with Tab, as a user without the mouse goes.
    QTest::keyClick(nameFilter, Qt::Key_Tab);
    auto* patternFilter = list().findChild<QComboBox*>(QStringLiteral("patternFilter"));
    QVERIFY(patternFilter->hasFocus());
    patternFilter->setCurrentIndex(patternRow);
    QTest::keyClick(patternFilter, Qt::Key_Tab);
    auto* classFilter = list().findChild<QComboBox*>(QStringLiteral("classFilter"));
    QVERIFY(classFilter->hasFocus());
    classFilter->setCurrentIndex(classRow);
    QTest::keyClick(classFilter, Qt::Key_Tab);
    QVERIFY(table()->hasFocus());
    QTest::keyClick(table(), Qt::Key_Tab);
    QVERIFY(!table()->hasFocus());
    QCOMPARE(table()->model()->rowCount(), rows);
}

void ColumnListWindowTest::statusBarCountsPerClass() {
    openHouse();
    QCOMPARE(list().findChild<QLabel*>(QStringLiteral("countLabel"))->text(),
             QStringLiteral("60 本   (い) 18   (ろ) 15   (は) 6   (に) 5   (ほ) 1   (と) 9   "
                            "(ち) 3   (り) 1   (る)* 2"));
    list().findChild<QComboBox*>(QStringLiteral("patternFilter"))->setCurrentIndex(1);
    QVERIFY(list()
                .findChild<QLabel*>(QStringLiteral("countLabel"))
                ->text()
                .startsWith(QStringLiteral("60 本   表示 4 本   (い) 18")));
}

void ColumnListWindowTest::copiesSelectedRowsAsTabSeparatedText() {
    openHouse();
    table()->setFocus();
    // Sorted by N, descending: the copy follows what the user sees.
    table()->sortByColumn(ColumnTableModel::NColumn, Qt::DescendingOrder);
    table()->selectRow(0);
    QTest::keyClick(table(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(table(), Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 4); // header, two rows, the final line end
    QVERIFY(lines[0].startsWith(QStringLiteral("柱名\tパターン\t反転\t壁1")));
    const QStringList first = lines[1].split(QLatin1Char('\t'));
    const QStringList second = lines[2].split(QLatin1Char('\t'));
    QCOMPARE(first.size(), int(ColumnTableModel::ColumnCount));
    QVERIFY(first[ColumnTableModel::NColumn].toDouble() >=
            second[ColumnTableModel::NColumn].toDouble());
    QCOMPARE(first[ColumnTableModel::SymbolColumn], QStringLiteral("(る)*"));
}

void ColumnListWindowTest::calculatorContextMenuAddsItsColumn() {
    TMainF calculator;
    installColumnList(calculator, {});
    calculator.show();
    QVERIFY(QTest::qWaitForWindowExposed(&calculator));
    QCOMPARE(calculator.contextMenuPolicy(), Qt::ActionsContextMenu);
    ChoosePattern(&calculator, 22);
    ClickBay(&calculator, 1);
    calculator.activateWindow();
    QTest::keyClick(&calculator, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    auto* window = calculator.findChild<ColumnListWindow*>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->tableModel()->rowCount(), 1);
    const ColumnRow& added = window->tableModel()->columnRow(0);
    QCOMPARE(QString::fromStdString(added.name), QStringLiteral("C1"));
    QCOMPARE(QString::fromStdString(added.pattern), QStringLiteral("22"));
    QCOMPARE(QString::fromStdString(added.bays[0]), QStringLiteral("L45"));
    QCOMPARE(window->linkedRow(), 0);
    window->setUnsavedQuestion([] { return int(QMessageBox::Discard); });
}

// The sheet of the whole list: every column by name with its N value as
// the table shows it, a row that cannot be computed with its reason, and
// an unwritable path refused with a message.
void ColumnListWindowTest::sheetHoldsEveryRowOfTheList() {
    openHouse();
    ColumnRow broken = list().tableModel()->columnRow(1);
    broken.bays[1] = "X95";
    list().undoStack()->push(new SetRowCommand(list().tableModel(), 1, broken, {}));
    // Kept beside the screenshots, to be looked at.
    QDir().mkpath(QStringLiteral(KORUBA_SCREENSHOT_DIR));
    const QString path = QStringLiteral(KORUBA_SCREENSHOT_DIR "/column_list_house60.pdf");
    // The list's own project and designer, asked for; never those given
    // last for a single column's sheet.
    SheetInfo{QStringLiteral("別邸"), QStringLiteral("別の設計者"), {}}.save();
    QVERIFY(list().exportPdf(path));
    QVERIFY(list().statusBar()->currentMessage().contains(path));
    const QString text = pdfText(path);
    QVERIFY(text.contains(QStringLiteral("N値計算書")));
    QVERIFY(text.contains(QStringLiteral("物件名：山田邸")));
    QVERIFY(text.contains(QStringLiteral("設計者：佐藤設計")));
    QVERIFY(!text.contains(QStringLiteral("別邸")) && !text.contains(QStringLiteral("別の設計者")));
    QCOMPARE(headingAsks_, QStringList{QStringLiteral("house60")});
    // In the table of its storeys, not among the records without a pattern.
    const QString bad = text.split(QLatin1Char('\n')).filter(QStringLiteral("X95")).value(0);
    QVERIFY2(bad.contains(QStringLiteral("1F-X2Y1")) && bad.contains(QStringLiteral("12")),
             qPrintable(bad));
    QVERIFY(!text.contains(QStringLiteral("軸組パターンを読めなかった記録")));
    for (int row = 0; row < 60; row += 7) {
        const QString name = cell(*list().tableModel(), row, ColumnTableModel::NameColumn);
        const QString n = cell(*list().tableModel(), row, ColumnTableModel::NColumn);
        QVERIFY2(text.contains(name), qPrintable(name));
        QVERIFY2(row == 1 || text.contains(n), qPrintable(name + QLatin1Char(' ') + n));
    }
    QVERIFY(!list().exportPdf(dir_.filePath(QStringLiteral("no such dir/house.pdf"))));
    QCOMPARE(errors_.size(), 1);
}

// The heading given once is the list's: saved with it, not asked again
// after reopening, and read by the batch tool's sheet as well.
void ColumnListWindowTest::sheetHeadingTravelsWithTheListFile() {
    const QString path = dir_.filePath(QStringLiteral("headed.jsonl"));
    list().tableModel()->resetList(threeRows());
    QVERIFY(list().saveFile(path));
    QVERIFY(list().exportPdf(dir_.filePath(QStringLiteral("first.pdf"))));
    QCOMPARE(headingAsks_, QStringList{QStringLiteral("headed")});
    QVERIFY(list().isModified());
    table()->setFocus();
    QTest::keyClick(table(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!list().isModified());

    QVERIFY(list().openFile(path));
    const QString again = dir_.filePath(QStringLiteral("again.pdf"));
    QVERIFY(list().exportPdf(again));
    QCOMPARE(headingAsks_.size(), 1);
    QVERIFY(pdfText(again).contains(QStringLiteral("物件名：山田邸")));

    const QString toolSheet = dir_.filePath(QStringLiteral("tool.pdf"));
    QProcess tool;
    tool.start(QStringLiteral(KORUBA_CALC_TOOL),
               {path, QStringLiteral("--sheet"), toolSheet, QStringLiteral("--sheet-only")});
    QVERIFY(tool.waitForFinished(60000));
    const QString text = pdfText(toolSheet);
    QVERIFY2(text.contains(QStringLiteral("物件名：山田邸")) &&
                 text.contains(QStringLiteral("設計者：佐藤設計")),
             qPrintable(text.left(300)));
}

// One file, one sheet: the list's sheet and the tool's of a CSV with a
// name column beside the id name its rows by that name and carry the date
// as a Japanese document writes it, and neither shows the id instead.
void ColumnListWindowTest::listAndToolSheetsOfOneFileAgree() {
    const QString path = dir_.filePath(QStringLiteral("named.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("id,name,pattern,reversed,bay1,bay2,bay3,bay4\r\n"
               "C1,X1通り北端,11,0,L45,,,\r\n"
               "C2,,11,0,L45,,,\r\n");
    file.close();
    QVERIFY(list().openFile(path));
    const QDate before = QDate::currentDate();
    const QString listSheet = dir_.filePath(QStringLiteral("named-list.pdf"));
    QVERIFY(list().exportPdf(listSheet));
    const QString toolSheet = dir_.filePath(QStringLiteral("named-tool.pdf"));
    QProcess tool;
    tool.start(QStringLiteral(KORUBA_CALC_TOOL),
               {path, QStringLiteral("--sheet"), toolSheet, QStringLiteral("--sheet-only")});
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 0);
    const QDate after = QDate::currentDate();
    for (const QString& sheet : {listSheet, toolSheet}) {
        const QString text = pdfText(sheet);
        // Either day, should the run cross midnight.
        QVERIFY2(text.contains(QStringLiteral("作成日：") +
                               QString::fromStdString(sheetDateText(before))) ||
                     text.contains(QStringLiteral("作成日：") +
                                   QString::fromStdString(sheetDateText(after))),
                 qPrintable(sheet + QLatin1Char('\n') + text.left(300)));
        QVERIFY2(text.contains(QStringLiteral("X1通り北端")) &&
                     !text.contains(QStringLiteral("C1")),
                 qPrintable(sheet));
        // An empty name cell leaves the row to its id.
        QVERIFY2(text.contains(QStringLiteral("C2")), qPrintable(sheet));
    }
}

// The calculator's rules and heights go into the row it adds; choosing a
// row shows its rules in the calculator (the strip and the N), a
// one-storey row giving only H1 included; the rules remembered for the
// next run stay.
void ColumnListWindowTest::addedRowKeepsTheRulesAndChoosingARowShowsItsOwn() {
    LinkedCalculator linked;
    TMainF& calculator = linked.calculator;
    const CalcConditions remembered = calculator.conditions();
    const CalcConditions tall{RuleSet::Revision2025, 330, 290};
    QVERIFY(calculator.setConditions(tall));
    ChoosePattern(&calculator, 21);
    ClickBay(&calculator, 1);
    const QString tallN = Text(&calculator, QStringLiteral("Lbl_Nti"));
    linked.key(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    ColumnListWindow& window = linked.list();
    window.setUnsavedQuestion([] { return int(QMessageBox::Discard); });
    ColumnTableModel& model = *window.tableModel();
    QCOMPARE(model.columnRow(0).rules + ' ' + model.columnRow(0).h1 + ' ' + model.columnRow(0).h2,
             std::string("2025 3.30 2.90"));
    QVERIFY2(tallN.contains(cell(model, 0, ColumnTableModel::NColumn)), qPrintable(tallN));

    ColumnRow oneStorey = namedRow("平屋", "22", "X45");
    oneStorey.rules = "2025";
    oneStorey.h1 = "3.20";
    window.undoStack()->push(new InsertRowsCommand(
        &model, 1, {{namedRow("旧", "21", "L45"), model.newRowId()}, {oneStorey, model.newRowId()}},
        {}));
    const auto shows = [&](int row, RuleSet rules) {
        QCOMPARE(calculator.conditions().rules, rules);
        QCOMPARE(Widget(&calculator, QStringLiteral("Lbl_Rules"))->isVisible(),
                 rules == RuleSet::Revision2025);
        QVERIFY(Text(&calculator, QStringLiteral("Lbl_Nti"))
                    .contains(cell(model, row, ColumnTableModel::NColumn)));
    };
    clickRow(window.tableView(), 1);
    shows(1, RuleSet::Notice2000);
    QTest::keyClick(window.tableView(), Qt::Key_Down);
    shows(2, RuleSet::Revision2025);
    QTest::keyClick(window.tableView(), Qt::Key_Up);
    QTest::keyClick(window.tableView(), Qt::Key_Up);
    QCOMPARE(calculator.conditions(), tall);
    QCOMPARE(Text(&calculator, QStringLiteral("Lbl_Nti")), tallN);
    // Showing rows is no edit and leaves the remembered conditions, which
    // the calculator works under again once the list is closed.
    QCOMPARE(window.undoStack()->count(), 2);
    QVERIFY(window.close());
    QCOMPARE(calculator.conditions(), remembered);
    QCOMPARE(TMainF().conditions(), remembered);
}

// The calculator edits the row its title and the list's status bar name,
// in bold: the row clicked (blank names refused), a copy made, the copy
// renamed; the mirror button mirrors the copy. Sorted and narrowed to
// another class, the list keeps the edited row chosen and in sight; the
// next file opens in its own order.
void ColumnListWindowTest::theCalculatorEditsTheRowItsTitleNames() {
    const QString ownTitle = calculator_->windowTitle();
    openHouse();
    auto* edited = list().findChild<QLabel*>(QStringLiteral("editedLabel"));
    QVERIFY(edited != nullptr);
    ColumnTableModel& model = *list().tableModel();
    const auto names = [&](const QString& name) {
        QCOMPARE(edited->text(), QStringLiteral("計算画面で編集中: ") + name);
        QCOMPARE(calculator_->windowTitle(), ownTitle + QStringLiteral(" - 柱 ") + name);
    };
    clickRow(table(), 59); // 2F-X6Y6, pattern 21, which can be mirrored
    const QString name = cell(model, 59, ColumnTableModel::NameColumn);
    names(name);
    QVERIFY(model.index(59, 0).data(Qt::FontRole).value<QFont>().bold());
    for (const QString& blank : {QString(), QStringLiteral("   "), QStringLiteral("\u3000")}) {
        QCOMPARE(typeName(table(), blank), name);
    }
    QCOMPARE(list().undoStack()->count(), 0);
    QTest::keyClick(table(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(typeName(table(), QStringLiteral("COPY-1")), QStringLiteral("COPY-1"));
    names(QStringLiteral("COPY-1"));
    QVERIFY(!model.index(59, 0).data(Qt::FontRole).value<QFont>().bold());
    const ColumnRow original = model.columnRow(59);
    ClickButton(calculator_.get(), QStringLiteral("BBtn_Rev"));
    QVERIFY(model.columnRow(59) == original);
    QCOMPARE(model.outcome(60).column.reversed, 1 - model.outcome(59).column.reversed);

    // A sort leaves the moves off (they would change nothing in sight).
    clickHeader(table(), ColumnTableModel::NColumn);
    QVERIFY(!list().findChild<QAction*>(QStringLiteral("moveUp"))->isEnabled());
    list()
        .findChild<QComboBox*>(QStringLiteral("classFilter"))
        ->setCurrentIndex(model.outcome(60).result.JointClass == 1 ? 2 : 1);
    ClickBay(calculator_.get(), 1);
    QVERIFY(model.columnRow(60).bays[0] != original.bays[0]);
    QCOMPARE(list().linkedRow(), 60);
    QCOMPARE(table()->currentIndex().data().toString(), QStringLiteral("COPY-1"));
    QVERIFY(table()->viewport()->rect().intersects(table()->visualRect(table()->currentIndex())));
    names(QStringLiteral("COPY-1"));
    // The next file opens in its own order, and without an edited row.
    list().findChild<QComboBox*>(QStringLiteral("classFilter"))->setCurrentIndex(0);
    openHouse();
    QCOMPARE(cell(*table()->model(), 0, 0), cell(model, 0, 0));
    QVERIFY(list().findChild<QAction*>(QStringLiteral("moveUp"))->isEnabled());
    QCOMPARE(calculator_->windowTitle(), ownTitle);
}

// Three adds leave the third row chosen alone. Deleting three rows asks
// first and is one step of undo; the counts follow the rows.
void ColumnListWindowTest::addSelectsTheNewRowAloneAndDeletingSeveralAsks() {
    LinkedCalculator linked;
    ChoosePattern(&linked.calculator, 22);
    for (int add = 0; add < 6; ++add) {
        linked.key(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
        const QModelIndexList chosen = linked.list().tableView()->selectionModel()->selectedRows();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().row(), add);
    }
    ColumnListWindow& window = linked.list();
    window.setUnsavedQuestion([] { return int(QMessageBox::Discard); });
    QTableView* table = window.tableView();
    const auto* count = window.findChild<QLabel*>(QStringLiteral("countLabel"));
    focusWindow(&window);
    clickRow(table, 1);
    clickRow(table, 3, Qt::ShiftModifier);
    BoxSeen seen;
    answerNextBox(QMessageBox::No, &seen);
    QTest::keyClick(table, Qt::Key_Delete);
    QVERIFY2(seen.text.contains(QStringLiteral("3 本")), qPrintable(seen.text));
    QCOMPARE(window.tableModel()->rowCount(), 6);
    focusWindow(&window); // the box gave the keyboard back to the calculator
    answerNextBox(QMessageBox::Yes, &seen);
    QTest::keyClick(table, Qt::Key_Delete);
    QCOMPARE(count->text(), QStringLiteral("3 本   (い) 3"));
    focusWindow(&window);
    QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(count->text(), QStringLiteral("6 本   (い) 6"));
}

// Closing the calculator with a changed list asks once, naming the file:
// cancelled, both windows stay as they were; answered, the list goes with
// the calculator without asking again as the program closes its windows.
void ColumnListWindowTest::closingTheCalculatorAsksOnceNamingTheFile() {
    const QString path = dir_.filePath(QStringLiteral("ask.csv"));
    QVERIFY(QFile::copy(kHouse, path) || QFile::exists(path));
    LinkedCalculator linked({path});
    ColumnListWindow& window = linked.list();
    focusWindow(&window);
    clickRow(window.tableView(), 0);
    QTest::keyClick(window.tableView(), Qt::Key_D, Qt::ControlModifier);
    BoxSeen seen;
    answerNextBox(QMessageBox::Cancel, &seen);
    QVERIFY(!linked.calculator.close());
    QVERIFY2(seen.text.contains(QStringLiteral("ask.csv")), qPrintable(seen.text));
    QVERIFY(linked.calculator.isVisible() && window.isVisible() && window.isModified());
    QCOMPARE(window.tableModel()->rowCount(), 61);
    int questions = 0;
    window.setUnsavedQuestion([&questions] { return ++questions, int(QMessageBox::Discard); });
    QVERIFY(linked.calculator.close());
    QVERIFY(window.close());
    QCOMPARE(questions, 1);
}

// Columns without a hardware class (N above the table, no result) sort
// after every class, by the symbol and by N, and are counted after them.
void ColumnListWindowTest::rowsWithoutAClassComeAfterTheClasses() {
    ColumnList rows = threeRows(); // C has no pattern
    rows.rows.insert(rows.rows.begin(), aboveTheTable());
    list().tableModel()->resetList(rows);
    QCOMPARE(list().findChild<QLabel*>(QStringLiteral("countLabel"))->text(),
             QStringLiteral("4 本   (ほ) 1   (と) 1   --- 1   計算できない 1 本"));
    for (const int column : {int(ColumnTableModel::SymbolColumn), int(ColumnTableModel::NColumn)}) {
        clickHeader(table(), column);
        QCOMPARE(table()->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
        QCOMPARE(cell(*table()->model(), 0, 0) + cell(*table()->model(), 1, 0),
                 QStringLiteral("AB"));
    }
}

// The exported results are what the batch tool writes for the list saved
// as a file, byte for byte, safe to open in a spreadsheet; a name too long
// for its column shows whole in its tooltip.
void ColumnListWindowTest::resultsAreTheBatchToolsOwn() {
    openHouse();
    ColumnRow broken = list().tableModel()->columnRow(1);
    broken.bays[1] = "X95";
    broken.name = "=1+1 " + std::string(60, 'x');
    list().undoStack()->push(new SetRowCommand(list().tableModel(), 1, broken, {}));
    const QModelIndex name = table()->model()->index(1, ColumnTableModel::NameColumn);
    QVERIFY(name.data(Qt::ToolTipRole)
                .toString()
                .startsWith(QString::fromStdString(broken.name) + QStringLiteral("\nbay2")));
    QVERIFY(table()->columnWidth(0) <
            table()->fontMetrics().horizontalAdvance(name.data().toString()));
    const QString saved = dir_.filePath(QStringLiteral("results-input.csv"));
    const QString results = dir_.filePath(QStringLiteral("results.csv"));
    QVERIFY(list().saveFile(saved) && list().exportResults(results));
    QVERIFY(list().statusBar()->currentMessage().contains(results));
    QProcess tool;
    tool.start(QStringLiteral(KORUBA_CALC_TOOL), {QStringLiteral("--spreadsheet-safe"), saved});
    QVERIFY(tool.waitForFinished(60000));
    QFile file(results);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QCOMPARE(written, tool.readAllStandardOutput());
    QVERIFY(written.contains("\n\"'=1+1 x"));
    QVERIFY(!list().exportResults(dir_.filePath(QStringLiteral("no such dir/r.csv"))));
    QCOMPARE(errors_.size(), 1);
}

void ColumnListWindowTest::screenshotOfTheHouse() {
    openHouse();
    clickRow(table(), 7);
    // The status bar lays out its new text in the event loop.
    QCoreApplication::processEvents();
    QDir().mkpath(QStringLiteral(KORUBA_SCREENSHOT_DIR));
    QVERIFY(list().grab().save(QStringLiteral(KORUBA_SCREENSHOT_DIR "/column_list_house60.png")));
    QVERIFY(calculator_->grab().save(
        QStringLiteral(KORUBA_SCREENSHOT_DIR "/main_window_editing_row.png")));
    list().findChild<QComboBox*>(QStringLiteral("classFilter"))->setCurrentIndex(7);
    QCoreApplication::processEvents();
    QVERIFY(list().grab().save(
        QStringLiteral(KORUBA_SCREENSHOT_DIR "/column_list_house60_class_to.png")));
}

static bool readExample(const QString& path, House& house) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    std::string error;
    return columns::readHouse(std::string_view(bytes.constData(), std::size_t(bytes.size())), house,
                              error);
}

// An upper storey that overhangs a lower one set back: the lower corners
// X2-Y0 and X3-Y1 carry upper columns that are no corners, a frame no
// pattern draws.
const char kOverhang[] = R"({"format": "koruba-x-house", "version": 1, "rules": 2000,
  "grid": {"x": [["X0", 0], ["X1", 910], ["X2", 1820], ["X3", 2730]],
           "y": [["Y0", 0], ["Y1", 910], ["Y2", 1820]]},
  "storeys": [
    {"storey": 1, "height": 2.90,
     "outline": [["X0","Y0"], ["X2","Y0"], ["X2","Y1"], ["X3","Y1"], ["X3","Y2"], ["X0","Y2"]],
     "columns": [{"at": ["X0","Y0"]}, {"at": ["X2","Y0"]}, {"at": ["X2","Y1"]},
                 {"at": ["X3","Y1"]}, {"at": ["X3","Y2"]}, {"at": ["X0","Y2"]}],
     "walls": [{"from": ["X0","Y0"], "to": ["X2","Y0"], "bay": "R45"},
               {"from": ["X2","Y0"], "to": ["X2","Y1"], "bay": "P2.5"},
               {"from": ["X3","Y1"], "to": ["X3","Y2"], "bay": "X45"}]},
    {"storey": 2, "height": 2.90,
     "outline": [["X0","Y0"], ["X3","Y0"], ["X3","Y2"], ["X0","Y2"]],
     "columns": [{"at": ["X0","Y0"]}, {"at": ["X2","Y0"]}, {"at": ["X3","Y0"]},
                 {"at": ["X3","Y1"]}, {"at": ["X3","Y2"]}, {"at": ["X0","Y2"]}],
     "walls": [{"from": ["X0","Y0"], "to": ["X2","Y0"], "bay": "L30"},
               {"from": ["X3","Y1"], "to": ["X3","Y2"], "bay": "R30"}]}]}
)";

void ColumnListWindowTest::houseExpandsToOneRowPerColumnAndDirection_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("unmapped");
    QTest::newRow("two storeys") << QStringLiteral(KORUBA_EXAMPLES "/house2f.kxhouse") << 0;
    QTest::newRow("平屋") << QStringLiteral(KORUBA_EXAMPLES "/hiraya.kxhouse") << 0;
    QTest::newRow("overhang") << QString() << 2;
}

// Every row computes the derived N of its column and direction exactly,
// through the calculator core the list uses; a frame no pattern draws is
// a row that says so and computes nothing.
void ColumnListWindowTest::houseExpandsToOneRowPerColumnAndDirection() {
    QFETCH(QString, file);
    QFETCH(int, unmapped);
    if (file.isEmpty()) {
        file = dir_.filePath(QStringLiteral("overhang.kxhouse"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(kOverhang), qint64(sizeof kOverhang - 1));
    }
    openHouse();
    // A changed list: a row clicked and deleted.
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                      table()->visualRect(table()->model()->index(0, 0)).center());
    list().findChild<QAction*>(QStringLiteral("deleteRows"))->trigger();
    QVERIFY(list().isModified());
    int asked = 0;
    list().setUnsavedQuestion([&asked] {
        ++asked;
        return int(QMessageBox::Discard);
    });
    list().setHouseFileQuestion([file] { return file; });
    QTest::keyClick(table(), Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(asked, 1);
    QVERIFY(errors_.isEmpty());

    House house;
    QVERIFY(readExample(file, house));
    const std::vector<ColumnResult> derived = deriveHouse(house);
    const ColumnTableModel& model = *list().tableModel();
    QCOMPARE(model.rowCount(), int(derived.size() * 2));
    int row = 0;
    int failed = 0;
    for (const ColumnResult& column : derived) {
        for (const HouseDirection d : {HouseDirection::X, HouseDirection::Y}) {
            const std::string name = std::to_string(column.storey) + "F-" +
                                     gridPointName(house, column.at) +
                                     (d == HouseDirection::X ? "-X" : "-Y");
            QCOMPARE(model.columnRow(row).name, name);
            const RowOutcome& out = model.outcome(row);
            if (windowFrameOf(column, d)) {
                QVERIFY2(out.computed, name.c_str());
                // The same core on the same inputs: the same float, not a near one.
                QVERIFY2(out.result.NValue == column.in(d).result.NValue, name.c_str());
                QCOMPARE(out.result.JointClass, column.in(d).result.JointClass);
            } else {
                ++failed;
                QVERIFY(!out.computed);
                QVERIFY(out.error.starts_with(kNoPatternMark));
                QVERIFY2(out.error.find("1階が出隅で上の2階の柱がその他") != std::string::npos,
                         out.error.c_str());
            }
            ++row;
        }
    }
    QCOMPARE(failed, unmapped * 2);
    // A new list, not saved: closing it asks, saving asks for a list file.
    QVERIFY(list().isModified());
    QVERIFY(list().filePath().isEmpty());
    QCOMPARE(model.heading().project, house.project);
}

void ColumnListWindowTest::refusedHouseFileLeavesTheListAsItWas() {
    openHouse();
    QFile example(QStringLiteral(KORUBA_EXAMPLES "/house2f.kxhouse"));
    QVERIFY(example.open(QIODevice::ReadOnly));
    QByteArray text = example.readAll();
    const qsizetype at = text.indexOf("\"bay\": \"");
    QVERIFY(at > 0);
    text.insert(at + 8, "Q");
    const QString path = dir_.filePath(QStringLiteral("bad.kxhouse"));
    QFile bad(path);
    QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write(text) == text.size());
    bad.close();
    const ColumnList before = list().tableModel()->list();

    list().setHouseFileQuestion([path] { return path; });
    QTest::keyClick(table(), Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(errors_.size(), 1);
    QVERIFY2(errors_[0].contains(QStringLiteral(".bay")), qPrintable(errors_[0]));
    QVERIFY(list().tableModel()->list() == before);
    QCOMPARE(list().filePath(), kHouse);
    QVERIFY(!list().isModified());
}

QTEST_MAIN(ColumnListWindowTest)
#include "ColumnListWindowTest.moc"

// A column another window shows read-only in the calculator (the plan's)
// is not the linked row's: the row lets go and stays as it was, edited
// freely afterwards too; choosing the row again links it and unlocks the
// calculator.
void ColumnListWindowTest::aColumnShownFromElsewhereLeavesTheRowAlone() {
    openHouse();
    activateRow(59);
    const ColumnRow row = list().tableModel()->columnRow(59);
    BayTable bays;
    BayCell panel;
    panel.PanelOn = 1;
    panel.PanelMult = 2.5f;
    bays.SetCell(2, 1, panel);
    QVERIFY(calculator_->showReadOnlyColumn(11, 0, bays, calculator_->conditions(),
                                            QStringLiteral("平面図 1階 X1-Y1 (X方向)")));
    QCOMPARE(list().linkedRow(), -1);
    calculator_->editFreely();
    ClickBay(calculator_.get(), 1);
    QVERIFY(list().tableModel()->columnRow(59) == row);
    QCOMPARE(list().undoStack()->count(), 0);
    QVERIFY(calculator_->showReadOnlyColumn(11, 0, bays, calculator_->conditions(),
                                            QStringLiteral("平面図 1階 X1-Y1 (X方向)")));
    activateRow(0);
    QCOMPARE(list().linkedRow(), 0);
    QVERIFY(!calculator_->isReadOnly());
}
