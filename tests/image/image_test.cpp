#include <gtest/gtest.h>

#include "image/image.h"
#include "image/tables.h"

namespace nelmora {
namespace {

bool sameRect(const UpdateRect& a, const UpdateRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(Image, CreateFillsEveryPixelAndMarksWholeImage)
{
    ImagePtr image(createImage(3, 2, 1, 1, 0x404040));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->stride, 3);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(image->pixels[i], 0x404040u);
    EXPECT_TRUE(sameRect(image->update, {0, 0, 3, 2}));
}

TEST(Image, RefusesSizesItCannotHold)
{
    EXPECT_EQ(createImage(0, 10, 0, 0, 0), nullptr);
    EXPECT_EQ(createImage(10, -1, 0, 0, 0), nullptr);
    EXPECT_EQ(createImage(100000, 100000, 0, 0, 0), nullptr);
    EXPECT_EQ(freeImage(nullptr), 0);
}

TEST(Image, UpdateRectangleUnions)
{
    UpdateRect r{1, 2, 3, 4};
    clearUpdate(r);
    EXPECT_TRUE(isEmpty(r));
    unionUpdate(r, {10, 20, 30, 40});
    EXPECT_TRUE(sameRect(r, {10, 20, 30, 40}));
    unionUpdate(r, {5, 25, 12, 50});
    EXPECT_TRUE(sameRect(r, {5, 20, 30, 50}));
}

TEST(Image, CopyRectMovesABlockBetweenStrides)
{
    ImagePtr from(createImage(4, 3, 0, 0, 0));
    ImagePtr to(createImage(5, 5, 0, 0, 7));
    for (int i = 0; i < 12; ++i) from->pixels[i] = uint32_t(i);
    copyRect(*from, *to, 1, 1, 2, 2, 3, 2);
    EXPECT_EQ(to->at(3, 2), 5u);
    EXPECT_EQ(to->at(4, 2), 6u);
    EXPECT_EQ(to->at(3, 3), 9u);
    EXPECT_EQ(to->at(4, 3), 10u);
    EXPECT_EQ(to->at(2, 2), 7u);
}

TEST(Tables, HoldTruncatedSinesAndCosines)
{
    const TrigTable& sinTable = nelmora::sinTable();
    const TrigTable& cosTable = nelmora::cosTable();
    EXPECT_EQ(sinTable[0], 0);
    EXPECT_EQ(sinTable[16384], 256);
    EXPECT_EQ(sinTable[32768], 0);
    EXPECT_EQ(sinTable[49152], -256);
    EXPECT_EQ(cosTable[0], 256);
    EXPECT_EQ(cosTable[32768], -256);
    // sin(45 degrees) * 256 = 181.02 truncates to 181; the negative side truncates toward zero.
    EXPECT_EQ(sinTable[8192], 181);
    EXPECT_EQ(sinTable[65536 - 8192], -181);
    // Built once: every call hands out the same table.
    EXPECT_EQ(&nelmora::sinTable(), &sinTable);
}

TEST(Tables, ScratchImageIsAViewOfTheAskedSizeOverOneGrowingBuffer)
{
    Image* scratch = scratchImageOfSize(600, 500);
    ASSERT_NE(scratch, nullptr);
    EXPECT_EQ(scratch->width, 600);
    EXPECT_EQ(scratch->height, 500);
    EXPECT_EQ(scratch->stride, 600);
    const uint32_t* buffer = scratch->pixels;
    // Any shape of no more pixels fits the same buffer; the rows follow the width.
    Image* tall = scratchImageOfSize(2, 150000);
    ASSERT_NE(tall, nullptr);
    EXPECT_EQ(tall->pixels, buffer);
    EXPECT_EQ(tall->stride, 2);
    EXPECT_EQ(scratchImageOfSize(0, 5), nullptr);
}

}  // namespace
}  // namespace nelmora
