// The screen's copy of the picture: a refresh copies exactly the changed
// rectangle, opaque, and the half-size copy averages what changed.
#include <gtest/gtest.h>

#include <QPainter>

#include "platform/display_picture.h"

namespace nelmora {
namespace {

uint32_t pattern(int x, int y) { return uint32_t(x * 0x010203 + y * 0x030201) & 0x00FFFFFFu; }

TEST(DisplayPicture, RefreshCopiesExactlyTheRectangleOpaque)
{
    ImagePtr image(createImage(37, 23, 0, 0, 0x123456));
    DisplayPicture display;
    display.rebuild(*image);
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) image->at(x, y) = pattern(x, y);
    // Odd edges, and a rectangle reaching past the picture, which is clipped.
    display.refresh(*image, QRect(5, 3, 11, 9));
    display.refresh(*image, QRect(30, 20, 20, 20));
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            const bool copied = QRect(5, 3, 11, 9).contains(x, y) || QRect(30, 20, 7, 3).contains(x, y);
            const uint32_t expected = 0xFF000000u | (copied ? pattern(x, y) : 0x123456u);
            ASSERT_EQ(display.full().pixel(x, y), expected) << x << "," << y;
        }
}

TEST(DisplayPicture, HalfSizeShowsTheRoundedMeanOfWhatChanged)
{
    ImagePtr image(createImage(9, 7, 0, 0, 0x000000));
    DisplayPicture display;
    display.rebuild(*image);
    image->at(2, 2) = 0x0000FF;  // one bright pixel of the 2 x 2 block (1, 1)
    image->at(8, 6) = 0xFF0000;  // the corner block has this one pixel only
    display.refresh(*image, QRect(0, 0, 9, 7));
    QImage shown(5, 4, QImage::Format_RGB32);
    QPainter painter(&shown);
    display.paint(painter, shown.rect(), 50);
    painter.end();
    EXPECT_EQ(shown.pixel(1, 1), 0xFF000040u);  // (255 + 2) / 4
    EXPECT_EQ(shown.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(shown.pixel(4, 3), 0xFFFF0000u);
}

}  // namespace
}  // namespace nelmora
