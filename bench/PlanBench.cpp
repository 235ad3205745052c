// The plan window's work per edit on a house of 400 columns per storey
// (target: an edit recomputed and repainted within a frame of 16 ms), and
// opening such a file (target: under 0.5 s). Runs on the offscreen
// platform unless another is asked for.
#include "bench/GeneratedHouse.h"
#include "columns/HouseEdit.h"
#include "columns/HouseFile.h"
#include "draw/HousePlan.h"
#include "ui/plan/PlanDocument.h"
#include "ui/plan/PlanView.h"
#include "ui/plan/PlanWindow.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QUndoStack>

#include <cstdio>
#include <fstream>

#include <benchmark/benchmark.h>

#ifdef __linux__
#include <sys/resource.h>
#endif

namespace {

using namespace koruba;

// One frame of the plan at the size of a large window, fitted.
void repaint(QImage& frame, const PlanDocument& document, std::int32_t storey) {
    frame.fill(Qt::white);
    QPainter painter(&frame);
    painter.setTransform(
        fitPlanTransform(planBounds(document.house()), QRectF(QPointF(0, 0), frame.size())));
    paintHousePlan(painter, document.house(), document.results(), PlanOptions{storey, true, {}});
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

// The window's own path: a right click on a wall of the open house turns
// its brace round (the edit, the derivation, the plan told what changed),
// then the view paints its frame at once. The plan's picture is kept
// between frames, so only the areas of what changed are drawn again.
void BM_WindowEditRepaint(benchmark::State& state) {
    koruba::PlanWindow window;
    window.resize(1600, 1000);
    window.show();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.kxhouse"));
    std::ofstream(path.toStdString()) << columns::writeHouse(bench::generatedHouse());
    window.openFile(path);
    PlanView* view = window.view();
    QCoreApplication::processEvents();
    view->viewport()->repaint();
    const House& house = window.house();
    const HouseWall& wall = house.storeys[0].walls[0];
    const QPoint at =
        view->mapFromScene((planPoint(house, wall.from) + planPoint(house, wall.to)) / 2.0);
    const QPointF global = view->viewport()->mapToGlobal(QPointF(at));
    for (auto _ : state) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::RightButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &release);
        QCoreApplication::processEvents();
        view->viewport()->repaint();
    }
    if (window.undoStack()->count() == 0) {
        state.SkipWithError("the right click changed nothing");
    }
    state.counters["columns"] = static_cast<double>(window.results().size());
}
BENCHMARK(BM_WindowEditRepaint)->Unit(benchmark::kMillisecond);

// Opening the file in the window up to its first frame painted.
void BM_WindowOpen(benchmark::State& state) {
    koruba::PlanWindow window;
    window.resize(1600, 1000);
    window.show();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.kxhouse"));
    std::ofstream(path.toStdString()) << columns::writeHouse(bench::generatedHouse());
    for (auto _ : state) {
        // From a different house each time, so that the whole plan is
        // drawn anew.
        state.PauseTiming();
        window.newHouse();
        QCoreApplication::processEvents();
        window.view()->viewport()->repaint();
        state.ResumeTiming();
        if (!window.openFile(path)) {
            state.SkipWithError("the house did not open");
        }
        QCoreApplication::processEvents();
        window.view()->viewport()->repaint();
    }
}
BENCHMARK(BM_WindowOpen)->Unit(benchmark::kMillisecond);

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
#ifdef __linux__
    // The largest the process grew to over all the runs above.
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
#endif
    benchmark::Shutdown();
    return 0;
}
