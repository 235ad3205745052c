#include "draw/LibDrawPixel.h"
#include "draw/JapaneseFonts.h"
#include "tests/draw/DrawTestSupport.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QtTest>

#include <limits>

using namespace koruba;
using koruba::test::BoundsOf;
using koruba::test::CountOf;
using koruba::test::Rgb;

namespace {

constexpr TColor clGreen = RgbColor(0, 128, 0);
constexpr TColor clBlue = RgbColor(0, 0, 255);

// A picture of the given size already painted in one colour.
Picture FilledPicture(QSize size, TColor color) {
    Picture picture(size);
    DrwFill(picture, color);
    return picture;
}

QImage TextImage(std::int32_t family, std::int32_t bold, TColor color = clBlack) {
    Picture picture = FilledPicture({60, 20}, clWhite);
    DrwText(picture, 2, 2, 0.0f, QStringLiteral("45x90"), 9, family, bold, 0, color, clWhite);
    return picture.Image();
}

} // namespace

// The five drawing procedures on a picture that keeps its canvas state.
class LibDrawPixelTest : public QObject {
    Q_OBJECT

private slots:
    void canvasIsCreatedAtControlSizeOnFirstDraw();
    void canvasOfAnEmptyControlDrawsNothing();
    void systemColourFollowsThePalette();

    void rectCoversHalfOpenRange_data();
    void rectCoversHalfOpenRange();
    void rectOutlineAndInterior();
    void rectWithClearBrushKeepsInterior();
    void fillAfterClearBrushIsSolid_data();
    void fillAfterClearBrushIsSolid();
    void fillAfterHatchedBrushStaysHatched();
    void outOfTablePenStyleKeepsStyle_data();
    void outOfTablePenStyleKeepsStyle();
    void outOfTablePenModeKeepsMode();
    void outOfTableBrushStyleKeepsStyleButTakesColour();
    void notXorRectangle_data();
    void notXorRectangle();
    void maskLine_data();
    void maskLine();
    void thinLineLeavesOutItsEndPoint();
    void dashGapsTakeASolidBrushColour();
    void wideLineEndsFlatAtItsEndPoints();

    void escapementIsTruncatedTenths_data();
    void escapementIsTruncatedTenths();
    void boldOtherThanOneIsRegular();
    void familyOutOfTableKeepsFace_data();
    void familyOutOfTableKeepsFace();
    void textHangsFromItsTopLeftCorner();
    void rotatedTextTurnsCounterClockwise_data();
    void rotatedTextTurnsCounterClockwise();
    void solidBrushFillsTextBackground();
    void emptyTextDrawsNothing();
    void japaneseFacesMapOntoIpaFonts_data();
    void japaneseFacesMapOntoIpaFonts();
};

void LibDrawPixelTest::canvasIsCreatedAtControlSizeOnFirstDraw() {
    Picture picture(QSize(20, 10));
    QVERIFY(picture.IsEmpty());
    DrwFill(picture, clRed);
    QCOMPARE(picture.Image().size(), QSize(20, 10));

    // The bitmap keeps its size when the control changes, until it is
    // emptied; the next drawing call then makes it at the new size.
    picture.SetControlSize(QSize(30, 15));
    DrwFill(picture, clRed);
    QCOMPARE(picture.Image().size(), QSize(20, 10));
    DrwPicClear(picture);
    QVERIFY(picture.IsEmpty());
    DrwLine(picture, 0, 0, 5, 5, 1, 0, clBlack, 0);
    QCOMPARE(picture.Image().size(), QSize(30, 15));
}

void LibDrawPixelTest::canvasOfAnEmptyControlDrawsNothing() {
    Picture picture;
    DrwFill(picture, clRed);
    DrwRect(picture, 0, 0, 5, 5, 0, 0, 1, clRed, clRed, 0);
    DrwLine(picture, 0, 0, 5, 5, 1, 0, clBlack, 1);
    DrwText(picture, 0, 0, 0.0f, QStringLiteral("x"), 9, 3, 0, 1, clBlack, clWhite);
    QVERIFY(picture.IsEmpty());
    // The attributes are still set.
    QCOMPARE(picture.brush.color(), QColor(Qt::white));
    QCOMPARE(picture.penMode, Picture::PenMode::Mask);
}

void LibDrawPixelTest::systemColourFollowsThePalette() {
    QCOMPARE(ToQColor(clBtnFace), QGuiApplication::palette().color(QPalette::Button));
    QCOMPARE(ToQColor(RgbColor(1, 2, 3)), QColor(1, 2, 3));
    QCOMPARE(ToQColor(clMemberOrange), QColor(255, 170, 0));
}

void LibDrawPixelTest::rectCoversHalfOpenRange_data() {
    QTest::addColumn<int>("penWidth");
    QTest::addColumn<QList<int>>("corners"); // x1, y1, x2, y2
    QTest::addColumn<QRect>("covered");
    QTest::newRow("pen 0") << 0 << QList<int>{3, 4, 12, 9} << QRect(3, 4, 9, 5);
    QTest::newRow("pen 1") << 1 << QList<int>{3, 4, 12, 9} << QRect(3, 4, 9, 5);
    QTest::newRow("corners given right to left")
        << 0 << QList<int>{12, 9, 3, 4} << QRect(3, 4, 9, 5);
    QTest::newRow("one pixel") << 0 << QList<int>{7, 7, 8, 8} << QRect(7, 7, 1, 1);
    QTest::newRow("extreme corners")
        << 0 << QList<int>{INT_MIN, 9, INT_MAX, 4} << QRect(0, 4, 20, 5);
}

void LibDrawPixelTest::rectCoversHalfOpenRange() {
    QFETCH(int, penWidth);
    QFETCH(QList<int>, corners);
    QFETCH(QRect, covered);
    Picture picture = FilledPicture({20, 16}, clWhite);
    DrwRect(picture, corners[0], corners[1], corners[2], corners[3], penWidth, 0, 1, clRed, clRed,
            0);
    QCOMPARE(BoundsOf(picture.Image(), Rgb(clRed)), covered);
    QCOMPARE(CountOf(picture.Image(), Rgb(clRed)), covered.width() * covered.height());
}

void LibDrawPixelTest::rectOutlineAndInterior() {
    Picture picture = FilledPicture({20, 16}, clWhite);
    DrwRect(picture, 2, 3, 10, 9, 1, 0, 1, clRed, clBlue, 0);
    const QImage& image = picture.Image();
    QCOMPARE(BoundsOf(image, Rgb(clBlue)), QRect(QPoint(3, 4), QPoint(8, 7)));
    QCOMPARE(CountOf(image, Rgb(clBlue)), 6 * 4);
    QCOMPARE(BoundsOf(image, Rgb(clRed)), QRect(QPoint(2, 3), QPoint(9, 8)));
    QCOMPARE(CountOf(image, Rgb(clRed)), 8 * 6 - 6 * 4);
}

void LibDrawPixelTest::rectWithClearBrushKeepsInterior() {
    Picture picture = FilledPicture({20, 16}, clGreen);
    DrwRect(picture, 2, 3, 10, 9, 0, 0, 0, clRed, clBlue, 0);
    const QImage& image = picture.Image();
    QCOMPARE(CountOf(image, Rgb(clBlue)), 0);
    QCOMPARE(CountOf(image, Rgb(clRed)), 8 * 6 - 6 * 4);
    QCOMPARE(CountOf(image, Rgb(clGreen), QRect(QPoint(3, 4), QPoint(8, 7))), 6 * 4);
    // The brush keeps the colour it had: the one of the fill.
    QCOMPARE(picture.brush.style(), Qt::NoBrush);
    QCOMPARE(picture.brush.color(), ToQColor(clGreen));
}

void LibDrawPixelTest::fillAfterClearBrushIsSolid_data() {
    QTest::addColumn<bool>("byText");
    QTest::newRow("after a rectangle with a clear brush") << false;
    QTest::newRow("after a text with a clear brush") << true;
}

void LibDrawPixelTest::fillAfterClearBrushIsSolid() {
    QFETCH(bool, byText);
    Picture picture = FilledPicture({20, 16}, clWhite);
    if (byText) {
        DrwText(picture, 0, 0, 0.0f, QStringLiteral("ab"), 9, 3, 0, 0, clBlack, clWhite);
    } else {
        DrwRect(picture, 0, 0, 5, 5, 0, 0, 0, clBlack, clWhite, 0);
    }
    QCOMPARE(picture.brush.style(), Qt::NoBrush);
    DrwFill(picture, clRed);
    QCOMPARE(picture.brush.style(), Qt::SolidPattern);
    QCOMPARE(CountOf(picture.Image(), Rgb(clRed)), 20 * 16);
}

void LibDrawPixelTest::fillAfterHatchedBrushStaysHatched() {
    Picture picture = FilledPicture({20, 16}, clWhite);
    DrwRect(picture, 0, 0, 1, 1, 0, 0, 2, clWhite, clWhite, 0);
    DrwFill(picture, clBlue);
    QCOMPARE(picture.brush.style(), Qt::BDiagPattern);
    const int blue = CountOf(picture.Image(), Rgb(clBlue));
    QVERIFY2(blue > 20 && blue < 20 * 16 / 2, qPrintable(QString::number(blue)));
    QCOMPARE(blue + CountOf(picture.Image(), Rgb(clWhite)), 20 * 16);
}

void LibDrawPixelTest::outOfTablePenStyleKeepsStyle_data() {
    QTest::addColumn<int>("code");
    QTest::newRow("-1") << -1;
    QTest::newRow("5") << 5;
}

void LibDrawPixelTest::outOfTablePenStyleKeepsStyle() {
    QFETCH(int, code);
    Picture picture = FilledPicture({40, 10}, clWhite);
    DrwLine(picture, 0, 1, 40, 1, 1, 1, clBlack, 0);
    DrwLine(picture, 0, 5, 40, 5, 1, code, clBlack, 0);
    QCOMPARE(picture.pen.style(), Qt::DashLine);
    // Both lines are dashed alike: 18 on, 6 off.
    for (int x = 0; x < 40; ++x) {
        const bool on = x % 24 < 18;
        QCOMPARE(picture.Image().pixel(x, 5) == Rgb(clBlack), on);
        QCOMPARE(picture.Image().pixel(x, 1), picture.Image().pixel(x, 5));
    }
}

void LibDrawPixelTest::outOfTablePenModeKeepsMode() {
    Picture picture = FilledPicture({10, 10}, RgbColor(0x30, 0x60, 0x90));
    // Not-xor set by a rectangle stays for a line with an unknown mode code.
    DrwRect(picture, 0, 0, 1, 1, 0, 0, 0, clWhite, clWhite, 1);
    DrwLine(picture, 0, 5, 10, 5, 1, 0, RgbColor(0x0F, 0xF0, 0x00), 7);
    QCOMPARE(picture.penMode, Picture::PenMode::NotXor);
    QCOMPARE(picture.Image().pixel(4, 5),
             qRgb(~(0x30 ^ 0x0F) & 0xFF, ~(0x60 ^ 0xF0) & 0xFF, ~(0x90 ^ 0x00) & 0xFF));
    DrwLine(picture, 0, 0, 1, 1, 1, 0, clBlack, 1);
    DrwRect(picture, 0, 0, 1, 1, 0, 0, 0, clBlack, clBlack, -3);
    QCOMPARE(picture.penMode, Picture::PenMode::Mask);
}

void LibDrawPixelTest::outOfTableBrushStyleKeepsStyleButTakesColour() {
    Picture picture = FilledPicture({10, 10}, clWhite);
    DrwRect(picture, 0, 0, 1, 1, 0, 0, 3, clBlack, clGreen, 0);
    DrwRect(picture, 0, 0, 1, 1, 0, 0, 8, clBlack, clBlue, 0);
    QCOMPARE(picture.brush.style(), Qt::FDiagPattern);
    QCOMPARE(picture.brush.color(), ToQColor(clBlue));

    // A clear brush given a colour by an unknown code turns solid.
    DrwRect(picture, 0, 0, 1, 1, 0, 0, 0, clBlack, clBlue, 0);
    DrwRect(picture, 2, 2, 8, 8, 0, 0, 9, clBlack, clRed, 0);
    QCOMPARE(picture.brush.style(), Qt::SolidPattern);
    QCOMPARE(CountOf(picture.Image(), Rgb(clRed)), 4 * 4);
}

void LibDrawPixelTest::notXorRectangle_data() {
    QTest::addColumn<int>("screen");
    QTest::addColumn<int>("pen");
    QTest::addColumn<int>("brush");
    QTest::newRow("white screen") << int(clWhite) << int(RgbColor(0x12, 0x34, 0x56))
                                  << int(RgbColor(0xF0, 0x0F, 0x55));
    QTest::newRow("mixed screen") << int(RgbColor(0xA5, 0x5A, 0x3C)) << int(clBlack)
                                  << int(RgbColor(0xA5, 0x5A, 0x3C));
}

void LibDrawPixelTest::notXorRectangle() {
    QFETCH(int, screen);
    QFETCH(int, pen);
    QFETCH(int, brush);
    const auto notXor = [screen](TColor c) {
        return qRgb(~(qRed(Rgb(c)) ^ qRed(Rgb(screen))) & 0xFF,
                    ~(qGreen(Rgb(c)) ^ qGreen(Rgb(screen))) & 0xFF,
                    ~(qBlue(Rgb(c)) ^ qBlue(Rgb(screen))) & 0xFF);
    };
    Picture picture = FilledPicture({12, 12}, screen);
    DrwRect(picture, 2, 2, 10, 10, 0, 0, 1, pen, brush, 1);
    const QImage& image = picture.Image();
    // Corners are combined once although two sides of the outline meet there.
    for (const QPoint p : {QPoint(2, 2), QPoint(9, 2), QPoint(2, 9), QPoint(9, 9), QPoint(5, 2)}) {
        QCOMPARE(image.pixel(p), notXor(pen));
    }
    QCOMPARE(image.pixel(3, 3), notXor(brush));
    QCOMPARE(image.pixel(8, 8), notXor(brush));
    QCOMPARE(image.pixel(1, 1), Rgb(screen));
    QCOMPARE(image.pixel(10, 10), Rgb(screen));
}

void LibDrawPixelTest::maskLine_data() {
    QTest::addColumn<int>("screen");
    QTest::addColumn<int>("pen");
    QTest::newRow("thin") << int(RgbColor(0x3C, 0x66, 0xCC)) << int(RgbColor(0xF0, 0x0F, 0xAA));
    QTest::newRow("white pen keeps the screen") << int(RgbColor(0x3C, 0x66, 0xCC)) << int(clWhite);
}

void LibDrawPixelTest::maskLine() {
    QFETCH(int, screen);
    QFETCH(int, pen);
    Picture picture = FilledPicture({12, 12}, screen);
    DrwLine(picture, 1, 1, 11, 11, 4, 0, pen, 1);
    const QRgb masked = Rgb(screen) & Rgb(pen);
    QCOMPARE(picture.Image().pixel(5, 5), masked);
    QCOMPARE(picture.Image().pixel(11, 0), Rgb(screen));
    const int unchanged = CountOf(picture.Image(), Rgb(screen));
    QCOMPARE(unchanged + (masked == Rgb(screen) ? 0 : CountOf(picture.Image(), masked)), 144);
}

void LibDrawPixelTest::thinLineLeavesOutItsEndPoint() {
    Picture picture = FilledPicture({12, 12}, clWhite);
    DrwLine(picture, 2, 5, 10, 5, 0, 0, clBlack, 0);
    DrwLine(picture, 3, 9, 3, 9, 1, 0, clBlack, 0);
    QCOMPARE(BoundsOf(picture.Image(), Rgb(clBlack)), QRect(QPoint(2, 5), QPoint(9, 5)));
}

void LibDrawPixelTest::dashGapsTakeASolidBrushColour() {
    Picture picture = FilledPicture({30, 10}, clRed);
    DrwRect(picture, 0, 0, 1, 1, 0, 0, 1, clBlue, clBlue, 0);
    DrwLine(picture, 0, 5, 30, 5, 0, 2, clBlack, 0);
    QCOMPARE(CountOf(picture.Image(), Rgb(clBlack), QRect(0, 5, 30, 1)), 15);
    QCOMPARE(CountOf(picture.Image(), Rgb(clBlue), QRect(0, 5, 30, 1)), 15);

    // With a clear brush the gaps show what lies below.
    DrwRect(picture, 0, 0, 1, 1, 0, 0, 0, clBlue, clBlue, 0);
    DrwLine(picture, 0, 8, 30, 8, 0, 2, clBlack, 0);
    QCOMPARE(CountOf(picture.Image(), Rgb(clRed), QRect(0, 8, 30, 1)), 15);
}

void LibDrawPixelTest::wideLineEndsFlatAtItsEndPoints() {
    // A square cap would run two pixels past each end.
    Picture picture = FilledPicture({30, 20}, clWhite);
    DrwLine(picture, 10, 10, 20, 10, 4, 0, clMemberOrange, 0);
    const auto bounds = BoundsOf(picture.Image(), Rgb(clMemberOrange));
    QVERIFY(bounds);
    QCOMPARE(bounds->left(), 10);
    QCOMPARE(bounds->right(), 19);
    QCOMPARE(bounds->height(), 4);
    QVERIFY(bounds->top() >= 8 && bounds->bottom() <= 12);
    // Wide pens are solid whatever style they were given.
    DrwLine(picture, 0, 2, 30, 2, 4, 2, clBlue, 0);
    QCOMPARE(CountOf(picture.Image(), Rgb(clBlue), QRect(0, 2, 30, 1)), 30);
}

void LibDrawPixelTest::escapementIsTruncatedTenths_data() {
    QTest::addColumn<float>("angle");
    QTest::addColumn<int>("escapement");
    QTest::newRow("12.34") << 12.34f << 123;
    QTest::newRow("-0.05") << -0.05f << 0;
    QTest::newRow("-12.34") << -12.34f << -123;
    QTest::newRow("0.09") << 0.09f << 0;
    QTest::newRow("90") << 90.0f << 900;
    // Beyond what tenths of a degree in an int can hold: held at the limit
    // rather than converted out of range.
    QTest::newRow("1e30 held at the largest") << 1e30f << std::numeric_limits<int>::max();
    QTest::newRow("-1e30 held at the smallest") << -1e30f << std::numeric_limits<int>::min();
    QTest::newRow("infinity held at the largest")
        << std::numeric_limits<float>::infinity() << std::numeric_limits<int>::max();
    QTest::newRow("NaN upright") << std::numeric_limits<float>::quiet_NaN() << 0;
}

void LibDrawPixelTest::escapementIsTruncatedTenths() {
    QFETCH(float, angle);
    QFETCH(int, escapement);
    Picture picture = FilledPicture({20, 20}, clWhite);
    DrwText(picture, 10, 10, angle, QStringLiteral("A"), 9, 3, 0, 0, clBlack, clWhite);
    QCOMPARE(picture.escapement, escapement);
}

void LibDrawPixelTest::boldOtherThanOneIsRegular() {
    const QImage regular = TextImage(3, 0);
    QCOMPARE(TextImage(3, 2), regular);
    QCOMPARE(TextImage(3, -1), regular);
    const QImage bold = TextImage(3, 1);
    QVERIFY(bold != regular);
    QVERIFY(CountOf(bold, Rgb(clBlack)) > CountOf(regular, Rgb(clBlack)));
}

void LibDrawPixelTest::familyOutOfTableKeepsFace_data() {
    QTest::addColumn<int>("code");
    QTest::newRow("0") << 0;
    QTest::newRow("5") << 5;
}

void LibDrawPixelTest::familyOutOfTableKeepsFace() {
    QFETCH(int, code);
    Picture picture = FilledPicture({60, 20}, clWhite);
    DrwText(picture, 2, 2, 0.0f, QStringLiteral("45x90"), 14, 1, 1, 0, clBlack, clWhite);
    DrwFill(picture, clWhite);
    DrwText(picture, 2, 2, 0.0f, QStringLiteral("45x90"), 9, code, 0, 0, clRed, clWhite);
    QCOMPARE(picture.font.family(), MsMincho);
    QVERIFY(!picture.font.bold());
    // Size and colour are still those of the call: the Mincho text in red.
    QCOMPARE(picture.Image(), TextImage(1, 0, clRed));

    // The face of a fresh canvas is the window font.
    Picture fresh = FilledPicture({60, 20}, clWhite);
    DrwText(fresh, 2, 2, 0.0f, QStringLiteral("45x90"), 9, code, 0, 0, clBlack, clWhite);
    QCOMPARE(fresh.font.family(), MsPGothicWindow);
}

void LibDrawPixelTest::textHangsFromItsTopLeftCorner() {
    Picture picture = FilledPicture({60, 40}, clWhite);
    DrwText(picture, 10, 20, 0.0f, QStringLiteral("[5.0]"), 9, 3, 0, 0, clBlack, clWhite);
    const auto ink = BoundsOf(picture.Image(), Rgb(clBlack));
    QVERIFY(ink);
    // The brackets reach from near the cell top to below the baseline.
    QVERIFY2(ink->left() >= 10 && ink->left() <= 12, qPrintable(QString::number(ink->left())));
    QVERIFY2(ink->top() >= 20 && ink->top() <= 22, qPrintable(QString::number(ink->top())));
    QVERIFY(ink->bottom() <= 20 + 12);
    // Fixed pitch: five cells of six pixels.
    QVERIFY(ink->right() <= 10 + 30);
}

void LibDrawPixelTest::rotatedTextTurnsCounterClockwise_data() {
    QTest::addColumn<float>("angle");
    QTest::addColumn<QRect>("quadrant"); // where the ink must lie, relative to (30, 30)
    QTest::newRow("0: right and below") << 0.0f << QRect(QPoint(30, 30), QPoint(60, 60));
    QTest::newRow("90: up and right") << 90.0f << QRect(QPoint(30, 0), QPoint(60, 30));
    QTest::newRow("180: left and above") << 180.0f << QRect(QPoint(0, 0), QPoint(30, 30));
    QTest::newRow("-90: down and left") << -90.0f << QRect(QPoint(0, 30), QPoint(30, 60));
}

void LibDrawPixelTest::rotatedTextTurnsCounterClockwise() {
    QFETCH(float, angle);
    QFETCH(QRect, quadrant);
    Picture picture = FilledPicture({61, 61}, clWhite);
    DrwText(picture, 30, 30, angle, QStringLiteral("HHHH"), 9, 3, 0, 0, clBlack, clWhite);
    const auto ink = BoundsOf(picture.Image(), Rgb(clBlack));
    QVERIFY(ink);
    QVERIFY2(quadrant.contains(*ink), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                     .arg(ink->x())
                                                     .arg(ink->y())
                                                     .arg(ink->width())
                                                     .arg(ink->height())));
    // The run of text is the long side.
    const bool upright = angle == 0.0f || angle == 180.0f;
    QCOMPARE(ink->width() > ink->height(), upright);
    koruba::test::SavePng(picture.Image(), QStringLiteral("text_angle_%1").arg(angle));
}

void LibDrawPixelTest::solidBrushFillsTextBackground() {
    Picture picture = FilledPicture({60, 30}, clRed);
    DrwText(picture, 5, 5, 0.0f, QStringLiteral("45x90"), 9, 3, 0, 1, clBlack, clBlue);
    const QImage& image = picture.Image();
    const auto box = BoundsOf(image, Rgb(clBlue));
    QVERIFY(box);
    const QFontMetrics metrics(JapaneseFont(MsGothic, 12));
    QCOMPARE(*box,
             QRect(5, 5, metrics.horizontalAdvance(QStringLiteral("45x90")), metrics.height()));
    QCOMPARE(CountOf(image, Rgb(clBlue), *box) + CountOf(image, Rgb(clBlack), *box),
             box->width() * box->height());

    // With a clear brush the old pixels show between the letters.
    Picture clear = FilledPicture({60, 30}, clRed);
    DrwText(clear, 5, 5, 0.0f, QStringLiteral("45x90"), 9, 3, 0, 0, clBlack, clBlue);
    QCOMPARE(CountOf(clear.Image(), Rgb(clBlue)), 0);
    QCOMPARE(CountOf(clear.Image(), Rgb(clBlack)), CountOf(image, Rgb(clBlack)));
    QCOMPARE(CountOf(clear.Image(), Rgb(clRed)) + CountOf(clear.Image(), Rgb(clBlack)), 60 * 30);
}

void LibDrawPixelTest::emptyTextDrawsNothing() {
    Picture picture = FilledPicture({20, 20}, clWhite);
    const QImage before = picture.Image();
    DrwText(picture, 2, 2, 0.0f, QString(), 9, 2, 1, 1, clBlack, clRed);
    QCOMPARE(picture.Image(), before);
    QCOMPARE(picture.font.family(), MsPMincho);
    QCOMPARE(picture.brush.color(), ToQColor(clRed));
}

void LibDrawPixelTest::japaneseFacesMapOntoIpaFonts_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("installed");
    QTest::addColumn<bool>("fixedPitch");
    QTest::newRow("ＭＳ Ｐゴシック") << MsPGothicWindow << "IPAPGothic" << false;
    QTest::newRow("ＭＳ ゴシック") << MsGothic << "IPAGothic" << true;
    QTest::newRow("ＭＳＰ ゴシック") << MsPGothic << "IPAPGothic" << false;
    QTest::newRow("ＭＳ 明朝") << MsMincho << "IPAMincho" << true;
    QTest::newRow("ＭＳＰ 明朝") << MsPMincho << "IPAPMincho" << false;
}

void LibDrawPixelTest::japaneseFacesMapOntoIpaFonts() {
    QFETCH(QString, face);
    QFETCH(QString, installed);
    QFETCH(bool, fixedPitch);
    const QFont font = JapaneseFont(face, 12);
    QCOMPARE(QFontInfo(font).family(), installed);
    const QFontMetrics metrics(font);
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("iiii")) ==
                 metrics.horizontalAdvance(QStringLiteral("MMMM")),
             fixedPitch);
    if (fixedPitch) {
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("[5.0]")), 30);
    }
}

QTEST_MAIN(LibDrawPixelTest)
#include "LibDrawPixelTest.moc"
