// The magnifier's arithmetic: which picture pixel a view position shows at
// every level, and which view pixels a picture pixel takes.
#include <gtest/gtest.h>

#include <cmath>

#include "app/view_scale.h"

namespace nelmora {
namespace {

TEST(ViewScale, LevelsStepAndClampAtTheEnds)
{
    EXPECT_EQ(nextZoom(100), 200);
    EXPECT_EQ(nextZoom(400), 800);
    EXPECT_EQ(nextZoom(1600), 1600);
    EXPECT_EQ(previousZoom(100), 50);
    EXPECT_EQ(previousZoom(25), 25);
    EXPECT_EQ(previousZoom(150), 100);  // a level between steps goes to its neighbours
    EXPECT_EQ(nextZoom(150), 200);
}

TEST(ViewScale, PositionsMapToTheFloorOfPositionOverScaleAtEveryLevel)
{
    for (int percent : kZoomLevels) {
        const double scale = percent / 100.0;
        for (double v : {0.0, 0.5, 1.0, 7.0, 7.99, 199.0, 1000.25, -0.01, -1.0, -33.5, 65535.0}) {
            const auto expected = int32_t(std::floor(v / scale));
            EXPECT_EQ(pictureCoordinate(v, percent), expected) << v << " at " << percent;
        }
    }
    // At 400 % view pixels 0..3 show picture pixel 0 and -1..-4 pixel -1; at 25 % view pixel 1 is pixel 4.
    EXPECT_EQ(pictureCoordinate(3.9, 400), 0);
    EXPECT_EQ(pictureCoordinate(-4.0, 400), -1);
    EXPECT_EQ(pictureCoordinate(-4.01, 400), -2);
    EXPECT_EQ(pictureCoordinate(1.0, 25), 4);
    // Far outside, the result saturates instead of overflowing.
    EXPECT_EQ(pictureCoordinate(1e12, 25), INT32_MAX);
    EXPECT_EQ(pictureCoordinate(-1e12, 25), INT32_MIN);
}

TEST(ViewScale, PicturePixelsCoverWholeViewPixelsWithoutGapsOrOverlaps)
{
    for (int percent : kZoomLevels) {
        for (int64_t p = -5; p < 40; ++p) {
            // The ceiling is the floor, or one more where p x scale is not whole.
            EXPECT_EQ(viewEnd(p, percent), viewStart(p, percent) + (p * percent % 100 != 0)) << p << " at " << percent;
            // Every view pixel of picture pixel p maps back to p (at 100 % and above).
            if (percent < 100) continue;
            for (int64_t v = viewStart(p, percent); v < viewStart(p + 1, percent); ++v)
                EXPECT_EQ(pictureCoordinate(double(v), percent), p) << v << " at " << percent;
        }
    }
    EXPECT_EQ(viewLength(3000, 25), 750);
    EXPECT_EQ(viewLength(201, 50), 101);
    EXPECT_EQ(viewLength(200, 300), 600);
    EXPECT_EQ(reductionAt(25), 4);
    EXPECT_EQ(reductionAt(50), 2);
    EXPECT_EQ(reductionAt(100), 1);
}

}  // namespace
}  // namespace nelmora
