#include "image/tables.h"

#include <algorithm>
#include <cmath>

namespace nelmora {

namespace {

TrigTable makeTable(double (*f)(double))
{
    TrigTable table{};
    for (int i = 0; i < kTableSize; ++i) table[size_t(i)] = static_cast<int32_t>(f(i * 2 * kPi / 65536) * 256);
    return table;
}

}  // namespace

const TrigTable& sinTable()
{
    static const TrigTable table = makeTable([](double a) { return std::sin(a); });
    return table;
}

const TrigTable& cosTable()
{
    static const TrigTable table = makeTable([](double a) { return std::cos(a); });
    return table;
}

Image* scratchImageOfSize(int32_t width, int32_t height)
{
    static ImagePtr scratch(createImage(500, 500, 0, 0, 0));
    if (scratch && scratch->width >= width && scratch->height >= height) return scratch.get();
    const int32_t newWidth = std::max(width, scratch ? scratch->width : 0);
    const int32_t newHeight = std::max(height, scratch ? scratch->height : 0);
    Image* grown = createImage(newWidth, newHeight, 0, 0, 0);
    if (!grown) return nullptr;
    scratch.reset(grown);
    return grown;
}

}  // namespace nelmora
