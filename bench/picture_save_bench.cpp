// Saving a 4000 x 4000 painting as PNG (flat paper with colorful strokes), the
// compression chosen for speed: the figure the picture library must keep
// under 2 seconds.
#include <benchmark/benchmark.h>

#include <vector>

#include "picture/picture_files.h"

namespace nelmora {
namespace {

void BM_SavePng4000(benchmark::State& state)
{
    ImagePtr painting(createImage(4000, 4000, 0, 0, 0xFFFFFF));
    for (int32_t y = 0; y < 4000; ++y)
        for (int32_t x = 0; x < 4000; ++x)
            if ((x + 3 * y) % 400 < 60 || (x * x + y) % 997 < 40)
                painting->at(x, y) = uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | uint32_t((x ^ y) & 0xFF);
    for (auto _ : state) {
        std::vector<uint8_t> png;
        benchmark::DoNotOptimize(encodePicture(*painting, PictureFormat::Png, png));
    }
}
BENCHMARK(BM_SavePng4000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace nelmora
