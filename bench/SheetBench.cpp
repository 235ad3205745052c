// Time to write the calculation sheet of a large house: 300 columns of
// every pattern to a paginated PDF, as the batch tool's --sheet does. The
// target is under 3 s on the development machine; run by hand:
//   build/default/bench/koruba_sheet_bench [columns] [runs]
#include "calc/CalcNValue.h"
#include "report/SheetPdf.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace koruba;

SheetDescription largeHouse(int columns) {
    static constexpr std::int32_t tags[] = {21, 22, 11, 12, 13};
    SheetDescription sheet;
    sheet.project = "ベンチマーク邸";
    sheet.designer = "設計者";
    sheet.date = "2026年12月8日";
    for (int i = 0; i < columns; ++i) {
        SheetRow row;
        row.name = "C" + std::to_string(i + 1);
        row.patternTag = tags[i % 5];
        row.reversed = (i / 5) % 2;
        row.bays.SetCell(2, 1, {2.0f, BraceRisingLeft, 2, i % 2, i % 2 ? 2.5f : 0.0f});
        row.bays.SetCell(2, 2, {4.0f, CrossBrace, 2, 0, 0.0f});
        row.bays.SetCell(1, 1, {3.0f, BraceRisingRight, 3, 1, 1.0f});
        row.bays.SetCell(1, 2, {0.0f, NoBrace, 0, 1, 2.0f});
        row.result = CalcNValue(row.bays, row.patternTag, row.reversed);
        sheet.rows.push_back(std::move(row));
    }
    return sheet;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int columns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const SheetDescription sheet = largeHouse(columns);
    QTemporaryDir dir;
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        QString error;
        if (!writeSheetPdf(dir.filePath(QStringLiteral("sheet.pdf")), sheet, error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        seconds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        std::printf("run %d: %d columns to PDF in %.3f s\n", run + 1, columns, seconds.back());
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("median %.3f s, best %.3f s (target: under 3 s)\n", seconds[seconds.size() / 2],
                seconds.front());
    return 0;
}
