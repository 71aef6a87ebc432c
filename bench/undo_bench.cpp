// What keeping the undo copy costs: the same drag with the engine called
// directly (no history) and through the canvas's stroke handling (one undo
// step, tiles copied on first write), for the start-up pen and a 160-px blur
// pen on a 1000 x 1000 picture; and undo and redo of a 4000 x 4000 fill.
// The history is filled to its budget before timing: until then every new
// step also pays the kernel for fresh pages, which says nothing of the copy.
#include <benchmark/benchmark.h>

#include "doc/canvas_stroke.h"
#include "doc/workspace.h"
#include "engine/stroke_engine.h"

namespace nelmora {
namespace {

constexpr int kEvents = 400;
constexpr int kBlurIndex = 22;
constexpr size_t kWarmBudget = size_t{64} << 20;
constexpr size_t kWarmMargin = size_t{4} << 20;  // more than one drag keeps

// A serpentine path over the picture, 10 pixels per event.
void pointOnPath(int event, int32_t& x, int32_t& y)
{
    const int perRow = 90;
    const int row = event / perRow, step = event % perRow;
    x = 50 + ((row & 1) ? (perRow - step) : step) * 10;
    y = 50 + (row % 22) * 40;
}

void prepare(Workspace& workspace, bool blur)
{
    if (!blur) return;
    workspace.setPenField(0, PenField::blendIndex, kBlurIndex);
    workspace.setDrawingValue(dv::thickness1, 0x20000);  // 2 x 80 px
}

void dragWith(benchmark::State& state, bool blur, bool history)
{
    Workspace workspace(1000, 1000);
    prepare(workspace, blur);
    CanvasStroke canvas;
    auto drag = [&] {
        int32_t x, y;
        pointOnPath(0, x, y);
        if (history) {
            canvas.buttonDown(workspace, x, y);
        } else {
            beginStroke(&workspace.strokeImage(), &workspace.strokePen(0), workspace.strokeValues(),
                        workspace.strokeRandom(), x, y);
        }
        for (int e = 1; e <= kEvents; ++e) {
            pointOnPath(e, x, y);
            if (history)
                canvas.mouseMove(workspace, x, y);
            else
                continueStroke(&workspace.strokeImage(), &workspace.strokePen(0), workspace.strokeValues(),
                               workspace.strokeRandom(), x, y);
            clearUpdate(workspace.strokeImage().update);
        }
        if (history) canvas.buttonUp(workspace, x, y, [] {});
    };
    if (history) {
        workspace.setUndoBudget(kWarmBudget);
        while (workspace.history().bytes() + kWarmMargin < kWarmBudget) drag();
    }
    for (auto _ : state) drag();
    state.counters["events/s"] = benchmark::Counter(double(state.iterations()) * kEvents, benchmark::Counter::kIsRate);
}

void BM_DragStartUpPen_NoHistory(benchmark::State& state) { dragWith(state, false, false); }
void BM_DragStartUpPen_WithUndo(benchmark::State& state) { dragWith(state, false, true); }
void BM_DragBlur160_NoHistory(benchmark::State& state) { dragWith(state, true, false); }
void BM_DragBlur160_WithUndo(benchmark::State& state) { dragWith(state, true, true); }
BENCHMARK(BM_DragStartUpPen_NoHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragStartUpPen_WithUndo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragBlur160_NoHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragBlur160_WithUndo)->Unit(benchmark::kMillisecond);

// One undo and one redo of a fill per iteration: each is half the time.
void BM_UndoRedoFill4000(benchmark::State& state)
{
    Workspace workspace(4000, 4000);
    workspace.fill(kCheckerDark, kCheckerLight);
    for (auto _ : state) {
        workspace.undo();
        workspace.redo();
        benchmark::DoNotOptimize(workspace.image().pixels);
    }
}
BENCHMARK(BM_UndoRedoFill4000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nelmora
