// The rule sets in the main window: the conditions dialog and how it is
// reached, the conditions remembered across runs, and what the window
// shows under the 2025 rules. Every test keeps the settings record in a
// temporary folder of its own. Screenshots of the longest texts land in
// the build tree (the window's are in MainFormScreenshotTest).
#include "tests/ui/calculator/MainFormTestSupport.h"

#include "ui/calculator/ConditionsDialog.h"
#include "ui/services/ConditionsRecord.h"
#include "ui/services/RegistryRecord.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

using namespace mainform_test;
using koruba::CalcConditions;
using koruba::RuleSet;

Q_DECLARE_METATYPE(koruba::CalcConditions)

namespace {

constexpr QSize kWindow2000(344, 451);
constexpr QSize kWindow2025(344, 499);

// Runs handle on the next modal dialog or popup once it is up, so that a
// test can answer what exec() opens.
void WhenUp(std::function<bool()> handle) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, handle] {
        if (handle()) {
            timer->deleteLater();
            timer->stop();
        }
    });
    timer->start();
}

koruba::ConditionsDialog* OpenDialog() {
    return qobject_cast<koruba::ConditionsDialog*>(QApplication::activeModalWidget());
}

void Fill(koruba::ConditionsDialog* dialog, bool revision, const QString& h1, const QString& h2) {
    dialog
        ->findChild<QRadioButton*>(revision ? QStringLiteral("RBtn_Rules2025")
                                            : QStringLiteral("RBtn_Rules2000"))
        ->setChecked(true);
    for (auto [name, text] : {std::pair{"Edt_H1", h1}, std::pair{"Edt_H2", h2}}) {
        auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
        edit->clear();
        QTest::keyClicks(edit, text);
    }
}

void PressOk(koruba::ConditionsDialog* dialog) {
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

} // namespace

class MainFormRulesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsWithThe2000Method();
    void rememberedConditionsApplyAtStart_data();
    void rememberedConditionsApplyAtStart();
    void dialogRefusesUnusableHeights_data();
    void dialogRefusesUnusableHeights();
    void contextMenuOpensTheDialogAndTheChoiceIsKept();
    void dialogKeepsWhatTheUserDidNotChange();
    void bayRightClickFlipsWithoutMenu();
    void resultShowsTheFactors();

private:
    std::unique_ptr<QTemporaryDir> folder_;
};

void MainFormRulesTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
    qRegisterMetaType<koruba::CalcConditions>();
}

void MainFormRulesTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_->path());
}

void MainFormRulesTest::cleanup() {
    folder_.reset();
}

void MainFormRulesTest::startsWithThe2000Method() {
    TMainF window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.conditions(), CalcConditions{});
    QCOMPARE(window.size(), kWindow2000);
    QVERIFY(!Widget(&window, QStringLiteral("Lbl_Rules"))->isVisible());
    QCOMPARE(window.contextMenuPolicy(), Qt::ActionsContextMenu);
    auto* action = window.findChild<QAction*>(QStringLiteral("Act_Conditions"));
    QVERIFY(action != nullptr && window.actions().contains(action));
    QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_K));
    // Reading the record at start writes nothing.
    QVERIFY(QDir(folder_->path()).isEmpty());

    // Conditions the calculation cannot use are refused.
    QSignalSpy changed(&window, &TMainF::conditionsChanged);
    QVERIFY(!window.setConditions({RuleSet::Revision2025, 330, 0}));
    QVERIFY(!window.setConditions({RuleSet::Revision2025, 460, 280}));
    QCOMPARE(window.conditions(), CalcConditions{});
    QCOMPARE(changed.size(), 0);
}

void MainFormRulesTest::rememberedConditionsApplyAtStart_data() {
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QString>("h1");
    QTest::addColumn<QString>("h2");
    QTest::addColumn<CalcConditions>("expected");
    QTest::newRow("2025 with both heights")
        << "2025"
        << "3.30"
        << "2.80" << CalcConditions{RuleSet::Revision2025, 330, 280};
    QTest::newRow("2025 without H2 falls back to 2000")
        << "2025"
        << "3.30"
        << "" << CalcConditions{RuleSet::Notice2000, 330, 0};
    QTest::newRow("comma is no height") << "2025"
                                        << "3,3"
                                        << "2.80" << CalcConditions{RuleSet::Notice2000, 0, 280};
}

void MainFormRulesTest::rememberedConditionsApplyAtStart() {
    QFETCH(QString, rules);
    QFETCH(QString, h1);
    QFETCH(QString, h2);
    QFETCH(CalcConditions, expected);
    {
        QSettings record(QSettings::NativeFormat, QSettings::UserScope,
                         QStringLiteral("コルバ工房"), QStringLiteral("KORUBA-X"));
        record.beginGroup(QStringLiteral("CalcConditions"));
        record.setValue(QStringLiteral("Rules"), rules);
        record.setValue(QStringLiteral("H1"), h1);
        record.setValue(QStringLiteral("H2"), h2);
    }
    TMainF window;
    QCOMPARE(window.conditions(), expected);
    const bool revision = expected.rules == RuleSet::Revision2025;
    QCOMPARE(window.size(), revision ? kWindow2025 : kWindow2000);
}

void MainFormRulesTest::dialogRefusesUnusableHeights_data() {
    QTest::addColumn<QString>("h1");
    QTest::addColumn<QString>("h2");
    QTest::addColumn<QString>("message");
    const QString range = QStringLiteral("2.00〜4.50 m");
    QTest::newRow("H1 missing") << ""
                                << "2.80" << QStringLiteral("H1 を入力してください");
    QTest::newRow("H2 missing") << "3.30"
                                << "" << QStringLiteral("H2 を入力してください");
    QTest::newRow("4.6") << "4.6"
                         << "2.80" << QStringLiteral("H1「4.6」は使えません");
    QTest::newRow("decimal comma") << "3,3"
                                   << "2.80" << QStringLiteral("H1「3,3」は使えません");
    QTest::newRow("three decimals") << "3.305"
                                    << "2.80" << range;
}

void MainFormRulesTest::dialogRefusesUnusableHeights() {
    QFETCH(QString, h1);
    QFETCH(QString, h2);
    QFETCH(QString, message);
    koruba::ConditionsDialog dialog(CalcConditions{});
    dialog.show();
    Fill(&dialog, true, h1, h2);
    PressOk(&dialog);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    const QString shown = Text(&dialog, QStringLiteral("Lbl_Error"));
    QVERIFY2(shown.contains(message), qPrintable(shown));
    QVERIFY2(shown.contains(QStringLiteral("2.00〜4.50 m")), qPrintable(shown));
    QCOMPARE(dialog.conditions(), CalcConditions{});
    if (QByteArray(QTest::currentDataTag()) == "decimal comma") {
        const QDir shots(QStringLiteral(KORUBA_SCREENSHOT_DIR));
        QVERIFY(shots.mkpath(QStringLiteral(".")));
        QVERIFY(dialog.grab().save(shots.filePath(QStringLiteral("conditions-dialog-error.png"))));
    }

    // Corrected, the same dialog closes with the heights.
    Fill(&dialog, true, QStringLiteral(" 3.3 "), QStringLiteral("2.8"));
    PressOk(&dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.conditions(), (CalcConditions{RuleSet::Revision2025, 330, 280}));
}

void MainFormRulesTest::contextMenuOpensTheDialogAndTheChoiceIsKept() {
    TMainF window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy changed(&window, &TMainF::conditionsChanged);
    bool menuSeen = false;
    WhenUp([&menuSeen] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return false;
        }
        menuSeen = true;
        QAction* action = nullptr;
        for (QAction* a : menu->actions()) {
            if (a->objectName() == QStringLiteral("Act_Conditions")) {
                action = a;
            }
        }
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        return true;
    });
    bool dialogSeen = false;
    WhenUp([&dialogSeen] {
        koruba::ConditionsDialog* dialog = OpenDialog();
        if (dialog == nullptr) {
            return false;
        }
        dialogSeen = true;
        Fill(dialog, true, QStringLiteral("3.50"), QStringLiteral("2.90"));
        PressOk(dialog);
        return true;
    });
    // Right click on the formula panel, away from the bays.
    QWidget* panel = Widget(&window, QStringLiteral("Panel3"));
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(50, 50),
                            panel->mapToGlobal(QPoint(50, 50)));
    QApplication::sendEvent(panel, &event);
    QTRY_VERIFY(dialogSeen);
    QVERIFY(menuSeen);
    const CalcConditions chosen{RuleSet::Revision2025, 350, 290};
    QCOMPARE(window.conditions(), chosen);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(window.size(), kWindow2025);
    QCOMPARE(koruba::loadConditions(), chosen);

    // The record's own values stay apart from the conditions.
    QSettings record(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("コルバ工房"),
                     QStringLiteral("KORUBA-X"));
    QCOMPARE(record.childKeys(), QStringList());
    QCOMPARE(record.childGroups(), QStringList{QStringLiteral("CalcConditions")});

    TMainF next;
    QCOMPARE(next.conditions(), chosen);
}

// Ctrl+K, then the dialog's own inputs: OK on an unchanged dialog changes
// nothing, the heights are locked under the 2000 rules, and a height typed
// before switching the rules back and forth is kept, also in the next one.
void MainFormRulesTest::dialogKeepsWhatTheUserDidNotChange() {
    TMainF window;
    window.show();
    QVERIFY(window.setConditions({RuleSet::Revision2025, 330, 280}));
    using Dialog = koruba::ConditionsDialog;
    const auto inDialog = [&window](std::function<void(Dialog*, QLineEdit*, QLineEdit*)> steps) {
        WhenUp([steps] {
            koruba::ConditionsDialog* dialog = OpenDialog();
            if (dialog != nullptr) {
                steps(dialog, dialog->findChild<QLineEdit*>(QStringLiteral("Edt_H1")),
                      dialog->findChild<QLineEdit*>(QStringLiteral("Edt_H2")));
                if (dialog->isVisible()) {
                    dialog->reject(); // a check failed: end the test, not wait
                }
            }
            return dialog != nullptr;
        });
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
    };
    inDialog([](Dialog* dialog, QLineEdit*, QLineEdit*) { PressOk(dialog); });
    QCOMPARE(window.conditions(), (CalcConditions{RuleSet::Revision2025, 330, 280}));
    inDialog([](Dialog* dialog, QLineEdit* h1, QLineEdit* h2) {
        h1->selectAll();
        QTest::keyClicks(h1, QStringLiteral("3.60"));
        ClickRadio(dialog, QStringLiteral("RBtn_Rules2000"));
        QTest::keyClicks(h2, QStringLiteral("9"));
        ClickRadio(dialog, QStringLiteral("RBtn_Rules2025"));
        QCOMPARE(h1->text(), QStringLiteral("3.60"));
        QCOMPARE(h2->text(), QStringLiteral("2.80"));
        ClickRadio(dialog, QStringLiteral("RBtn_Rules2000"));
        PressOk(dialog);
    });
    QCOMPARE(window.conditions(), (CalcConditions{RuleSet::Notice2000, 360, 280}));
    inDialog([](Dialog* dialog, QLineEdit* h1, QLineEdit*) {
        ClickRadio(dialog, QStringLiteral("RBtn_Rules2025"));
        QCOMPARE(h1->text(), QStringLiteral("3.60"));
        PressOk(dialog);
    });
    QCOMPARE(window.conditions(), (CalcConditions{RuleSet::Revision2025, 360, 280}));
}

void MainFormRulesTest::bayRightClickFlipsWithoutMenu() {
    TMainF window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ChoosePattern(&window, 21);
    ClickBay(&window, 1);
    const int placed = window.Model().Bays().Cell(2, 1).BraceKind;
    QVERIFY(placed == koruba::BraceRisingLeft || placed == koruba::BraceRisingRight);
    bool menuSeen = false;
    WhenUp([&menuSeen] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            menuSeen = true;
            popup->close();
        }
        return true;
    });
    QWidget* bay = Bay(&window, 1);
    QTest::mouseClick(bay, Qt::RightButton);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), bay->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(bay, &event);
    QTest::qWait(60);
    QVERIFY(!menuSeen);
    QCOMPARE(window.Model().Bays().Cell(2, 1).BraceKind, placed == koruba::BraceRisingLeft
                                                             ? koruba::BraceRisingRight
                                                             : koruba::BraceRisingLeft);
}

// The worked example on screen: a 2.5 panel beside a single-storey corner
// column at H1 = 3.30 m gives 2.04 and class (と), with f1 and the warning.
void MainFormRulesTest::resultShowsTheFactors() {
    TMainF window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.setConditions({RuleSet::Revision2025, 330, 280}));
    ChoosePattern(&window, 21);
    ClickRadio(&window, QStringLiteral("RBtn_4"));
    ChooseComboRow(&window, 4);
    ClickBay(&window, 1);
    QCOMPARE(Text(&window, QStringLiteral("Lbl_Nti")),
             QStringLiteral("N = 2.5x0.8xf1-0.4= 2.04  [10.82kN]"));
    QCOMPARE(Text(&window, QStringLiteral("Lbl_F_12F")), QStringLiteral("f1= 3.30/2.7"));
    QCOMPARE(Text(&window, QStringLiteral("Lbl_KanaKigo")), QStringLiteral("(と)"));
    QCOMPARE(Text(&window, QStringLiteral("Lbl_Rules")),
             QStringLiteral("2025年改正（階高補正）  H1 = 3.30m"));
    QVERIFY(Text(&window, QStringLiteral("Lbl_RulesWarning")).startsWith(QStringLiteral("H1 が")));
    // The line would end in "N"; it breaks before "N値" instead.
    QVERIFY(Text(&window, QStringLiteral("Lbl_RulesWarning")).contains(QStringLiteral("。\nN値")));

    // Back to the 2000 rules: the same bay gives 1.60 and the window its
    // old size.
    QVERIFY(window.setConditions({}));
    QCOMPARE(Text(&window, QStringLiteral("Lbl_Nti")),
             QStringLiteral("N = 2.5x0.8-0.4= 1.60  [8.47kN]"));
    QCOMPARE(Text(&window, QStringLiteral("Lbl_F_12F")), QString());
    QCOMPARE(window.size(), kWindow2000);
}

QTEST_MAIN(MainFormRulesTest)
#include "MainFormRulesTest.moc"
