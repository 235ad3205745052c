#include "draw/BayDrawing.h"
#include "draw/JapaneseFonts.h"
#include "draw/LibDrawPixel.h"
#include "tests/draw/DrawTestSupport.h"

#include <QLocale>
#include <QtTest>

using namespace koruba;
using koruba::test::BoundsOf;
using koruba::test::CountOf;

namespace {

const QSize kBaySize(39, 43);
// Where the labels may put ink: the size label hangs from (5, 0), the
// multiplier label from (5 or 6, 31); nine-point text is 12 pixels high.
const QRect kSizeLabelBox(QPoint(5, 0), QPoint(38, 12));
const QRect kMultiplierBox(QPoint(5, 31), QPoint(38, 42));
const QRect kBetweenLabels(QPoint(0, 13), QPoint(38, 30));
// A capped label: "[5.0]" ends at x 28, the star lies right of it.
const QRect kCappedValueBox(QPoint(5, 31), QPoint(29, 42));
const QRect kCapStarBox(QPoint(30, 31), QPoint(38, 42));
// The colours as the bay images show them.
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kPanelBlue = qRgb(166, 202, 240);
const QRgb kBraceOrange = qRgb(255, 170, 0);
const QRgb kBlack = qRgb(0, 0, 0);

BayCell Cell(std::int32_t kind, std::int32_t size, float braceMult, float panelMult) {
    BayCell cell;
    cell.BraceKind = kind;
    cell.BraceSize = size;
    cell.BraceMult = braceMult;
    cell.PanelOn = panelMult > 0.0f ? 1 : 0;
    cell.PanelMult = panelMult;
    return cell;
}

Picture DrawnBay(const BayCell& cell) {
    Picture bay(kBaySize);
    DrawBay(bay, cell);
    return bay;
}

} // namespace

Q_DECLARE_METATYPE(koruba::BayCell)

// The drawing of one bay image from its bay.
class BayDrawingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void bayDrawing_data();
    void bayDrawing();
    void sizeLabelReadsTheSize_data();
    void sizeLabelReadsTheSize();
    void cappedLabelAgainstExactCap();
    void capStarIsAnAsteriskClearOfTheBrace_data();
    void capStarIsAnAsteriskClearOfTheBrace();
    void withoutCapTheActualSumShows();
    void flippedBraceKeepsItsLabels();
    void redrawLeavesNothingOfThePreviousPicture();
};

void BayDrawingTest::bayDrawing_data() {
    QTest::addColumn<BayCell>("cell");
    QTest::addColumn<QRgb>("background");
    QTest::addColumn<bool>("risingLeft");  // line from top left to bottom right
    QTest::addColumn<bool>("risingRight"); // line from bottom left to top right
    QTest::addColumn<bool>("sizeLabel");
    QTest::addColumn<bool>("multiplierLabel");
    QTest::addColumn<QString>("png");
    QTest::newRow("empty bay") << Cell(0, 0, 0.0f, 0.0f) << kWhite << false << false << false
                               << false << "bay_empty";
    QTest::newRow("panel 0.5 alone") << Cell(0, 0, 0.0f, 0.5f) << kPanelBlue << false << false
                                     << false << true << "bay_panel_0.5";
    QTest::newRow("45x90 rising right, 2.0")
        << Cell(1, 2, 2.0f, 0.0f) << kWhite << false << true << true << true << "bay_45x90_right";
    QTest::newRow("15x90 rising left, 1.0")
        << Cell(2, 0, 1.0f, 0.0f) << kWhite << true << false << true << true << "bay_15x90_left";
    QTest::newRow("cross 4.0 and panel 1.5, capped")
        << Cell(3, 2, 4.0f, 1.5f) << kPanelBlue << true << true << true << true
        << "bay_cross_panel_capped";
    QTest::newRow("cross 90x90 at exactly 5.0") << Cell(3, 3, 5.0f, 0.0f) << kWhite << true << true
                                                << true << true << "bay_cross_5.0_exact";
    QTest::newRow("size index out of range: no size label")
        << Cell(1, 7, 1.5f, 0.0f) << kWhite << false << true << false << true << "bay_bad_size";
}

void BayDrawingTest::bayDrawing() {
    QFETCH(BayCell, cell);
    QFETCH(QRgb, background);
    QFETCH(bool, risingLeft);
    QFETCH(bool, risingRight);
    QFETCH(bool, sizeLabel);
    QFETCH(bool, multiplierLabel);
    QFETCH(QString, png);

    const Picture bay = DrawnBay(cell);
    const QImage& image = bay.Image();
    koruba::test::SavePng(image, png);
    QCOMPARE(image.size(), kBaySize);

    // Background beside the middle of both sides, away from lines and labels.
    QCOMPARE(image.pixel(1, 21), background);
    QCOMPARE(image.pixel(37, 21), background);

    // Which diagonal: the pixels at the corners each line runs through.
    const QRgb orange = kBraceOrange;
    QCOMPARE(image.pixel(0, 0) == orange, risingLeft);
    QCOMPARE(image.pixel(38, 42) == orange, risingLeft);
    QCOMPARE(image.pixel(0, 42) == orange, risingRight);
    QCOMPARE(image.pixel(38, 0) == orange, risingRight);
    QCOMPARE(image.pixel(19, 21) == orange, risingLeft || risingRight);

    // Black is the labels' colour only.
    const QRgb black = kBlack;
    QCOMPARE(CountOf(image, black, kBetweenLabels), 0);
    const auto sizeInk = BoundsOf(image, black, kSizeLabelBox);
    QCOMPARE(sizeInk.has_value(), sizeLabel);
    const auto multiplierInk = BoundsOf(image, black, kMultiplierBox);
    QCOMPARE(multiplierInk.has_value(), multiplierLabel);
    if (sizeInk) {
        QVERIFY(sizeInk->left() <= 8);
        QVERIFY(sizeInk->top() <= 3);
    }
    if (multiplierInk) {
        QVERIFY(multiplierInk->left() <= 8);
        QVERIFY(multiplierInk->top() <= 34);
    }
}

namespace {

// Black pixels of an area, as a one-bit picture that compares exactly.
QImage InkOf(const QImage& image, const QRect& area) {
    QImage ink(area.size(), QImage::Format_Mono);
    ink.fill(0);
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            ink.setPixel(x, y, image.pixel(area.x() + x, area.y() + y) == kBlack ? 1 : 0);
        }
    }
    return ink;
}

} // namespace

void BayDrawingTest::sizeLabelReadsTheSize_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("text");
    QTest::newRow("15x90") << 0 << "15x90";
    QTest::newRow("30x90") << 1 << "30x90";
    QTest::newRow("45x90") << 2 << "45x90";
    QTest::newRow("90x90") << 3 << "90x90";
}

// The size label against the same words drawn on their own: nine-point
// "ＭＳ ゴシック" from (5, 0).
void BayDrawingTest::sizeLabelReadsTheSize() {
    QFETCH(int, size);
    QFETCH(QString, text);
    const QImage bay = DrawnBay(Cell(1, size, 1.0f, 0.0f)).Image();
    Picture reference(kBaySize);
    DrwFill(reference, clWhite);
    DrwText(reference, 5, 0, 0.0f, text, 9, 3, 0, 0, clBlack, clWhite);
    koruba::test::SavePng(reference.Image(), QStringLiteral("bay_size_reference_") + text);
    QVERIFY(CountOf(reference.Image(), kBlack) > 20);
    QCOMPARE(InkOf(bay, kSizeLabelBox), InkOf(reference.Image(), kSizeLabelBox));
}

void BayDrawingTest::cappedLabelAgainstExactCap() {
    const Picture capped = DrawnBay(Cell(3, 2, 4.0f, 1.5f));
    const Picture exact = DrawnBay(Cell(3, 3, 5.0f, 0.0f));
    // The capped label is bold "ＭＳＰ ゴシック" from x 5, the exact one
    // regular "ＭＳ ゴシック" from x 6; the last text each drew says so.
    QCOMPARE(capped.font.family(), MsPGothic);
    QVERIFY(capped.font.bold());
    QCOMPARE(exact.font.family(), MsGothic);
    QVERIFY(!exact.font.bold());

    const QRgb black = kBlack;
    const auto cappedInk = BoundsOf(capped.Image(), black, kMultiplierBox);
    const auto exactInk = BoundsOf(exact.Image(), black, kMultiplierBox);
    QVERIFY(cappedInk && exactInk);
    QVERIFY(cappedInk->left() <= exactInk->left());
    // The star shows: the label ends inside the bay, one pixel clear of
    // its right edge.
    QVERIFY2(cappedInk->right() < kBaySize.width() - 1,
             qPrintable(QString::number(cappedInk->right())));
    QVERIFY(CountOf(capped.Image(), black, kMultiplierBox) >
            CountOf(exact.Image(), black, kMultiplierBox));

    // The same label on the exact bay, drawn as it reads: "[5.0]".
    Picture expected(kBaySize);
    DrwFill(expected, clWhite);
    DrwText(expected, 6, 31, 0.0f, QStringLiteral("[5.0]"), 9, 3, 0, 0, clBlack, clWhite);
    QCOMPARE(BoundsOf(expected.Image(), black), exactInk);
    QCOMPARE(CountOf(expected.Image(), black), CountOf(exact.Image(), black, kMultiplierBox));
}

void BayDrawingTest::capStarIsAnAsteriskClearOfTheBrace_data() {
    QTest::addColumn<BayCell>("cell");
    QTest::addColumn<QString>("png");
    QTest::newRow("cross 4.0 and panel 1.5")
        << Cell(3, 2, 4.0f, 1.5f) << "bay_cap_star_cross_panel";
    QTest::newRow("rising left 90x90 and panel 1.0")
        << Cell(2, 3, 5.0f, 1.0f) << "bay_cap_star_left_panel";
    QTest::newRow("rising right 90x90 and panel 2.0")
        << Cell(1, 3, 5.0f, 2.0f) << "bay_cap_star_right_panel";
}

// The star of a capped label reads as an asterisk at density 1 and no
// brace diagonal touches it; "[5.0]" before it is the label face's own.
void BayDrawingTest::capStarIsAnAsteriskClearOfTheBrace() {
    QFETCH(BayCell, cell);
    QFETCH(QString, png);
    const QImage bay = DrawnBay(cell).Image();
    koruba::test::SavePng(bay, png);
    const auto star = BoundsOf(bay, kBlack, kCapStarBox);
    QVERIFY(star);
    QVERIFY2(star->width() >= 5 && star->height() >= 5,
             qPrintable(QStringLiteral("%1x%2").arg(star->width()).arg(star->height())));
    // Arms, not a blob: the middle column is inked at the top and the
    // bottom, and at most half the star's box is ink.
    const int middle = star->center().x();
    QCOMPARE(bay.pixel(middle, star->top()), kBlack);
    QCOMPARE(bay.pixel(middle, star->bottom()), kBlack);
    QVERIFY(2 * CountOf(bay, kBlack, *star) <= star->width() * star->height());
    QCOMPARE(CountOf(bay, kBraceOrange, star->adjusted(-1, -1, 1, 1)), 0);

    Picture expected(kBaySize);
    DrwFill(expected, clWhite);
    DrwText(expected, 5, 31, 0.0f, QStringLiteral("[5.0]"), 9, 4, 1, 0, clBlack, clWhite);
    QCOMPARE(InkOf(bay, kCappedValueBox), InkOf(expected.Image(), kCappedValueBox));
}

// Under the 2025 rules a cross 90x90 with a 2.5 panel shows its actual
// 7.5, in the regular face and without "*", as any uncapped sum does.
void BayDrawingTest::withoutCapTheActualSumShows() {
    Picture bay(kBaySize);
    DrawBay(bay, Cell(3, 3, 5.0f, 2.5f), koruba::bayMultiplierCap(koruba::RuleSet::Revision2025));
    QCOMPARE(bay.font.family(), MsGothic);
    QVERIFY(!bay.font.bold());

    Picture expected(kBaySize);
    DrwFill(expected, clSkyBlue);
    DrwText(expected, 6, 31, 0.0f, QStringLiteral("[7.5]"), 9, 3, 0, 0, clBlack, clSkyBlue);
    const QRgb black = kBlack;
    QCOMPARE(BoundsOf(bay.Image(), black, kMultiplierBox), BoundsOf(expected.Image(), black));
    QCOMPARE(CountOf(bay.Image(), black, kMultiplierBox), CountOf(expected.Image(), black));
}

void BayDrawingTest::flippedBraceKeepsItsLabels() {
    const QImage right = DrawnBay(Cell(1, 1, 1.5f, 0.0f)).Image();
    const QImage left = DrawnBay(Cell(2, 1, 1.5f, 0.0f)).Image();
    QVERIFY(right != left);
    for (const QRect box : {kSizeLabelBox, kMultiplierBox}) {
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                QCOMPARE(right.pixel(x, y) == kBlack, left.pixel(x, y) == kBlack);
            }
        }
    }
}

void BayDrawingTest::redrawLeavesNothingOfThePreviousPicture() {
    Picture bay(kBaySize);
    DrawBay(bay, Cell(3, 3, 5.0f, 2.0f));
    DrawBay(bay, Cell(0, 0, 0.0f, 0.0f));
    QCOMPARE(CountOf(bay.Image(), kWhite), kBaySize.width() * kBaySize.height());
}

QTEST_MAIN(BayDrawingTest)
#include "BayDrawingTest.moc"
