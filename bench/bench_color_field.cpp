// One render of the color field: 40 000 pixels, each a square root, an arc
// tangent and an HSB conversion, plus the markers.
#include <benchmark/benchmark.h>

#include "engine/color_field.h"

namespace {

void renderField(benchmark::State& state, int32_t mode)
{
    nelmora::ImagePtr image(nelmora::createImage(nelmora::kColorFieldImageWidth,
                                                 nelmora::kColorFieldImageHeight, 0, 0, 0xFFFFFF));
    if (!image) {
        state.SkipWithError("no image");
        return;
    }
    for (auto _ : state) {
        nelmora::renderColorField(*image, mode, 0x1234, 40000, 0xFFFF);
        benchmark::DoNotOptimize(image->pixels);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * nelmora::kFieldSize * nelmora::kFieldSize);
}

void BM_HueSaturationWheel(benchmark::State& state) { renderField(state, nelmora::kHueSaturationWheel); }
void BM_SaturationBrightnessSquare(benchmark::State& state)
{
    renderField(state, nelmora::kSaturationBrightnessSquare);
}

}  // namespace

BENCHMARK(BM_HueSaturationWheel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaturationBrightnessSquare)->Unit(benchmark::kMicrosecond);
