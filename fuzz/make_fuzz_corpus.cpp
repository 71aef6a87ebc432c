// Writes the small seed corpora for the fuzz targets:
//   make_fuzz_corpus <fuzz/corpus> <pens>
// Seeds are real files from the writers, plus a few near misses the readers
// must refuse, so the search starts on both sides of every check.
#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "doc/workspace.h"
#include "image/bmp_file.h"
#include "image/file_io.h"
#include "pen/pen_file.h"
#include "pen_description.h"

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

std::vector<uint8_t> qtFile(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return {bytes.begin(), bytes.end()};
}

// One small file of each kind the picture reader meets, and a few it refuses.
void writePictureSeeds(const std::string& dir)
{
    QImage rgb(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) rgb.setPixel(x, y, qRgb(x * 50, y * 90, 200 - x * 30));
    QImage alpha = rgb.convertToFormat(QImage::Format_ARGB32);
    alpha.setPixel(1, 1, qRgba(10, 200, 30, 100));
    alpha.setPixel(2, 1, qRgba(0, 0, 0, 0));
    QImage indexed(4, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgba(0, 0, 0, 0), qRgb(0, 0, 255)});
    indexed.fill(0);
    indexed.setPixel(1, 0, 1);
    indexed.setPixel(3, 1, 2);

    put(dir + "/rgb.png", qtFile(rgb, "png"));
    put(dir + "/alpha.png", qtFile(alpha, "png"));
    put(dir + "/deep.png", qtFile(rgb.convertToFormat(QImage::Format_RGBA64), "png"));
    put(dir + "/indexed.png", qtFile(indexed, "png"));
    put(dir + "/grey.png", qtFile(rgb.convertToFormat(QImage::Format_Grayscale8), "png"));
    put(dir + "/rgb.jpg", qtFile(rgb, "jpeg"));
    put(dir + "/rgb.webp", qtFile(rgb, "webp"));
    put(dir + "/alpha.webp", qtFile(alpha, "webp"));
    put(dir + "/rgb.tif", qtFile(rgb, "tiff"));
    put(dir + "/alpha.tif", qtFile(alpha, "tiff"));
    put(dir + "/indexed.bmp", qtFile(indexed, "bmp"));
    put(dir + "/ours.bmp", bmpOf(3, 2));

    // Orientation 6 in an Exif segment right after the start marker.
    std::vector<uint8_t> turned = qtFile(rgb, "jpeg");
    const std::vector<uint8_t> exif = {0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0x00, 0x2A, 0, 0, 0,
                                       8, 0, 1, 0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 6, 0, 0, 0, 0, 0, 0};
    turned.insert(turned.begin() + 2, exif.begin(), exif.end());
    put(dir + "/turned.jpg", turned);

    // A 24-bit BMP whose pixels start two bytes after the headers.
    std::vector<uint8_t> gap = bmpOf(2, 2);
    gap.insert(gap.begin() + kBmpHeaderSize, {0xAA, 0xBB});
    setI32(gap, 10, int32_t(kBmpHeaderSize + 2));
    put(dir + "/gap.bmp", gap);

    // 8-bit run-length rows: four of 1, then four of 2, then the end.
    std::vector<uint8_t> rle = qtFile(indexed, "bmp");
    const size_t pixels = size_t(rle[10] | rle[11] << 8);
    rle.resize(pixels);
    rle[28] = 8;  // Qt wrote so few colors at 4 bits a pixel
    setI32(rle, 30, 1);
    rle.insert(rle.end(), {4, 1, 0, 0, 4, 2, 0, 1});
    put(dir + "/rle8.bmp", rle);

    // A real PNG header claiming 100000 x 100000 pixels, its checksum mended.
    std::vector<uint8_t> huge = qtFile(rgb, "png");
    for (size_t at : {size_t(16), size_t(20)}) {
        huge[at] = 0;
        huge[at + 1] = 0x01;
        huge[at + 2] = 0x86;
        huge[at + 3] = 0xA0;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 12; i < 29; ++i) {
        crc ^= huge[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    crc = ~crc;
    for (int i = 0; i < 4; ++i) huge[29 + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
    put(dir + "/huge.png", huge);

    std::vector<uint8_t> truncated = qtFile(rgb, "png");
    truncated.resize(truncated.size() / 2);
    put(dir + "/truncated.png", truncated);
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

std::vector<uint8_t> textOf(const std::string& text) { return {text.begin(), text.end()}; }

// A few sessions in the script language: every command at least once, both
// pens in each drawing mode, a tablet's points, and a line the runner refuses.
void writeScriptSeeds(const std::string& dir, const std::vector<uint8_t>& blurPens)
{
    put(dir + "/stroke.nlr", textOf("down 10 10\nmove 30 20\nmove 50 50\nup 50 50\n"));
    put(dir + "/two_pens.nlr", textOf("pen 1 drawMode 2\npen 0 endFlag 1\npen 1 lineColor 1\nvalue 7 0x20000\n"
                                      "down -5 30 20000 0\nmove 20 35 40000 0x2000\nmove 70 40\nup 70 40\nrepaint\nundo\nredo\n"));
    put(dir + "/edits.nlr",
        textOf("# every edit of a pen and the picture\nfill checker\npick 3 3\nvalue 8 500\n"
               "slot 0 6 7 0x6000 0 0 0 0x800\nshape 0 3 0x8000 0 0x10000 0xFFFF 0x10000 0x4000 0x100 0x200 0x300\n"
               "regen 0\npen 0 blendIndex 13\nrandom 4242\ndown 8 8\nmove 40 8\nup 40 8\n"
               "new 40 30 0x102030\nimage a.png\nfill 0xFF0000 0x00FF00\nundo\nundo\nredo\n"));
    put(dir + "/bad_line.nlr", textOf("down 1 1\nmove 5 5\nmove 9 nine\nup 9 9\n"));
    // A whole pen file inline, as recordings write loaded pens.
    std::string pens = "pens ";
    for (uint8_t byte : blurPens) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        pens += kDigits[byte >> 4];
        pens += kDigits[byte & 15];
    }
    put(dir + "/blur_pens.nlr", textOf("fill checker\n" + pens + "\ndown 10 30\nmove 50 34\nup 50 34\n"));
}

// Starter pens, each followed by a short stroke's points (two bytes a point,
// read as coordinates from -16 to 79), and a pen whose every dab covers the picture.
void writePenPaintSeeds(const std::string& dir, const std::string& pensFolder, std::vector<uint8_t>& blurPens)
{
    const std::vector<uint8_t> stroke = {16, 40, 40, 44, 70, 50, 90, 60, 60, 90};
    for (const char* name : {"basic/two-colour", "effects/blur", "effects/pull", "texture/spray"}) {
        Workspace workspace;
        std::ifstream description(pensFolder + "/" + name + ".txt");
        std::string error;
        if (!applyPenDescription(description, workspace, error)) {
            std::fprintf(stderr, "%s: %s\n", name, error.c_str());
            continue;
        }
        std::vector<uint8_t> seed = workspace.penFileBytes();
        if (std::string(name) == "effects/blur") blurPens = seed;
        seed.insert(seed.end(), stroke.begin(), stroke.end());
        const std::string file = std::string(name).substr(std::string(name).find('/') + 1);
        put(dir + "/" + file + ".pen", seed);
    }
    Workspace workspace;
    workspace.setSlot(0, 6, {0, 0, 0, 0, 0x7FFFFFFF, 0});  // thickness
    workspace.setSlot(0, 7, {0, 0, 0, 0, 0, 0});  // interval: the closest spacing
    workspace.setPenField(1, PenField::drawMode, 2);
    std::vector<uint8_t> seed = workspace.penFileBytes();
    seed.insert(seed.end(), {20, 20, 22, 21});
    put(dir + "/enormous.pen", seed);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <corpus folder holding bmp/, pen/, picture/, script/, pen_paint/> <pens>\n", argv[0]);
        return 2;
    }
    const std::string corpus = argv[1];
    writeBmpSeeds(corpus + "/bmp");
    writePenSeeds(corpus + "/pen");
    writePictureSeeds(corpus + "/picture");
    std::vector<uint8_t> blurPens;
    writePenPaintSeeds(corpus + "/pen_paint", argv[2], blurPens);
    writeScriptSeeds(corpus + "/script", blurPens);
    return 0;
}
