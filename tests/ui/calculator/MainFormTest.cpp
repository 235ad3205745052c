// Flows of the main window driven by real mouse and keyboard events on the
// offscreen platform: the start state, choosing patterns, placing,
// replacing, removing and flipping elements, mirroring, clearing, the
// element choice and the labels after each step.
#include "tests/ui/calculator/MainFormTestSupport.h"

#include "calc/CalcNValue.h"
#include "calc/ResultText.h"
#include "draw/Colors.h"
#include "draw/JapaneseFonts.h"
#include "ui/calculator/BevelPanel.h"
#include "ui/calculator/ImageControl.h"
#include "ui/calculator/ShapeControl.h"

#include <QApplication>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>

#include <memory>

using namespace mainform_test;
using koruba::BayCell;
using koruba::BayTable;

namespace {

const QColor White(255, 255, 255);
const QColor SkyBlue(166, 202, 240);
const QColor Orange(255, 170, 0);
const QColor Red(255, 0, 0);

QColor PixelOf(QWidget* window, const QString& image, QPoint at) {
    const auto* control = Control<koruba::ImageControl>(window, image);
    if (control == nullptr || control->picture().IsEmpty()) {
        return {};
    }
    return control->picture().Image().pixelColor(at);
}

BayCell Brace(float mult, int kind, int size) {
    return BayCell{mult, kind, size, 0, 0.0f};
}

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowFrame();
    void startState_data();
    void startState();
    void startModel();
    void patternChoice_data();
    void patternChoice();
    void placeReplaceRemove();
    void bayPictureFollowsBay();
    void rightPress_data();
    void rightPress();
    void doubleClickTogglesTwice_data();
    void doubleClickTogglesTwice();
    void mirrorCarriesOver();
    void patternSwitchKeepsBays();
    void storeyCountSwitchesBlocks();
    void clearAll_data();
    void clearAll();
    void clearConfirmationBox_data();
    void clearConfirmationBox();
    void braceMultiplierFollowsKindAndRow_data();
    void braceMultiplierFollowsKindAndRow();
    void panelChoiceEnabling();
    void listClickWhilePanelChosen();
    void listSelectionSetsSize_data();
    void listSelectionSetsSize();
    void listRowHeight_data();
    void listRowHeight();
    void disabledBaysTakeNoClicks();
    void summaryButton();
    void closeButton();

private:
    QWidget* W() const { return window_.get(); }
    TMainF& Main() const { return *window_; }
    void CheckTexts(const BayTable& bays, int pattern, int reversed);
    QPoint InWindow(QWidget* control) const {
        return control->mapTo(W(), control->rect().center());
    }

    std::unique_ptr<TMainF> window_;
    bool confirmAnswer_ = true;
    int confirmCalls_ = 0;
    QStringList shownNLines_;
};

void MainFormTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
    // Closing the window writes the settings record; never into the real
    // user's configuration.
    QStandardPaths::setTestModeEnabled(true);
}

void MainFormTest::init() {
    window_ = std::make_unique<TMainF>();
    confirmAnswer_ = true;
    confirmCalls_ = 0;
    shownNLines_.clear();
    window_->SetClearConfirmation([this] {
        ++confirmCalls_;
        return confirmAnswer_;
    });
    connect(window_.get(), &TMainF::resultShown, this,
            [this] { shownNLines_ << Text(W(), QStringLiteral("Lbl_Nti")); });
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void MainFormTest::cleanup() {
    window_.reset();
}

// The labels show what the calculation gives for the bays the test
// expects, in the blocks of the storey count.
void MainFormTest::CheckTexts(const BayTable& bays, int pattern, int reversed) {
    QCOMPARE(Main().Model().Bays(), bays);
    const koruba::ResultTexts texts =
        koruba::MakeResultTexts(koruba::CalcNValue(bays, pattern, reversed), pattern < 20 ? 2 : 1);
    for (const koruba::LabelCaption& c : texts.Captions) {
        const QString name = QString::fromUtf8(c.Label.data(), qsizetype(c.Label.size()));
        QCOMPARE(Text(W(), name), QString::fromStdString(c.Caption));
    }
    const auto shown = QString::fromUtf8(texts.ShownL.data(), qsizetype(texts.ShownL.size()));
    const auto hidden = QString::fromUtf8(texts.HiddenL.data(), qsizetype(texts.HiddenL.size()));
    QVERIFY(Widget(W(), shown)->isVisible());
    QVERIFY(!Widget(W(), hidden)->isVisible());
}

void MainFormTest::windowFrame() {
    QCOMPARE(W()->objectName(), QStringLiteral("MainF"));
    // The caption carries the version text: "1.0.0.0" reads "1.0.0".
    QCOMPARE(W()->windowTitle(), QStringLiteral("KORUBA-X    Ver.") + Main().VerText());
    QVERIFY(W()->windowTitle().startsWith(QStringLiteral("KORUBA-X    Ver.")));
    QCOMPARE(W()->size(), QSize(344, 451));
    QCOMPARE(W()->minimumSize(), W()->maximumSize());
    const Qt::WindowFlags flags = W()->windowFlags();
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowMinimizeButtonHint);
    QVERIFY(flags & Qt::MSWindowsFixedSizeDialogHint);
    QCOMPARE(W()->font().family(), koruba::MsPGothicWindow);
    QCOMPARE(W()->font().pixelSize(), 12);
    for (const char* name : {"SjList", "CBox1", "Lbl_KanaKigo"}) {
        QCOMPARE(Widget(W(), QString::fromLatin1(name))->font().family(), koruba::MsGothic);
    }
    // Hints only where the layout has them.
    QCOMPARE(Widget(W(), QStringLiteral("BBtn_Rev"))->toolTip(),
             QStringLiteral("軸組パターンを反転します"));
    QCOMPARE(Widget(W(), QStringLiteral("Btn_DtClear"))->toolTip(),
             QStringLiteral("筋かい・面材の全配置データをクリアします"));
    QCOMPARE(Widget(W(), QStringLiteral("BBtn_Close"))->toolTip(), QStringLiteral("終了します"));
    for (int tag : {21, 22, 11, 12, 13}) {
        auto* button = Control<QToolButton>(W(), PatternButtonName(tag));
        QVERIFY(button->toolTip().isEmpty());
        QVERIFY(!button->isCheckable());
        QCOMPARE(button->property("Tag").toInt(), tag);
    }
    QCOMPARE(Widget(W(), QStringLiteral("TBtn_Gaiyo"))->property("Tag").toInt(), 0);

    // Tab order of the focusable controls.
    QWidget* w = Widget(W(), QStringLiteral("RBtn_2"));
    QStringList chain;
    for (int i = 0; i < 9; ++i) {
        chain << w->objectName();
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !(w->focusPolicy() & Qt::TabFocus)) {
            w = w->nextInFocusChain();
        }
    }
    QCOMPARE(chain, QStringList({"RBtn_2", "RBtn_3", "RBtn_1", "CBox1", "RBtn_4", "SjList",
                                 "BBtn_Close", "Btn_DtClear", "BBtn_Rev"}));
}

void MainFormTest::startState_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("hand");

    const QString win = QStringLiteral("MainF");
    const QString group = QStringLiteral("GBoxSjMen");
    const QString p1 = QStringLiteral("Panel1");
    const QString p3 = QStringLiteral("Panel3");
    const QString none;
    // Positions in the parent's client area; the tool buttons lie inside
    // the tool bar's etched edge and border (6 pixels).
    QTest::newRow("ToolBar1") << "ToolBar1" << win << QRect(4, 1, 336, 236) << true << true << none
                              << false;
    QTest::newRow("TlBtn_21") << "TlBtn_21"
                              << "ToolBar1" << QRect(6, 6, 108, 112) << true << true << none
                              << true;
    QTest::newRow("TlBtn_22") << "TlBtn_22"
                              << "ToolBar1" << QRect(114, 6, 108, 112) << true << true << none
                              << true;
    QTest::newRow("TBtn_Gaiyo") << "TBtn_Gaiyo"
                                << "ToolBar1" << QRect(222, 6, 108, 112) << true << true << none
                                << true;
    QTest::newRow("TlBtn_11") << "TlBtn_11"
                              << "ToolBar1" << QRect(6, 118, 108, 112) << true << true << none
                              << true;
    QTest::newRow("TlBtn_12") << "TlBtn_12"
                              << "ToolBar1" << QRect(114, 118, 108, 112) << true << true << none
                              << true;
    QTest::newRow("TlBtn_13") << "TlBtn_13"
                              << "ToolBar1" << QRect(222, 118, 108, 112) << true << true << none
                              << true;
    QTest::newRow("GBoxSjMen") << "GBoxSjMen" << win << QRect(3, 241, 113, 178) << false << true
                               << none << false;
    QTest::newRow("Image1") << "Image1" << group << QRect(4, 17, 14, 14) << false << true << none
                            << false;
    QTest::newRow("RBtn_1") << "RBtn_1" << group << QRect(20, 17, 90, 16) << false << true
                            << "筋かい(左上)" << true;
    QTest::newRow("Image2") << "Image2" << group << QRect(4, 35, 14, 14) << false << true << none
                            << false;
    QTest::newRow("RBtn_2") << "RBtn_2" << group << QRect(20, 35, 90, 16) << false << true
                            << "筋かい(右上)" << true;
    QTest::newRow("Image3") << "Image3" << group << QRect(4, 53, 14, 14) << false << true << none
                            << false;
    QTest::newRow("RBtn_3") << "RBtn_3" << group << QRect(20, 53, 90, 16) << false << true
                            << "たすき筋かい" << true;
    QTest::newRow("PnlSjSize") << "PnlSjSize" << group << QRect(3, 73, 108, 19) << false << true
                               << none << false;
    QTest::newRow("Panel2") << "Panel2" << group << QRect(2, 91, 107, 57) << false << true << none
                            << false;
    QTest::newRow("SjList") << "SjList"
                            << "Panel2" << QRect(1, 2, 104, 53) << false << true << none << true;
    QTest::newRow("Image4") << "Image4" << group << QRect(4, 156, 14, 14) << false << true << none
                            << false;
    QTest::newRow("RBtn_4") << "RBtn_4" << group << QRect(20, 156, 43, 16) << false << true
                            << "面材" << true;
    QTest::newRow("CBox1") << "CBox1" << group << QRect(64, 153, 46, 20) << false << true << none
                           << true;
    QTest::newRow("BBtn_Rev") << "BBtn_Rev" << win << QRect(118, 245, 105, 23) << false << true
                              << "軸組反転" << true;
    QTest::newRow("Btn_DtClear") << "Btn_DtClear" << win << QRect(225, 245, 116, 23) << false
                                 << true << "全配置データクリア" << true;
    QTest::newRow("Panel1") << "Panel1" << win << QRect(118, 270, 106, 114) << true << true << none
                            << false;
    QTest::newRow("drwPp") << "drwPp" << p1 << QRect(-1, -1, 101, 107) << true << true << none
                           << false;
    QTest::newRow("drwSj_1") << "drwSj_1" << p1 << QRect(9, 9, 39, 43) << false << true << none
                             << true;
    QTest::newRow("drwSj_2") << "drwSj_2" << p1 << QRect(53, 9, 39, 43) << false << true << none
                             << true;
    QTest::newRow("drwSj_3") << "drwSj_3" << p1 << QRect(9, 57, 39, 43) << false << true << none
                             << true;
    QTest::newRow("drwSj_4") << "drwSj_4" << p1 << QRect(53, 57, 39, 43) << false << true << none
                             << true;
    QTest::newRow("Lbl_JkSelMsg") << "Lbl_JkSelMsg" << p1 << QRect(6, 40, 91, 26) << true << true
                                  << "軸組ﾊﾟﾀｰﾝを選択してください。" << false;
    QTest::newRow("Panel3") << "Panel3" << win << QRect(225, 270, 118, 114) << true << true << none
                            << false;
    QTest::newRow("Line1") << "Line1" << p3 << QRect(3, 54, 105, 1) << true << true << none
                           << false;
    QTest::newRow("Shape1") << "Shape1" << win << QRect(118, 386, 223, 21) << true << true << none
                            << false;
    QTest::newRow("Shape2") << "Shape2" << win << QRect(118, 406, 43, 21) << true << true << none
                            << false;
    QTest::newRow("Shape4") << "Shape4" << win << QRect(160, 406, 181, 21) << true << true << none
                            << false;
    QTest::newRow("Shape3") << "Shape3" << win << QRect(118, 426, 223, 21) << true << true << none
                            << false;
    QTest::newRow("Lbl_Nti") << "Lbl_Nti" << win << QRect(119, 391, 221, 12) << false << true << ""
                             << false;
    QTest::newRow("Lbl_KanaKigo") << "Lbl_KanaKigo" << win << QRect(120, 411, 40, 11) << false
                                  << true << "" << false;
    QTest::newRow("Lbl_Tairyoku") << "Lbl_Tairyoku" << win << QRect(161, 411, 178, 11) << false
                                  << true << "" << false;
    QTest::newRow("Lbl_KanaName") << "Lbl_KanaName" << win << QRect(120, 431, 220, 11) << true
                                  << true << "" << false;
    QTest::newRow("BBtn_Close") << "BBtn_Close" << win << QRect(3, 422, 112, 26) << true << true
                                << "終 了" << true;
}

void MainFormTest::startState() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, rect);
    QFETCH(bool, enabled);
    QFETCH(bool, visible);
    QFETCH(QString, caption);
    QFETCH(bool, hand);

    QWidget* w = Widget(W(), name);
    QVERIFY(w != nullptr);
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QPoint origin;
    if (auto* panel = qobject_cast<koruba::BevelPanel*>(w->parentWidget())) {
        origin = panel->clientOrigin();
    }
    QCOMPARE(w->geometry().translated(-origin), rect);
    QCOMPARE(w->isEnabled(), enabled);
    QCOMPARE(w->isVisible(), visible);
    if (!caption.isNull()) {
        if (auto* label = qobject_cast<QLabel*>(w)) {
            QCOMPARE(label->text(), caption);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            QCOMPARE(button->text(), caption);
        }
    }
    QCOMPARE(w->cursor().shape() == Qt::PointingHandCursor, hand);
}

void MainFormTest::startModel() {
    const koruba::BracingModel& m = Main().Model();
    QCOMPARE(m.PatternTag(), 0);
    QCOMPARE(m.ElementKind(), 2);
    QCOMPARE(m.BraceSizeIndex(), 2);
    QCOMPARE(m.BraceMultiplier(), 2.0f);
    QCOMPARE(m.PanelMultiplier(), 0.5f);
    QCOMPARE(m.Bays(), BayTable{});
    QVERIFY(Control<QRadioButton>(W(), QStringLiteral("RBtn_1"))->isChecked());
    auto* list = Control<QListWidget>(W(), QStringLiteral("SjList"));
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->selectedItems().size(), 1);
    QCOMPARE(list->selectedItems().first()->text(), QStringLiteral("   45×90 (2.0)"));
    auto* combo = Control<QComboBox>(W(), QStringLiteral("CBox1"));
    QCOMPARE(combo->count(), 10);
    QCOMPARE(combo->currentText(), QStringLiteral("0.5"));
    // Formula labels as laid out, greyed; the second lines hidden.
    QCOMPARE(Text(W(), QStringLiteral("Lbl_A_12F_Siki")), QStringLiteral("A2="));
    QCOMPARE(Text(W(), QStringLiteral("Lbl_B_1F")), QStringLiteral("B1="));
    QVERIFY(!Widget(W(), QStringLiteral("Lbl_A_12F_Siki"))->isEnabled());
    QVERIFY(!Widget(W(), QStringLiteral("Lbl_A_12F"))->isVisible());
    QVERIFY(!Widget(W(), QStringLiteral("Lbl_L_12F"))->isVisible());
    QVERIFY(Widget(W(), QStringLiteral("Lbl_L_1F"))->isVisible());
    QCOMPARE(Control<koruba::ShapeControl>(W(), QStringLiteral("Line1"))->penColor(),
             QColor(160, 160, 164));
    QCOMPARE(Control<koruba::BevelPanel>(W(), QStringLiteral("PnlSjSize"))->captionColor(),
             koruba::ToQColor(koruba::clBtnShadow));
    QVERIFY(Control<koruba::ImageControl>(W(), QStringLiteral("drwPp"))->picture().IsEmpty());
    QVERIFY(shownNLines_.isEmpty());
}

void MainFormTest::patternChoice_data() {
    QTest::addColumn<int>("pattern");
    QTest::addColumn<bool>("mirrored");
    QTest::addColumn<QList<int>>("bays");
    QTest::addColumn<bool>("revEnabled");
    QTest::addColumn<QPoint>("redPixel");

    QTest::newRow("21") << 21 << false << QList<int>{1} << true << QPoint(5, 30);
    QTest::newRow("21 mirrored") << 21 << true << QList<int>{2} << true << QPoint(95, 30);
    QTest::newRow("22") << 22 << false << QList<int>{1, 2} << false << QPoint(50, 30);
    QTest::newRow("22 after a mirror") << 22 << true << QList<int>{1, 2} << false << QPoint(50, 30);
    QTest::newRow("11") << 11 << false << QList<int>{1, 3} << true << QPoint(7, 80);
    QTest::newRow("11 mirrored") << 11 << true << QList<int>{2, 4} << true << QPoint(95, 80);
    QTest::newRow("12") << 12 << false << QList<int>{2, 3, 4} << true << QPoint(50, 80);
    QTest::newRow("12 mirrored") << 12 << true << QList<int>{1, 3, 4} << true << QPoint(50, 80);
    QTest::newRow("13") << 13 << false << QList<int>{1, 2, 3, 4} << false << QPoint(50, 80);
    QTest::newRow("13 after a mirror")
        << 13 << true << QList<int>{1, 2, 3, 4} << false << QPoint(50, 80);
}

void MainFormTest::patternChoice() {
    QFETCH(int, pattern);
    QFETCH(bool, mirrored);
    QFETCH(QList<int>, bays);
    QFETCH(bool, revEnabled);
    QFETCH(QPoint, redPixel);

    if (mirrored) {
        // The mirror can only be switched on 11, 12 and 21; it carries over.
        ChoosePattern(W(), 21);
        ClickButton(W(), QStringLiteral("BBtn_Rev"));
    }
    ChoosePattern(W(), pattern);
    QCOMPARE(Main().Model().PatternTag(), pattern);
    QCOMPARE(Main().Model().PatternReversed(), mirrored ? 1 : 0);
    for (int tag = 1; tag <= 4; ++tag) {
        QCOMPARE(Bay(W(), tag)->isVisible(), bays.contains(tag));
        QCOMPARE(Bay(W(), tag)->isEnabled(), bays.contains(tag));
    }
    QCOMPARE(Widget(W(), QStringLiteral("BBtn_Rev"))->isEnabled(), revEnabled);
    QCOMPARE(PixelOf(W(), QStringLiteral("drwPp"), redPixel), Red);

    for (const char* name : {"GBoxSjMen", "RBtn_1", "RBtn_2", "RBtn_3", "RBtn_4", "SjList",
                             "Btn_DtClear", "Lbl_A_12F_Siki", "Lbl_B_12F", "Lbl_A_1F_Siki",
                             "Lbl_B_1F", "Lbl_L_1F", "Lbl_Nti", "Lbl_KanaKigo", "Lbl_Tairyoku"}) {
        QVERIFY2(Widget(W(), QString::fromLatin1(name))->isEnabled(), name);
    }
    QVERIFY(!Widget(W(), QStringLiteral("CBox1"))->isEnabled());
    QVERIFY(!Widget(W(), QStringLiteral("Lbl_JkSelMsg"))->isVisible());
    QCOMPARE(Control<koruba::ShapeControl>(W(), QStringLiteral("Line1"))->penColor(),
             QColor(Qt::black));
    QCOMPARE(Control<koruba::BevelPanel>(W(), QStringLiteral("PnlSjSize"))->captionColor(),
             QColor(Qt::black));
    CheckTexts(BayTable{}, pattern, mirrored ? 1 : 0);
}

// Left presses with the element chosen at the time; the labels after each
// step.
void MainFormTest::placeReplaceRemove() {
    ChoosePattern(W(), 21);
    ClickBay(W(), 1);
    // The worked example of a 45x90 brace rising to the left.
    QCOMPARE(Text(W(), QStringLiteral("Lbl_A_12F_Siki")), QStringLiteral("A1= |2.0-0.0|+0.5"));
    QCOMPARE(Text(W(), QStringLiteral("Lbl_A_12F")), QStringLiteral("= 2.5"));
    QCOMPARE(Text(W(), QStringLiteral("Lbl_B_12F")), QStringLiteral("B1= 0.8"));
    QCOMPARE(Text(W(), QStringLiteral("Lbl_L_12F")), QStringLiteral("L= 0.4"));
    QCOMPARE(Text(W(), QStringLiteral("Lbl_A_1F_Siki")), QString());
    QCOMPARE(Text(W(), QStringLiteral("Lbl_Nti")),
             QStringLiteral("N = 2.5x0.8-0.4= 1.60  [8.47kN]"));
    QCOMPARE(Text(W(), QStringLiteral("Lbl_KanaKigo")), QStringLiteral("(ほ)"));
    QCOMPARE(Text(W(), QStringLiteral("Lbl_Tairyoku")), QStringLiteral("接合耐力： 8.47(kN)"));
    QCOMPARE(Text(W(), QStringLiteral("Lbl_KanaName")),
             QStringLiteral("羽子板ﾎﾞﾙﾄ(SB+ZS50)･短冊金物(S+ZS50)"));

    BayTable bays;
    bays.SetCell(2, 1, Brace(2.0f, 2, 2));
    CheckTexts(bays, 21, 0);

    ClickBay(W(), 1); // same kind: removed
    bays.SetCell(2, 1, BayCell{});
    CheckTexts(bays, 21, 0);

    ClickBay(W(), 1);
    ClickRadio(W(), QStringLiteral("RBtn_2"));
    ClickBay(W(), 1); // other kind: replaced
    bays.SetCell(2, 1, Brace(2.0f, 1, 2));
    CheckTexts(bays, 21, 0);

    ClickListRow(W(), 3);
    ClickBay(W(), 1); // same kind, other size: removed first
    bays.SetCell(2, 1, BayCell{});
    CheckTexts(bays, 21, 0);
    ClickBay(W(), 1);
    bays.SetCell(2, 1, Brace(3.0f, 1, 3));
    CheckTexts(bays, 21, 0);

    ClickRadio(W(), QStringLiteral("RBtn_4"));
    ChooseComboRow(W(), 4);
    ClickBay(W(), 1); // a panel joins the brace
    bays.SetCell(2, 1, BayCell{3.0f, 1, 3, 1, 2.5f});
    CheckTexts(bays, 21, 0);

    ClickRadio(W(), QStringLiteral("RBtn_3"));
    ClickBay(W(), 1); // a cross brace replaces the brace, the panel stays
    bays.SetCell(2, 1, BayCell{5.0f, 3, 3, 1, 2.5f});
    CheckTexts(bays, 21, 0);

    ClickRadio(W(), QStringLiteral("RBtn_4"));
    ClickBay(W(), 1); // the panel goes, the brace stays
    bays.SetCell(2, 1, Brace(5.0f, 3, 3));
    CheckTexts(bays, 21, 0);
    QCOMPARE(shownNLines_.size(), 1 + 9);
}

void MainFormTest::bayPictureFollowsBay() {
    const QString bay = QStringLiteral("drwSj_1");
    ChoosePattern(W(), 21);
    QVERIFY(Control<koruba::ImageControl>(W(), bay)->picture().IsEmpty());
    ClickBay(W(), 1);
    QCOMPARE(PixelOf(W(), bay, QPoint(19, 21)), Orange);
    QCOMPARE(PixelOf(W(), bay, QPoint(3, 20)), White);
    ClickRadio(W(), QStringLiteral("RBtn_4"));
    ClickBay(W(), 1);
    QCOMPARE(PixelOf(W(), bay, QPoint(19, 21)), Orange);
    QCOMPARE(PixelOf(W(), bay, QPoint(3, 20)), SkyBlue);
    ClickRadio(W(), QStringLiteral("RBtn_1"));
    ClickBay(W(), 1);
    QCOMPARE(PixelOf(W(), bay, QPoint(19, 21)), SkyBlue);
}

void MainFormTest::rightPress_data() {
    QTest::addColumn<QString>("radio");
    QTest::addColumn<int>("kindBefore");
    QTest::addColumn<int>("kindAfter");
    QTest::addColumn<int>("recomputed");

    QTest::newRow("left brace turns right") << "RBtn_1" << 2 << 1 << 1;
    QTest::newRow("right brace turns left") << "RBtn_2" << 1 << 2 << 1;
    QTest::newRow("cross brace: nothing at all") << "RBtn_3" << 3 << 3 << 0;
    QTest::newRow("panel only: recomputed, unchanged") << "RBtn_4" << 0 << 0 << 1;
}

void MainFormTest::rightPress() {
    QFETCH(QString, radio);
    QFETCH(int, kindBefore);
    QFETCH(int, kindAfter);
    QFETCH(int, recomputed);

    ChoosePattern(W(), 13);
    ClickRadio(W(), radio);
    ClickBay(W(), 4);
    const BayCell before = Main().Model().Bays().Cell(1, 2);
    QCOMPARE(before.BraceKind, kindBefore);
    shownNLines_.clear();

    ClickBay(W(), 4, Qt::RightButton);
    BayCell expected = before;
    expected.BraceKind = kindAfter;
    QCOMPARE(Main().Model().Bays().Cell(1, 2), expected);
    QCOMPARE(shownNLines_.size(), recomputed);
    BayTable bays;
    bays.SetCell(1, 2, expected);
    CheckTexts(bays, 13, 0);
}

void MainFormTest::doubleClickTogglesTwice_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("throughWindow");

    // Press, release, double-click, release: sent to the bay image as the
    // toolkit delivers them, or through the window so that the toolkit
    // itself turns the second press into the double-click.
    QTest::newRow("left, widget events") << Qt::LeftButton << false;
    QTest::newRow("left, through the window") << Qt::LeftButton << true;
    QTest::newRow("right, widget events") << Qt::RightButton << false;
    QTest::newRow("right, through the window") << Qt::RightButton << true;
}

void MainFormTest::doubleClickTogglesTwice() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, throughWindow);

    ChoosePattern(W(), 21);
    if (button == Qt::RightButton) {
        ClickBay(W(), 1); // a brace to flip
    }
    const BayTable before = Main().Model().Bays();
    const QString nBefore = Text(W(), QStringLiteral("Lbl_Nti"));
    shownNLines_.clear();

    QWidget* bay = Bay(W(), 1);
    if (throughWindow) {
        QTest::mouseDClick(W()->windowHandle(), button, {}, InWindow(bay));
    } else {
        QTest::mousePress(bay, button);
        QTest::mouseRelease(bay, button);
        QTest::mouseDClick(bay, button);
        QTest::mouseRelease(bay, button);
    }
    QCOMPARE(Main().Model().Bays(), before);
    QCOMPARE(shownNLines_.size(), 2);
    QVERIFY(shownNLines_.at(0) != nBefore);
    QCOMPARE(shownNLines_.at(1), nBefore);
    QCOMPARE(Main().Model().ClickedBay(), 1);
}

void MainFormTest::mirrorCarriesOver() {
    ChoosePattern(W(), 21);
    ClickBay(W(), 1);
    BayTable bays = Main().Model().Bays();

    ClickButton(W(), QStringLiteral("BBtn_Rev"));
    QVERIFY(!Bay(W(), 1)->isVisible());
    QVERIFY(Bay(W(), 2)->isVisible());
    CheckTexts(bays, 21, 1); // the stored brace is hidden and no longer counts

    ClickBay(W(), 2);
    bays.SetCell(2, 2, Brace(2.0f, 2, 2));
    CheckTexts(bays, 21, 1);

    ChoosePattern(W(), 11);
    QCOMPARE(Main().Model().PatternReversed(), 1);
    QVERIFY(Bay(W(), 2)->isVisible() && Bay(W(), 4)->isVisible());
    QVERIFY(!Bay(W(), 1)->isVisible() && !Bay(W(), 3)->isVisible());
    CheckTexts(bays, 11, 1);

    ChoosePattern(W(), 13);
    QVERIFY(!Widget(W(), QStringLiteral("BBtn_Rev"))->isEnabled());
    QCOMPARE(Main().Model().PatternReversed(), 1);

    ChoosePattern(W(), 21);
    QVERIFY(Bay(W(), 2)->isVisible() && !Bay(W(), 1)->isVisible());
    ClickButton(W(), QStringLiteral("BBtn_Rev"));
    QCOMPARE(Main().Model().PatternReversed(), 0);
    QVERIFY(Bay(W(), 1)->isVisible());
    QCOMPARE(PixelOf(W(), QStringLiteral("drwSj_1"), QPoint(19, 21)), Orange);
    CheckTexts(bays, 21, 0);
}

void MainFormTest::patternSwitchKeepsBays() {
    ChoosePattern(W(), 13);
    for (int tag = 1; tag <= 4; ++tag) {
        ClickBay(W(), tag);
    }
    const BayTable filled = Main().Model().Bays();
    const QString n13 = Text(W(), QStringLiteral("Lbl_Nti"));
    ChoosePattern(W(), 21);
    QCOMPARE(Main().Model().Bays(), filled);
    for (int tag = 2; tag <= 4; ++tag) {
        QVERIFY(!Bay(W(), tag)->isVisible());
    }
    CheckTexts(filled, 21, 0);
    ChoosePattern(W(), 13);
    CheckTexts(filled, 13, 0);
    QCOMPARE(Text(W(), QStringLiteral("Lbl_Nti")), n13);
    for (int tag = 1; tag <= 4; ++tag) {
        QCOMPARE(PixelOf(W(), QStringLiteral("drwSj_%1").arg(tag), QPoint(19, 21)), Orange);
    }
}

void MainFormTest::storeyCountSwitchesBlocks() {
    ChoosePattern(W(), 13);
    // The worked example of pattern 13 with nothing placed.
    const QStringList expected13 = {"A2= |0.0-0.0|+(0.0)",
                                    "= 0.0",
                                    "B2= 0.5",
                                    "A1= |0.0-0.0|+(0.0)",
                                    "= 0.0",
                                    "B1= 0.5",
                                    "L= 1.6"};
    const QStringList labels = {"Lbl_A_12F_Siki", "Lbl_A_12F", "Lbl_B_12F", "Lbl_A_1F_Siki",
                                "Lbl_A_1F",       "Lbl_B_1F",  "Lbl_L_1F"};
    for (int i = 0; i < labels.size(); ++i) {
        QCOMPARE(Text(W(), labels[i]), expected13[i]);
    }
    QCOMPARE(Text(W(), QStringLiteral("Lbl_Nti")),
             QStringLiteral("N = 0.0x0.5+0.0x0.5-1.6 = -1.60  [-8.47kN]"));
    QCOMPARE(Text(W(), QStringLiteral("Lbl_KanaKigo")), QStringLiteral("(い)"));
    QCOMPARE(Text(W(), QStringLiteral("Lbl_Tairyoku")), QStringLiteral("接合耐力： 0.00(kN)"));
    QCOMPARE(Text(W(), QStringLiteral("Lbl_KanaName")), QStringLiteral("短ほぞ差し・かすがい(C)"));
    QVERIFY(!Widget(W(), QStringLiteral("Lbl_L_12F"))->isVisible());

    ChoosePattern(W(), 22);
    for (const char* name : {"Lbl_A_1F_Siki", "Lbl_A_1F", "Lbl_B_1F"}) {
        QCOMPARE(Text(W(), QString::fromLatin1(name)), QString());
    }
    QVERIFY(Widget(W(), QStringLiteral("Lbl_L_12F"))->isVisible());
    QVERIFY(!Widget(W(), QStringLiteral("Lbl_L_1F"))->isVisible());
    QVERIFY(Text(W(), QStringLiteral("Lbl_A_12F_Siki")).startsWith(QStringLiteral("A1=")));
    QVERIFY(Text(W(), QStringLiteral("Lbl_Nti")).endsWith(QStringLiteral("= -0.60  [-3.18kN]")));

    ChoosePattern(W(), 13);
    for (int i = 0; i < labels.size(); ++i) {
        QCOMPARE(Text(W(), labels[i]), expected13[i]);
    }
    QVERIFY(!Widget(W(), QStringLiteral("Lbl_L_12F"))->isVisible());
    QVERIFY(Widget(W(), QStringLiteral("Lbl_L_1F"))->isVisible());
}

void MainFormTest::clearAll_data() {
    QTest::addColumn<bool>("answer");
    QTest::newRow("OK empties all four bays") << true;
    QTest::newRow("Cancel changes nothing") << false;
}

void MainFormTest::clearAll() {
    QFETCH(bool, answer);

    ChoosePattern(W(), 13);
    for (int tag = 1; tag <= 4; ++tag) {
        ClickBay(W(), tag);
    }
    ChoosePattern(W(), 21);
    ClickButton(W(), QStringLiteral("BBtn_Rev")); // three bays now hidden
    const BayTable before = Main().Model().Bays();
    const QString nBefore = Text(W(), QStringLiteral("Lbl_Nti"));
    shownNLines_.clear();
    confirmAnswer_ = answer;

    ClickButton(W(), QStringLiteral("Btn_DtClear"));
    QCOMPARE(confirmCalls_, 1);
    QCOMPARE(Main().Model().PatternTag(), 21);
    QCOMPARE(Main().Model().PatternReversed(), 1);
    QCOMPARE(Main().Model().ElementKind(), 2);
    if (answer) {
        CheckTexts(BayTable{}, 21, 1);
        QCOMPARE(shownNLines_.size(), 1);
        for (int tag = 1; tag <= 4; ++tag) {
            QCOMPARE(PixelOf(W(), QStringLiteral("drwSj_%1").arg(tag), QPoint(19, 21)), White);
        }
    } else {
        QCOMPARE(Main().Model().Bays(), before);
        QCOMPARE(Text(W(), QStringLiteral("Lbl_Nti")), nBefore);
        QVERIFY(shownNLines_.isEmpty());
    }
}

void MainFormTest::clearConfirmationBox_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("Enter answers OK") << int(Qt::Key_Return) << true;
    QTest::newRow("Escape answers Cancel") << int(Qt::Key_Escape) << false;
    QTest::newRow("close box answers Cancel") << 0 << false;
}

// The real box: its texts, icon and buttons, answered from the keyboard
// or closed.
void MainFormTest::clearConfirmationBox() {
    QFETCH(int, key);
    QFETCH(bool, cleared);

    window_->SetClearConfirmation(&TMainF::AskClearConfirmation);
    ChoosePattern(W(), 21);
    ClickBay(W(), 1);

    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        modal = box->isModal();
        for (QAbstractButton* b : box->buttons()) {
            buttons << b->text();
        }
        defaultButton = box->defaultButton() != nullptr ? box->defaultButton()->text() : QString();
        if (key != 0) {
            QTest::keyClick(box, Qt::Key(key));
        } else {
            box->close();
        }
    });
    ClickButton(W(), QStringLiteral("Btn_DtClear"));

    QCOMPARE(title, QStringLiteral("確認"));
    QCOMPARE(text, QStringLiteral("すべての配置データをクリアーします..."));
    QCOMPARE(icon, QMessageBox::Question);
    QVERIFY(modal);
    buttons.sort();
    QCOMPARE(buttons, QStringList({"OK", "キャンセル"}));
    QCOMPARE(defaultButton, QStringLiteral("OK"));
    QCOMPARE(Main().Model().Bays().Cell(2, 1).BraceKind, cleared ? 0 : 2);
}

void MainFormTest::braceMultiplierFollowsKindAndRow_data() {
    QTest::addColumn<QString>("radio");
    QTest::addColumn<int>("row");
    QTest::addColumn<float>("multiplier");
    QTest::addColumn<QString>("rowText");

    QTest::newRow("left 45x90") << "RBtn_1" << 2 << 2.0f << "   45×90 (2.0)";
    QTest::newRow("right 15x90") << "RBtn_2" << 0 << 1.0f << "   15×90 (1.0)";
    QTest::newRow("right 90x90") << "RBtn_2" << 3 << 3.0f << "   90×90 (3.0)";
    QTest::newRow("cross 30x90 doubled") << "RBtn_3" << 1 << 3.0f << "   30×90 (3.0)";
    QTest::newRow("cross 45x90 doubled") << "RBtn_3" << 2 << 4.0f << "   45×90 (4.0)";
    QTest::newRow("cross 90x90 capped") << "RBtn_3" << 3 << 5.0f << "   90×90 (5.0)";
}

// Radio first then row, and row first then radio, end in the same choice;
// neither recomputes anything.
void MainFormTest::braceMultiplierFollowsKindAndRow() {
    QFETCH(QString, radio);
    QFETCH(int, row);
    QFETCH(float, multiplier);
    QFETCH(QString, rowText);

    ChoosePattern(W(), 21);
    shownNLines_.clear();
    auto* list = Control<QListWidget>(W(), QStringLiteral("SjList"));

    ClickRadio(W(), radio);
    ClickListRow(W(), row);
    QCOMPARE(Main().Model().BraceSizeIndex(), row);
    QCOMPARE(Main().Model().BraceMultiplier(), multiplier);
    QCOMPARE(list->selectedItems().first()->text(), rowText);

    ClickRadio(W(), radio == QStringLiteral("RBtn_2") ? QStringLiteral("RBtn_1")
                                                      : QStringLiteral("RBtn_2"));
    ClickRadio(W(), radio);
    QCOMPARE(Main().Model().BraceMultiplier(), multiplier);
    QCOMPARE(list->selectedItems().first()->text(), rowText);
    QCOMPARE(Main().Model().ElementKind(),
             Control<QRadioButton>(W(), radio)->property("Tag").toInt());
    QVERIFY(shownNLines_.isEmpty());
}

void MainFormTest::panelChoiceEnabling() {
    auto* list = Widget(W(), QStringLiteral("SjList"));
    auto* combo = Widget(W(), QStringLiteral("CBox1"));
    ChoosePattern(W(), 12);
    ClickRadio(W(), QStringLiteral("RBtn_3"));
    ClickRadio(W(), QStringLiteral("RBtn_4"));
    QVERIFY(combo->isEnabled());
    QVERIFY(!list->isEnabled());
    ChooseComboRow(W(), 5);
    QCOMPARE(Main().Model().PanelMultiplier(), 3.0f);
    QCOMPARE(Main().Model().BraceMultiplier(), 4.0f); // untouched by the panel choice

    // A mirror (or a pattern choice) enables the list and disables the
    // combo while the panel stays chosen.
    ClickButton(W(), QStringLiteral("BBtn_Rev"));
    QVERIFY(list->isEnabled());
    QVERIFY(!combo->isEnabled());
    QCOMPARE(Main().Model().ElementKind(), 4);
    // Clicking the checked "面材" again raises no click.
    ClickRadio(W(), QStringLiteral("RBtn_4"));
    QVERIFY(!combo->isEnabled());
    ClickBay(W(), 1);
    QCOMPARE(Main().Model().Bays().Cell(2, 1), (BayCell{0.0f, 0, 0, 1, 3.0f}));

    // Another radio and then "面材" enables the combo again.
    ClickRadio(W(), QStringLiteral("RBtn_1"));
    QVERIFY(list->isEnabled());
    QVERIFY(!combo->isEnabled());
    QCOMPARE(Main().Model().BraceMultiplier(), 2.0f); // row 2 kept, no longer doubled
    ClickRadio(W(), QStringLiteral("RBtn_4"));
    QVERIFY(combo->isEnabled());
    QCOMPARE(Control<QComboBox>(W(), QStringLiteral("CBox1"))->currentText(),
             QStringLiteral("3.0"));
}

void MainFormTest::listClickWhilePanelChosen() {
    ChoosePattern(W(), 22);
    ClickRadio(W(), QStringLiteral("RBtn_3"));
    ClickRadio(W(), QStringLiteral("RBtn_4"));
    ChoosePattern(W(), 22); // enables the list
    ClickListRow(W(), 3);
    QCOMPARE(Main().Model().BraceSizeIndex(), 3);
    QCOMPARE(Main().Model().BraceMultiplier(), 3.0f); // not doubled for a panel
    ClickRadio(W(), QStringLiteral("RBtn_3"));
    QCOMPARE(Main().Model().BraceMultiplier(), 5.0f);
}

void MainFormTest::listSelectionSetsSize_data() {
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");

    QTest::newRow("click") << "click" << 2 << 0;
    QTest::newRow("drag down over two rows") << "drag" << 0 << 3;
    QTest::newRow("drag up over one row") << "drag" << 3 << 1;
    QTest::newRow("key down") << "key down" << 1 << 2;
    QTest::newRow("key up") << "key up" << 1 << 0;
}

// However the user moves the selection, the size chosen is the row that
// ends up selected, and a brace placed next has that size.
void MainFormTest::listSelectionSetsSize() {
    QFETCH(QString, gesture);
    QFETCH(int, from);
    QFETCH(int, to);

    ChoosePattern(W(), 21);
    ClickListRow(W(), from);
    auto* list = Control<QListWidget>(W(), QStringLiteral("SjList"));
    QWidget* viewport = list->viewport();
    auto rowCentre = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
    if (gesture == QStringLiteral("click")) {
        ClickListRow(W(), to);
    } else if (gesture == QStringLiteral("drag")) {
        QTest::mousePress(viewport, Qt::LeftButton, {}, rowCentre(from));
        const int step = to > from ? 1 : -1;
        for (int row = from + step; row != to + step; row += step) {
            QTest::mouseMove(viewport, rowCentre(row));
        }
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, rowCentre(to));
    } else {
        list->setFocus();
        QTest::keyClick(list, gesture == QStringLiteral("key down") ? Qt::Key_Down : Qt::Key_Up);
    }
    QCOMPARE(list->selectedItems().size(), 1);
    QCOMPARE(list->row(list->selectedItems().first()), to);
    QCOMPARE(Main().Model().BraceSizeIndex(), to);
    float multiplier = 0.0f;
    QVERIFY(koruba::BraceMultiplierOfRow(to, 2, 5.0f, multiplier));
    QCOMPARE(Main().Model().BraceMultiplier(), multiplier);
    ClickBay(W(), 1);
    QCOMPARE(Main().Model().Bays().Cell(2, 1).BraceSize, to);
}

void MainFormTest::listRowHeight_data() {
    QTest::addColumn<QString>("list");
    QTest::newRow("brace size list") << "SjList";
    QTest::newRow("multiplier drop-down") << "CBox1";
}

// Both lists have rows of 12 pixels, also in the open drop-down.
void MainFormTest::listRowHeight() {
    QFETCH(QString, list);
    ChoosePattern(W(), 21);
    QAbstractItemView* view = nullptr;
    if (auto* combo = Control<QComboBox>(W(), list)) {
        ClickRadio(W(), QStringLiteral("RBtn_4"));
        combo->showPopup();
        view = combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    } else {
        view = Control<QListWidget>(W(), list);
    }
    QVERIFY(view != nullptr);
    const int rows = view->model()->rowCount();
    QVERIFY(rows >= 4);
    for (int row = 0; row < rows; ++row) {
        QCOMPARE(view->visualRect(view->model()->index(row, 0)).height(), 12);
    }
    if (auto* combo = Control<QComboBox>(W(), list)) {
        combo->hidePopup();
    }
}

void MainFormTest::disabledBaysTakeNoClicks() {
    // Before a pattern: every bay is disabled; presses land on the panel.
    for (int tag = 1; tag <= 4; ++tag) {
        QTest::mouseClick(W()->windowHandle(), Qt::LeftButton, {}, InWindow(Bay(W(), tag)));
        QTest::mouseClick(W()->windowHandle(), Qt::RightButton, {}, InWindow(Bay(W(), tag)));
    }
    QCOMPARE(Main().Model().ClickedBay(), 0);
    QCOMPARE(Main().Model().Bays(), BayTable{});
    QVERIFY(shownNLines_.isEmpty());

    // Pattern 21 uses only the upper left bay; the others are hidden.
    ChoosePattern(W(), 21);
    shownNLines_.clear();
    for (int tag = 2; tag <= 4; ++tag) {
        QTest::mouseClick(W()->windowHandle(), Qt::LeftButton, {}, InWindow(Bay(W(), tag)));
    }
    QCOMPARE(Main().Model().Bays(), BayTable{});
    QVERIFY(shownNLines_.isEmpty());
    QTest::mouseClick(W()->windowHandle(), Qt::LeftButton, {}, InWindow(Bay(W(), 1)));
    QCOMPARE(Main().Model().Bays().Cell(2, 1).BraceKind, 2);
    QCOMPARE(shownNLines_.size(), 1);
}

void MainFormTest::summaryButton() {
    auto visibleWindows = [] {
        int n = 0;
        for (const QWidget* w : QApplication::topLevelWidgets()) {
            n += w->isVisible() ? 1 : 0;
        }
        return n;
    };
    ClickButton(W(), QStringLiteral("TBtn_Gaiyo")); // no dialog yet: nothing happens
    QCOMPARE(visibleWindows(), 1);

    QWidget dialog;
    Main().SetSummaryDialog(&dialog);
    ClickButton(W(), QStringLiteral("TBtn_Gaiyo"));
    QVERIFY(dialog.isVisible());
    ClickButton(W(), QStringLiteral("TBtn_Gaiyo")); // while open
    QVERIFY(dialog.isVisible());
    QVERIFY(shownNLines_.isEmpty());
    // The open summary does not keep the program alive after the main
    // window closes.
    QVERIFY(!dialog.testAttribute(Qt::WA_QuitOnClose));
}

void MainFormTest::closeButton() {
    ClickButton(W(), QStringLiteral("BBtn_Close"));
    QVERIFY(!W()->isVisible());
}

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
