// The main window without the mouse and its undo: pattern and bay
// shortcuts against the same steps by mouse, what a screen reader is told,
// and Ctrl+Z / Ctrl+Y back and forth through every kind of edit, alone and
// with one history per row of the column list.
#include "MainFormTestSupport.h"

#include "ui/ColumnListWindow.h"
#include "ui/ColumnTableModel.h"
#include "ui/ConditionsDialog.h"
#include "ui/services/ConditionsRecord.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include <memory>
#include <vector>

using namespace mainform_test;
using koruba::CalcConditions;
using koruba::RuleSet;

namespace {

void Activate(QWidget* window) {
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void Key(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(window, key, modifiers);
}

struct Shown {
    TMainF::ColumnState state;
    QString nLine;
    QString symbol;
};

Shown ShownBy(TMainF& window) {
    return {window.columnState(), Text(&window, QStringLiteral("Lbl_Nti")),
            Text(&window, QStringLiteral("Lbl_KanaKigo"))};
}

void CompareShown(TMainF& window, const Shown& expected) {
    const TMainF::ColumnState state = window.columnState();
    QCOMPARE(state.patternTag, expected.state.patternTag);
    QCOMPARE(state.reversed, expected.state.reversed);
    QVERIFY(state.bays == expected.state.bays);
    QCOMPARE(state.conditions, expected.state.conditions);
    QCOMPARE(Text(&window, QStringLiteral("Lbl_Nti")), expected.nLine);
    QCOMPARE(Text(&window, QStringLiteral("Lbl_KanaKigo")), expected.symbol);
}

} // namespace

class MainFormEditingTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keysDoWhatTheMouseDoes();
    void screenReaderReadsTheColumn();
    void undoAndRedoEveryEdit();
    void oneHistoryPerListRow();

private:
    std::unique_ptr<QTemporaryDir> folder_;
};

void MainFormEditingTest::init() {
    QLocale::setDefault(QLocale::c());
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_->path());
}

void MainFormEditingTest::cleanup() {
    folder_.reset();
}

// One window driven by keys, one by the mouse, step by step the same.
void MainFormEditingTest::keysDoWhatTheMouseDoes() {
    TMainF byMouse;
    byMouse.show();
    QVERIFY(QTest::qWaitForWindowExposed(&byMouse));
    TMainF byKeys;
    QWidget summary;
    byKeys.SetSummaryDialog(&summary);
    Activate(&byKeys);

    // Alt+6: the sixth picture, pattern 13; Ctrl+n places the chosen
    // element (a 15x90 brace, upper left) in bay n.
    Key(&byKeys, Qt::Key_6, Qt::AltModifier);
    ChoosePattern(&byMouse, 13);
    QCOMPARE(byKeys.Model().PatternTag(), 13);
    for (const int bay : {1, 4}) {
        Key(&byKeys, Qt::Key(Qt::Key_0 + bay), Qt::ControlModifier);
        ClickBay(&byMouse, bay);
    }
    // Ctrl+Shift+n turns a single brace round as a right click does.
    Key(&byKeys, Qt::Key_4, Qt::ControlModifier | Qt::ShiftModifier);
    ClickBay(&byMouse, 4, Qt::RightButton);
    QCOMPARE(byKeys.Model().Bays().Cell(1, 2).BraceKind, koruba::BraceRisingRight);
    CompareShown(byKeys, ShownBy(byMouse));
    // Ctrl+1 again removes the brace.
    Key(&byKeys, Qt::Key_1, Qt::ControlModifier);
    ClickBay(&byMouse, 1);
    CompareShown(byKeys, ShownBy(byMouse));

    // Pattern 21 uses no lower bay: Ctrl+3 changes nothing, as no click
    // can reach a hidden bay.
    Key(&byKeys, Qt::Key_1, Qt::AltModifier);
    ChoosePattern(&byMouse, 21);
    const Shown before = ShownBy(byKeys);
    Key(&byKeys, Qt::Key_3, Qt::ControlModifier);
    CompareShown(byKeys, before);
    CompareShown(byKeys, ShownBy(byMouse));

    // Alt+3 is the summary picture.
    QVERIFY(!summary.isVisible());
    Key(&byKeys, Qt::Key_3, Qt::AltModifier);
    QVERIFY(summary.isVisible());

    // The context menu lists every shortcut, in two submenus.
    QStringList listed;
    for (const QAction* action : byKeys.actions()) {
        if (action->menu() != nullptr) {
            for (const QAction* item : action->menu()->actions()) {
                if (!item->isSeparator()) {
                    listed << item->shortcut().toString();
                }
            }
        }
    }
    QCOMPARE(listed, (QStringList{"Alt+1", "Alt+2", "Alt+3", "Alt+4", "Alt+5", "Alt+6", "Ctrl+1",
                                  "Ctrl+2", "Ctrl+3", "Ctrl+4", "Ctrl+Shift+1", "Ctrl+Shift+2",
                                  "Ctrl+Shift+3", "Ctrl+Shift+4"}));
}

void MainFormEditingTest::screenReaderReadsTheColumn() {
    TMainF window;
    Activate(&window);
    QCOMPARE(Widget(&window, PatternButtonName(12))->accessibleName(),
             QStringLiteral("軸組パターン 12 ２階：出隅 １階：出隅以外"));
    Key(&window, Qt::Key_5, Qt::AltModifier);
    ClickButton(&window, QStringLiteral("BBtn_Rev"));
    QCOMPARE(Widget(&window, QStringLiteral("drwPp"))->accessibleDescription(),
             QStringLiteral("軸組パターン 12 ２階：出隅 １階：出隅以外（反転）"));

    ClickRadio(&window, QStringLiteral("RBtn_3"));
    ClickListRow(&window, 3);
    ClickBay(&window, 3);
    ClickRadio(&window, QStringLiteral("RBtn_4"));
    ChooseComboRow(&window, 4);
    ClickBay(&window, 3);
    QWidget* bay = Bay(&window, 3);
    QCOMPARE(bay->accessibleName(), QStringLiteral("壁3 左下"));
    QCOMPARE(bay->accessibleDescription(),
             QStringLiteral("たすき筋かい 90×90、面材 2.5、倍率 5.0（上限）"));
    QVERIFY(window.setConditions({RuleSet::Revision2025, 280, 280}));
    QCOMPARE(bay->accessibleDescription(),
             QStringLiteral("たすき筋かい 90×90、面材 2.5、倍率 7.5"));
    ClickBay(&window, 3);
    ClickRadio(&window, QStringLiteral("RBtn_3"));
    ClickBay(&window, 3);
    QCOMPARE(bay->accessibleDescription(), QStringLiteral("配置なし"));
}

// Every kind of edit, each undone and redone by its keys, with the texts
// the window showed at each step.
void MainFormEditingTest::undoAndRedoEveryEdit() {
    TMainF window;
    window.SetClearConfirmation([] { return true; });
    Activate(&window);
    std::vector<Shown> steps;
    ChoosePattern(&window, 11);
    steps.push_back(ShownBy(window));
    ClickBay(&window, 1);
    steps.push_back(ShownBy(window));
    ClickRadio(&window, QStringLiteral("RBtn_4"));
    ChooseComboRow(&window, 2);
    ClickBay(&window, 3);
    steps.push_back(ShownBy(window));
    ClickBay(&window, 1, Qt::RightButton);
    steps.push_back(ShownBy(window));
    ClickButton(&window, QStringLiteral("BBtn_Rev"));
    steps.push_back(ShownBy(window));
    ChoosePattern(&window, 12);
    steps.push_back(ShownBy(window));
    bool answered = false;
    QTimer::singleShot(0, [&answered] {
        auto* dialog = qobject_cast<koruba::ConditionsDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        dialog->findChild<QRadioButton*>(QStringLiteral("RBtn_Rules2025"))->setChecked(true);
        for (const char* name : {"Edt_H1", "Edt_H2"}) {
            auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
            edit->selectAll();
            QTest::keyClicks(edit, QStringLiteral("3.60"));
        }
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        answered = true;
    });
    Key(&window, Qt::Key_K, Qt::ControlModifier);
    QVERIFY(answered);
    steps.push_back(ShownBy(window));
    // The offscreen platform gives the focus back to no window.
    Activate(&window);
    ClickButton(&window, QStringLiteral("Btn_DtClear"));
    steps.push_back(ShownBy(window));
    QCOMPARE(window.editHistory()->count(), int(steps.size()) - 1);

    for (auto step = steps.rbegin() + 1; step != steps.rend(); ++step) {
        Key(&window, Qt::Key_Z, Qt::ControlModifier);
        CompareShown(window, *step);
    }
    // Nothing before the first pattern to go back to.
    Key(&window, Qt::Key_Z, Qt::ControlModifier);
    CompareShown(window, steps.front());
    QCOMPARE(koruba::LoadConditions(), CalcConditions{});
    QVERIFY(!Widget(&window, QStringLiteral("Lbl_Rules"))->isVisible());

    for (auto step = steps.begin() + 1; step != steps.end(); ++step) {
        Key(&window, Qt::Key_Y, Qt::ControlModifier);
        CompareShown(window, *step);
    }
    QCOMPARE(koruba::LoadConditions(), (CalcConditions{RuleSet::Revision2025, 360, 360}));

    // A new edit after an undo ends the redo.
    Key(&window, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(window.editHistory()->canRedo());
    ClickButton(&window, QStringLiteral("BBtn_Rev"));
    QVERIFY(!window.editHistory()->canRedo());
}

// With a list open each row keeps its own history: undo in the window
// never reaches another row's edits.
void MainFormEditingTest::oneHistoryPerListRow() {
    TMainF window;
    koruba::ColumnListWindow list(&window);
    Activate(&window);
    ChoosePattern(&window, 21);
    ClickBay(&window, 1);
    list.addCalculatorColumn();
    QCOMPARE(window.editHistory()->count(), 0);
    const Shown firstAdded = ShownBy(window);
    ClickBay(&window, 2);
    const Shown firstEdited = ShownBy(window);
    list.addCalculatorColumn();
    Activate(&window);
    Key(&window, Qt::Key_Z, Qt::ControlModifier);
    CompareShown(window, firstEdited);

    QVERIFY(list.editInCalculator(0));
    Activate(&window);
    CompareShown(window, firstEdited);
    Key(&window, Qt::Key_Z, Qt::ControlModifier);
    CompareShown(window, firstAdded);
    // The undo is an edit of the row like any other: the first row is again
    // what the second was added as.
    const koruba::ColumnTableModel& model = *list.tableModel();
    QCOMPARE(model.columnRow(0).bays, model.columnRow(1).bays);
    QCOMPARE(list.linkedRow(), 0);
}

QTEST_MAIN(MainFormEditingTest)
#include "MainFormEditingTest.moc"
