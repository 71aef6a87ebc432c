#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <fstream>
#include <sys/resource.h>

#include "image/bmp_file.h"
#include "image/temp_files.h"
#include "picture/picture_files.h"
#include "picture/picture_filters.h"
#include "picture_test_util.h"

namespace nelmora {
namespace {

using namespace testing_files;
using namespace picture_testing;

void expectSamePixels(const Image& decoded, const Image& original)
{
    ASSERT_EQ(decoded.width, original.width);
    ASSERT_EQ(decoded.height, original.height);
    for (int32_t y = 0; y < original.height; ++y)
        for (int32_t x = 0; x < original.width; ++x)
            ASSERT_EQ(decoded.at(x, y), original.at(x, y) & 0xFFFFFF) << x << "," << y;
}

int channelDistance(uint32_t a, uint32_t b)
{
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
        worst = std::max(worst, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    return worst;
}

ImagePtr decode(const std::vector<uint8_t>& bytes, std::string* error = nullptr)
{
    return decodePicture(bytes.data(), bytes.size(), error);
}

// Pixels listed row by row from the top.
void expectPixels(const std::vector<uint8_t>& file, int32_t width, const std::vector<uint32_t>& expected)
{
    std::string error;
    ImagePtr image = decode(file, &error);
    ASSERT_TRUE(image) << error;
    ASSERT_EQ(image->width, width);
    ASSERT_EQ(size_t(image->width) * size_t(image->height), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(image->pixels[i], expected[i]) << "pixel " << i % size_t(width) << "," << i / size_t(width);
}

// --- saving by extension, reading by content ---------------------------------

TEST(PictureFiles, FormatIsChosenByExtensionInAnyCaseAndBmpOtherwise)
{
    EXPECT_EQ(pictureFormatForPath("a.png"), PictureFormat::Png);
    EXPECT_EQ(pictureFormatForPath("/x/A.PNG"), PictureFormat::Png);
    EXPECT_EQ(pictureFormatForPath("a.JpG"), PictureFormat::Jpeg);
    EXPECT_EQ(pictureFormatForPath("a.jpeg"), PictureFormat::Jpeg);
    EXPECT_EQ(pictureFormatForPath("a.webp"), PictureFormat::WebP);
    EXPECT_EQ(pictureFormatForPath("a.tif"), PictureFormat::Tiff);
    EXPECT_EQ(pictureFormatForPath("a.TIFF"), PictureFormat::Tiff);
    EXPECT_EQ(pictureFormatForPath("a.bmp"), PictureFormat::Bmp);
    EXPECT_EQ(pictureFormatForPath("a.gif"), PictureFormat::Bmp);
    EXPECT_EQ(pictureFormatForPath("picture"), PictureFormat::Bmp);
    EXPECT_EQ(pictureFormatForPath("png"), PictureFormat::Bmp);
    EXPECT_EQ(pictureFormatForPath("folder.png/picture"), PictureFormat::Bmp);
    EXPECT_EQ(pictureFormatForPath("a.png.txt"), PictureFormat::Bmp);
}

TEST(PictureFiles, LosslessFormatsRoundTripEveryPixel)
{
    TempDir dir;
    const ImagePtr original = patterned(37, 23);  // odd sizes catch row padding
    for (const char* name : {"a.png", "a.webp", "a.tif", "a.tiff", "a.bmp", "a.PNG"}) {
        SCOPED_TRACE(name);
        std::string error;
        ASSERT_TRUE(writePicture(*original, dir.file(name), &error)) << error;
        ImagePtr back = readPicture(dir.file(name), &error);
        ASSERT_TRUE(back) << error;
        expectSamePixels(*back, *original);
        EXPECT_EQ(back->centerX, 37 / 2);
        EXPECT_EQ(back->centerY, 23 / 2);
    }
}

TEST(PictureFiles, JpegRoundTripsCloselyAtHighQuality)
{
    TempDir dir;
    ImagePtr original(createImage(64, 48, 0, 0, 0));
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 64; ++x) original->at(x, y) = uint32_t(x * 4) << 16 | uint32_t(y * 5) << 8 | 0x80;
    for (const char* name : {"a.jpg", "a.JPEG"}) {
        std::string error;
        ASSERT_TRUE(writePicture(*original, dir.file(name), &error)) << error;
        const std::vector<uint8_t> bytes = readAll(dir.file(name));
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes[0], 0xFF);
        EXPECT_EQ(bytes[1], 0xD8);
        ImagePtr back = readPicture(dir.file(name), &error);
        ASSERT_TRUE(back) << error;
        ASSERT_EQ(back->width, 64);
        ASSERT_EQ(back->height, 48);
        int worst = 0;
        for (int32_t i = 0; i < 64 * 48; ++i) worst = std::max(worst, channelDistance(back->pixels[i], original->pixels[i]));
        EXPECT_LE(worst, 6);
    }
}

TEST(PictureFiles, WritesTheFormatTheExtensionNames)
{
    TempDir dir;
    const ImagePtr image = patterned(5, 3);
    auto startsWith = [](const std::vector<uint8_t>& bytes, const std::string& magic) {
        return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin(),
                                                           [](char m, uint8_t b) { return uint8_t(m) == b; });
    };
    ASSERT_TRUE(writePicture(*image, dir.file("a.Png")));
    EXPECT_TRUE(startsWith(readAll(dir.file("a.Png")), "\x89PNG"));
    ASSERT_TRUE(writePicture(*image, dir.file("a.WEBP")));
    const std::vector<uint8_t> webp = readAll(dir.file("a.WEBP"));
    EXPECT_TRUE(startsWith(webp, "RIFF") && std::string(webp.begin() + 8, webp.begin() + 12) == "WEBP");
    ASSERT_TRUE(writePicture(*image, dir.file("a.tif")));
    const std::vector<uint8_t> tiff = readAll(dir.file("a.tif"));
    EXPECT_TRUE(startsWith(tiff, std::string("II*\0", 4)) || startsWith(tiff, std::string("MM\0*", 4)));
}

TEST(PictureFiles, BmpAndUnknownExtensionsWriteTheSameBytesAsBefore)
{
    TempDir dir;
    const ImagePtr image = patterned(7, 5);
    const std::vector<uint8_t> expected = encodeBmp(*image);
    std::filesystem::create_directory(dir.file("folder.png"));
    for (const char* name : {"a.bmp", "a.BMP", "a.gif", "noextension", "folder.png/inside"}) {
        SCOPED_TRACE(name);
        std::string error;
        ASSERT_TRUE(writePicture(*image, dir.file(name), &error)) << error;
        EXPECT_EQ(readAll(dir.file(name)), expected);
    }
}

TEST(PictureFiles, FormatIsFoundFromContentNotName)
{
    TempDir dir;
    const ImagePtr original = patterned(9, 4);
    std::vector<uint8_t> png;
    ASSERT_TRUE(encodePicture(*original, PictureFormat::Png, png));
    writeAll(dir.file("really-a-png.bmp"), png);
    writeAll(dir.file("really-a-bmp.png"), encodeBmp(*original));
    for (const char* name : {"really-a-png.bmp", "really-a-bmp.png"}) {
        std::string error;
        ImagePtr back = readPicture(dir.file(name), &error);
        ASSERT_TRUE(back) << name << ": " << error;
        expectSamePixels(*back, *original);
    }
}

// --- our own BMP layout --------------------------------------------------------

TEST(PictureFiles, OnlyThePlainLayoutWeWriteCountsAsOurs)
{
    const std::vector<uint8_t> ours = encodeBmp(*patterned(3, 2));
    EXPECT_TRUE(isPlainBmpHeader(ours.data(), ours.size()));
    EXPECT_FALSE(isPlainBmpHeader(ours.data(), kBmpHeaderSize - 1));
    auto changed = [&ours](size_t at, uint8_t value) {
        std::vector<uint8_t> b = ours;
        b[at] = value;
        return isPlainBmpHeader(b.data(), b.size());
    };
    EXPECT_FALSE(changed(0, 'X'));   // not "BM"
    EXPECT_FALSE(changed(10, 60));   // pixels elsewhere than byte 54
    EXPECT_FALSE(changed(14, 124));  // a longer information header
    EXPECT_FALSE(changed(28, 32));   // another depth
    EXPECT_FALSE(changed(30, 1));    // compressed
}

TEST(PictureFiles, OurBmpIsReadByOurCodecWhichRefusesItTruncated)
{
    TempDir dir;
    const ImagePtr original = patterned(6, 5);
    std::vector<uint8_t> bytes = encodeBmp(*original);
    writeAll(dir.file("ours.bmp"), bytes);
    ImagePtr fromFile = readPicture(dir.file("ours.bmp"));
    ImagePtr fromMemory = decode(bytes);
    ASSERT_TRUE(fromFile && fromMemory);
    expectSamePixels(*fromFile, *original);
    expectSamePixels(*fromMemory, *original);
    // Qt would show the rows it has; our codec refuses a short file, as ever.
    bytes.resize(bytes.size() - 1);
    writeAll(dir.file("short.bmp"), bytes);
    std::string error;
    EXPECT_FALSE(readPicture(dir.file("short.bmp"), &error));
    EXPECT_EQ(error.rfind(dir.file("short.bmp") + ": ", 0), 0u) << error;
    EXPECT_FALSE(decode(bytes));
}

// --- BMP variants read through Qt -----------------------------------------------

constexpr uint32_t kPal0 = 0x102030, kPal1 = 0xF0E0D0, kPal2 = 0x00FF7F;

TEST(PictureBmpVariants, PaletteDepthsReadTheirColors)
{
    // Rows are stored bottom first, each padded to four bytes.
    BmpVariant one{.bits = 1, .width = 3, .height = 2, .palette = {kPal0, kPal1},
                   .rows = {0xA0, 0, 0, 0, 0x60, 0, 0, 0}};
    expectPixels(makeBmp(one), 3, {kPal0, kPal1, kPal1, kPal1, kPal0, kPal1});

    BmpVariant four{.bits = 4, .width = 3, .height = 2, .palette = {kPal0, kPal1, kPal2},
                    .rows = {0x21, 0x00, 0, 0, 0x02, 0x20, 0, 0}};
    expectPixels(makeBmp(four), 3, {kPal0, kPal2, kPal2, kPal2, kPal1, kPal0});

    BmpVariant eight{.bits = 8, .width = 3, .height = 2, .palette = {kPal0, kPal1, kPal2},
                     .rows = {1, 1, 0, 0, 2, 0, 1, 0}};
    expectPixels(makeBmp(eight), 3, {kPal2, kPal0, kPal1, kPal1, kPal1, kPal0});
}

TEST(PictureBmpVariants, RunLengthEncodedRowsAreExpanded)
{
    // RLE8: bottom row "three of 1, one of 2"; top row four literal indices.
    BmpVariant rle8{.bits = 8, .compression = 1, .width = 4, .height = 2, .palette = {kPal0, kPal1, kPal2},
                    .rows = {3, 1, 1, 2, 0, 0, 0, 4, 2, 0, 1, 2, 0, 0, 0, 1}};
    expectPixels(makeBmp(rle8), 4, {kPal2, kPal0, kPal1, kPal2, kPal1, kPal1, kPal1, kPal2});

    // RLE4: a run of four alternating nibbles 1, 2.
    BmpVariant rle4{.bits = 4, .compression = 2, .width = 4, .height = 1, .palette = {kPal0, kPal1, kPal2},
                    .rows = {4, 0x12, 0, 0, 0, 1}};
    expectPixels(makeBmp(rle4), 4, {kPal1, kPal2, kPal1, kPal2});
}

TEST(PictureBmpVariants, SixteenBitPixelsScaleToFullRange)
{
    // 5-5-5: red full, green full, blue full, black.
    BmpVariant rgb555{.bits = 16, .width = 4, .height = 1, .rows = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0}};
    std::string error;
    ImagePtr image = decode(makeBmp(rgb555), &error);
    ASSERT_TRUE(image) << error;
    EXPECT_LE(channelDistance(image->at(0, 0), 0xFF0000), 7);
    EXPECT_LE(channelDistance(image->at(1, 0), 0x00FF00), 7);
    EXPECT_LE(channelDistance(image->at(2, 0), 0x0000FF), 7);
    EXPECT_EQ(image->at(3, 0), 0u);

    // 5-6-5 through bit fields after a 40-byte header.
    BmpVariant rgb565{.bits = 16, .compression = 3, .width = 2, .height = 1, .masks = {0xF800, 0x07E0, 0x001F},
                      .rows = {0x00, 0xF8, 0xE0, 0x07}};
    image = decode(makeBmp(rgb565), &error);
    ASSERT_TRUE(image) << error;
    EXPECT_LE(channelDistance(image->at(0, 0), 0xFF0000), 7);
    EXPECT_LE(channelDistance(image->at(1, 0), 0x00FF00), 3);
}

TEST(PictureBmpVariants, ThirtyTwoBitPixelsWithAndWithoutAlpha)
{
    // Without an alpha mask the fourth byte is padding, not transparency.
    BmpVariant plain{.bits = 32, .width = 2, .height = 1, .rows = {0x30, 0x20, 0x10, 0x00, 0x01, 0x02, 0x03, 0x77}};
    expectPixels(makeBmp(plain), 2, {0x102030, 0x030201});

    // A 108-byte header with an alpha mask: clear, opaque and half-covered pixels.
    BmpVariant alpha{.infoSize = 108, .bits = 32, .compression = 3, .width = 3, .height = 1,
                     .masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
                     .rows = {0x30, 0x20, 0x10, 0x00, 0x30, 0x20, 0x10, 0xFF, 0x00, 0x00, 0xFF, 0x80}};
    std::string error;
    ImagePtr image = decode(makeBmp(alpha), &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(image->at(1, 0), 0x102030u);
    EXPECT_LE(channelDistance(image->at(2, 0), 0xFF7F7F), 1);
}

TEST(PictureBmpVariants, LongHeadersAndPixelsAwayFromByte54)
{
    const std::vector<uint8_t> rows = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0, 0,   // bottom
                                       0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0, 0};  // top
    const std::vector<uint32_t> expected = {0x131211, 0x161514, 0x030201, 0x060504};
    expectPixels(makeBmp({.infoSize = 124, .width = 2, .height = 2, .rows = rows}), 2, expected);
    expectPixels(makeBmp({.infoSize = 108, .width = 2, .height = 2, .rows = rows}), 2, expected);
    // Once read from byte 54 regardless, which showed the gap's bytes as pixels.
    expectPixels(makeBmp({.width = 2, .height = 2, .rows = rows, .gap = 6}), 2, expected);
    expectPixels(makeBmp({.width = 2, .height = 2, .rows = rows, .gap = 1}), 2, expected);
}

// --- conversions ---------------------------------------------------------------

TEST(PictureConversion, TransparencyIsShownOverWhite)
{
    QImage picture(4, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(255, 0, 0, 0));
    picture.setPixel(1, 0, qRgba(255, 0, 0, 255));
    picture.setPixel(2, 0, qRgba(0, 0, 255, 128));
    picture.setPixel(3, 0, qRgba(100, 50, 200, 64));
    std::string error;
    ImagePtr image = decode(encodeWithQt(picture, "png"), &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(image->at(1, 0), 0xFF0000u);
    EXPECT_LE(channelDistance(image->at(2, 0), 0x7F7FFF), 1);
    // c·a/255 + 255 − a for each channel: 216, 204, 241.
    EXPECT_LE(channelDistance(image->at(3, 0), 0xD8CCF1), 1);
}

TEST(PictureConversion, SixteenBitPngBecomesEightBit)
{
    QImage deep(2, 1, QImage::Format_RGBA64);
    deep.setPixelColor(0, 0, QColor::fromRgba64(0x1234, 0xABCD, 0xFFFF, 0xFFFF));
    deep.setPixelColor(1, 0, QColor::fromRgba64(0x0000, 0x0000, 0x0000, 0x0000));
    const std::vector<uint8_t> png = encodeWithQt(deep, "png");
    ASSERT_GT(png.size(), 25u);
    ASSERT_EQ(png[24], 16) << "the test file should have 16 bits a channel";
    std::string error;
    ImagePtr image = decode(png, &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->at(0, 0), 0x12ABFFu);
    EXPECT_EQ(image->at(1, 0), 0xFFFFFFu);
}

TEST(PictureConversion, IndexedAndGreyPngsBecomeColors)
{
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0x10, 0x20, 0x30), qRgba(0, 0, 0, 0), qRgb(0xFE, 0x01, 0x80)});
    indexed.setPixel(0, 0, 2);
    indexed.setPixel(1, 0, 0);
    indexed.setPixel(2, 0, 1);
    expectPixels(encodeWithQt(indexed, "png"), 3, {0xFE0180, 0x102030, 0xFFFFFF});

    QImage grey(2, 1, QImage::Format_Grayscale8);
    grey.setPixel(0, 0, qRgb(0x42, 0x42, 0x42));
    grey.setPixel(1, 0, qRgb(0xEE, 0xEE, 0xEE));
    expectPixels(encodeWithQt(grey, "png"), 2, {0x424242, 0xEEEEEE});
}

TEST(PictureConversion, JpegOrientationTagIsApplied)
{
    // 16 × 8: red left half, blue right half.
    QImage picture(16, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) picture.setPixel(x, y, x < 8 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    std::vector<uint8_t> jpeg = encodeWithQt(picture, "jpeg", 100);
    ASSERT_GT(jpeg.size(), 2u);
    ImagePtr plain = decode(jpeg);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->width, 16);

    // An Exif segment after the start marker: orientation 6, turn right a quarter.
    const std::vector<uint8_t> exif = {0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0,
                                       'M', 'M', 0x00, 0x2A, 0, 0, 0, 8,
                                       0, 1, 0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 6, 0, 0,
                                       0, 0, 0, 0};
    jpeg.insert(jpeg.begin() + 2, exif.begin(), exif.end());
    std::string error;
    ImagePtr turned = decode(jpeg, &error);
    ASSERT_TRUE(turned) << error;
    ASSERT_EQ(turned->width, 8);
    ASSERT_EQ(turned->height, 16);
    EXPECT_LE(channelDistance(turned->at(4, 2), 0xFF0000), 16);
    EXPECT_LE(channelDistance(turned->at(4, 13), 0x0000FF), 16);
}

// --- refusals ------------------------------------------------------------------

std::vector<std::pair<std::string, std::vector<uint8_t>>> sampleFiles()
{
    const ImagePtr image = patterned(40, 30);
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
    for (auto [name, format] : {std::pair{"png", PictureFormat::Png}, {"jpeg", PictureFormat::Jpeg},
                                {"webp", PictureFormat::WebP}, {"tiff", PictureFormat::Tiff}}) {
        std::vector<uint8_t> bytes;
        encodePicture(*image, format, bytes);
        files.emplace_back(name, bytes);
    }
    std::vector<uint8_t> rows(size_t(40 + 0) * 30);
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = uint8_t(i % 3);
    files.emplace_back("8-bit bmp", makeBmp({.bits = 8, .width = 40, .height = 30, .palette = {kPal0, kPal1, kPal2},
                                              .rows = rows}));
    files.emplace_back("rle8 bmp", makeBmp({.bits = 8, .compression = 1, .width = 4, .height = 2,
                                            .palette = {kPal0, kPal1, kPal2},
                                            .rows = {4, 1, 0, 0, 4, 2, 0, 0, 0, 1}}));
    return files;
}

TEST(PictureRefusals, TruncatedAndCorruptFilesAreRefusedOrReadWhole)
{
    TempDir dir;
    for (const auto& [name, whole] : sampleFiles()) {
        SCOPED_TRACE(name);
        ASSERT_GT(whole.size(), 20u);
        ImagePtr good = decode(whole);
        ASSERT_TRUE(good);
        // Cut inside the header: nothing to show.
        for (size_t keep : {size_t(0), size_t(4), size_t(12)}) {
            const std::vector<uint8_t> cut(whole.begin(), whole.begin() + keep);
            writeAll(dir.file("cut"), cut);
            std::string error;
            EXPECT_FALSE(readPicture(dir.file("cut"), &error)) << keep;
            EXPECT_EQ(error.rfind(dir.file("cut") + ": ", 0), 0u) << error;
        }
        // Cut or damaged in the pixels: some decoders fill the rest, none may
        // return a picture of another size or read past the data.
        std::vector<uint8_t> half(whole.begin(), whole.begin() + whole.size() / 2);
        std::vector<uint8_t> damaged = whole;
        for (size_t i = damaged.size() / 3; i < damaged.size(); i += 7) damaged[i] ^= 0x5A;
        for (const std::vector<uint8_t>* bytes : {&half, &damaged}) {
            std::string error;
            ImagePtr image = decode(*bytes, &error);
            if (image) {
                EXPECT_EQ(image->width, good->width);
                EXPECT_EQ(image->height, good->height);
            } else {
                EXPECT_FALSE(error.empty());
            }
        }
    }
}

TEST(PictureRefusals, UnreadableAndForeignFilesNameTheReason)
{
    TempDir dir;
    std::string error;
    EXPECT_FALSE(readPicture(dir.file("missing.png"), &error));
    EXPECT_NE(error.find(dir.file("missing.png")), std::string::npos);
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;

    EXPECT_FALSE(readPicture(dir.path(), &error));
    EXPECT_NE(error.find(dir.path()), std::string::npos);

    writeAll(dir.file("empty.png"), {});
    writeAll(dir.file("text.png"), {'h', 'e', 'l', 'l', 'o', '\n'});
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::green);
    writeAll(dir.file("icon.png"), encodeWithQt(icon, "ico"));  // Qt reads it, the program does not
    for (const char* name : {"empty.png", "text.png", "icon.png"}) {
        EXPECT_FALSE(readPicture(dir.file(name), &error)) << name;
        EXPECT_EQ(error, dir.file(name) + ": not a BMP, PNG, JPEG, WebP or TIFF picture");
    }
}

// Address-sanitized builds reserve terabytes of shadow memory up front.
#if defined(__SANITIZE_ADDRESS__)
#define NELMORA_UNDER_ASAN 1
#elif defined(__has_feature)
#define NELMORA_UNDER_ASAN __has_feature(address_sanitizer)
#else
#define NELMORA_UNDER_ASAN 0
#endif

[[maybe_unused]] long virtualMemoryBytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    statm >> pages;
    return pages * sysconf(_SC_PAGESIZE);
}

TEST(PictureRefusals, OversizedPicturesAreRefusedFromTheirHeader)
{
    std::string error;
    EXPECT_FALSE(decode(pngClaiming(100000, 100000), &error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    // One row past the limit would fit Qt's own allocation limit; only the
    // header check stops it.
    EXPECT_FALSE(decode(pngClaiming(16385, 16384), &error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    // A lower limit, as the fuzz target sets, is exact too.
    const std::vector<uint8_t> png = encodeWithQt(QImage(5, 3, QImage::Format_RGB32), "png");
    EXPECT_TRUE(decodePicture(png.data(), png.size(), &error, 15)) << error;
    EXPECT_FALSE(decodePicture(png.data(), png.size(), &error, 14));

#if !NELMORA_UNDER_ASAN
    // With address space for nothing large, the refusals still come from the
    // header, and a picture exactly at the limit gets past that check.
    auto withLittleMemory = [] {
        rlimit limit{rlim_t(virtualMemoryBytes()) + (rlim_t(256) << 20), RLIM_INFINITY};
        setrlimit(RLIMIT_AS, &limit);
        std::string reason;
        const bool refused =
            !decode(pngClaiming(100000, 100000), &reason) && reason.find("too large") != std::string::npos;
        const bool atLimit =
            !decode(pngClaiming(16384, 16384), &reason) && reason.find("too large") == std::string::npos;
        std::_Exit(refused && atLimit ? 0 : 1);
    };
    EXPECT_EXIT(withLittleMemory(), ::testing::ExitedWithCode(0), "");
#endif
}

// --- saving failures -------------------------------------------------------------

TEST(PictureSaving, AFailedSaveLeavesTheOldFileAndSaysWhy)
{
    TempDir dir;
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    ImagePtr large = patterned(300, 300);
    for (const char* name : {"a.png", "a.jpg", "a.webp", "a.tif"}) {
        SCOPED_TRACE(name);
        writeAll(dir.file(name), old);
        std::string error;
        {
            FileSizeLimit limit(1000);  // as a full disk would
            EXPECT_FALSE(writePicture(*large, dir.file(name), &error));
        }
        EXPECT_NE(error.find(dir.file(name)), std::string::npos) << error;
        EXPECT_EQ(readAll(dir.file(name)), old);
    }
    // The encoder itself refuses: WebP pictures are at most 16383 pixels wide.
    ImagePtr wide(createImage(16384, 1, 0, 0, 0));
    std::string error;
    writeAll(dir.file("wide.webp"), old);
    EXPECT_FALSE(writePicture(*wide, dir.file("wide.webp"), &error));
    EXPECT_NE(error.find(dir.file("wide.webp")), std::string::npos) << error;
    EXPECT_NE(error.find("WEBP"), std::string::npos) << error;
    EXPECT_EQ(readAll(dir.file("wide.webp")), old);
    EXPECT_FALSE(writePicture(*large, dir.file("no/such/folder.png"), &error));
    EXPECT_NE(error.find("no/such/folder.png"), std::string::npos) << error;
    // Only the files written above: no temporary file is left behind.
    EXPECT_EQ(dir.entryCount(), 5u);
}

// How long it takes is bench_picture_save's business; here, that it is compressed whole.
TEST(PictureSaving, LargePngIsCompressedAndReadsBack)
{
    // A 4000 × 4000 painting: flat paper with colorful strokes across it.
    ImagePtr painting(createImage(4000, 4000, 0, 0, 0xFFFFFF));
    for (int32_t y = 0; y < 4000; ++y)
        for (int32_t x = 0; x < 4000; ++x)
            if ((x + 3 * y) % 400 < 60 || (x * x + y) % 997 < 40)
                painting->at(x, y) = uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | uint32_t((x ^ y) & 0xFF);
    std::vector<uint8_t> png;
    ASSERT_TRUE(encodePicture(*painting, PictureFormat::Png, png));
    EXPECT_LT(png.size(), size_t(4000) * 4000 * 3 / 2);
    std::string error;
    ImagePtr back = decodePicture(png.data(), png.size(), &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->at(3999, 3999) & 0xFFFFFF, painting->at(3999, 3999) & 0xFFFFFF);
}

// --- dialog filters ----------------------------------------------------------------

TEST(PictureFilters, AllPicturesFirstThenOneEntryPerFormat)
{
    const QStringList filters = pictureFileFilters();
    ASSERT_GE(filters.size(), 6);
    EXPECT_EQ(filters[0], QStringLiteral("画像ファイル (*.bmp *.png *.jpg *.jpeg *.webp *.tif *.tiff)"));
    EXPECT_TRUE(filters.contains(QStringLiteral("Bitmap File(*.bmp)")));
    // Every extension of the first entry has an entry of its own, which names
    // a format that writePicture saves under that extension.
    for (const char* extension : {"bmp", "png", "jpg", "jpeg", "webp", "tif", "tiff"}) {
        const QString pattern = QStringLiteral("*.") + QLatin1String(extension);
        int entries = 0;
        for (qsizetype i = 1; i < filters.size(); ++i)
            if (filters[i].contains(pattern + QLatin1Char(')')) || filters[i].contains(pattern + QLatin1Char(' ')))
                ++entries;
        EXPECT_EQ(entries, 1) << extension;
    }
}

TEST(PictureFilters, ExtensionsMatchInAnyCase)
{
    for (const char* name : {"a.bmp", "a.BMP", "a.Png", "dir/b.JPG", "c.jpeg", "d.WebP", "e.TIF", "f.tiff"})
        EXPECT_TRUE(hasPictureExtension(QString::fromUtf8(name))) << name;
    for (const char* name : {"a.txt", "png", "a.png.txt", "a.gif", "abmp"})
        EXPECT_FALSE(hasPictureExtension(QString::fromUtf8(name))) << name;
}

}  // namespace
}  // namespace nelmora
