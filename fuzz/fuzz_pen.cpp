// Any bytes given to the pen file reader either load whole into real pens,
// and then write back as the same bytes, or change nothing at all.
#include <cstdlib>
#include <cstring>

#include "pen/pen_file.h"

using namespace nelmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PenTable pens{};
    if (!makeDefaultPens(pens.data())) std::abort();
    std::array<ShapeSettings, kPenCount> blocks{};
    ShapeSettingsTable table{};
    for (size_t n = 0; n < table.size(); ++n) table[n] = &blocks[n];
    const void* storage[] = {pens[0]->shape, pens[0]->params, pens[1]->shape, pens[1]->params};

    const std::vector<uint8_t> before = encodePenFile(pens, table);
    const bool loaded = decodePenFile(data, size, pens, table);
    const std::vector<uint8_t> after = encodePenFile(pens, table);
    const void* kept[] = {pens[0]->shape, pens[0]->params, pens[1]->shape, pens[1]->params};
    if (std::memcmp(storage, kept, sizeof kept) != 0) std::abort();
    if (pens[0]->shape->stride != kShapeSize || pens[1]->shape->stride != kShapeSize) std::abort();

    if (!loaded) {
        if (after != before) std::abort();
    } else {
        if (size < kPenFileSize) std::abort();
        // Everything but the two ignored reference words comes back as read.
        std::vector<uint8_t> expected(data, data + kPenFileSize);
        for (size_t block = 0; block < kPenFileSize; block += kPenBlockSize)
            std::memset(expected.data() + block + 6896, 0, 8);
        if (after != expected) std::abort();
    }
    freePen(pens[0]);
    freePen(pens[1]);
    return 0;
}
