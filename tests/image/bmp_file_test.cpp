#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "image/bmp_file.h"
#include "image/temp_files.h"

// Records the largest pixel array asked for, so that the size checks can be
// shown to run before anything is allocated.
namespace {
size_t largestArrayRequest = 0;
}  // namespace

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    largestArrayRequest = std::max(largestArrayRequest, size);
    try {
        return ::operator new[](size);  // pairs with the ordinary delete[]
    } catch (...) {
        return nullptr;
    }
}

namespace nelmora {
namespace {

using namespace testing_files;

uint32_t u32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

void setU32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// A w × h image whose pixels all differ and carry a non-zero top byte.
ImagePtr patterned(int32_t w, int32_t h)
{
    ImagePtr image(createImage(w, h, 0, 0, 0));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) image->at(x, y) = 0xA5000000u | (uint32_t(y * 7919 + x * 104729) & 0xFFFFFF);
    return image;
}

void expectSamePixels(const Image& decoded, const Image& original)
{
    ASSERT_EQ(decoded.width, original.width);
    ASSERT_EQ(decoded.height, original.height);
    for (int32_t y = 0; y < original.height; ++y)
        for (int32_t x = 0; x < original.width; ++x)
            ASSERT_EQ(decoded.at(x, y), original.at(x, y) & 0xFFFFFF) << x << "," << y;
}

Image* decode(const std::vector<uint8_t>& bytes) { return decodeBmp(bytes.data(), bytes.size()); }

TEST(BmpEncode, OneRedPixel)
{
    ImagePtr image(createImage(1, 1, 0, 0, 0xFF0000));
    const std::vector<uint8_t> b = encodeBmp(*image);
    ASSERT_EQ(b.size(), 58u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(u32(b, 2), 58u);
    EXPECT_EQ(u32(b, 6), 0u);
    EXPECT_EQ(u32(b, 10), 54u);
    EXPECT_EQ(u32(b, 14), 40u);
    EXPECT_EQ(u32(b, 18), 1u);
    EXPECT_EQ(u32(b, 22), 1u);
    EXPECT_EQ(u32(b, 26), 1u | 24u << 16);  // planes 1, 24 bits per pixel
    for (size_t at = 30; at < 54; ++at) EXPECT_EQ(b[at], 0) << at;
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 54, b.end()), (std::vector<uint8_t>{0x00, 0x00, 0xFF, 0x00}));
}

TEST(BmpEncode, RowsArePaddedAndStoredBottomUp)
{
    ImagePtr image(createImage(2, 2, 0, 0, 0));
    image->at(0, 0) = 0x010203;
    image->at(1, 0) = 0x040506;
    image->at(0, 1) = 0xFF0A0B0C;  // the top byte is dropped
    image->at(1, 1) = 0x0D0E0F;
    const std::vector<uint8_t> b = encodeBmp(*image);
    ASSERT_EQ(b.size(), 70u);
    EXPECT_EQ(u32(b, 2), 70u);
    const std::vector<uint8_t> rows(b.begin() + 54, b.end());
    EXPECT_EQ(rows, (std::vector<uint8_t>{0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0, 0,  //
                                          0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0, 0}));

    ImagePtr wide(createImage(3, 1, 0, 0, 0xFFFFFF));
    const std::vector<uint8_t> w = encodeBmp(*wide);
    ASSERT_EQ(w.size(), 54u + 12u);
    EXPECT_EQ(u32(w, 2), 66u);
    EXPECT_EQ(std::count(w.begin() + 54, w.end(), 0xFF), 9);
    EXPECT_EQ(std::count(w.begin() + 63, w.end(), 0), 3);
}

TEST(BmpDecode, RoundTripKeepsEveryPixelWithTopByteZero)
{
    for (auto [w, h] : {std::pair{1, 1}, {5, 3}, {4, 7}, {3, 2}}) {
        ImagePtr original = patterned(w, h);
        ImagePtr decoded(decode(encodeBmp(*original)));
        ASSERT_TRUE(decoded);
        expectSamePixels(*decoded, *original);
        EXPECT_EQ(decoded->stride, w);
        EXPECT_EQ(decoded->centerX, w / 2);
        EXPECT_EQ(decoded->centerY, h / 2);
        EXPECT_EQ(decoded->update.right, w);
        EXPECT_EQ(decoded->update.bottom, h);
    }
}

TEST(BmpDecode, HeaderFieldsOtherThanSignatureDepthAndSizeAreIgnored)
{
    ImagePtr original = patterned(3, 2);
    std::vector<uint8_t> b = encodeBmp(*original);
    setU32(b, 2, 12345);  // file size
    setU32(b, 10, 138);   // rows still start at 54
    setU32(b, 14, 124);   // information header size
    b.resize(b.size() + 10, 0xEE);  // trailing bytes
    ImagePtr decoded(decode(b));
    ASSERT_TRUE(decoded);
    expectSamePixels(*decoded, *original);
}

TEST(BmpDecode, OnlyBm24BitFilesAreRead)
{
    std::vector<uint8_t> b = encodeBmp(*patterned(2, 2));
    for (uint8_t depth : {8, 16, 32, 1, 0}) {
        std::vector<uint8_t> other = b;
        other[28] = depth;
        EXPECT_EQ(decode(other), nullptr) << int(depth);
    }
    std::vector<uint8_t> signature = b;
    signature[1] = 'A';
    EXPECT_EQ(decode(signature), nullptr);
}

TEST(BmpDecode, NegativeHeightIsATopDownFile)
{
    ImagePtr original = patterned(2, 3);
    std::vector<uint8_t> b = encodeBmp(*original);
    std::vector<uint8_t> topDown(b.begin(), b.begin() + 54);
    setU32(topDown, 22, uint32_t(-3));
    for (int fileRow = 2; fileRow >= 0; --fileRow)
        topDown.insert(topDown.end(), b.begin() + 54 + fileRow * 8, b.begin() + 54 + (fileRow + 1) * 8);
    ImagePtr decoded(decode(topDown));
    ASSERT_TRUE(decoded);
    expectSamePixels(*decoded, *original);
    EXPECT_EQ(decoded->centerY, 1);
}

TEST(BmpDecode, FilesShorterThanTheirRowsAreRejected)
{
    const std::vector<uint8_t> b = encodeBmp(*patterned(3, 4));
    for (size_t size : {b.size() - 1, b.size() - 12, size_t(54), size_t(53), size_t(2), size_t(0)})
        EXPECT_EQ(decodeBmp(b.data(), size), nullptr) << size;
    EXPECT_EQ(decodeBmp(nullptr, 0), nullptr);
}

TEST(BmpDecode, ImpossibleSizesAreRejectedBeforeAllocating)
{
    const std::vector<uint8_t> valid = encodeBmp(*patterned(1, 1));
    const std::pair<int32_t, int32_t> sizes[] = {
        {0, 1}, {1, 0}, {-1, 1}, {-4, -4}, {1, INT32_MIN}, {INT32_MAX, INT32_MAX},
        {65536, 65536},  // the pixel count overflows 32 bits
        {16384, 16384},  // could be held, but the file has no rows for it
    };
    for (auto [w, h] : sizes) {
        std::vector<uint8_t> b = valid;
        setU32(b, 18, uint32_t(w));
        setU32(b, 22, uint32_t(h));
        largestArrayRequest = 0;
        EXPECT_EQ(decode(b), nullptr) << w << " x " << h;
        EXPECT_LT(largestArrayRequest, 1000u) << w << " x " << h;
    }
}

TEST(BmpFile, WideImagesRoundTripThroughDisk)
{
    TempDir dir;
    const std::string path = dir.file("wide.bmp");
    ImagePtr original = patterned(9000, 2);  // rows of 27000 bytes
    ASSERT_TRUE(writeBmp(*original, path));
    EXPECT_EQ(readAll(path).size(), 54u + 27000u * 2u);
    ImagePtr read(readBmp(path));
    ASSERT_TRUE(read);
    expectSamePixels(*read, *original);
}

TEST(BmpFile, ReadRejectsMissingAndTruncatedFiles)
{
    TempDir dir;
    EXPECT_EQ(readBmp(dir.file("none.bmp")), nullptr);
    EXPECT_EQ(readBmp(dir.path()), nullptr);
    std::vector<uint8_t> b = encodeBmp(*patterned(4, 4));
    b.pop_back();
    writeAll(dir.file("short.bmp"), b);
    EXPECT_EQ(readBmp(dir.file("short.bmp")), nullptr);
    setU32(b, 18, 16384);
    setU32(b, 22, 16384);
    writeAll(dir.file("huge.bmp"), b);
    largestArrayRequest = 0;
    EXPECT_EQ(readBmp(dir.file("huge.bmp")), nullptr);
    EXPECT_LT(largestArrayRequest, 1000u);
}

TEST(BmpFile, FailedSaveKeepsTheOldFileAndSaysWhy)
{
    TempDir dir;
    const std::string path = dir.file("old.bmp");
    const std::vector<uint8_t> old = encodeBmp(*patterned(2, 2));
    writeAll(path, old);
    std::string error;
    {
        FileSizeLimit limit(100);
        EXPECT_FALSE(writeBmp(*patterned(40, 40), path, &error));
    }
    EXPECT_EQ(error, path + ": " + std::strerror(EFBIG));
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(dir.entryCount(), 1u);

    EXPECT_FALSE(writeBmp(*patterned(2, 2), dir.file("absent/new.bmp"), &error));
    EXPECT_EQ(error, dir.file("absent/new.bmp") + ": " + std::strerror(ENOENT));
}

}  // namespace
}  // namespace nelmora
