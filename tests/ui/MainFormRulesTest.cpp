// The rule sets in the main window: the conditions dialog and how it is
// reached, the conditions remembered across runs, and what the window
// shows under the 2025 rules. Every test keeps the settings record in a
// temporary folder of its own. Screenshots of the longest texts land in
// the build tree.
#include "MainFormTestSupport.h"

#include "ui/ConditionsDialog.h"
#include "ui/services/ConditionsRecord.h"
#include "ui/services/RegistryRecord.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontMetrics>
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
    void shortcutOpensTheDialog();
    void bayRightClickFlipsWithoutMenu();
    void setConditionsRefusesMissingHeights();
    void resultShowsTheFactors_data();
    void resultShowsTheFactors();

private:
    std::unique_ptr<QTemporaryDir> folder_;
    QDir shots_;
};

void MainFormRulesTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
    qRegisterMetaType<koruba::CalcConditions>();
    shots_ = QDir(QStringLiteral(KORUBA_SCREENSHOT_DIR));
    QVERIFY(shots_.mkpath(QStringLiteral(".")));
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
    QCOMPARE(window.actions().size(), 1);
    QCOMPARE(window.actions().first()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_K));
    // Reading the record at start writes nothing.
    QVERIFY(QDir(folder_->path()).isEmpty());
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
    QTest::newRow("2000 keeps valid heights") << "2000"
                                              << "3.30"
                                              << "" << CalcConditions{RuleSet::Notice2000, 330, 0};
    QTest::newRow("2025 without H2 falls back to 2000")
        << "2025"
        << "3.30"
        << "" << CalcConditions{RuleSet::Notice2000, 330, 0};
    QTest::newRow("height 4.6 is no height")
        << "2025"
        << "4.6"
        << "2.80" << CalcConditions{RuleSet::Notice2000, 0, 280};
    QTest::newRow("comma is no height") << "2025"
                                        << "3,3"
                                        << "2.80" << CalcConditions{RuleSet::Notice2000, 0, 280};
    QTest::newRow("unknown rule set") << "2024"
                                      << "3.30"
                                      << "2.80" << CalcConditions{RuleSet::Notice2000, 330, 280};
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
    QTest::newRow("zero") << "0"
                          << "2.80" << QStringLiteral("H1「0」は使えません");
    QTest::newRow("negative") << "3.30"
                              << "-3" << QStringLiteral("H2「-3」は使えません");
    QTest::newRow("4.6") << "4.6"
                         << "2.80" << QStringLiteral("H1「4.6」は使えません");
    QTest::newRow("decimal comma") << "3,3"
                                   << "2.80" << QStringLiteral("H1「3,3」は使えません");
    QTest::newRow("text") << "3.30"
                          << "abc" << QStringLiteral("H2「abc」は使えません");
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
        QVERIFY(dialog.grab().save(shots_.filePath(QStringLiteral("conditions-dialog-error.png"))));
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
        QAction* action = menu->actions().first();
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
    QCOMPARE(koruba::LoadConditions(), chosen);

    // The record's own values stay apart from the conditions.
    QSettings record(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("コルバ工房"),
                     QStringLiteral("KORUBA-X"));
    QCOMPARE(record.childKeys(), QStringList());
    QCOMPARE(record.childGroups(), QStringList{QStringLiteral("CalcConditions")});

    TMainF next;
    QCOMPARE(next.conditions(), chosen);
}

void MainFormRulesTest::shortcutOpensTheDialog() {
    TMainF window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    bool seen = false;
    WhenUp([&seen] {
        koruba::ConditionsDialog* dialog = OpenDialog();
        if (dialog == nullptr) {
            return false;
        }
        seen = true;
        // Cancel keeps the conditions, whatever was typed.
        Fill(dialog, true, QStringLiteral("3.50"), QStringLiteral("2.90"));
        dialog->reject();
        return true;
    });
    QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
    QTRY_VERIFY(seen);
    QCOMPARE(window.conditions(), CalcConditions{});
    QCOMPARE(window.size(), kWindow2000);
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

void MainFormRulesTest::setConditionsRefusesMissingHeights() {
    TMainF window;
    QSignalSpy changed(&window, &TMainF::conditionsChanged);
    QVERIFY(!window.setConditions({RuleSet::Revision2025, 330, 0}));
    QVERIFY(!window.setConditions({RuleSet::Revision2025, 460, 280}));
    QCOMPARE(window.conditions(), CalcConditions{});
    QCOMPARE(changed.size(), 0);
}

void MainFormRulesTest::resultShowsTheFactors_data() {
    QTest::addColumn<int>("pattern");
    QTest::addColumn<CalcConditions>("conditions");
    QTest::addColumn<QString>("shot");
    QTest::addColumn<QString>("nLine");
    QTest::addColumn<QString>("upperFactor");
    QTest::addColumn<QString>("lowerFactor");
    QTest::addColumn<bool>("warned");
    // A 2.5 panel in the only bay: the worked examples.
    QTest::newRow("21 at 3.30 m") << 21 << CalcConditions{RuleSet::Revision2025, 330, 280}
                                  << "mainwindow-2025-pattern21.png"
                                  << "N = 2.5x0.8xf1-0.4= 2.04  [10.82kN]"
                                  << "f1= 3.30/2.7"
                                  << "" << true;
    QTest::newRow("21 at 3.20 m") << 21 << CalcConditions{RuleSet::Revision2025, 320, 280} << ""
                                  << "N = 2.5x0.8-0.4= 1.60  [8.47kN]"
                                  << ""
                                  << "" << false;
    QTest::newRow("21 under 2000") << 21 << CalcConditions{RuleSet::Notice2000, 330, 280} << ""
                                   << "N = 2.5x0.8-0.4= 1.60  [8.47kN]"
                                   << ""
                                   << "" << false;
    // The longest texts: both storeys at 4.50 m, cross 90x90 with a 5.0
    // panel on one side of each storey, uncapped.
    QTest::newRow("13 both tall") << 13 << CalcConditions{RuleSet::Revision2025, 450, 450}
                                  << "mainwindow-2025-pattern13.png"
                                  << "N = 10.0x0.5xf1+10.0x0.5xf2-1.6 = 15.07  [79.73kN]"
                                  << "f2= 4.50/2.7"
                                  << "f1= 4.50/2.7" << true;
}

void MainFormRulesTest::resultShowsTheFactors() {
    QFETCH(int, pattern);
    QFETCH(CalcConditions, conditions);
    QFETCH(QString, shot);
    QFETCH(QString, nLine);
    QFETCH(QString, upperFactor);
    QFETCH(QString, lowerFactor);
    QFETCH(bool, warned);

    TMainF window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.setConditions(conditions));
    ChoosePattern(&window, pattern);
    if (pattern == 21) {
        ClickRadio(&window, QStringLiteral("RBtn_4"));
        ChooseComboRow(&window, 4);
        ClickBay(&window, 1);
    } else {
        ClickRadio(&window, QStringLiteral("RBtn_3"));
        ClickListRow(&window, 3);
        ClickBay(&window, 1);
        ClickBay(&window, 3);
        ClickRadio(&window, QStringLiteral("RBtn_4"));
        ChooseComboRow(&window, 9);
        ClickBay(&window, 1);
        ClickBay(&window, 3);
    }
    QCOMPARE(Text(&window, QStringLiteral("Lbl_Nti")), nLine);
    QCOMPARE(Text(&window, QStringLiteral("Lbl_F_12F")), upperFactor);
    QCOMPARE(Text(&window, QStringLiteral("Lbl_F_1F")), lowerFactor);
    QCOMPARE(Text(&window, QStringLiteral("Lbl_RulesWarning")).isEmpty(), !warned);
    QCOMPARE(Widget(&window, QStringLiteral("Lbl_Rules"))->isVisible(),
             conditions.rules == RuleSet::Revision2025);
    if (shot.isEmpty()) {
        return;
    }

    const QImage image = window.grab().toImage();
    QVERIFY(image.save(shots_.filePath(shot)));
    // Every text fits its box: one-line labels their width (after the
    // window narrowed their lettering), the warning its lines, and no
    // label runs past its parent.
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty()) {
            continue;
        }
        const QFontMetrics fm(label->font());
        const QString what = label->objectName() + QStringLiteral(": ") + label->text();
        if (label->wordWrap()) {
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(what));
        } else {
            QVERIFY2(fm.horizontalAdvance(label->text()) <= label->width(), qPrintable(what));
        }
        QVERIFY2(label->geometry().right() < label->parentWidget()->width(), qPrintable(what));
    }
}

QTEST_MAIN(MainFormRulesTest)
#include "MainFormRulesTest.moc"
