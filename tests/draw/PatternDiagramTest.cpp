#include "draw/PatternDiagram.h"
#include "calc/PatternTable.h"
#include "draw/LibDrawPixel.h"
#include "tests/draw/DrawTestSupport.h"

#include <QStringList>
#include <QtTest>

#include <vector>

using namespace koruba;
using koruba::test::Rgb;

namespace {

// A member of a diagram as the pattern tables give it: the block covers
// x1..x2-1, y1..y2-1.
struct Member {
    int x1, y1, x2, y2;
    TColor color;
    const char* name;
};

constexpr TColor W = clWhite;
constexpr TColor O = clMemberOrange;
constexpr TColor R = clRed;

// The tables of the five patterns for the default geometry, in drawing
// order, normal and mirrored; patterns 22 and 13 have one table.
std::vector<Member> TableOf(int tag, int reversed) {
    const bool mirrored = reversed == 1;
    switch (tag) {
    case 21:
        if (!mirrored) {
            return {{10, 10, 49, 53, W, "bay interior"}, {5, 5, 72, 10, O, "top beam"},
                    {5, 53, 72, 58, O, "bottom beam"},   {5, 5, 10, 58, O, "first column"},
                    {49, 5, 54, 58, O, "second column"}, {5, 10, 10, 53, R, "target column"}};
        }
        return {{54, 10, 93, 53, W, "bay interior"}, {28, 5, 95, 10, O, "top beam"},
                {28, 53, 95, 58, O, "bottom beam"},  {49, 5, 54, 58, O, "first column"},
                {93, 5, 98, 58, O, "second column"}, {93, 10, 98, 53, R, "target column"}};
    case 22:
        return {{10, 10, 93, 53, W, "both bay interiors"},
                {5, 5, 98, 10, O, "beam 0"},
                {5, 53, 98, 58, O, "beam 1"},
                {5, 5, 10, 58, O, "column 0"},
                {49, 5, 54, 58, O, "column 1"},
                {93, 5, 98, 58, O, "column 2"},
                {49, 10, 54, 53, R, "target column"}};
    case 11:
        if (!mirrored) {
            return {{10, 10, 49, 101, W, "interiors"},   {5, 5, 71, 10, O, "beam 0"},
                    {5, 53, 71, 58, O, "beam 1"},        {5, 101, 71, 106, O, "beam 2"},
                    {5, 5, 10, 106, O, "first column"},  {49, 5, 54, 106, O, "second column"},
                    {5, 58, 10, 101, R, "target column"}};
        }
        return {{54, 10, 93, 101, W, "interiors"},    {28, 5, 94, 10, O, "beam 0"},
                {28, 53, 94, 58, O, "beam 1"},        {28, 101, 94, 106, O, "beam 2"},
                {49, 5, 54, 106, O, "first column"},  {93, 5, 98, 106, O, "second column"},
                {93, 58, 98, 101, R, "target column"}};
    case 12:
        if (!mirrored) {
            return {{54, 10, 93, 53, W, "upper bay interior"},
                    {10, 58, 93, 101, W, "lower bay interiors"},
                    {49, 5, 98, 10, O, "top beam"},
                    {5, 53, 98, 58, O, "middle beam"},
                    {5, 101, 98, 106, O, "bottom beam"},
                    {5, 53, 10, 106, O, "left column"},
                    {49, 5, 54, 106, O, "middle column"},
                    {93, 5, 98, 106, O, "right column"},
                    {49, 58, 54, 101, R, "target column"}};
        }
        return {{10, 10, 49, 53, W, "upper bay interior"},
                {10, 58, 93, 101, W, "lower bay interiors"},
                {5, 5, 54, 10, O, "top beam"},
                {5, 53, 98, 58, O, "middle beam"},
                {5, 101, 98, 106, O, "bottom beam"},
                {5, 5, 10, 106, O, "left column"},
                {49, 5, 54, 106, O, "middle column"},
                {93, 53, 98, 106, O, "right column"},
                {49, 58, 54, 101, R, "target column"}};
    case 13:
        return {{10, 10, 93, 101, W, "all four interiors"},
                {5, 5, 98, 10, O, "beam 0"},
                {5, 53, 98, 58, O, "beam 1"},
                {5, 101, 98, 106, O, "beam 2"},
                {5, 5, 10, 106, O, "column 0"},
                {49, 5, 54, 106, O, "column 1"},
                {93, 5, 98, 106, O, "column 2"},
                {49, 58, 54, 101, R, "target column"}};
    default:
        return {};
    }
}

const QSize kDiagramSize(101, 107);

// The diagram the table describes, painted pixel by pixel.
QImage ReferenceDiagram(int tag, int reversed) {
    QImage image(kDiagramSize, QImage::Format_RGB32);
    image.fill(ToQColor(clBtnFace));
    for (const Member& m : TableOf(tag, reversed)) {
        for (int y = m.y1; y < m.y2; ++y) {
            for (int x = m.x1; x < m.x2; ++x) {
                if (image.rect().contains(x, y)) {
                    image.setPixel(x, y, Rgb(m.color));
                }
            }
        }
    }
    return image;
}

QImage Diagram(int tag, int reversed) {
    Picture drwPp(kDiagramSize);
    DrawPattern(drwPp, tag, reversed);
    return drwPp.Image();
}

const std::vector<std::pair<int, int>> kDiagrams{{21, 0}, {21, 1}, {22, 0}, {22, 1}, {11, 0},
                                                 {11, 1}, {12, 0}, {12, 1}, {13, 0}, {13, 1}};

QString DiagramName(int tag, int reversed) {
    return QStringLiteral("%1 %2").arg(tag).arg(reversed == 1 ? "mirrored" : "normal");
}

} // namespace

// The five frame pattern diagrams against their tables, and the bay images
// that each one shows.
class PatternDiagramTest : public QObject {
    Q_OBJECT

private slots:
    void rectangleCornersAndSurroundings_data();
    void rectangleCornersAndSurroundings();
    void wholeDiagramMatchesTable_data();
    void wholeDiagramMatchesTable();
    void namedPoints_data();
    void namedPoints();
    void symmetricPatternsIgnoreReversal_data();
    void symmetricPatternsIgnoreReversal();
    void otherTagLeavesPicture_data();
    void otherTagLeavesPicture();
    void diagramStartsFromAFreshBitmap();
    void usedBaysLieOverBayInteriors_data();
    void usedBaysLieOverBayInteriors();
    void bayImagePlace_data();
    void bayImagePlace();
};

void PatternDiagramTest::rectangleCornersAndSurroundings_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("reversed");
    QTest::addColumn<int>("index");
    for (const auto& [tag, reversed] : kDiagrams) {
        const auto table = TableOf(tag, reversed);
        for (std::size_t i = 0; i < table.size(); ++i) {
            QTest::addRow("%s #%zu %s", qPrintable(DiagramName(tag, reversed)), i + 1,
                          table[i].name)
                << tag << reversed << static_cast<int>(i);
        }
    }
}

void PatternDiagramTest::rectangleCornersAndSurroundings() {
    QFETCH(int, tag);
    QFETCH(int, reversed);
    QFETCH(int, index);
    const Member m = TableOf(tag, reversed)[static_cast<std::size_t>(index)];
    const QImage image = Diagram(tag, reversed);
    const QImage reference = ReferenceDiagram(tag, reversed);
    // The four corner pixels and the pixels just outside each corner, in
    // both directions and diagonally. Later members may cover earlier
    // ones, so the expected colour is that of the painted table.
    const int xs[] = {m.x1, m.x2 - 1};
    const int ys[] = {m.y1, m.y2 - 1};
    for (const int x : xs) {
        for (const int y : ys) {
            const int dx = x == m.x1 ? -1 : 1;
            const int dy = y == m.y1 ? -1 : 1;
            for (const QPoint p :
                 {QPoint(x, y), QPoint(x + dx, y), QPoint(x, y + dy), QPoint(x + dx, y + dy)}) {
                if (!image.rect().contains(p)) {
                    continue;
                }
                QVERIFY2(image.pixel(p) == reference.pixel(p),
                         qPrintable(QStringLiteral("(%1, %2): %3 instead of %4")
                                        .arg(p.x())
                                        .arg(p.y())
                                        .arg(image.pixel(p), 8, 16)
                                        .arg(reference.pixel(p), 8, 16)));
            }
        }
    }
    // The member's own corners keep its colour unless a later member lies
    // over them; the last member of every table is never covered.
    if (index + 1 == static_cast<int>(TableOf(tag, reversed).size())) {
        QCOMPARE(image.pixel(m.x1, m.y1), Rgb(m.color));
        QCOMPARE(image.pixel(m.x2 - 1, m.y2 - 1), Rgb(m.color));
    }
}

void PatternDiagramTest::wholeDiagramMatchesTable_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("reversed");
    for (const auto& [tag, reversed] : kDiagrams) {
        QTest::newRow(qPrintable(DiagramName(tag, reversed))) << tag << reversed;
    }
}

void PatternDiagramTest::wholeDiagramMatchesTable() {
    QFETCH(int, tag);
    QFETCH(int, reversed);
    const QImage image = Diagram(tag, reversed);
    koruba::test::SavePng(
        image, QStringLiteral("pattern_%1_%2").arg(tag).arg(reversed == 1 ? "mirrored" : "normal"));
    QCOMPARE(image.size(), kDiagramSize);
    QCOMPARE(image, ReferenceDiagram(tag, reversed));
}

void PatternDiagramTest::namedPoints_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("reversed");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("color");
    const int face = clBtnFace;
    QTest::newRow("21 normal: target column") << 21 << 0 << QPoint(5, 30) << int(R);
    QTest::newRow("21 normal: column top") << 21 << 0 << QPoint(7, 7) << int(O);
    QTest::newRow("21 normal: bay") << 21 << 0 << QPoint(20, 20) << int(W);
    QTest::newRow("21 normal: beam end") << 21 << 0 << QPoint(60, 7) << int(O);
    QTest::newRow("21 normal: past the beam") << 21 << 0 << QPoint(75, 7) << face;
    QTest::newRow("21 mirrored: red column top left") << 21 << 1 << QPoint(93, 10) << int(R);
    QTest::newRow("21 mirrored: red column bottom right") << 21 << 1 << QPoint(97, 52) << int(R);
    QTest::newRow("21 mirrored: above the red column") << 21 << 1 << QPoint(97, 9) << int(O);
    QTest::newRow("21 mirrored: below the red column") << 21 << 1 << QPoint(93, 53) << int(O);
    QTest::newRow("21 mirrored: beam start") << 21 << 1 << QPoint(28, 5) << int(O);
    QTest::newRow("21 mirrored: before the beam") << 21 << 1 << QPoint(27, 55) << face;
    QTest::newRow("21 mirrored: right column top") << 21 << 1 << QPoint(97, 5) << int(O);
    QTest::newRow("21 mirrored: right column bottom") << 21 << 1 << QPoint(97, 57) << int(O);
    QTest::newRow("21 mirrored: right of the frame") << 21 << 1 << QPoint(98, 30) << face;
    QTest::newRow("21 mirrored: under the frame") << 21 << 1 << QPoint(95, 58) << face;
    QTest::newRow("12 normal: no top beam left of 49") << 12 << 0 << QPoint(48, 7) << face;
    QTest::newRow("12 normal: top beam from 49") << 12 << 0 << QPoint(49, 7) << int(O);
    QTest::newRow("12 normal: left column not above 53") << 12 << 0 << QPoint(7, 52) << face;
    QTest::newRow("12 normal: left column from 53") << 12 << 0 << QPoint(7, 53) << int(O);
    QTest::newRow("12 mirrored: no top beam right of 53") << 12 << 1 << QPoint(54, 7) << face;
    QTest::newRow("11 normal: beam one pixel short") << 11 << 0 << QPoint(71, 7) << face;
    QTest::newRow("11 normal: lower target") << 11 << 0 << QPoint(7, 80) << int(R);
    QTest::newRow("11 normal: upper column orange") << 11 << 0 << QPoint(7, 30) << int(O);
    QTest::newRow("13: middle column separates bays") << 13 << 0 << QPoint(51, 30) << int(O);
}

void PatternDiagramTest::namedPoints() {
    QFETCH(int, tag);
    QFETCH(int, reversed);
    QFETCH(QPoint, point);
    QFETCH(int, color);
    QCOMPARE(Diagram(tag, reversed).pixel(point), Rgb(color));
}

void PatternDiagramTest::symmetricPatternsIgnoreReversal_data() {
    QTest::addColumn<int>("tag");
    QTest::newRow("22") << 22;
    QTest::newRow("13") << 13;
}

void PatternDiagramTest::symmetricPatternsIgnoreReversal() {
    QFETCH(int, tag);
    QCOMPARE(Diagram(tag, 1), Diagram(tag, 0));
}

void PatternDiagramTest::otherTagLeavesPicture_data() {
    QTest::addColumn<int>("tag");
    QTest::newRow("0, before the first choice") << 0;
    QTest::newRow("23") << 23;
    QTest::newRow("-21") << -21;
}

void PatternDiagramTest::otherTagLeavesPicture() {
    QFETCH(int, tag);
    Picture drwPp(kDiagramSize);
    DrawPattern(drwPp, 13, 0);
    const QImage before = drwPp.Image();
    DrawPattern(drwPp, tag, 0);
    QCOMPARE(drwPp.Image(), before);

    Picture empty(kDiagramSize);
    DrawPattern(empty, tag, 1);
    QVERIFY(empty.IsEmpty());
}

void PatternDiagramTest::diagramStartsFromAFreshBitmap() {
    Picture drwPp(QSize(30, 30));
    DrwFill(drwPp, clBlack);
    drwPp.SetControlSize(kDiagramSize);
    DrawPattern(drwPp, 21, 0);
    QCOMPARE(drwPp.Image(), ReferenceDiagram(21, 0));
}

void PatternDiagramTest::usedBaysLieOverBayInteriors_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("reversed");
    for (const auto& [tag, reversed] : kDiagrams) {
        QTest::newRow(qPrintable(DiagramName(tag, reversed))) << tag << reversed;
    }
}

void PatternDiagramTest::usedBaysLieOverBayInteriors() {
    QFETCH(int, tag);
    QFETCH(int, reversed);
    Picture drwPp(kDiagramSize);
    DrawPattern(drwPp, tag, reversed);

    // Each bay image the core's pattern table uses lies exactly over a
    // white bay interior: the diagram pixel at panel position (p, q) is
    // (p + 1, q + 1).
    const QImage image = drwPp.Image();
    for (int bay = 1; bay <= 4; ++bay) {
        if (!koruba::bayInUse(bay, tag, reversed)) {
            continue;
        }
        const BayImageRect r = BayImagePlace(bay);
        const QRect covered(r.Left + 1, r.Top + 1, r.Width, r.Height);
        QCOMPARE(koruba::test::CountOf(image, Rgb(W), covered), r.Width * r.Height);
        QCOMPARE(koruba::test::CountOf(image, Rgb(W), covered.adjusted(-1, -1, 1, 1)),
                 r.Width * r.Height);
    }
}

void PatternDiagramTest::bayImagePlace_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<QRect>("place");
    QTest::newRow("drwSj_1") << 1 << QRect(9, 9, 39, 43);
    QTest::newRow("drwSj_2") << 2 << QRect(53, 9, 39, 43);
    QTest::newRow("drwSj_3") << 3 << QRect(9, 57, 39, 43);
    QTest::newRow("drwSj_4") << 4 << QRect(53, 57, 39, 43);
}

void PatternDiagramTest::bayImagePlace() {
    QFETCH(int, tag);
    QFETCH(QRect, place);
    const BayImageRect r = BayImagePlace(tag);
    QCOMPARE(QRect(r.Left, r.Top, r.Width, r.Height), place);
}

QTEST_MAIN(PatternDiagramTest)
#include "PatternDiagramTest.moc"
