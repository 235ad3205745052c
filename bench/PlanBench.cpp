// The plan window's work per edit on a house of 400 columns per storey
// (target: an edit recomputed and repainted within a frame of 16 ms), and
// opening such a file (target: under 0.5 s). Runs on the offscreen
// platform unless another is asked for.
#include "bench/GeneratedHouse.h"
#include "columns/HouseEdit.h"
#include "columns/HouseFile.h"
#include "draw/HousePlan.h"
#include "ui/plan/PlanDocument.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using namespace koruba;

// One frame of the plan at the size of a large window, fitted.
void repaint(QImage& frame, const PlanDocument& document, std::int32_t storey) {
    frame.fill(Qt::white);
    QPainter painter(&frame);
    painter.setTransform(
        fitPlanTransform(planBounds(document.house()), QRectF(QPointF(0, 0), frame.size())));
    paintHousePlan(painter, document.house(), document.results(), PlanOptions{storey, true});
}

// A single brace turned round through the undoable edit: the house copied
// and changed, checked, derived again; then the storey repainted.
void BM_EditRecomputeRepaint(benchmark::State& state) {
    PlanDocument document;
    document.reset(bench::generatedHouse());
    QImage frame(1600, 1000, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        document.apply(QStringLiteral("flip"),
                       [](House& h) { return columns::flipWallBrace(h, 1, 0); });
        repaint(frame, document, 1);
    }
    state.counters["columns"] = static_cast<double>(document.results().size());
}
BENCHMARK(BM_EditRecomputeRepaint)->Unit(benchmark::kMillisecond);

void BM_RepaintOnly(benchmark::State& state) {
    PlanDocument document;
    document.reset(bench::generatedHouse());
    QImage frame(1600, 1000, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        repaint(frame, document, 1);
    }
}
BENCHMARK(BM_RepaintOnly)->Unit(benchmark::kMillisecond);

// Reading the file, checking and deriving it: what opening it costs
// before the first frame.
void BM_OpenHouse(benchmark::State& state) {
    const std::string text = columns::writeHouse(bench::generatedHouse());
    for (auto _ : state) {
        House h;
        std::string error;
        columns::readHouse(text, h, error);
        PlanDocument document;
        document.reset(std::move(h));
        benchmark::DoNotOptimize(document.results().data());
    }
}
BENCHMARK(BM_OpenHouse)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
