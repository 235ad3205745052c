#include "draw/ColumnDiagram.h"
#include "draw/PatternDiagram.h"
#include "tests/draw/DrawTestSupport.h"

#include <QtTest>

using namespace koruba;
using koruba::test::Rgb;

namespace {

// The window's diagram bitmap, without the bay images over it.
QImage windowDiagram(int tag, int reversed) {
    Picture picture(QSize(104, 112));
    DrawPattern(picture, tag, reversed);
    return picture.Image();
}

// The vector diagram painted three times larger onto white, with its
// members where the window draws them: the target rectangle is the
// window's extent of the diagram magnified.
QImage paintedDiagram(int tag, int reversed, const BayTable& bays, QRect extent) {
    constexpr int k = 3;
    QImage image(QSize(104, 112) * k, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintColumnDiagram(
        painter,
        QRectF(extent.left() * k, extent.top() * k, extent.width() * k, extent.height() * k), tag,
        reversed, bays);
    return image;
}

QRect extentOf(int tag, int reversed) {
    QRect extent;
    for (const DiagramBlock& b : patternBlocks(tag, reversed)) {
        extent |= QRect(QPoint(b.x1, b.y1), QPoint(b.x2 - 1, b.y2 - 1));
    }
    return extent;
}

} // namespace

class ColumnDiagramTest : public QObject {
    Q_OBJECT

private slots:
    void membersMatchTheWindow_data();
    void membersMatchTheWindow();
    void baysShowPanelsAndBraces();
};

void ColumnDiagramTest::membersMatchTheWindow_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("reversed");
    for (const int tag : {21, 22, 11, 12, 13}) {
        for (const int reversed : {0, 1}) {
            QTest::addRow("pattern %d%s", tag, reversed ? " mirrored" : "") << tag << reversed;
        }
    }
}

// Every pixel of the window's diagram inside its extent has its colour at
// the middle of the magnified pixel (empty bays are white in both).
void ColumnDiagramTest::membersMatchTheWindow() {
    QFETCH(int, tag);
    QFETCH(int, reversed);
    const QImage window = windowDiagram(tag, reversed);
    const QRect extent = extentOf(tag, reversed);
    const QImage painted = paintedDiagram(tag, reversed, BayTable{}, extent);
    test::SavePng(painted, QStringLiteral("vector-%1-%2").arg(tag).arg(reversed));
    int differing = 0;
    for (int y = extent.top(); y <= extent.bottom(); ++y) {
        for (int x = extent.left(); x <= extent.right(); ++x) {
            const QRgb expected =
                window.pixel(x, y) == Rgb(clBtnFace) ? qRgb(255, 255, 255) : window.pixel(x, y);
            differing += painted.pixel(3 * x + 1, 3 * y + 1) == expected ? 0 : 1;
        }
    }
    QCOMPARE(differing, 0);
}

// Pattern 22: a panel turns its bay sky blue; a brace rising to the right
// crosses its bay from the lower left to the upper right corner.
void ColumnDiagramTest::baysShowPanelsAndBraces() {
    BayTable bays;
    bays.SetCell(2, 1, {0.0f, 0, 0, 1, 2.5f});
    bays.SetCell(2, 2, {2.0f, BraceRisingRight, 2, 0, 0.0f});
    const QRect extent = extentOf(22, 0);
    const QImage painted = paintedDiagram(22, 0, bays, extent);
    test::SavePng(painted, QStringLiteral("vector-22-bays"));
    // Left bay interior (10..48, 10..52) magnified.
    QCOMPARE(painted.pixel(3 * 20, 3 * 30), Rgb(clSkyBlue));
    // Right bay (54..92): the diagonal's middle is orange, its corners
    // beside the rising diagonal are white.
    QCOMPARE(painted.pixel(3 * 73 + 1, 3 * 31 + 1), Rgb(clMemberOrange));
    QCOMPARE(painted.pixel(3 * 58, 3 * 14), qRgb(255, 255, 255));
    QCOMPARE(painted.pixel(3 * 88, 3 * 48), qRgb(255, 255, 255));
}

QTEST_MAIN(ColumnDiagramTest)
#include "ColumnDiagramTest.moc"
