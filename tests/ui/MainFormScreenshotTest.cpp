// Pictures of the main window in three states, written to the build tree
// for a person to compare with the layout, and the checks that can be
// made on them by program: every caption fits its control and every
// character has a glyph in the font that draws it.
#include "MainFormTestSupport.h"

#include <QDir>
#include <QFontMetrics>
#include <QImage>
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
            QVERIFY2(fm.inFont(c), qPrintable(label->objectName() + QStringLiteral(": ") + c));
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

QTEST_MAIN(MainFormScreenshotTest)
#include "MainFormScreenshotTest.moc"
