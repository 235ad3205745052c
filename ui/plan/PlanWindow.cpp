#include "ui/plan/PlanWindow.h"

#include "calc/NumberFormat.h"
#include "calc/ResultText.h"
#include "columns/BayToken.h"
#include "columns/HouseEdit.h"
#include "columns/HouseFile.h"
#include "report/HouseSheet.h"
#include "report/SheetDate.h"
#include "report/SheetPainter.h"
#include "report/SheetPdf.h"
#include "report/WholeFileSave.h"
#include "ui/calculator/Artwork.h"
#include "ui/calculator/CompanionLink.h"
#include "ui/calculator/MainForm.h"
#include "ui/calculator/PaintedIconEngine.h"
#include "ui/columnlist/RecentFilesMenu.h"
#include "ui/plan/PlanDialogs.h"
#include "ui/plan/PlanDocument.h"
#include "ui/plan/PlanLink.h"
#include "ui/plan/PlanView.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolTip>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

namespace koruba {

namespace {

const QString kTitle = QStringLiteral("平面図");
const QString kFileFilter = QStringLiteral("住宅ファイル (*.kxhouse)");
// How near, in pixels of the screen, a click must come to a grid point or
// a wall to take it.
constexpr qreal kPickPixels = 14.0;
// A grid line dragged on the plan lands on the half module.
constexpr std::int32_t kGridDragStepMm = 455;

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

int askUnsavedBox(QWidget* parent, const QString& path) {
    const QString name = path.isEmpty() ? QStringLiteral("無題の住宅") : QFileInfo(path).fileName();
    return QMessageBox::question(
        parent, kTitle, QStringLiteral("%1 の変更を保存しますか？").arg(name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
}

// The brace choices as the bay token writes them, with the sizes and the
// panel multipliers the calculator offers.
struct BraceChoice {
    const char* label;
    const char* token;
    std::int32_t elementKind; // the calculator's picture of it
};
constexpr BraceChoice kBraces[] = {
    {"筋かいなし", "", NoBrace},
    {"片筋かい 右上がり (R)", "R", BraceRisingRight},
    {"片筋かい 左上がり (L)", "L", BraceRisingLeft},
    {"たすき掛け (X)", "X", CrossBrace},
};
// The multiplier the panel picture chooses when none was chosen before.
constexpr int kDefaultPanelRow = 5;
constexpr const char* kSizes[] = {"15", "30", "45", "90"};

const std::vector<GridLine>& linesOfHouse(const House& house, HouseDirection direction) {
    return direction == HouseDirection::X ? house.gridX : house.gridY;
}

qreal distanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const qreal length2 = QPointF::dotProduct(ab, ab);
    const qreal t =
        length2 > 0.0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF q = a + t * ab;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

} // namespace

PlanWindow::PlanWindow(QWidget* parent)
    : QMainWindow(parent), document_(new PlanDocument(this)), scene_(new QGraphicsScene(this)),
      item_(new PlanItem(*document_)), view_(new PlanView(scene_, this)),
      reportError_([this](const QString& message) { QMessageBox::warning(this, kTitle, message); }),
      askUnsaved_([this] { return askUnsavedBox(this, path_); }) {
    setObjectName(QStringLiteral("PlanWindow"));
    setAttribute(Qt::WA_QuitOnClose, false);
    scene_->addItem(item_);
    view_->setObjectName(QStringLiteral("planView"));
    view_->setAccessibleName(QStringLiteral("平面図"));
    setCentralWidget(view_);
    problemLabel_ = new QLabel(this);
    problemLabel_->setObjectName(QStringLiteral("problemLabel"));
    statusBar()->addPermanentWidget(problemLabel_);
    buildActions();
    connect(document_, &PlanDocument::changed, this, &PlanWindow::onHouseChanged);
    connect(document_->undoStack(), &QUndoStack::cleanChanged, this, &PlanWindow::updateTitle);
    connect(view_, &PlanView::planPressed, this, &PlanWindow::onPressed);
    connect(view_, &PlanView::planReleased, this, &PlanWindow::onReleased);
    connect(view_, &PlanView::planDoubleClicked, this, &PlanWindow::onDoubleClicked);
    connect(view_, &PlanView::planHovered, this, &PlanWindow::onHovered);
    connect(view_, &PlanView::cursorMoved, this, &PlanWindow::onCursorMoved);
    connect(view_, &PlanView::cursorActivated, this, &PlanWindow::onCursorActivated);
    connect(view_, &PlanView::cursorMenu, this, &PlanWindow::onCursorMenu);
    resize(1100, 800);
    newHouse();
}

PlanWindow::~PlanWindow() {
    // The stack goes with the document, after this window has stopped
    // being one; what it says on the way is for no one.
    disconnect(document_, nullptr, this, nullptr);
    disconnect(document_->undoStack(), nullptr, this, nullptr);
}

const House& PlanWindow::house() const {
    return document_->house();
}

const std::vector<ColumnResult>& PlanWindow::results() const {
    return document_->results();
}

QUndoStack* PlanWindow::undoStack() const {
    return document_->undoStack();
}

bool PlanWindow::isModified() const {
    return !document_->undoStack()->isClean();
}

// ---------------------------------------------------------------- actions

template <class Handler>
QAction* PlanWindow::makeAction(QMenu* menu, const char* name, const QString& text,
                                const QList<QKeySequence>& keys, Handler handler) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, handler);
    menu->addAction(action);
    return action;
}

void PlanWindow::buildActions() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    QAction* newAction = makeAction(file, "newHouse", QStringLiteral("新規(&N)"),
                                    QKeySequence::keyBindings(QKeySequence::New), [this] {
                                        if (maybeSave()) {
                                            newHouse();
                                        }
                                    });
    QAction* openAction =
        makeAction(file, "openHouse", QStringLiteral("開く(&O)..."),
                   QKeySequence::keyBindings(QKeySequence::Open), &PlanWindow::openDialog);
    recentMenu_ = new RecentFilesMenu(
        [this](const QString& path) {
            if (maybeSave()) {
                openFile(path);
            }
        },
        this, QStringLiteral("Plan/RecentFiles"));
    file->addMenu(recentMenu_);
    QAction* saveAction =
        makeAction(file, "saveHouse", QStringLiteral("上書き保存(&S)"),
                   QKeySequence::keyBindings(QKeySequence::Save), [this] { save(); });
    makeAction(file, "saveHouseAs", QStringLiteral("名前を付けて保存(&A)..."),
               {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, [this] { saveAsDialog(); });
    file->addSeparator();
    makeAction(file, "printPreview", QStringLiteral("計算書の印刷プレビュー(&V)..."), {},
               [this] { printPreview(); });
    makeAction(file, "exportPdf", QStringLiteral("計算書をPDFに保存(&D)..."),
               {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)}, [this] { exportSheetDialog(); });
    file->addSeparator();
    makeAction(file, "closePlan", QStringLiteral("閉じる(&C)"),
               {QKeySequence(Qt::CTRL | Qt::Key_W)}, [this] { close(); });

    QMenu* editMenu = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    // Texts of their own: the stack's would name the command and grow the
    // tool bar with every edit; the command shows in the tool tip.
    QUndoStack* stack = document_->undoStack();
    auto* undo = new QAction(QStringLiteral("元に戻す"), this);
    undo->setObjectName(QStringLiteral("undo"));
    undo->setShortcuts(QKeySequence::keyBindings(QKeySequence::Undo));
    undo->setEnabled(false);
    connect(undo, &QAction::triggered, stack, &QUndoStack::undo);
    connect(stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(stack, &QUndoStack::undoTextChanged, undo, [undo](const QString& text) {
        undo->setToolTip(QStringLiteral("元に戻す: %1").arg(text));
    });
    auto* redo = new QAction(QStringLiteral("やり直し"), this);
    redo->setObjectName(QStringLiteral("redo"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    redo->setEnabled(false);
    connect(redo, &QAction::triggered, stack, &QUndoStack::redo);
    connect(stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(stack, &QUndoStack::redoTextChanged, redo, [redo](const QString& text) {
        redo->setToolTip(QStringLiteral("やり直し: %1").arg(text));
    });
    editMenu->addAction(undo);
    editMenu->addAction(redo);
    editMenu->addSeparator();
    makeAction(editMenu, "houseSettings", QStringLiteral("住宅の設定(&H)..."),
               {QKeySequence(Qt::CTRL | Qt::Key_Comma)}, &PlanWindow::houseDialog);
    makeAction(editMenu, "gridLines", QStringLiteral("通り芯(&G)..."),
               {QKeySequence(Qt::CTRL | Qt::Key_G)}, &PlanWindow::gridDialog);
    addUpper_ = makeAction(editMenu, "addUpperStorey", QStringLiteral("2階を追加(&U)"), {},
                           &PlanWindow::addUpperStorey);
    removeUpper_ = makeAction(editMenu, "removeUpperStorey", QStringLiteral("2階を削除(&R)"), {},
                              &PlanWindow::removeUpperStorey);
    editMenu->addSeparator();
    makeAction(editMenu, "cancelSketch", QStringLiteral("作図を取り消す"),
               {QKeySequence(Qt::Key_Escape)}, &PlanWindow::cancelSketch);

    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    QAction* fit = makeAction(viewMenu, "fitPlan", QStringLiteral("全体を表示(&F)"),
                              {QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { view_->fitPlan(); });
    makeAction(viewMenu, "zoomIn", QStringLiteral("拡大(&I)"),
               {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
               [this] { view_->zoomBy(1.25); });
    makeAction(viewMenu, "zoomOut", QStringLiteral("縮小(&O)"),
               {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [this] { view_->zoomBy(0.8); });
    viewMenu->addSeparator();
    auto* storeys = new QActionGroup(this);
    storey1_ = makeAction(viewMenu, "storey1", QStringLiteral("1階"),
                          {QKeySequence(Qt::CTRL | Qt::Key_1)}, [this] { setStorey(1); });
    storey2_ = makeAction(viewMenu, "storey2", QStringLiteral("2階"),
                          {QKeySequence(Qt::CTRL | Qt::Key_2)}, [this] { setStorey(2); });
    for (QAction* a : {storey1_, storey2_}) {
        a->setCheckable(true);
        storeys->addAction(a);
    }
    showOther_ = makeAction(viewMenu, "showOtherStorey", QStringLiteral("他の階を薄く表示(&S)"), {},
                            [this](bool on) {
                                PlanOptions options = item_->options();
                                options.showOtherStorey = on;
                                item_->setOptions(options);
                            });
    showOther_->setCheckable(true);
    showOther_->setChecked(true);

    QMenu* toolMenu = menuBar()->addMenu(QStringLiteral("作図(&D)"));
    tools_ = new QActionGroup(this);
    const struct {
        const char* name;
        const char* text;
        Qt::Key key;
        Tool tool;
    } toolList[] = {
        {"toolSelect", "選択(&S)", Qt::Key_F2, Tool::Select},
        {"toolWall", "壁(&W)", Qt::Key_F3, Tool::Wall},
        {"toolColumn", "柱(&C)", Qt::Key_F4, Tool::Column},
        {"toolOutline", "外周(&O)", Qt::Key_F5, Tool::Outline},
    };
    for (const auto& t : toolList) {
        const Tool tool = t.tool;
        QAction* a = makeAction(toolMenu, t.name, QString::fromUtf8(t.text), {QKeySequence(t.key)},
                                [this, tool] { setTool(tool); });
        a->setCheckable(true);
        a->setData(static_cast<int>(tool));
        tools_->addAction(a);
    }
    tools_->actions().front()->setChecked(true);

    QToolBar* bar = addToolBar(QStringLiteral("平面図"));
    bar->setObjectName(QStringLiteral("planToolBar"));
    bar->addAction(newAction);
    bar->addAction(openAction);
    bar->addAction(saveAction);
    bar->addSeparator();
    bar->addAction(undo);
    bar->addAction(redo);
    bar->addSeparator();
    bar->addAction(storey1_);
    bar->addAction(storey2_);
    bar->addAction(fit);
    bar->addSeparator();
    bar->addActions(tools_->actions());
    // A row of its own: the pictures and the lists do not fit beside the
    // commands in a window of ordinary width.
    addToolBarBreak();
    QToolBar* elementBar = addToolBar(QStringLiteral("壁の要素"));
    elementBar->setObjectName(QStringLiteral("elementToolBar"));
    buildElementBar(elementBar);
}

void PlanWindow::buildElementBar(QToolBar* bar) {
    braceBox_ = new QComboBox(bar);
    braceBox_->setObjectName(QStringLiteral("braceBox"));
    braceBox_->setAccessibleName(QStringLiteral("筋かい"));
    for (const BraceChoice& b : kBraces) {
        braceBox_->addItem(QString::fromUtf8(b.label), QString::fromLatin1(b.token));
    }
    braceBox_->setCurrentIndex(1);
    sizeBox_ = new QComboBox(bar);
    sizeBox_->setObjectName(QStringLiteral("sizeBox"));
    sizeBox_->setAccessibleName(QStringLiteral("筋かいの寸法"));
    for (const char* size : kSizes) {
        sizeBox_->addItem(QStringLiteral("%1x90").arg(QString::fromLatin1(size)),
                          QString::fromLatin1(size));
    }
    sizeBox_->setCurrentIndex(2);
    panelBox_ = new QComboBox(bar);
    panelBox_->setObjectName(QStringLiteral("panelBox"));
    panelBox_->setAccessibleName(QStringLiteral("面材の倍率"));
    panelBox_->addItem(QStringLiteral("面材なし"), QString());
    for (std::int32_t row = 0; row < kPanelMultiplierRows; ++row) {
        const QString m = qText(F1(panelMultiplierOfRow(row)));
        panelBox_->addItem(QStringLiteral("面材 %1").arg(m), m);
    }
    bar->addWidget(new QLabel(QStringLiteral(" 壁: "), bar));
    // The calculator's element pictures beside the lists: a brace kind
    // chosen by its picture, the panel switched on and off by its own.
    auto* braces = new QActionGroup(this);
    for (std::size_t i = 0; i < std::size(kBraces); ++i) {
        const std::int32_t kind = kBraces[i].elementKind;
        auto* a = new QAction(PaintedIconEngine::makeIcon(
                                  artwork::kElementIconSize,
                                  [kind](QPainter& p) { artwork::paintElementIcon(p, kind); }),
                              QString::fromUtf8(kBraces[i].label), this);
        a->setObjectName(QStringLiteral("brace%1").arg(i));
        a->setCheckable(true);
        braces->addAction(a);
        bar->addAction(a);
        const int row = static_cast<int>(i);
        connect(a, &QAction::triggered, this, [this, row] {
            braceBox_->setCurrentIndex(row);
            setTool(Tool::Wall);
        });
    }
    auto* panel = new QAction(PaintedIconEngine::makeIcon(
                                  artwork::kElementIconSize,
                                  [](QPainter& p) { artwork::paintElementIcon(p, PanelElement); }),
                              QStringLiteral("面材"), this);
    panel->setObjectName(QStringLiteral("panel"));
    panel->setCheckable(true);
    bar->addAction(panel);
    connect(panel, &QAction::triggered, this, [this](bool on) {
        panelBox_->setCurrentIndex(on ? (lastPanelRow_ > 0 ? lastPanelRow_ : kDefaultPanelRow) : 0);
        setTool(Tool::Wall);
    });
    connect(braceBox_, &QComboBox::currentIndexChanged, this,
            [braces](int row) { braces->actions().at(row)->setChecked(true); });
    connect(panelBox_, &QComboBox::currentIndexChanged, this, [this, panel](int row) {
        panel->setChecked(row > 0);
        if (row > 0) {
            lastPanelRow_ = row;
        }
    });
    braces->actions().at(braceBox_->currentIndex())->setChecked(true);
    bar->addSeparator();
    bar->addWidget(braceBox_);
    bar->addWidget(sizeBox_);
    bar->addWidget(panelBox_);
    // Choosing an element is choosing to place walls.
    for (QComboBox* box : {braceBox_, sizeBox_, panelBox_}) {
        connect(box, &QComboBox::activated, this, [this] { setTool(Tool::Wall); });
    }
}

// ---------------------------------------------------------------- files

void PlanWindow::newHouse() {
    document_->reset(columns::newHouse());
    path_.clear();
    storey_ = 1;
    cancelSketch();
    onHouseChanged();
    view_->fitPlan();
    updateTitle();
}

bool PlanWindow::openFile(const QString& path) {
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
    document_->reset(std::move(house));
    path_ = path;
    storey_ = 1;
    cancelSketch();
    onHouseChanged();
    view_->fitPlan();
    recentMenu_->remember(path);
    updateTitle();
    return true;
}

bool PlanWindow::saveFile(const QString& path) {
    // What is saved must open again: the house file takes only a house
    // that can be derived.
    if (const auto& problem = document_->problem()) {
        reportError_(QStringLiteral("この住宅はまだ計算できないため保存できません: %1")
                         .arg(qText(*problem)));
        return false;
    }
    const std::string bytes = columns::writeHouse(document_->house());
    QString reason;
    if (!saveWholeFile(path, bytes, reason)) {
        reportError_(QStringLiteral("%1 に保存できません: %2").arg(path, reason));
        return false;
    }
    path_ = path;
    document_->undoStack()->setClean();
    recentMenu_->remember(path);
    updateTitle();
    statusBar()->showMessage(QStringLiteral("%1 に保存しました").arg(path), 5000);
    return true;
}

std::optional<SheetDescription> PlanWindow::sheet() {
    // The sheet states the house as it is now; a house that cannot be
    // derived has no numbers to state.
    if (const auto& problem = document_->problem()) {
        reportError_(QStringLiteral("この住宅はまだ計算できないため計算書を作れません: %1")
                         .arg(qText(*problem)));
        return std::nullopt;
    }
    return houseSheet(document_->house(), sheetDateText(QDate::currentDate()));
}

bool PlanWindow::exportSheet(const QString& path) {
    const std::optional<SheetDescription> description = sheet();
    if (!description) {
        return false;
    }
    QString error;
    if (!writeSheetPdf(path, *description, error)) {
        reportError_(error);
        return false;
    }
    statusBar()->showMessage(QStringLiteral("%1 に計算書を保存しました").arg(path), 5000);
    return true;
}

void PlanWindow::exportSheetDialog() {
    if (!sheet()) {
        return;
    }
    const QString suggested = path_.isEmpty() ? QStringLiteral("計算書.pdf")
                                              : QFileInfo(path_).path() + QLatin1Char('/') +
                                                    QFileInfo(path_).completeBaseName() +
                                                    QStringLiteral(".pdf");
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("計算書をPDFに保存"),
                                                      suggested, QStringLiteral("PDF (*.pdf)"));
    if (!path.isEmpty()) {
        exportSheet(path);
    }
}

void PlanWindow::printPreview() {
    const std::optional<SheetDescription> description = sheet();
    if (!description) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("計算書の印刷プレビュー"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [&description](QPrinter* target) { paintSheet(*target, *description); });
    dialog.exec();
}

void PlanWindow::openDialog() {
    if (!maybeSave()) {
        return;
    }
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("住宅ファイルを開く"),
                                                      QFileInfo(path_).path(), kFileFilter);
    if (!path.isEmpty()) {
        openFile(path);
    }
}

bool PlanWindow::save() {
    return path_.isEmpty() ? saveAsDialog() : saveFile(path_);
}

bool PlanWindow::saveAsDialog() {
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("住宅ファイルを保存"),
        path_.isEmpty() ? QStringLiteral("住宅.kxhouse") : path_, kFileFilter);
    if (path.isEmpty()) {
        return false;
    }
    if (!isHouseFile(path)) {
        path += QString::fromUtf8(columns::kHouseSuffix.data(),
                                  static_cast<qsizetype>(columns::kHouseSuffix.size()));
    }
    return saveFile(path);
}

bool PlanWindow::maybeSave() {
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

void PlanWindow::discardAndHide() {
    document_->reset(columns::newHouse());
    path_.clear();
    hide();
}

void PlanWindow::closeEvent(QCloseEvent* event) {
    if (maybeSave()) {
        event->accept();
    } else {
        event->ignore();
    }
}

// ---------------------------------------------------------------- edits

void PlanWindow::edit(const QString& text,
                      const std::function<std::optional<std::string>(House&)>& f,
                      bool mayBeIncomplete) {
    if (auto reason = document_->apply(text, f,
                                       mayBeIncomplete ? PlanDocument::Check::MayBeIncomplete
                                                       : PlanDocument::Check::KeepDerivable)) {
        refused(*reason);
    } else {
        // A refusal shown before is not about this edit.
        statusBar()->clearMessage();
    }
}

void PlanWindow::refused(const std::string& reason) {
    statusBar()->showMessage(QStringLiteral("できません: %1").arg(qText(reason)), 10000);
}

void PlanWindow::setStorey(std::int32_t storey) {
    if (columns::findStorey(house(), storey) == nullptr) {
        return;
    }
    storey_ = storey;
    cancelSketch();
    PlanOptions options = item_->options();
    options.storey = storey;
    item_->setOptions(options);
    updateStoreyActions();
    updateStatus();
}

void PlanWindow::setTool(Tool tool) {
    tool_ = tool;
    for (QAction* a : tools_->actions()) {
        a->setChecked(a->data().toInt() == static_cast<int>(tool));
    }
    cancelSketch();
}

QString PlanWindow::wallElement() const {
    QString token = braceBox_->currentData().toString();
    if (!token.isEmpty()) {
        token += sizeBox_->currentData().toString();
    }
    const QString panel = panelBox_->currentData().toString();
    if (!panel.isEmpty()) {
        token += (token.isEmpty() ? QStringLiteral("P") : QStringLiteral("+P")) + panel;
    }
    return token;
}

void PlanWindow::setWallElement(const QString& token) {
    BayCell cell;
    std::string error;
    if (!columns::parseBayToken(token.toStdString(), cell, error)) {
        refused(error);
        return;
    }
    const QString brace = cell.BraceKind == BraceRisingRight  ? QStringLiteral("R")
                          : cell.BraceKind == BraceRisingLeft ? QStringLiteral("L")
                          : cell.BraceKind == CrossBrace      ? QStringLiteral("X")
                                                              : QString();
    braceBox_->setCurrentIndex(braceBox_->findData(brace));
    if (cell.BraceKind != NoBrace) {
        sizeBox_->setCurrentIndex(cell.BraceSize);
    }
    panelBox_->setCurrentIndex(cell.PanelOn == 1 ? panelBox_->findData(qText(F1(cell.PanelMult)))
                                                 : 0);
}

std::optional<GridPoint> PlanWindow::gridPointNear(QPointF at) const {
    const House& h = house();
    const qreal reach = kPickPixels * view_->planPerPixel();
    std::optional<GridPoint> best;
    qreal bestDistance = reach;
    // The nearest line each way: the grid is sorted.
    auto nearest = [reach](const std::vector<GridLine>& lines, qreal v) -> std::optional<int> {
        std::optional<int> found;
        qreal d = reach;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const qreal e = std::abs(lines[i].positionMm - v);
            if (e <= d) {
                d = e;
                found = static_cast<int>(i);
            }
        }
        return found;
    };
    const auto x = nearest(h.gridX, at.x());
    const auto y = nearest(h.gridY, -at.y());
    if (x && y) {
        const GridPoint p{*x, *y};
        const QPointF q = planPoint(h, p);
        if (std::hypot(q.x() - at.x(), q.y() - at.y()) <= bestDistance * std::sqrt(2.0)) {
            best = p;
        }
    }
    return best;
}

std::optional<std::size_t> PlanWindow::wallNear(QPointF at) const {
    const Storey* s = columns::findStorey(house(), storey_);
    if (s == nullptr) {
        return std::nullopt;
    }
    const qreal reach = kPickPixels * view_->planPerPixel();
    std::optional<std::size_t> best;
    qreal bestDistance = reach;
    for (std::size_t i = 0; i < s->walls.size(); ++i) {
        const qreal d = distanceToSegment(at, planPoint(house(), s->walls[i].from),
                                          planPoint(house(), s->walls[i].to));
        if (d <= bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

const ColumnResult* PlanWindow::columnNear(QPointF at) const {
    const auto p = gridPointNear(at);
    if (!p) {
        return nullptr;
    }
    for (const ColumnResult& c : results()) {
        if (c.storey == storey_ && c.at == *p) {
            return &c;
        }
    }
    return nullptr;
}

void PlanWindow::onPressed(QPointF at, Qt::MouseButton button, QPoint globalPos) {
    view_->setFocus();
    const auto point = gridPointNear(at);
    if (button == Qt::RightButton) {
        // On a column: its menu; elsewhere on a wall (also over a grid
        // point that holds no column): the brace turns round.
        const Storey* s = columns::findStorey(house(), storey_);
        const bool onColumn = point && s != nullptr &&
                              std::any_of(s->columns.begin(), s->columns.end(),
                                          [&](const HouseColumn& c) { return c.at == *point; });
        if (onColumn && tool_ != Tool::Outline) {
            columnMenu(*point, globalPos);
            return;
        }
        if (const auto wall = wallNear(at)) {
            const std::int32_t storey = storey_;
            const std::size_t index = *wall;
            edit(QStringLiteral("筋かいの向きを変更"),
                 [storey, index](House& h) { return columns::flipWallBrace(h, storey, index); });
            return;
        }
        cancelSketch();
        return;
    }
    if (button != Qt::LeftButton) {
        return;
    }
    const std::int32_t storey = storey_;
    switch (tool_) {
    case Tool::Select:
        // Off the grid points, a press on a grid line takes hold of it.
        if (!point) {
            gridDrag_ = gridLineNear(at);
        }
        return;
    case Tool::Wall:
        if (point) {
            pressedAt_ = point;
            return;
        }
        if (const auto wall = wallNear(at)) {
            BayCell cell;
            std::string error;
            columns::parseBayToken(wallElement().toStdString(), cell, error);
            const std::size_t index = *wall;
            edit(cell.BraceKind == NoBrace && cell.PanelOn != 1 ? QStringLiteral("壁を削除")
                                                                : QStringLiteral("壁を変更"),
                 [storey, index, cell](House& h) {
                     return columns::setWallBay(h, storey, index, cell);
                 });
        }
        return;
    case Tool::Column:
        if (point) {
            const GridPoint p = *point;
            const Storey* s = columns::findStorey(house(), storey);
            const bool present =
                s != nullptr && std::any_of(s->columns.begin(), s->columns.end(),
                                            [p](const HouseColumn& c) { return c.at == p; });
            if (present) {
                edit(QStringLiteral("柱を削除"),
                     [storey, p](House& h) { return columns::removeColumn(h, storey, p); });
            } else {
                edit(QStringLiteral("柱を追加"),
                     [storey, p](House& h) { return columns::addColumn(h, storey, p); });
            }
        }
        return;
    case Tool::Outline:
        if (!point) {
            return;
        }
        if (sketch_.empty()) {
            // A press on a corner of the outline may be the start of a
            // drag that moves it; the release tells.
            const Storey* s = columns::findStorey(house(), storey);
            if (s != nullptr &&
                std::find(s->outline.begin(), s->outline.end(), *point) != s->outline.end()) {
                pressedAt_ = point;
                return;
            }
        }
        if (!sketch_.empty() && *point == sketch_.front() && sketch_.size() >= 4) {
            const std::vector<GridPoint> outline = sketch_;
            sketch_.clear();
            edit(QStringLiteral("外周を設定"),
                 [storey, outline](House& h) { return columns::setOutline(h, storey, outline); });
        } else if (std::find(sketch_.begin(), sketch_.end(), *point) == sketch_.end()) {
            sketch_.push_back(*point);
        }
        updateSketch(at);
        return;
    }
}

void PlanWindow::onReleased(QPointF at, Qt::MouseButton button) {
    if (button == Qt::LeftButton && gridDrag_) {
        const GridLineRef ref = *gridDrag_;
        gridDrag_.reset();
        updateSketch();
        const std::int32_t to = gridDragPosition(at);
        if (to != linesOfHouse(house(), ref.direction)[ref.line].positionMm) {
            edit(QStringLiteral("通り芯を移動"), [ref, to](House& h) {
                return columns::moveGridLine(h, ref.direction, ref.line, to);
            });
        }
        return;
    }
    if (button != Qt::LeftButton || !pressedAt_) {
        return;
    }
    if (tool_ == Tool::Outline) {
        const GridPoint pressed = *pressedAt_;
        pressedAt_.reset();
        const auto released = gridPointNear(at);
        const Storey* s = columns::findStorey(house(), storey_);
        const auto corner = s != nullptr ? std::find(s->outline.begin(), s->outline.end(), pressed)
                                         : std::vector<GridPoint>::const_iterator();
        if (released && *released != pressed && s != nullptr && corner != s->outline.end()) {
            const std::int32_t storey = storey_;
            const auto vertex = static_cast<std::size_t>(corner - s->outline.begin());
            const GridPoint to = *released;
            edit(QStringLiteral("外周の角を移動"), [storey, vertex, to](House& h) {
                return columns::moveOutlineVertex(h, storey, vertex, to);
            });
        } else {
            // A click on a corner starts a new outline there.
            sketch_.push_back(pressed);
        }
        updateSketch(at);
        return;
    }
    if (tool_ != Tool::Wall) {
        return;
    }
    const GridPoint pressed = *pressedAt_;
    pressedAt_.reset();
    const auto released = gridPointNear(at);
    // A drag from one grid point to another places the wall at once; a
    // click marks an end, and the next click the other.
    GridPoint from = pressed;
    GridPoint to = pressed;
    if (released && *released != pressed) {
        to = *released;
    } else if (!sketch_.empty() && sketch_.front() != pressed) {
        from = sketch_.front();
    } else {
        sketch_ = sketch_.empty() ? std::vector<GridPoint>{pressed} : std::vector<GridPoint>{};
        updateSketch(at);
        return;
    }
    sketch_.clear();
    updateSketch(at);
    BayCell cell;
    std::string error;
    if (!columns::parseBayToken(wallElement().toStdString(), cell, error)) {
        refused(error);
        return;
    }
    const std::int32_t storey = storey_;
    // Both ends of a wall already there: the wall takes the element (none
    // removes it).
    if (const Storey* s = columns::findStorey(house(), storey)) {
        if (const auto wall = columns::wallBetween(*s, from, to)) {
            const std::size_t index = *wall;
            edit(cell.BraceKind == NoBrace && cell.PanelOn != 1 ? QStringLiteral("壁を削除")
                                                                : QStringLiteral("壁を変更"),
                 [storey, index, cell](House& h) {
                     return columns::setWallBay(h, storey, index, cell);
                 });
            return;
        }
    }
    edit(QStringLiteral("壁を配置"), [storey, from, to, cell](House& h) {
        return columns::placeWall(h, storey, from, to, cell);
    });
}

// The governing direction in the calculator where its patterns draw it;
// else, and without a calculator, the terms of both directions in a box.
// A column whose governing direction does not map is not shown by its
// other direction: the calculator would show an N below the column's.
void PlanWindow::onDoubleClicked(QPointF at) {
    if (const ColumnResult* c = columnNear(at)) {
        if (!showInCalculator(*c, c->governing)) {
            QMessageBox::information(this, kTitle, columnDetails(house(), *c));
        }
    }
}

void PlanWindow::setCalculator(TMainF* calculator) {
    calculator_ = calculator;
}

bool PlanWindow::showInCalculator(const ColumnResult& column, HouseDirection direction) {
    const auto frame = windowFrameOf(column, direction);
    const Storey* own = columns::findStorey(house(), column.storey);
    if (!calculator_ || !frame || own == nullptr) {
        return false;
    }
    // The house's rules and heights as its derivation takes them; under
    // the 2000 rules no height is read and the calculator keeps its own,
    // and a single-storey frame reads no upper height.
    CalcConditions conditions = calculator_->conditions();
    conditions.rules = house().rules;
    if (house().rules == RuleSet::Revision2025) {
        const Storey* upper = columns::findStorey(house(), 2);
        conditions.h1Cm = own->heightCm;
        conditions.h2Cm = column.frame == HouseFrame::LowerStorey && upper != nullptr
                              ? upper->heightCm
                              : own->heightCm;
    }
    const QString name =
        QStringLiteral("%1 %2 %3 (%4方向)")
            .arg(kTitle, qText(storeyLabel(house(), column.storey)), qText(column.name),
                 direction == HouseDirection::X ? QStringLiteral("X") : QStringLiteral("Y"));
    if (!calculator_->showReadOnlyColumn(frame->patternTag, frame->mirrored ? 1 : 0, frame->bays,
                                         conditions, name)) {
        return false;
    }
    shownColumn_ = ShownColumn{column.storey, column.at, direction};
    calculator_->show();
    calculator_->raise();
    activateWindowOf(*calculator_);
    return true;
}

// The calculator's read-only view of a column goes with the house: after
// every edit it shows the column anew, and a column that is gone or no
// longer maps is handed to the user to edit freely, no longer named as the
// plan's.
void PlanWindow::followShownColumn() {
    if (!shownColumn_) {
        return;
    }
    if (!calculator_ || !calculator_->isReadOnly()) {
        shownColumn_.reset();
        return;
    }
    const ShownColumn shown = *shownColumn_;
    for (const ColumnResult& c : results()) {
        if (c.storey == shown.storey && c.at == shown.at && windowFrameOf(c, shown.direction)) {
            showInCalculator(c, shown.direction);
            return;
        }
    }
    shownColumn_.reset();
    calculator_->editFreely();
}

void PlanWindow::onHovered(QPointF at, QPoint globalPos) {
    if (gridDrag_) {
        showGridDrag(at);
        return;
    }
    if (tool_ == Tool::Wall || tool_ == Tool::Outline) {
        const auto p = gridPointNear(at);
        updateSketch(p ? std::optional<QPointF>(planPoint(house(), *p)) : std::nullopt);
    }
    if (const ColumnResult* c = columnNear(at)) {
        QToolTip::showText(globalPos, columnDetails(house(), *c), view_);
    } else {
        QToolTip::hideText();
    }
}

void PlanWindow::cancelSketch() {
    sketch_.clear();
    pressedAt_.reset();
    gridDrag_.reset();
    updateSketch();
}

// ---------------------------------------------------------------- keyboard

// The cursor starts at the first grid point and stays on the grid; the
// view scrolls to keep it in sight.
void PlanWindow::onCursorMoved(int dx, int dy) {
    const House& h = house();
    if (h.gridX.empty() || h.gridY.empty()) {
        return;
    }
    GridPoint p = cursor_.value_or(GridPoint{0, 0});
    if (cursor_) {
        p.x = std::clamp(p.x + dx, 0, static_cast<int>(h.gridX.size()) - 1);
        p.y = std::clamp(p.y + dy, 0, static_cast<int>(h.gridY.size()) - 1);
    }
    cursor_ = p;
    const QPointF at = planPoint(h, p);
    updateSketch(at);
    view_->ensureVisible(QRectF(at - QPointF(500.0, 500.0), QSizeF(1000.0, 1000.0)));
    const ColumnResult* c = columnNear(at);
    statusBar()->showMessage(c != nullptr ? QStringLiteral("%1  %2 %3")
                                                .arg(qText(gridPointName(h, p)),
                                                     qText(F2(c->result().NValue)),
                                                     qText(std::string(c->result().JointSymbol)))
                                          : qText(gridPointName(h, p)));
}

// Enter is a click at the cursor; with the selection tool or with Shift
// it is a double-click. Ctrl+Enter turns round the brace of the wall from
// the marked end to the cursor.
void PlanWindow::onCursorActivated(Qt::KeyboardModifiers modifiers) {
    if (!cursor_) {
        onCursorMoved(0, 0);
        return;
    }
    const QPointF at = planPoint(house(), *cursor_);
    if (modifiers == Qt::ControlModifier) {
        const Storey* s = columns::findStorey(house(), storey_);
        const auto wall = s != nullptr && sketch_.size() == 1
                              ? columns::wallBetween(*s, sketch_.front(), *cursor_)
                              : std::nullopt;
        if (!wall) {
            refused("筋かいの向きを変えるには、壁の一端で Enter を押してから他端で Ctrl+Enter "
                    "を押します");
            return;
        }
        sketch_.clear();
        updateSketch(at);
        const std::int32_t storey = storey_;
        const std::size_t index = *wall;
        edit(QStringLiteral("筋かいの向きを変更"),
             [storey, index](House& h) { return columns::flipWallBrace(h, storey, index); });
        return;
    }
    if (tool_ == Tool::Select || modifiers == Qt::ShiftModifier) {
        onDoubleClicked(at);
        return;
    }
    const QPoint global = view_->viewport()->mapToGlobal(view_->mapFromScene(at));
    onPressed(at, Qt::LeftButton, global);
    onReleased(at, Qt::LeftButton);
}

void PlanWindow::onCursorMenu() {
    if (!cursor_) {
        return;
    }
    const Storey* s = columns::findStorey(house(), storey_);
    const GridPoint p = *cursor_;
    if (s != nullptr && std::any_of(s->columns.begin(), s->columns.end(),
                                    [p](const HouseColumn& c) { return c.at == p; })) {
        columnMenu(p, view_->viewport()->mapToGlobal(view_->mapFromScene(planPoint(house(), p))));
    }
}

// ---------------------------------------------------------------- grid lines

std::optional<PlanWindow::GridLineRef> PlanWindow::gridLineNear(QPointF at) const {
    const qreal reach = kPickPixels * view_->planPerPixel();
    std::optional<GridLineRef> best;
    qreal bestDistance = reach;
    for (const HouseDirection d : {HouseDirection::X, HouseDirection::Y}) {
        const std::vector<GridLine>& lines = linesOfHouse(house(), d);
        // X lines fix x; the plan draws y upwards at -y.
        const qreal v = d == HouseDirection::X ? at.x() : -at.y();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const qreal e = std::abs(lines[i].positionMm - v);
            if (e <= bestDistance) {
                bestDistance = e;
                best = GridLineRef{d, i};
            }
        }
    }
    return best;
}

std::int32_t PlanWindow::gridDragPosition(QPointF at) const {
    const qreal v = gridDrag_->direction == HouseDirection::X ? at.x() : -at.y();
    return static_cast<std::int32_t>(std::lround(v / kGridDragStepMm)) * kGridDragStepMm;
}

// The line where it would land, drawn across the plan.
void PlanWindow::showGridDrag(QPointF at) {
    const QRectF bounds = item_->boundingRect();
    const qreal v = gridDragPosition(at);
    if (gridDrag_->direction == HouseDirection::X) {
        item_->setSketch({QPointF(v, bounds.top()), QPointF(v, bounds.bottom())}, std::nullopt);
    } else {
        item_->setSketch({QPointF(bounds.left(), -v), QPointF(bounds.right(), -v)}, std::nullopt);
    }
}

void PlanWindow::updateSketch(std::optional<QPointF> pointer) {
    std::vector<QPointF> points;
    for (const GridPoint p : sketch_) {
        points.push_back(planPoint(house(), p));
    }
    item_->setSketch(std::move(points), pointer);
}

void PlanWindow::columnMenu(GridPoint at, QPoint globalPos) {
    const std::int32_t storey = storey_;
    const Storey* s = columns::findStorey(house(), storey);
    bool through = false;
    for (const HouseColumn& c : s->columns) {
        through = through || (c.at == at && c.through);
    }
    QMenu menu(this);
    menu.addAction(QStringLiteral("名前(&N)..."), this, [this, at] { editColumnName(at); });
    QAction* throughAction = menu.addAction(QStringLiteral("通し柱(&T)"), this, [=, this] {
        edit(through ? QStringLiteral("通し柱を解除") : QStringLiteral("通し柱に設定"),
             [=](House& h) { return columns::setColumnThrough(h, storey, at, !through); });
    });
    throughAction->setCheckable(true);
    throughAction->setChecked(through);
    menu.addAction(QStringLiteral("削除(&D)"), this, [=, this] {
        edit(QStringLiteral("柱を削除"),
             [=](House& h) { return columns::removeColumn(h, storey, at); });
    });
    for (const ColumnResult& c : results()) {
        if (c.storey != storey || !(c.at == at) || !calculator_) {
            continue;
        }
        menu.addSeparator();
        for (const HouseDirection d : {HouseDirection::X, HouseDirection::Y}) {
            QAction* show = menu.addAction(
                QStringLiteral("計算画面に表示 (%1方向)")
                    .arg(d == HouseDirection::X ? QStringLiteral("X") : QStringLiteral("Y")),
                this, [this, c, d] { showInCalculator(c, d); });
            show->setEnabled(windowFrameOf(c, d).has_value());
        }
    }
    menu.exec(globalPos);
}

void PlanWindow::editColumnName(GridPoint at) {
    const std::int32_t storey = storey_;
    const Storey* s = columns::findStorey(house(), storey);
    QString current;
    for (const HouseColumn& c : s->columns) {
        if (c.at == at) {
            current = qText(columnName(house(), c));
        }
    }
    bool ok = false;
    const QString name = QInputDialog::getText(
        this, kTitle, QStringLiteral("%1 の柱の名前（空で通り芯の名前）").arg(current),
        QLineEdit::Normal, current, &ok);
    if (ok) {
        const std::string text = name.trimmed().toStdString();
        edit(QStringLiteral("柱の名前を変更"),
             [=](House& h) { return columns::setColumnName(h, storey, at, text); });
    }
}

void PlanWindow::addUpperStorey() {
    edit(QStringLiteral("2階を追加"), columns::addUpperStorey, true);
    setStorey(2);
}

void PlanWindow::removeUpperStorey() {
    const auto answer = QMessageBox::question(
        this, kTitle, QStringLiteral("2階とその柱・壁をすべて削除しますか？"));
    if (answer == QMessageBox::Yes) {
        edit(QStringLiteral("2階を削除"), columns::removeUpperStorey, true);
    }
}

void PlanWindow::houseDialog() {
    HouseSettings settings = houseSettingsOf(house());
    if (!askHouseSettings(this, settings)) {
        return;
    }
    edit(QStringLiteral("住宅の設定を変更"),
         [settings](House& h) { return applyHouseSettings(h, settings); });
}

void PlanWindow::gridDialog() {
    GridDialog dialog(*document_, this);
    dialog.exec();
}

// ---------------------------------------------------------------- display

void PlanWindow::onHouseChanged() {
    if (columns::findStorey(house(), storey_) == nullptr) {
        storey_ = 1;
        PlanOptions options = item_->options();
        options.storey = 1;
        item_->setOptions(options);
    }
    item_->houseChanged();
    scene_->setSceneRect(item_->boundingRect());
    updateSketch();
    updateStoreyActions();
    updateStatus();
    followShownColumn();
}

void PlanWindow::updateStoreyActions() {
    const bool two = house().storeys.size() == 2;
    storey1_->setText(qText(storeyLabel(house(), 1)));
    storey2_->setVisible(two);
    storey1_->setChecked(storey_ == 1);
    storey2_->setChecked(storey_ == 2);
    addUpper_->setEnabled(!two);
    removeUpper_->setEnabled(two);
}

void PlanWindow::updateStatus() {
    if (const auto& problem = document_->problem()) {
        problemLabel_->setStyleSheet(QStringLiteral("color: #c00000;"));
        problemLabel_->setText(QStringLiteral("計算できません: %1").arg(qText(*problem)));
        return;
    }
    int columns = 0;
    int warned = 0;
    int beyond = 0;
    for (const ColumnResult& c : results()) {
        if (c.storey == storey_) {
            ++columns;
            warned += c.warnings.empty() ? 0 : 1;
            beyond += beyondHardwareClasses(c) ? 1 : 0;
        }
    }
    problemLabel_->setStyleSheet(warned + beyond > 0 ? QStringLiteral("color: #c00000;")
                                                     : QString());
    QString text =
        QStringLiteral("%1  柱 %2 本").arg(qText(storeyLabel(house(), storey_))).arg(columns);
    if (beyond > 0) {
        text += QStringLiteral("  N>7.5: %1 本").arg(beyond);
    }
    if (warned > 0) {
        text += QStringLiteral("  警告 %1 本").arg(warned);
    }
    problemLabel_->setText(text);
}

void PlanWindow::updateTitle() {
    const QString name =
        path_.isEmpty() ? QStringLiteral("無題の住宅") : QFileInfo(path_).fileName();
    setWindowTitle(QStringLiteral("%1[*] - %2").arg(name, kTitle));
    setWindowModified(isModified());
}

QString PlanWindow::columnDetails(const House& house, const ColumnResult& c) {
    const int storeys = c.frame == HouseFrame::LowerStorey ? 2 : 1;
    QString text = QStringLiteral("%1 %2 (%3)%4\n")
                       .arg(qText(storeyLabel(house, c.storey)), qText(c.name),
                            qText(gridPointName(house, c.at)),
                            c.through ? QStringLiteral(" 通し柱") : QString());
    text += QStringLiteral("%1  %2\n")
                .arg(c.corner ? QStringLiteral("出隅") : QStringLiteral("その他"),
                     c.frame == HouseFrame::LowerStorey
                         ? (c.upperColumn ? (c.upperCorner ? QStringLiteral("上階 出隅")
                                                           : QStringLiteral("上階 その他"))
                                          : QStringLiteral("上階の柱なし"))
                         : QString());
    for (const HouseDirection d : {HouseDirection::X, HouseDirection::Y}) {
        const ResultType& r = c.in(d).result;
        text += QStringLiteral("N_%1: %2%3\n")
                    .arg(d == HouseDirection::X ? QStringLiteral("X") : QStringLiteral("Y"),
                         qText(NLineText(r, storeys)),
                         d == c.governing ? QStringLiteral("  ←") : QString());
        for (const auto& factor :
             {HeightFactorText("f1", r.Rules, r.H1Cm),
              storeys == 2 ? HeightFactorText("f2", r.Rules, r.H2Cm) : std::string()}) {
            if (!factor.empty()) {
                text += QStringLiteral("    %1\n").arg(qText(factor));
            }
        }
    }
    const ResultType& r = c.result();
    text += beyondHardwareClasses(c)
                ? QStringLiteral("N = %1 > 7.5: 告示の表にない接合です").arg(qText(F2(r.NValue)))
                : QStringLiteral("N = %1  %2 %3")
                      .arg(qText(F2(r.NValue)), qText(std::string(r.JointSymbol)),
                           qText(std::string(r.JointName)));
    for (const std::string& w : c.warnings) {
        text += QStringLiteral("\n警告: %1").arg(qText(w));
    }
    return text;
}

} // namespace koruba
