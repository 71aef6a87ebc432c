// A drag with the start-up pens: 2000 mouse events 10 pixels apart, through
// the canvas's stroke handling, on a 1000 x 1000 image.
#include <benchmark/benchmark.h>

#include "doc/canvas_stroke.h"
#include "doc/workspace.h"

namespace nelmora {
namespace {

constexpr int kEvents = 2000;

// A serpentine path: rows 40 pixels apart, 10 pixels per event.
void pointOnPath(int event, int32_t& x, int32_t& y)
{
    const int perRow = 90;
    const int row = event / perRow, step = event % perRow;
    x = 50 + ((row & 1) ? (perRow - step) : step) * 10;
    y = 50 + (row % 22) * 40;
}

void drag(benchmark::State& state, bool listened)
{
    Workspace app(1000, 1000);
    CanvasStroke canvas;
    int64_t reports = 0;
    if (listened) {
        // As the program's canvas listens, minus its clock: a count.
        app.strokeImage().whilePainting = [](void* count) { ++*static_cast<int64_t*>(count); };
        app.strokeImage().paintingListener = &reports;
    }
    for (auto _ : state) {
        int32_t x, y;
        pointOnPath(0, x, y);
        canvas.buttonDown(app, x, y);
        for (int e = 1; e <= kEvents; ++e) {
            pointOnPath(e, x, y);
            canvas.mouseMove(app, x, y);
            clearUpdate(app.strokeImage().update);
        }
        canvas.buttonUp(app, x, y, [] {});
    }
    state.counters["events/s"] =
        benchmark::Counter(double(state.iterations()) * kEvents, benchmark::Counter::kIsRate);
    state.counters["dabs/event"] = double(app.drawingValue(dv::count3) / 256) / kEvents;
}
void BM_DragDefaultPens(benchmark::State& state) { drag(state, false); }
// The same drag with the engine reporting to a listener at every dab.
void BM_DragDefaultPensListened(benchmark::State& state) { drag(state, true); }
BENCHMARK(BM_DragDefaultPens)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragDefaultPensListened)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nelmora
