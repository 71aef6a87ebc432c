// Writes the small seed corpora for the fuzz targets:
//   make_fuzz_corpus <fuzz/corpus>
// Seeds are real files from the writers, plus a few near misses the readers
// must refuse, so the search starts on both sides of every check.
#include <cstdio>
#include <string>
#include <vector>

#include "image/bmp_file.h"
#include "image/file_io.h"
#include "pen/pen_file.h"

using namespace nelmora;

namespace {

void put(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::string error;
    if (!writeFileAtomically(path, bytes, &error)) std::fprintf(stderr, "%s\n", error.c_str());
}

void setI32(std::vector<uint8_t>& b, size_t at, int32_t value)
{
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(uint32_t(value) >> (8 * i));
}

std::vector<uint8_t> bmpOf(int32_t width, int32_t height)
{
    ImagePtr image(createImage(width, height, 0, 0, 0));
    for (int32_t i = 0; i < width * height; ++i) image->pixels[i] = uint32_t(i) * 0x1F3D5Bu & 0xFFFFFF;
    return encodeBmp(*image);
}

void writeBmpSeeds(const std::string& dir)
{
    put(dir + "/red_1x1.bmp", encodeBmp(*ImagePtr(createImage(1, 1, 0, 0, 0xFF0000))));
    put(dir + "/padded_3x2.bmp", bmpOf(3, 2));
    put(dir + "/padded_5x1.bmp", bmpOf(5, 1));

    std::vector<uint8_t> topDown = bmpOf(2, 2);
    setI32(topDown, 22, -2);
    put(dir + "/top_down_2x2.bmp", topDown);

    std::vector<uint8_t> depth32 = bmpOf(1, 1);
    depth32[28] = 32;
    put(dir + "/depth32.bmp", depth32);

    std::vector<uint8_t> truncated = bmpOf(3, 2);
    truncated.pop_back();
    put(dir + "/truncated.bmp", truncated);

    std::vector<uint8_t> zeroWidth = bmpOf(1, 1);
    setI32(zeroWidth, 18, 0);
    zeroWidth.resize(kBmpHeaderSize);
    put(dir + "/zero_width.bmp", zeroWidth);
}

void writePenSeeds(const std::string& dir)
{
    PenTable pens{};
    if (!makeDefaultPens(pens.data())) return;
    std::array<ShapeSettings, kPenCount> blocks{};
    ShapeSettingsTable table{};
    for (size_t n = 0; n < table.size(); ++n) table[n] = &blocks[n];
    const std::vector<uint8_t> defaults = encodePenFile(pens, table);
    put(dir + "/default.pen", defaults);

    std::vector<uint8_t> narrow = defaults;
    setI32(narrow, 0, 40);  // fits the map: loads
    setI32(narrow, kPenBlockSize + 4, 81);  // does not: the whole file is refused
    put(dir + "/pen1_too_tall.pen", narrow);

    put(dir + "/short.pen", std::vector<uint8_t>(defaults.begin(), defaults.begin() + 100));
    freePen(pens[0]);
    freePen(pens[1]);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder holding bmp/ and pen/>\n", argv[0]);
        return 2;
    }
    writeBmpSeeds(std::string(argv[1]) + "/bmp");
    writePenSeeds(std::string(argv[1]) + "/pen");
    return 0;
}
