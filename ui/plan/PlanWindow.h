#pragma once

#include "calc/House.h"
#include "calc/HouseDerivation.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QComboBox;
class QGraphicsScene;
class QLabel;
class QMenu;
class QToolBar;
class QUndoStack;
class TMainF;

namespace koruba {

class PlanDocument;
class PlanItem;
class PlanView;
class RecentFilesMenu;
struct SheetDescription;

// The plan window (平面図): a house drawn storey by storey on its grid,
// with every column's hardware on the plan, recomputed from the house at
// every change. The house is the document: the window turns pointer and
// keyboard into edits of the house library, each one undoable, and shows
// what the derivation says; it computes nothing itself. Files are the
// house files (*.kxhouse), saved whole or not at all.
class PlanWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit PlanWindow(QWidget* parent = nullptr);
    ~PlanWindow() override;

    // Opens a house file in place of the current house; false (the house
    // unchanged) when it cannot be read, after saying why.
    bool openFile(const QString& path);
    // Saves the house; false (still marked as changed, the old file whole)
    // when it cannot be written or cannot be derived yet, after saying why.
    bool saveFile(const QString& path);
    // Starts a new house (a grid, one storey, nothing drawn).
    void newHouse();
    // Writes the house's calculation sheet (the batch tool's, plan pages
    // first) as a PDF; false, nothing written, when the house cannot be
    // derived or the file cannot be written, after saying why.
    bool exportSheet(const QString& path);

    bool isModified() const;
    QString filePath() const { return path_; }
    const House& house() const;
    // The derived columns, empty while the house cannot be derived.
    const std::vector<ColumnResult>& results() const;
    QUndoStack* undoStack() const;
    PlanView* view() const { return view_; }

    // The storey shown and edited: 1 or 2.
    std::int32_t storey() const { return storey_; }
    void setStorey(std::int32_t storey);

    enum class Tool { Select, Wall, Column, Outline };
    Tool tool() const { return tool_; }
    void setTool(Tool tool);
    // The element the wall tool places, as the bay token of the batch
    // tool ("R45", "X90+P2.5"; "" places nothing and removes walls).
    void setWallElement(const QString& token);
    QString wallElement() const;

    // The calculator a column's detail is shown in; without one a
    // double-click shows the column's terms in a box.
    void setCalculator(TMainF* calculator);
    // Shows one direction of a derived column read-only in the calculator,
    // as long as the calculator's patterns draw it; it follows every later
    // edit of the house until the user edits it freely there. False when
    // there is no calculator or the column does not map.
    bool showInCalculator(const ColumnResult& column, HouseDirection direction);

    // How errors and the unsaved-changes question reach the user;
    // replaceable so that tests can answer them.
    using ErrorReport = std::function<void(const QString& message)>;
    using UnsavedQuestion = std::function<int()>;
    void setErrorReport(ErrorReport report) { reportError_ = std::move(report); }
    void setUnsavedQuestion(UnsavedQuestion ask) { askUnsaved_ = std::move(ask); }
    // Asks about unsaved changes; true when the house may be discarded.
    bool maybeSave();
    // Ends the house without asking (the user has answered already).
    void discardAndHide();

    // The text shown when the pointer rests on a column: both directions
    // with their terms, the governing one, and the warnings.
    static QString columnDetails(const House& house, const ColumnResult& column);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildActions();
    void buildElementBar(QToolBar* bar);
    template <class Handler>
    QAction* makeAction(QMenu* menu, const char* name, const QString& text,
                        const QList<QKeySequence>& keys, Handler handler);

    void openDialog();
    std::optional<SheetDescription> sheet();
    void exportSheetDialog();
    void printPreview();
    bool save();
    bool saveAsDialog();
    void houseDialog();
    void gridDialog();
    void addUpperStorey();
    void removeUpperStorey();

    void onPressed(QPointF at, Qt::MouseButton button, QPoint globalPos);
    void onReleased(QPointF at, Qt::MouseButton button);
    void onDoubleClicked(QPointF at);
    void onHovered(QPointF at, QPoint globalPos);
    void cancelSketch();
    void onCursorMoved(int dx, int dy);
    void onCursorActivated(Qt::KeyboardModifiers modifiers);
    void onCursorMenu();
    struct GridLineRef {
        HouseDirection direction;
        std::size_t line;
    };
    std::optional<GridLineRef> gridLineNear(QPointF at) const;
    std::int32_t gridDragPosition(QPointF at) const;
    void showGridDrag(QPointF at);
    void columnMenu(GridPoint at, QPoint globalPos);
    void editColumnName(GridPoint at);

    std::optional<GridPoint> gridPointNear(QPointF at) const;
    std::optional<std::size_t> wallNear(QPointF at) const;
    const ColumnResult* columnNear(QPointF at) const;
    void edit(const QString& text, const std::function<std::optional<std::string>(House&)>& f,
              bool mayBeIncomplete = false);
    void refused(const std::string& reason);

    void onHouseChanged();
    void followShownColumn();
    void updateSketch(std::optional<QPointF> pointer = std::nullopt);
    void updateStoreyActions();
    void updateStatus();
    void updateTitle();

    PlanDocument* document_;
    QGraphicsScene* scene_;
    PlanItem* item_;
    PlanView* view_;
    std::int32_t storey_ = 1;
    Tool tool_ = Tool::Select;
    // The grid points clicked so far: a wall's first end, or the outline's
    // vertices in order.
    std::vector<GridPoint> sketch_;
    // Where a left press began, for a wall dragged from one point to
    // another.
    std::optional<GridPoint> pressedAt_;
    // The keyboard's grid point, where Enter acts.
    std::optional<GridPoint> cursor_;
    // The grid line a left press took hold of, moved where it is released.
    std::optional<GridLineRef> gridDrag_;
    QActionGroup* tools_ = nullptr;
    QAction* storey1_ = nullptr;
    QAction* storey2_ = nullptr;
    QAction* addUpper_ = nullptr;
    QAction* removeUpper_ = nullptr;
    QAction* showOther_ = nullptr;
    QComboBox* braceBox_ = nullptr;
    QComboBox* sizeBox_ = nullptr;
    QComboBox* panelBox_ = nullptr;
    // The multiplier last chosen, which the panel picture brings back.
    int lastPanelRow_ = 0;
    QLabel* problemLabel_ = nullptr;
    RecentFilesMenu* recentMenu_ = nullptr;
    QString path_;
    ErrorReport reportError_;
    QPointer<TMainF> calculator_;
    // The column the calculator shows for the plan: its storey, grid point
    // and direction.
    struct ShownColumn {
        std::int32_t storey;
        GridPoint at;
        HouseDirection direction;
    };
    std::optional<ShownColumn> shownColumn_;
    UnsavedQuestion askUnsaved_;
};

} // namespace koruba
