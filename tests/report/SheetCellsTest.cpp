#include "report/SheetCells.h"
#include "tests/report/SheetTestSupport.h"

#include <QtTest>

using namespace koruba;
using namespace koruba::test;

class SheetCellsTest : public QObject {
    Q_OBJECT

private slots:
    void legend();
};

void SheetCellsTest::legend() {
    const auto legend = hardwareLegend();
    QCOMPARE(legend.size(), std::size_t(11));
}

QTEST_MAIN(SheetCellsTest)
#include "SheetCellsTest.moc"
