// The render tool's work over a fixed script on a 1000 x 1000 checker: eight
// long strokes in different blend modes, 400 mouse events each, the last
// four with both pens live. Reported per mouse event.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <sstream>

#include "script/render_script.h"

namespace nelmora {
namespace {

constexpr int kStrokes = 8;
constexpr int kEventsPerStroke = 400;

std::string benchmarkScript()
{
    // Normal, Add, Multiply, Light, HuePlus, SuckIn, Diffuse2, Blur.
    const int modes[kStrokes] = {0, 1, 4, 8, 14, 19, 21, 22};
    std::ostringstream s;
    s << "fill checker\nvalue 2 0xFFFF\nvalue 5 0xFFFF\nvalue 4 0x5555\n";
    for (int k = 0; k < kStrokes; ++k) {
        s << "pen 0 blendIndex " << modes[k] << "\n";
        if (k == 4) s << "pen 1 drawMode 1\npen 1 blendIndex 23\nvalue 18 0x4000\nvalue 19 8000\n";
        // A slow spiral around the image centre, 10 pixels per event.
        const double radius0 = 60 + 50 * k;
        s << "down " << int(500 + radius0) << " 500\n";
        double angle = 0;
        for (int e = 1; e <= kEventsPerStroke; ++e) {
            const double radius = radius0 + e * 0.05;
            angle += 10.0 / radius;
            s << "move " << int(500 + radius * std::cos(angle)) << ' ' << int(500 + radius * std::sin(angle)) << '\n';
        }
        s << "up 500 500\n";
    }
    return s.str();
}

void BM_RenderScript(benchmark::State& state)
{
    const std::string script = benchmarkScript();
    for (auto _ : state) {
        state.PauseTiming();
        auto workspace = std::make_unique<Workspace>(1000, 1000);
        CanvasStroke canvas;
        state.ResumeTiming();
        std::istringstream in(script);
        std::vector<ScriptCommand> commands;
        std::string error;
        parseRenderScript(in, commands, error);
        runRenderScript(*workspace, canvas, commands);
        state.PauseTiming();
        workspace.reset();
        state.ResumeTiming();
    }
    state.counters["events/s"] =
        benchmark::Counter(double(state.iterations()) * kStrokes * kEventsPerStroke, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderScript)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nelmora
