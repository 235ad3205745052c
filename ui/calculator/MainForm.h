#pragma once

#include "calc/BracingModel.h"
#include "calc/CalcConditions.h"
#include "calc/ResultType.h"
#include "draw/PatternDiagram.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <map>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;
class QUndoGroup;
class QUndoStack;

namespace koruba {
class BevelPanel;
class ImageControl;
class PaintedImage;
class ShapeControl;
} // namespace koruba

// The main window: pattern tool bar, element choice, the pattern diagram
// with its four clickable bays, the formula panel and the result boxes.
// It owns the bracing model and the last result and only wires: every
// handler changes the model, redraws what changed, sets the control
// states, recomputes and shows the result, in that order. Controls carry
// their layout names as objectName and their tag as the dynamic property
// "Tag", so that tests and tools find them by name.
//
// The window's commands beyond its buttons are QActions added to the
// window itself: it shows its actions() as its context menu (right click
// anywhere but on a bay, whose right click turns a brace round), and each
// action's shortcut works while the window is active. A feature adds its
// command from its own file with addAction(action) on the window; the
// menu lists the actions in the order they were added.
class TMainF : public QWidget {
    Q_OBJECT

public:
    explicit TMainF(QWidget* parent = nullptr);
    ~TMainF() override;

    // The usage and calculation summary window, shown (not modal) by the
    // summary button. Without one the button does nothing.
    void SetSummaryDialog(QWidget* dialog);

    // Asks the user to confirm clearing all bays; true means go ahead.
    // Replaceable so that tests can answer it.
    using ClearConfirmation = std::function<bool()>;
    void SetClearConfirmation(ClearConfirmation confirm);
    // The confirmation box the window uses unless told otherwise.
    static bool AskClearConfirmation();

    const koruba::BracingModel& Model() const { return model_; }

    // What the N value is computed under: the 2000 method unless the user
    // chose the 2025 rules. At creation the window reads the conditions
    // remembered from the last run.
    const koruba::CalcConditions& conditions() const { return conditions_; }
    // Applies conditions the calculation can use for any pattern (the 2025
    // rules with both heights): bays redrawn, result recomputed and shown,
    // conditionsChanged raised when they differ. Anything else is refused
    // and false returned. The settings store is not written.
    bool setConditions(const koruba::CalcConditions& conditions);
    // Opens the conditions dialog; conditions accepted there are applied
    // and remembered for the next run.
    void editConditions();
    const koruba::ResultType& Result() const { return CalcResult; }

    // The version texts read at creation: the caption's "1.0.0" and the
    // record's "100".
    const QString& VerText() const { return verText_; }
    const QString& VerNo() const { return verNo_; }

    // The end of the desktop session (or a quit without a close request):
    // records title and version without asking or showing anything, and
    // from then on every close request records silently and closes.
    void EndOfSession();

    // --- Editing a stored column (the column list's calculator link) ---
    // Shows a column as if the user had entered it: pattern, mirror state
    // and every bay, drawn and computed. The element choice stays. Every
    // later change shows through resultShown, as the user's own do.
    void loadColumn(std::int32_t patternTag, std::int32_t reversed, const koruba::BayTable& bays);
    // Names the stored column the window edits in its title, after the
    // window's own caption; an empty name gives the caption back alone.
    void setEditedColumnName(const QString& name);

    // --- Showing a column another window owns (the plan) ---
    // Shows a column under the given conditions, read-only: the source
    // stays the owner, so clicks on patterns and bays, the mirror and clear
    // buttons, the bay keys and the conditions dialog change nothing while
    // it is shown. The title names the column after the caption. Conditions
    // the calculation cannot use are refused (false, nothing changed).
    // showingForeignColumn is raised first, so that a window linked to the
    // calculator's column lets go of it before it changes.
    bool showReadOnlyColumn(std::int32_t patternTag, std::int32_t reversed,
                            const koruba::BayTable& bays, const koruba::CalcConditions& conditions,
                            const QString& name);
    bool isReadOnly() const { return readOnly_; }
    // Ends the read-only view: the column shown becomes the window's own
    // to edit freely, with a history of its own. The context menu's
    // "自由に編集" does this.
    void editFreely();

    // --- Undo of the window's own edits ---
    // What an edit changes: the column (pattern, mirror state, bays) and
    // the conditions. The element choice is no edit.
    struct ColumnState {
        std::int32_t patternTag = 0;
        std::int32_t reversed = 0;
        koruba::BayTable bays;
        koruba::CalcConditions conditions;

        friend bool operator==(const ColumnState&, const ColumnState&) = default;
    };
    ColumnState columnState() const;
    // Each column the window edits has a history of its own: key 0 is the
    // window's own column, any other key a column stored elsewhere (the
    // column list names the row it links). Changes made through
    // loadColumn or setConditions are no edits of the window and are not
    // recorded. The first choice of a pattern is not either: there is no
    // column before it to go back to.
    void setEditedColumn(std::uint64_t key);
    QUndoStack* editHistory() const;

signals:
    // Raised after the result labels have been rewritten.
    void resultShown();
    // Raised after new conditions have been applied.
    void conditionsChanged(const koruba::CalcConditions& conditions);
    // Raised before a read-only column from elsewhere replaces the one
    // shown.
    void showingForeignColumn();

protected:
    // The close query: every close request, by "終 了", the close box or
    // the session, records title and version first.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildToolBar();
    void BuildElementGroup();
    void BuildEditButtons();
    void BuildDiagramPanel();
    void BuildFormulaPanel();
    void BuildResultBoxes();
    void BuildCloseButton();
    void BuildRulesStrip();
    void AddConditionsAction();
    void AddEditActions();
    void AddKeyboardActions();
    void AddEditFreelyAction();
    void SetTabOrder();
    void FormCreate();
    void FormCloseQuery(bool& canClose);

    void TlBtn_21Click(QObject* sender);
    void TBtn_GaiyoClick(QObject* sender);
    void RBtn_1Click(QObject* sender);
    void RBtn_4Click(QObject* sender);
    void SjListClick(QObject* sender);
    void CBox1Change(QObject* sender);
    void drwSj_1Click(QObject* sender);
    void drwSj_1MouseDown(QObject* sender, Qt::MouseButton button);
    void BBtn_RevClick(QObject* sender);
    void Btn_DtClearClick(QObject* sender);
    void BBtn_CloseClick(QObject* sender);

    void ToggleBayByKey(std::int32_t tag);
    void FlipBayByKey(std::int32_t tag);
    void RestoreState(const ColumnState& state);
    void RecordEdit(const ColumnState& before, const QString& text);
    void RememberConditions();
    void DescribeColumn();

    void UpdateControlStates();
    void ShowBayImages();
    void ShowResult();
    void ShowRules();
    void Recompute();
    void DrawBay(koruba::BayAddress bay);
    void FillBraceSizeList(std::int32_t elementKind);
    koruba::ImageControl* BayImage(std::int32_t tag) const;

    QString regKeyPath_;
    QString verText_;
    QString verNo_;
    // The caption without the name of an edited stored column.
    QString caption_;
    koruba::BracingModel model_;
    koruba::ResultType CalcResult;
    koruba::CalcConditions conditions_;
    QPointer<QWidget> summaryDialog_;
    ClearConfirmation confirmClear_;
    // A close request has failed to write the record once already.
    bool closeFailed_ = false;
    // The session is ending: nothing may wait for the user any more.
    bool sessionEnding_ = false;
    QUndoGroup* histories_ = nullptr;
    std::map<std::uint64_t, QUndoStack*> historyOfColumn_;
    // A column owned elsewhere is shown and may not be edited here.
    bool readOnly_ = false;
    QAction* editFreely_ = nullptr;
    // The history keys of read-only views, counted down from the top so
    // that they never meet the keys the column list gives its rows.
    std::uint64_t nextForeignKey_ = ~std::uint64_t{0};

    // Area 1: tool bar.
    QWidget* ToolBar1 = nullptr;
    QToolButton* TlBtn_21 = nullptr;
    QToolButton* TlBtn_22 = nullptr;
    QToolButton* TBtn_Gaiyo = nullptr;
    QToolButton* TlBtn_11 = nullptr;
    QToolButton* TlBtn_12 = nullptr;
    QToolButton* TlBtn_13 = nullptr;
    // Area 2: element group.
    QGroupBox* GBoxSjMen = nullptr;
    koruba::PaintedImage* Image1 = nullptr;
    koruba::PaintedImage* Image2 = nullptr;
    koruba::PaintedImage* Image3 = nullptr;
    koruba::PaintedImage* Image4 = nullptr;
    QRadioButton* RBtn_1 = nullptr;
    QRadioButton* RBtn_2 = nullptr;
    QRadioButton* RBtn_3 = nullptr;
    QRadioButton* RBtn_4 = nullptr;
    koruba::BevelPanel* PnlSjSize = nullptr;
    koruba::BevelPanel* Panel2 = nullptr;
    QListWidget* SjList = nullptr;
    QComboBox* CBox1 = nullptr;
    // Area 3: editing buttons.
    QPushButton* BBtn_Rev = nullptr;
    QPushButton* Btn_DtClear = nullptr;
    // Area 4: diagram panel.
    koruba::BevelPanel* Panel1 = nullptr;
    koruba::ImageControl* drwPp = nullptr;
    std::array<koruba::ImageControl*, 4> drwSj{};
    QLabel* Lbl_JkSelMsg = nullptr;
    // Area 5: formula panel.
    koruba::BevelPanel* Panel3 = nullptr;
    QLabel* Lbl_A_12F_Siki = nullptr;
    QLabel* Lbl_A_12F = nullptr;
    QLabel* Lbl_B_12F = nullptr;
    QLabel* Lbl_L_12F = nullptr;
    koruba::ShapeControl* Line1 = nullptr;
    QLabel* Lbl_A_1F_Siki = nullptr;
    QLabel* Lbl_A_1F = nullptr;
    QLabel* Lbl_B_1F = nullptr;
    QLabel* Lbl_L_1F = nullptr;
    // Area 6: result boxes.
    QLabel* Lbl_Nti = nullptr;
    QLabel* Lbl_KanaKigo = nullptr;
    QLabel* Lbl_Tairyoku = nullptr;
    QLabel* Lbl_KanaName = nullptr;
    // Area 7.
    QPushButton* BBtn_Close = nullptr;
    // Under the 2025 rules only: the height factors beside the A values,
    // and a strip below the result boxes with the rule set, the heights and
    // the tall-storey warning.
    QLabel* Lbl_F_12F = nullptr;
    QLabel* Lbl_F_1F = nullptr;
    koruba::ShapeControl* Shape5 = nullptr;
    QLabel* Lbl_Rules = nullptr;
    QLabel* Lbl_RulesWarning = nullptr;
};
