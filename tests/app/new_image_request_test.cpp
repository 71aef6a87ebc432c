#include <gtest/gtest.h>

#include <climits>

#include "app/new_image_request.h"

namespace nelmora {
namespace {

TEST(NewImageRequest, EntryTextsNameThePixelInSixHexDigits)
{
    EXPECT_EQ(backgroundEntryText(backgroundColors[0]), "白:(ffffff)");
    EXPECT_EQ(backgroundEntryText(backgroundColors[1]), "黒:(000000)");
    EXPECT_EQ(backgroundEntryText(backgroundColors[5]), "水:(00ffff)");
    EXPECT_EQ(backgroundEntryText(backgroundColors[7]), "紫:(ff00ff)");
}

TEST(NewImageRequest, DecimalReadingStopsAtTheFirstNonDigit)
{
    EXPECT_EQ(parseDecimal("640"), 640);
    EXPECT_EQ(parseDecimal("  \t32px"), 32);
    EXPECT_EQ(parseDecimal("+7"), 7);
    EXPECT_EQ(parseDecimal("-5"), -5);
    EXPECT_EQ(parseDecimal("12 34"), 12);
    EXPECT_EQ(parseDecimal(""), 0);
    EXPECT_EQ(parseDecimal("abc"), 0);
    EXPECT_EQ(parseDecimal("- 3"), 0);
    EXPECT_EQ(parseDecimal("１２"), 0);  // full-width digits are not digits
}

TEST(NewImageRequest, DecimalReadingClampsInsteadOfOverflowing)
{
    EXPECT_EQ(parseDecimal("2147483647"), INT32_MAX);
    EXPECT_EQ(parseDecimal("2147483648"), INT32_MAX);
    EXPECT_EQ(parseDecimal("-2147483648"), INT32_MIN);
    EXPECT_EQ(parseDecimal("-99999999999999999999999"), INT32_MIN);
    EXPECT_EQ(parseDecimal("4294967296"), INT32_MAX);  // would wrap to 0 in 32 bits
}

TEST(NewImageRequest, BackgroundOutsideTheTableIsWhite)
{
    EXPECT_EQ(makeNewImageRequest("1", "1", 1).fill, 0x000000u);
    EXPECT_EQ(makeNewImageRequest("1", "1", 6).fill, 0x0000FFu);
    EXPECT_EQ(makeNewImageRequest("1", "1", -1).fill, 0xFFFFFFu);
    EXPECT_EQ(makeNewImageRequest("1", "1", 8).fill, 0xFFFFFFu);
}

TEST(NewImageRequest, RefusesSizesNoImageCanHave)
{
    const NewImageRequest ok = makeNewImageRequest(" 320", "240", 0);
    EXPECT_TRUE(ok.sizeAccepted);
    EXPECT_EQ(ok.width, 320);
    EXPECT_EQ(ok.height, 240);
    EXPECT_FALSE(makeNewImageRequest("0", "10", 0).sizeAccepted);
    EXPECT_FALSE(makeNewImageRequest("10", "-5", 0).sizeAccepted);
    EXPECT_FALSE(makeNewImageRequest("", "10", 0).sizeAccepted);
    EXPECT_FALSE(makeNewImageRequest("100000", "100000", 0).sizeAccepted);
    EXPECT_FALSE(makeNewImageRequest("99999999999", "1", 0).sizeAccepted);
}

}  // namespace
}  // namespace nelmora
