// Dabs per second for the default pen's shape at two sizes in Normal, and
// one dab of each of a few heavier modes.
#include <benchmark/benchmark.h>

#include "engine/blend_modes.h"
#include "engine/dab.h"
#include "pen/pen.h"

namespace nelmora {
namespace {

struct DabSetup {
    DabSetup()
    {
        makeDefaultPens(pens);
        image = createImage(400, 400, 0, 0, 0xFFFFFF);
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x) image->at(x, y) = (((x >> 3) + (y >> 3)) & 1) ? 0x404040 : 0xC0C0C0;
    }
    ~DabSetup()
    {
        freeImage(image);
        freePen(pens[0]);
        freePen(pens[1]);
    }
    Pen* pens[kPenCount]{};
    Image* image = nullptr;
};

// The default pen's first dab: hue 0, saturation 40000, full brightness and strength.
SlotValues defaultDab(int32_t thickness)
{
    return {0, 40000, 0xFFFF, 0, 40000, 0xFFFF, thickness, 10000, 0, 0xFFFF, 3125, 0x4000};
}

// What the program's canvas listens with, minus its clock: a count.
void countReport(void* reports) { ++*static_cast<int64_t*>(reports); }

void runDabs(benchmark::State& state, int32_t code, int32_t thickness, bool listened = false)
{
    DabSetup setup;
    RandomState random;
    int64_t reports = 0;
    if (listened) {
        setup.image->whilePainting = countReport;
        setup.image->paintingListener = &reports;
    }
    int32_t i = 0;
    for (auto _ : state) {
        SlotValues values = defaultDab(thickness);
        // Walk the position over sub-pixel offsets so every dab is a fresh placement.
        const int32_t x = 200 * 256 + (i * 37) % 512 - 256, y = 200 * 256 + (i * 53) % 512 - 256;
        benchmark::DoNotOptimize(drawDab(*setup.image, *setup.pens[0]->shape, values, code, x, y, random));
        ++i;
    }
    state.counters["dabs/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_NormalDab80(benchmark::State& state) { runDabs(state, 0x101, 0x10000); }
void BM_NormalDab160(benchmark::State& state) { runDabs(state, 0x101, 0x20000); }
void BM_LightDab80(benchmark::State& state) { runDabs(state, 0x109, 0x10000); }
void BM_HuePlusDab80(benchmark::State& state) { runDabs(state, 0x201, 0x10000); }
void BM_PullDab80(benchmark::State& state) { runDabs(state, 0x302, 0x10000); }
void BM_Diffuse1Dab80(benchmark::State& state) { runDabs(state, 0x304, 0x10000); }
void BM_BlurDab80(benchmark::State& state) { runDabs(state, 0x401, 0x10000); }
// The engine's reports to a listener, against the same dabs unlistened: a
// Normal dab reports once, a Blur dab over the whole 400 x 400 image three times.
void BM_NormalDab80Listened(benchmark::State& state) { runDabs(state, 0x101, 0x10000, true); }
void BM_BlurDabWholeImage(benchmark::State& state) { runDabs(state, 0x401, 0x50000); }
void BM_BlurDabWholeImageListened(benchmark::State& state) { runDabs(state, 0x401, 0x50000, true); }

BENCHMARK(BM_NormalDab80);
BENCHMARK(BM_NormalDab160);
BENCHMARK(BM_LightDab80);
BENCHMARK(BM_HuePlusDab80);
BENCHMARK(BM_PullDab80);
BENCHMARK(BM_Diffuse1Dab80);
BENCHMARK(BM_BlurDab80);
BENCHMARK(BM_NormalDab80Listened);
BENCHMARK(BM_BlurDabWholeImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlurDabWholeImageListened)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nelmora
