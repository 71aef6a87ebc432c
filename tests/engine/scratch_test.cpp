// The scratch image that filter and displacement dabs compute into must fit
// any box that fits the picture, whatever shapes came before.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/dab.h"
#include "engine/random.h"
#include "image/tables.h"
#include "pen/pen.h"

namespace nelmora {
namespace {

TEST(ScratchImage, IsSizedByPixelCountNotByTheUnionOfShapes)
{
    Image* wide = scratchImageOfSize(20480, 100);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->stride, 20480);
    // Width and height grown separately would need 20480 x 20480 here.
    Image* tall = scratchImageOfSize(100, 20480);
    ASSERT_NE(tall, nullptr);
    EXPECT_EQ(tall->width, 100);
    EXPECT_EQ(tall->height, 20480);
    EXPECT_EQ(tall->stride, 100);
    tall->at(99, 20479) = 7;  // the last pixel of the view lies inside the buffer
    EXPECT_EQ(scratchImageOfSize(0, 10), nullptr);
    EXPECT_EQ(scratchImageOfSize(1 << 15, 1 << 15), nullptr);  // more than any picture may have
    EXPECT_NE(scratchImageOfSize(3, 3), nullptr);              // a refusal keeps the buffer
}

// A picture of stripes that a blur visibly changes.
ImagePtr stripes(int32_t width, int32_t height)
{
    ImagePtr image(createImage(width, height, 0, 0, 0));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) image->at(x, y) = ((x / 3 + y / 5) & 1) ? 0xFFFFFF : 0x204060;
    return image;
}

// The largest blur dab the default disc makes, centred on the picture.
void bigBlur(Image& image)
{
    Pen* pens[kPenCount]{};
    ASSERT_TRUE(makeDefaultPens(pens));
    SlotValues values{};
    values[slot::thickness] = 0xFFFF00;
    values[slot::strength] = 0xFFFF;
    RandomState random;
    drawDab(image, *pens[0]->shape, values, 0x401, image.width * 128, image.height * 128, random);
    for (Pen* pen : pens) freePen(pen);
}

bool samePixels(const Image& a, const Image& b)
{
    return std::equal(a.pixels, a.pixels + size_t(a.width) * size_t(a.height), b.pixels);
}

TEST(ScratchImage, BlurOnATallPictureAfterAWideOneStillPaints)
{
    ImagePtr tallFirst = stripes(100, 20480);
    bigBlur(*tallFirst);
    ImagePtr untouched = stripes(100, 20480);
    ASSERT_FALSE(samePixels(*tallFirst, *untouched));

    ImagePtr wide = stripes(20480, 100);
    bigBlur(*wide);
    EXPECT_FALSE(samePixels(*wide, *stripes(20480, 100)));

    // The same dab after the wide one paints exactly what it did before it.
    ImagePtr tallAfter = stripes(100, 20480);
    bigBlur(*tallAfter);
    EXPECT_TRUE(samePixels(*tallAfter, *tallFirst));
}

}  // namespace
}  // namespace nelmora
