// The main window without the mouse, and its undo: the shortcuts against
// the same steps by mouse, what a screen reader is told, and Ctrl+Z /
// Ctrl+Y through every kind of edit, alone and with one history per row.
#include "tests/ui/calculator/MainFormTestSupport.h"

#include "ui/calculator/ConditionsDialog.h"
#include "ui/columnlist/ColumnListWindow.h"
#include "ui/columnlist/ColumnTableModel.h"

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

#include <vector>

using namespace mainform_test;

namespace {

void Activate(QWidget* window) {
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

// The column and conditions with the N line they show.
std::pair<TMainF::ColumnState, QString> Shown(TMainF& window) {
    return {window.columnState(), Text(&window, QStringLiteral("Lbl_Nti"))};
}

} // namespace

class MainFormEditingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale::c());
        QVERIFY(folder_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
    }
    void keysDoWhatTheMouseDoes();
    void undoAndRedoEveryEdit();
    void oneHistoryPerListRow();

private:
    QTemporaryDir folder_;
};

void MainFormEditingTest::keysDoWhatTheMouseDoes() {
    TMainF byMouse;
    byMouse.show();
    TMainF byKeys;
    QWidget summary;
    byKeys.SetSummaryDialog(&summary);
    Activate(&byKeys);
    // Alt+6: pattern 13; Ctrl+n: the chosen brace in bay n; Ctrl+Shift+n
    // turns it round; a bay the pattern does not use takes no key.
    QTest::keyClick(&byKeys, Qt::Key_6, Qt::AltModifier);
    ChoosePattern(&byMouse, 13);
    QTest::keyClick(&byKeys, Qt::Key_4, Qt::ControlModifier);
    ClickBay(&byMouse, 4);
    QTest::keyClick(&byKeys, Qt::Key_4, Qt::ControlModifier | Qt::ShiftModifier);
    ClickBay(&byMouse, 4, Qt::RightButton);
    QTest::keyClick(&byKeys, Qt::Key_1, Qt::AltModifier);
    ChoosePattern(&byMouse, 21);
    QTest::keyClick(&byKeys, Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(byKeys.Model().Bays().Cell(1, 2).BraceKind, koruba::BraceRisingRight);
    QVERIFY(Shown(byKeys) == Shown(byMouse));
    QTest::keyClick(&byKeys, Qt::Key_3, Qt::AltModifier);
    QVERIFY(summary.isVisible());

    // The context menu lists the shortcuts; screen readers read the column.
    QStringList listed;
    for (const QAction* action : byKeys.actions()) {
        for (const QAction* item : action->menu() ? action->menu()->actions() : QList<QAction*>()) {
            listed << item->shortcut().toString();
        }
    }
    QCOMPARE(listed.join(u' ').simplified(),
             QStringLiteral("Alt+1 Alt+2 Alt+3 Alt+4 Alt+5 Alt+6 Ctrl+1 Ctrl+2 Ctrl+3 Ctrl+4 "
                            "Ctrl+Shift+1 Ctrl+Shift+2 Ctrl+Shift+3 Ctrl+Shift+4"));
    QCOMPARE(Widget(&byKeys, QStringLiteral("drwPp"))->accessibleDescription(),
             QStringLiteral("軸組パターン 21 ２階または１階 下屋の出隅"));
    ClickRadio(&byKeys, QStringLiteral("RBtn_3"));
    ClickListRow(&byKeys, 3);
    QTest::keyClick(&byKeys, Qt::Key_1, Qt::ControlModifier);
    ClickRadio(&byKeys, QStringLiteral("RBtn_4"));
    ChooseComboRow(&byKeys, 4);
    QTest::keyClick(&byKeys, Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(Bay(&byKeys, 1)->accessibleDescription(),
             QStringLiteral("たすき筋かい 90×90、面材 2.5、倍率 5.0（上限）"));
}

// Each kind of edit, undone and redone by its keys: the window shows again
// what it showed at each step.
void MainFormEditingTest::undoAndRedoEveryEdit() {
    TMainF window;
    window.SetClearConfirmation([] { return true; });
    Activate(&window);
    std::vector<std::pair<TMainF::ColumnState, QString>> steps;
    const std::vector<std::function<void()>> edits{
        [&] { ChoosePattern(&window, 11); },
        [&] { ClickBay(&window, 1); },
        [&] { ClickBay(&window, 1, Qt::RightButton); },
        [&] { ClickButton(&window, QStringLiteral("BBtn_Rev")); },
        [&] { ChoosePattern(&window, 12); },
        [&] {
            QTimer::singleShot(0, [] {
                QWidget* dialog = QApplication::activeModalWidget();
                dialog->findChild<QRadioButton*>(QStringLiteral("RBtn_Rules2025"))->click();
                for (auto* edit : dialog->findChildren<QLineEdit*>()) {
                    QTest::keyClicks(edit, QStringLiteral("3.60"));
                }
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            });
            QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
            Activate(&window); // the offscreen platform activates no window after a dialog
        },
        [&] { ClickButton(&window, QStringLiteral("Btn_DtClear")); },
    };
    for (const auto& edit : edits) {
        edit();
        steps.push_back(Shown(window));
    }
    QCOMPARE(window.conditions().h1Cm, 360);
    // Back to the first pattern, which has nothing before it, and forward.
    for (int step = int(steps.size()) - 2; step >= -1; --step) {
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY2(Shown(window) == steps[std::max(step, 0)], qPrintable(QString::number(step)));
    }
    for (std::size_t step = 1; step < steps.size(); ++step) {
        QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY2(Shown(window) == steps[step], qPrintable(QString::number(step)));
    }
}

// With a list open each row keeps its own history, and a window undo is an
// edit of its row.
void MainFormEditingTest::oneHistoryPerListRow() {
    TMainF window;
    koruba::ColumnListWindow list(&window);
    Activate(&window);
    ChoosePattern(&window, 21);
    list.addCalculatorColumn();
    const auto added = Shown(window);
    ClickBay(&window, 1);
    list.addCalculatorColumn();
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window.Model().Bays().Cell(2, 1).BraceKind, koruba::BraceRisingLeft);
    QVERIFY(list.editInCalculator(0));
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Shown(window) == added);
    QCOMPARE(list.tableModel()->columnRow(0).bays[0], std::string());
}

QTEST_MAIN(MainFormEditingTest)
#include "MainFormEditingTest.moc"
