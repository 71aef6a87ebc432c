#include "pentools/profile_graph.h"

#include <cmath>
#include <cstdlib>

#include "engine/shape_generator.h"

namespace nelmora {

void composeProfileGraph(Image& graph, const ShapeSettings& settings, RandomState& noise)
{
    const int32_t w = graph.width, h = graph.height;
    const double half = w / 2.0;
    const int32_t mid = w / 2;
    const double rIn = settings.msize * half / 65536.0;
    // An msize from a pen file may put the inner radius far outside the graph:
    // it then marks no column, and is never converted out of int range.
    const int32_t innerMark = std::abs(rIn) <= w ? int32_t(std::trunc(rIn)) : -1;
    for (int32_t x = 0; x < w; ++x) {
        const int32_t v = shapeProfile(settings, std::abs(x - half), half, rIn, noise);
        const int32_t level = int32_t(int64_t(v) * h / 65536);
        const int32_t top = h - level - 1;
        const bool marked = x == mid || std::abs(x - mid) == innerMark;
        for (int32_t y = 0; y < h; ++y) graph.at(x, y) = marked ? kProfileMarks : y < top ? kProfileSky : kProfileArea;
    }
}

}  // namespace nelmora
