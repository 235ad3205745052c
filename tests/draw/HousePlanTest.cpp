#include "draw/HousePlan.h"

#include "calc/HouseDerivation.h"
#include "columns/HouseFile.h"
#include "tests/draw/DrawTestSupport.h"

#include <QFile>
#include <QtTest>

using namespace koruba;

namespace {

House readExample(const QString& name) {
    QFile file(QStringLiteral(KORUBA_EXAMPLES_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    House house;
    std::string error;
    if (!columns::readHouse(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), house,
            error)) {
        qWarning("%s", error.c_str());
    }
    return house;
}

struct Rendered {
    QImage image;
    QTransform transform; // plan millimetres to image pixels
};

Rendered render(const House& house, const std::vector<ColumnResult>& results, int storey,
                QSize size = QSize(2400, 2100)) {
    Rendered r{QImage(size, QImage::Format_RGB32), {}};
    r.image.fill(Qt::white);
    r.transform = fitPlanTransform(planBounds(house), QRectF(QPointF(0, 0), QSizeF(size)));
    QPainter painter(&r.image);
    painter.setTransform(r.transform);
    paintHousePlan(painter, house, results, PlanOptions{storey, true, {}});
    return r;
}

// Where a grid point is on the plan, worked out here from the grid: the
// plan's y axis points up the page.
QPointF gridPointOnPlan(const House& house, GridPoint at) {
    return {static_cast<qreal>(house.gridX[static_cast<std::size_t>(at.x)].positionMm),
            -static_cast<qreal>(house.gridY[static_cast<std::size_t>(at.y)].positionMm)};
}

// A point inside a column's symbol box, clear of its rounded corner and of
// the text: just right of the box's lower left corner.
QPoint symbolSample(const Rendered& r, const House& house, GridPoint at) {
    return r.transform.map(gridPointOnPlan(house, at) + QPointF(80.0 + 25.0, -80.0 - 40.0))
        .toPoint();
}

} // namespace

class HousePlanTest : public QObject {
    Q_OBJECT

private slots:
    // Every column of both storeys of the example house shows its own
    // class colour at its own grid point: a symbol put at a mirrored or
    // swapped point, or a class colour one off, fails here.
    void eachColumnShowsItsClassAtItsPoint() {
        const House house = readExample(QStringLiteral("house2f.kxhouse"));
        QCOMPARE(house.storeys.size(), 2u);
        const std::vector<ColumnResult> results = deriveHouse(house);
        int warned = 0;
        for (const int storey : {1, 2}) {
            const Rendered r = render(house, results, storey);
            koruba::test::SavePng(r.image, QStringLiteral("house2f_plan_%1F").arg(storey));
            int checked = 0;
            for (const ColumnResult& column : results) {
                if (column.storey != storey) {
                    continue;
                }
                const QColor expected = hardwareClassColor(column.result().JointClass);
                const QPoint sample = symbolSample(r, house, column.at);
                QVERIFY2(r.image.pixel(sample) == expected.rgb(),
                         qPrintable(QStringLiteral("%1階 %2: %3 at (%4,%5)")
                                        .arg(storey)
                                        .arg(QString::fromStdString(column.name))
                                        .arg(QColor(r.image.pixel(sample)).name())
                                        .arg(sample.x())
                                        .arg(sample.y())));
                ++checked;
                if (!column.warnings.empty()) {
                    // The warning mark sits down and left of the column.
                    const QPoint mark =
                        r.transform.map(gridPointOnPlan(house, column.at) + QPointF(-130.0, 250.0))
                            .toPoint();
                    QCOMPARE(QColor(r.image.pixel(mark)), QColor(230, 0, 0));
                    ++warned;
                }
            }
            QVERIFY(checked > 20);
        }
        QVERIFY(warned > 0);
    }

    // A column beyond every hardware class shows "N>7.5" on red, not the
    // colour of the last class.
    void beyondTheClassesIsSetApart() {
        House house = readExample(QStringLiteral("hiraya.kxhouse"));
        QVERIFY(!house.storeys.empty());
        // Strong cross braces with the strongest panel on every wall.
        for (HouseWall& wall : house.storeys.front().walls) {
            wall.bay = BayCell{6.0f, CrossBrace, 3, 1, 5.0f};
        }
        house.rules = RuleSet::Revision2025;
        house.storeys.front().heightCm = 290;
        const std::vector<ColumnResult> results = deriveHouse(house);
        const auto beyond = std::find_if(results.begin(), results.end(), beyondHardwareClasses);
        QVERIFY(beyond != results.end());
        QVERIFY(beyond->result().NValue > 7.5f);
        QCOMPARE(planSymbolText(*beyond).left(5), QStringLiteral("N>7.5"));
        const Rendered r = render(house, results, 1);
        koruba::test::SavePng(r.image, QStringLiteral("hiraya_beyond_plan"));
        QCOMPARE(QColor(r.image.pixel(symbolSample(r, house, beyond->at))), QColor(208, 0, 0));
    }
};

QTEST_MAIN(HousePlanTest)
#include "HousePlanTest.moc"
