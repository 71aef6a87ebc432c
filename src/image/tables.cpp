#include "image/tables.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

namespace nelmora {

namespace {

TrigTable makeTable(double (*f)(double))
{
    TrigTable table{};
    for (int i = 0; i < kTableSize; ++i) table[size_t(i)] = static_cast<int32_t>(f(i * 2 * kPi / 65536) * 256);
    return table;
}

// Enough for the dabs of ordinary pens without growing.
constexpr size_t kInitialScratchPixels = 500 * 500;

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
    // Kept as a pixel count and viewed with stride = width: a tall box after a
    // wide one of the same area reuses the buffer instead of needing their union.
    static size_t capacity = 0;
    static std::unique_ptr<uint32_t[]> buffer;
    static Image view{};
    if (!isValidImageSize(width, height)) return nullptr;
    const size_t count = size_t(width) * size_t(height);
    if (count > capacity) {
        const size_t wanted = std::max(count, kInitialScratchPixels);
        std::unique_ptr<uint32_t[]> grown(new (std::nothrow) uint32_t[wanted]());
        if (!grown) return nullptr;
        buffer = std::move(grown);
        capacity = wanted;
    }
    view = Image{buffer.get(), width, height, width, 0, 0, kEmptyUpdate};
    return &view;
}

}  // namespace nelmora
