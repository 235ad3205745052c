// Pictures of the main window in three states, written to the build tree
// for a person to compare with the layout (at the density of the screen:
// the test runs once plain and once with QT_SCALE_FACTOR=2), and the
// checks that can be made on them by program: every caption fits its
// control and every character has a glyph in the font that draws it, the
// formula stays inside its panel, the diagram leaves the panel's border
// whole, and the bay pictures are drawn at the screen's density.
#include "tests/ui/calculator/MainFormTestSupport.h"

#include "ui/calculator/BevelPanel.h"
#include "ui/calculator/ImageControl.h"

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

using namespace mainform_test;

class MainFormScreenshotTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void screenshots_data();
    void screenshots();
    void formulaEndsInsideItsPanel_data();
    void formulaEndsInsideItsPanel();
    void diagramLeavesThePanelBorderWhole();
    void resultLinesKeepClearOfTheirBoxes();
    void bayPicturesAreDrawnAtTheScreenDensity();

private:
    QDir outDir_;
};

void MainFormScreenshotTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
    outDir_ = QDir(QStringLiteral(KORUBA_SCREENSHOT_DIR));
    QVERIFY(outDir_.mkpath(QStringLiteral(".")));
}

void MainFormScreenshotTest::screenshots_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("pattern");
    QTest::addColumn<bool>("mirrored");
    QTest::addColumn<int>("rules");

    QTest::newRow("start") << QStringLiteral("mainwindow-start.png") << 0 << false << 2000;
    QTest::newRow("pattern 13 filled")
        << QStringLiteral("mainwindow-pattern13.png") << 13 << false << 2000;
    QTest::newRow("pattern 21 mirrored")
        << QStringLiteral("mainwindow-pattern21-mirrored.png") << 21 << true << 2000;
    // The longest texts of the 2025 rules: a tall single storey with its
    // warning, and two storeys at 4.50 m with uncapped sums of 10.0.
    QTest::newRow("2025 pattern 21 at 3.30 m")
        << QStringLiteral("mainwindow-2025-pattern21.png") << 21 << false << 2025;
    QTest::newRow("2025 pattern 13 at 4.50 m")
        << QStringLiteral("mainwindow-2025-pattern13.png") << 13 << false << 2025;
}

void MainFormScreenshotTest::screenshots() {
    QFETCH(QString, file);
    QFETCH(int, pattern);
    QFETCH(bool, mirrored);
    QFETCH(int, rules);

    TMainF window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    if (rules == 2025) {
        const std::int32_t h1 = pattern == 21 ? 330 : 450;
        QVERIFY(window.setConditions({koruba::RuleSet::Revision2025, h1, 450}));
        ChoosePattern(&window, pattern);
        // Cross 90x90 with a 5.0 panel left in each storey, or a 2.5 panel.
        if (pattern == 13) {
            ClickRadio(&window, QStringLiteral("RBtn_3"));
            ClickListRow(&window, 3);
            ClickBay(&window, 1);
            ClickBay(&window, 3);
        }
        ClickRadio(&window, QStringLiteral("RBtn_4"));
        ChooseComboRow(&window, pattern == 13 ? 9 : 4);
        ClickBay(&window, 1);
        if (pattern == 13) {
            ClickBay(&window, 3);
        }
    } else if (pattern == 13) {
        ChoosePattern(&window, 13);
        // One of each: left brace, right brace 90x90, cross brace with a
        // panel (capped), panel alone.
        ClickBay(&window, 1);
        ClickRadio(&window, QStringLiteral("RBtn_2"));
        ClickListRow(&window, 3);
        ClickBay(&window, 2);
        ClickRadio(&window, QStringLiteral("RBtn_3"));
        ClickBay(&window, 3);
        ClickRadio(&window, QStringLiteral("RBtn_4"));
        ChooseComboRow(&window, 3);
        ClickBay(&window, 3);
        ClickBay(&window, 4);
    } else if (pattern == 21) {
        ChoosePattern(&window, 21);
        ClickButton(&window, QStringLiteral("BBtn_Rev"));
        ClickBay(&window, 2);
    }
    QVERIFY(mirrored == (window.Model().PatternReversed() == 1));

    const QImage shot = window.grab().toImage();
    QCOMPARE(shot.size() / shot.devicePixelRatio(), QSize(344, rules == 2025 ? 499 : 451));
    if (shot.devicePixelRatio() != 1.0) {
        file.replace(QStringLiteral(".png"),
                     QStringLiteral("@%1x.png").arg(shot.devicePixelRatio()));
    }
    QVERIFY(shot.save(outDir_.filePath(file)));

    // Nothing clipped: each visible caption fits the width of its control,
    // and every character has a glyph in the control's font.
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty()) {
            continue;
        }
        const QFontMetrics fm(label->font());
        if (label->wordWrap()) {
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                     qPrintable(label->objectName()));
        } else {
            const int advance = fm.horizontalAdvance(label->text());
            QVERIFY2(advance <= label->width(),
                     qPrintable(QStringLiteral("%1: %2 is %3 px wide in %4 px")
                                    .arg(label->objectName(), label->text())
                                    .arg(advance)
                                    .arg(label->width())));
        }
        QVERIFY2(label->geometry().right() < label->parentWidget()->width(),
                 qPrintable(label->objectName()));
        for (const QChar c : label->text()) {
            // A line break is no glyph.
            QVERIFY2(c == u'\n' || fm.inFont(c),
                     qPrintable(label->objectName() + QStringLiteral(": ") + c));
        }
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        const QFontMetrics fm(button->font());
        for (const QChar c : button->text()) {
            QVERIFY2(fm.inFont(c), qPrintable(button->objectName() + QStringLiteral(": ") + c));
        }
        if (qobject_cast<QRadioButton*>(button) != nullptr) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect contents =
                button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button);
            // The ink must fit; the advance may end in blank side bearing.
            QVERIFY2(fm.boundingRect(button->text()).right() < contents.width(),
                     qPrintable(button->objectName()));
        }
    }
}

namespace {

// The longest formula each self-sizing label can hold comes from a brace
// meeting the column foot on one side only: its correction is negative.
enum class Formula { Pattern21RightRising30, Pattern13Worst };

void Enter(TMainF* window, Formula formula) {
    if (formula == Formula::Pattern21RightRising30) {
        ChoosePattern(window, 21);
        ClickRadio(window, QStringLiteral("RBtn_2"));
        ClickListRow(window, 1);
        ClickBay(window, 1);
        return;
    }
    // Each storey: a 90x90 brace meeting the foot plus a 2.0 panel on the
    // left (5.0), a 5.0 panel on the right.
    ChoosePattern(window, 13);
    ClickListRow(window, 3);
    ClickBay(window, 1);
    ClickBay(window, 3);
    ClickRadio(window, QStringLiteral("RBtn_4"));
    ChooseComboRow(window, 3);
    ClickBay(window, 1);
    ClickBay(window, 3);
    ChooseComboRow(window, 9);
    ClickBay(window, 2);
    ClickBay(window, 4);
}

} // namespace

Q_DECLARE_METATYPE(Formula)

void MainFormScreenshotTest::formulaEndsInsideItsPanel_data() {
    QTest::addColumn<Formula>("formula");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::newRow("pattern 21, 30x90 rising right")
        << Formula::Pattern21RightRising30 << QStringLiteral("Lbl_A_12F_Siki")
        << QStringLiteral("A1= |1.5-0.0|+(-0.5)");
    QTest::newRow("pattern 13, upper storey at its widest")
        << Formula::Pattern13Worst << QStringLiteral("Lbl_A_12F_Siki")
        << QStringLiteral("A2= |5.0-5.0|+(-2.0)");
    QTest::newRow("pattern 13, lower storey at its widest")
        << Formula::Pattern13Worst << QStringLiteral("Lbl_A_1F_Siki")
        << QStringLiteral("A1= |5.0-5.0|+(-2.0)");
}

void MainFormScreenshotTest::formulaEndsInsideItsPanel() {
    QFETCH(Formula, formula);
    QFETCH(QString, label);
    QFETCH(QString, text);

    TMainF window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Enter(&window, formula);
    QCOMPARE(Text(&window, label), text);

    auto* panel = Control<koruba::BevelPanel>(&window, QStringLiteral("Panel3"));
    // Every label ends at least two pixels inside the bevel's right line,
    // and nothing is drawn in the pixel between.
    const int bevel = panel->innerRect().right() + 1;
    const QImage shot = panel->grab().toImage();
    const qreal dpr = shot.devicePixelRatio();
    for (QLabel* l : panel->findChildren<QLabel*>()) {
        if (!l->isVisible()) {
            continue;
        }
        QVERIFY2(l->geometry().right() <= bevel - 2,
                 qPrintable(QStringLiteral("%1 ends at %2, the bevel is at %3")
                                .arg(l->objectName())
                                .arg(l->geometry().right())
                                .arg(bevel)));
        QVERIFY2(l->font().stretch() == QFont::AnyStretch || l->font().stretch() >= 70,
                 qPrintable(l->objectName()));
        for (int y = l->geometry().top(); y <= l->geometry().bottom(); ++y) {
            for (int x = (bevel - 1) * dpr; x < bevel * dpr; ++x) {
                QVERIFY2(
                    shot.pixelColor(x, y * dpr) == Qt::white,
                    qPrintable(
                        QStringLiteral("%1: ink at (%2, %3)").arg(l->objectName()).arg(x).arg(y)));
            }
        }
    }
}

// The longest N line, of two storeys under the 2025 rules, filled the whole
// box once, its first and last letters touching the box's sides; two blank
// pixels stay inside each side.
void MainFormScreenshotTest::resultLinesKeepClearOfTheirBoxes() {
    TMainF window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Cross braces 90x90 with 5.0 panels in both storeys at 4.50 m.
    QVERIFY(window.setConditions({koruba::RuleSet::Revision2025, 450, 450}));
    ChoosePattern(&window, 13);
    ClickRadio(&window, QStringLiteral("RBtn_3"));
    ClickListRow(&window, 3);
    ClickBay(&window, 1);
    ClickBay(&window, 3);
    ClickRadio(&window, QStringLiteral("RBtn_4"));
    ChooseComboRow(&window, 9);
    ClickBay(&window, 1);
    ClickBay(&window, 3);
    QCOMPARE(Text(&window, QStringLiteral("Lbl_Nti")),
             QStringLiteral("N = 10.0x0.5xf1+10.0x0.5xf2-1.6 = 15.07  [79.73kN]"));
    const QImage shot = window.grab().toImage();
    const qreal dpr = shot.devicePixelRatio();
    const QRect box = Widget(&window, QStringLiteral("Shape1"))->geometry();
    const QRect line = Widget(&window, QStringLiteral("Lbl_Nti"))->geometry();
    for (const int x : {box.left() + 1, box.left() + 2, box.right() - 2, box.right() - 1}) {
        for (int y = line.top(); y <= line.bottom(); ++y) {
            QVERIFY2(shot.pixelColor(qRound(x * dpr), qRound(y * dpr)) == Qt::white,
                     qPrintable(QStringLiteral("ink at (%1, %2)").arg(x).arg(y)));
        }
    }
}

void MainFormScreenshotTest::diagramLeavesThePanelBorderWhole() {
    TMainF window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* panel = Widget(&window, QStringLiteral("Panel1"));
    // The border and the bevel: the outer three pixels, minus the inside.
    const auto edges = [panel] {
        QImage shot = panel->grab().toImage();
        QPainter(&shot).fillRect(QRectF(panel->rect().adjusted(3, 3, -3, -3)), Qt::black);
        return shot;
    };
    const QImage before = edges();
    for (const int tag : {21, 22, 11, 12, 13}) {
        ChoosePattern(&window, tag);
        QVERIFY2(edges() == before, qPrintable(QString::number(tag)));
    }
}

void MainFormScreenshotTest::bayPicturesAreDrawnAtTheScreenDensity() {
    TMainF window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ChoosePattern(&window, 21);
    ClickBay(&window, 1);
    const qreal dpr = window.devicePixelRatioF();
    for (const QString& name : {QStringLiteral("drwPp"), QStringLiteral("drwSj_1")}) {
        auto* image = Control<koruba::ImageControl>(&window, name);
        QCOMPARE(image->picture().Image().size(), image->size() * dpr);
    }
    // An enlarged 96 dpi bitmap is the same when shrunk and enlarged again;
    // lines and letters drawn at the density are not.
    const QImage shot = Widget(&window, QStringLiteral("drwSj_1"))->grab().toImage();
    const QImage blocky = shot.scaled(shot.size() / dpr).scaled(shot.size());
    QCOMPARE(shot.convertToFormat(QImage::Format_RGB32) ==
                 blocky.convertToFormat(QImage::Format_RGB32),
             dpr == 1.0);
}

QTEST_MAIN(MainFormScreenshotTest)
#include "MainFormScreenshotTest.moc"
