// Every mode at 80 and 160 pixels, drawn by the engine (at the SIMD level
// NELMORA_SIMD selects, or the best) and by the plain per-pixel baseline (the
// tests' oracle, tests/engine/dab_reference.cpp) in one run; a rotated Normal dab; and a mixed script of all 24 modes over a
// 1000 x 1000 image. Compare the rows of one run: Engine/Plain per mode.
#include <benchmark/benchmark.h>

#include <functional>

#include "engine/blend_modes.h"
#include "engine/dab.h"
#include "engine/dab_kernels.h"
#include "engine/dab_reference.h"
#include "pen/pen.h"

namespace nelmora {
namespace {

using DrawFn = int32_t (*)(Image&, const ShapeMap&, SlotValues&, int32_t, int32_t, int32_t, RandomState&);

struct Setup {
    explicit Setup(int32_t size)
    {
        makeDefaultPens(pens);
        image = createImage(size, size, 0, 0, 0xFFFFFF);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                image->at(x, y) = (((x >> 3) + (y >> 3)) & 1) ? 0x40608A : 0xC0A080 + uint32_t(x & 0x1F);
    }
    ~Setup()
    {
        freeImage(image);
        freePen(pens[0]);
        freePen(pens[1]);
    }
    Pen* pens[kPenCount]{};
    Image* image = nullptr;
};

// The start-up pen's dab with two colors, a pull, a mosaic offset.
SlotValues dabValues(int32_t thickness, int32_t angle)
{
    SlotValues v{0, 40000, 0xFFFF, 0x3000, 50000, 0xE000, thickness, 10000, angle, 0xFFFF, 3125, 0x4000};
    v[slot::ex1] = 0x2000;
    v[slot::ex2] = 6000;
    return v;
}

void runDabs(benchmark::State& state, DrawFn draw, int32_t code, int32_t thickness, int32_t angle)
{
    Setup setup(400);
    RandomState random;
    int32_t i = 0;
    for (auto _ : state) {
        SlotValues values = dabValues(thickness, angle);
        const int32_t x = 200 * 256 + (i * 37) % 512 - 256, y = 200 * 256 + (i * 53) % 512 - 256;
        benchmark::DoNotOptimize(draw(*setup.image, *setup.pens[0]->shape, values, code, x, y, random));
        ++i;
    }
    state.SetLabel(simdLevelName(dabKernels().level));
}

void BM_Engine(benchmark::State& state)
{
    runDabs(state, drawDab, blendModes[size_t(state.range(0))].code, int32_t(state.range(1)) * 0x10000 / 80, 0);
}
void BM_Plain(benchmark::State& state)
{
    runDabs(state, drawDabReference, blendModes[size_t(state.range(0))].code, int32_t(state.range(1)) * 0x10000 / 80, 0);
}
void modeArgs(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"mode", "px"});
    for (int size : {80, 160})
        for (int mode = 0; mode < kBlendModeCount; ++mode) b->Args({mode, size});
}
BENCHMARK(BM_Engine)->Apply(modeArgs);
BENCHMARK(BM_Plain)->Apply(modeArgs);

// A Normal 80-px dab at an angle that is no quarter turn.
void BM_EngineNormalRotated80(benchmark::State& state) { runDabs(state, drawDab, 0x101, 0x10000, 0x1234); }
BENCHMARK(BM_EngineNormalRotated80);

// 1000 x 1000, 24 rows of dabs, one mode per row, sizes and angles varying.
// One row of the script: twelve dabs of one mode.
void drawMixedRow(Setup& setup, DrawFn draw, int mode, RandomState& random)
{
    for (int k = 0; k < 12; ++k) {
        SlotValues values = dabValues(0x8000 + k * 0x3000, k * 0x1555);
        const int32_t x = (40 + k * 80) * 256 + 77, y = (20 + mode * 40) * 256 + 33;
        draw(*setup.image, *setup.pens[k & 1]->shape, values, blendModes[size_t(mode)].code, x, y, random);
    }
}
void runMixed(benchmark::State& state, DrawFn draw)
{
    Setup setup(1000);
    RandomState random;
    for (auto _ : state)
        for (int mode = 0; mode < kBlendModeCount; ++mode) drawMixedRow(setup, draw, mode, random);
    state.SetLabel(simdLevelName(dabKernels().level));
}
void BM_MixedScriptEngine(benchmark::State& state) { runMixed(state, drawDab); }
void BM_MixedScriptPlain(benchmark::State& state) { runMixed(state, drawDabReference); }
BENCHMARK(BM_MixedScriptEngine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixedScriptPlain)->Unit(benchmark::kMillisecond);

// The script's share of each mode: which rows lead the plain and the fast time.
void runMixedRow(benchmark::State& state, DrawFn draw)
{
    Setup setup(1000);
    RandomState random;
    for (auto _ : state) drawMixedRow(setup, draw, int(state.range(0)), random);
    state.SetLabel(simdLevelName(dabKernels().level));
}
void BM_MixedRowEngine(benchmark::State& state) { runMixedRow(state, drawDab); }
void BM_MixedRowPlain(benchmark::State& state) { runMixedRow(state, drawDabReference); }
BENCHMARK(BM_MixedRowEngine)->DenseRange(0, kBlendModeCount - 1)->ArgName("mode")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixedRowPlain)->DenseRange(0, kBlendModeCount - 1)->ArgName("mode")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace nelmora
