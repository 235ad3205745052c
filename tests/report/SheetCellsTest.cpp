#include "report/SheetCells.h"
#include "tests/report/SheetTestSupport.h"

#include <QtTest>

using namespace koruba;
using namespace koruba::test;

class SheetCellsTest : public QObject {
    Q_OBJECT

private slots:
    void rulesInUse_data();
    void rulesInUse();
};

void SheetCellsTest::rulesInUse_data() {
    QTest::addColumn<int>("sheetRules");
    QTest::addColumn<std::vector<int>>("rowRules");
    QTest::addColumn<std::vector<int>>("expected");
    QTest::newRow("empty sheet states its own")
        << 2025 << std::vector<int>{} << std::vector<int>{2025};
    QTest::newRow("rows override the sheet")
        << 2000 << std::vector<int>{2025, 2025} << std::vector<int>{2025};
    QTest::newRow("mixed, oldest first")
        << 2000 << std::vector<int>{2025, 2000, 2025} << std::vector<int>{2000, 2025};
    // A record that failed still says what it was to be computed under.
    QTest::newRow("failed 2025 record")
        << 2000 << std::vector<int>{-2025, 2000} << std::vector<int>{2000, 2025};
}

void SheetCellsTest::rulesInUse() {
    QFETCH(int, sheetRules);
    QFETCH(std::vector<int>, rowRules);
    QFETCH(std::vector<int>, expected);
    SheetDescription sheet;
    sheet.rules = static_cast<RuleSet>(sheetRules);
    for (const int r : rowRules) {
        const CalcConditions conditions{static_cast<RuleSet>(std::abs(r)), 300, 300};
        SheetRow one = row("C", 13, 0, {}, conditions);
        if (r < 0) {
            one.result.reset();
            one.error = "missing h2";
        }
        sheet.rows.push_back(one);
    }
    std::vector<int> found;
    for (const RuleSet r : koruba::rulesInUse(sheet)) {
        found.push_back(static_cast<int>(r));
    }
    QCOMPARE(found, expected);
}

QTEST_MAIN(SheetCellsTest)
#include "SheetCellsTest.moc"
