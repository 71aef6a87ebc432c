#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

#include "doc/canvas_stroke.h"
#include "doc/workspace.h"
#include "pen/pen_file.h"

namespace nelmora {

// In the namespace of Change, where the comparisons inside std and gtest find them.
static bool operator==(const Change& a, const Change& b)
{
    return a.kind == b.kind && a.pen == b.pen && a.index == b.index;
}
static void PrintTo(const Change& c, std::ostream* os)
{
    *os << "{kind " << int(c.kind) << ", pen " << c.pen << ", index " << c.index << "}";
}

namespace {

// Both pens and their shape settings as a pen file would hold them: what a
// load may change.
std::vector<uint8_t> penBytes(Workspace& ws)
{
    ShapeSettings settings[kPenCount] = {ws.shapeSettings(0), ws.shapeSettings(1)};
    return encodePenFile({&ws.strokePen(0), &ws.strokePen(1)}, {&settings[0], &settings[1]});
}

bool allPixels(const Image& image, uint32_t value)
{
    return std::all_of(image.pixels, image.pixels + size_t(image.stride) * size_t(image.height),
                       [value](uint32_t p) { return p == value; });
}

bool sameShapeSettings(const ShapeSettings& a, const ShapeSettings& b)
{
    ShapeSettings x = a, y = b;
    for (int k = 0; k < kShapeSettingCount; ++k)
        if (shapeSetting(x, k) != shapeSetting(y, k)) return false;
    return true;
}

TEST(Workspace, StartsWithTheStartUpRecipe)
{
    Workspace ws;
    ASSERT_EQ(ws.image().width, 200);
    ASSERT_EQ(ws.image().height, 200);
    EXPECT_TRUE(allPixels(ws.image(), 0xFFFFFF));
    for (int pen = 0; pen < kPenCount; ++pen) {
        EXPECT_EQ(ws.pen(pen).blendIndex, 0) << pen;
        EXPECT_TRUE(sameShapeSettings(ws.shapeSettings(pen), kStartShapeSettings)) << pen;
    }
    EXPECT_EQ(ws.pen(0).drawMode, 1);  // pen 0 live, pen 1 off
    EXPECT_EQ(ws.pen(1).drawMode, 0);
    EXPECT_EQ(ws.shapeSettings(0).alph2, 0x10000);
    EXPECT_EQ(ws.shapeSettings(0).msize, 0x8000);

    DrawingValues start{};
    resetDrawingValues(start);
    EXPECT_EQ(ws.drawingValues(), start);
    EXPECT_EQ(ws.drawingValue(dv::saturation1), 40000);
    EXPECT_EQ(ws.drawingValue(dv::brightness2), 0xFFFF);
    EXPECT_EQ(ws.drawingValue(dv::thickness1), 0x10000);
    EXPECT_EQ(ws.drawingValue(dv::interval), 10000);
    EXPECT_EQ(ws.random().value, 1u);

    Workspace small(30, 20);
    EXPECT_EQ(small.image().width, 30);
    EXPECT_EQ(small.image().height, 20);
}

struct WorkspaceNotes : ::testing::Test {
    void SetUp() override
    {
        ws.addListener([this](const Change& c) { notes.push_back(c); });
    }
    std::vector<Change> take() { return std::exchange(notes, {}); }

    Workspace ws;
    std::vector<Change> notes;
};

using Notes = std::vector<Change>;

TEST_F(WorkspaceNotes, ValueAndPenEditsSayWhatChanged)
{
    ws.setDrawingValue(dv::ex4, 77);
    EXPECT_EQ(ws.drawingValue(dv::ex4), 77);
    EXPECT_EQ(take(), (Notes{{Change::drawingValue, -1, dv::ex4}}));
    ws.setDrawingValue(dv::none, 5);  // index 0 stays 0, and nothing is said
    ws.setDrawingValue(kDrawingValueCount, 5);
    ws.setDrawingValue(-1, 5);
    EXPECT_EQ(ws.drawingValue(dv::none), 0);
    EXPECT_TRUE(take().empty());

    ws.setPenField(1, PenField::lineColor, 1);
    EXPECT_EQ(ws.pen(1).lineColor, 1);
    ws.setPenField(0, PenField::blendIndex, 22);
    EXPECT_EQ(ws.pen(0).blendIndex, 22);
    EXPECT_EQ(take(), (Notes{{Change::penField, 1, int(PenField::lineColor)},
                             {Change::penField, 0, int(PenField::blendIndex)}}));

    ws.setSlotField(1, 7, SlotField::scaleB, -3);
    EXPECT_EQ(ws.pen(1).params[7].scaleB, -3);
    ws.setSlot(0, 19, PenParam{1, 2, 3, 4, 5, 6});
    EXPECT_EQ(ws.pen(0).params[19].jitter, 6);
    EXPECT_EQ(take(), (Notes{{Change::slot, 1, 7}, {Change::slot, 0, 19}}));
}

TEST_F(WorkspaceNotes, ShapeEditsSayWhichPen)
{
    const ShapeMap& map = *ws.pen(0).shape;
    const std::vector<uint8_t> disc(map.coverage, map.coverage + 80 * 80);
    ws.setShapeSetting(1, 9, 0x4000);
    EXPECT_EQ(ws.shapeSettings(1).rand3, 0x4000);
    EXPECT_EQ(ws.shapeSettings(0).rand3, 0);
    ShapeSettings square = kStartShapeSettings;
    square.type = 1;
    ws.setShapeSettings(0, square);
    EXPECT_EQ(take(), (Notes{{Change::shapeSettings, 1, 9}, {Change::shapeSettings, 0, -1}}));

    // The map follows the settings only when rebuilt: then the square's corner shows.
    EXPECT_TRUE(std::equal(disc.begin(), disc.end(), map.coverage));
    ws.regenerateShapeMap(0);
    EXPECT_EQ(map.coverage[12 * 80 + 12], 8);
    EXPECT_EQ(map.coverage[11 * 80 + 11], 0);
    EXPECT_EQ(take(), (Notes{{Change::shapeMap, 0, -1}}));
    // Pen 1's noise draws from the document's generator.
    ws.regenerateShapeMap(1);
    EXPECT_NE(ws.random().value, 1u);
    EXPECT_EQ(take(), (Notes{{Change::shapeMap, 1, -1}}));
}

TEST_F(WorkspaceNotes, PictureEditsAndColors)
{
    ws.fill(kCheckerDark, kCheckerLight);
    EXPECT_EQ(ws.image().at(8, 0), kCheckerDark);
    EXPECT_EQ(ws.image().at(0, 0), kCheckerLight);
    EXPECT_EQ(take(), (Notes{{Change::pixels}, {Change::history}}));

    EXPECT_FALSE(ws.replaceImage(nullptr));
    EXPECT_EQ(ws.image().width, 200);
    EXPECT_TRUE(take().empty());
    EXPECT_TRUE(ws.replaceImage(ImagePtr(createImage(7, 5, 0, 0, 0xFF0000))));
    EXPECT_EQ(ws.image().width, 7);
    EXPECT_EQ(take(), (Notes{{Change::image}, {Change::history}}));

    EXPECT_FALSE(ws.pickColor(7, 0));  // just outside
    EXPECT_TRUE(take().empty());
    EXPECT_TRUE(ws.pickColor(6, 4));
    EXPECT_EQ(ws.drawingValue(dv::saturation1), 0xFFFF);
    EXPECT_EQ(take(), (Notes{{Change::drawingValue, -1, dv::hue1},
                             {Change::drawingValue, -1, dv::saturation1},
                             {Change::drawingValue, -1, dv::brightness1}}));

    ws.setDrawingValue(dv::hue2, 0x5555);
    take();
    ws.swapColors();
    EXPECT_EQ(ws.drawingValue(dv::hue1), 0x5555);
    EXPECT_EQ(ws.drawingValue(dv::hue2), 0);
    EXPECT_EQ(ws.drawingValue(dv::saturation2), 0xFFFF);
    EXPECT_EQ(ws.drawingValue(dv::saturation1), 40000);
    Notes six;
    for (int index = dv::hue1; index <= dv::brightness2; ++index) six.push_back({Change::drawingValue, -1, index});
    EXPECT_EQ(take(), six);
}

TEST_F(WorkspaceNotes, EveryListenerHearsEveryNote)
{
    int second = 0;
    ws.addListener([&second](const Change&) { ++second; });
    ws.setDrawingValue(dv::ex1, 1);
    ws.swapColors();
    EXPECT_EQ(take().size(), 7u);
    EXPECT_EQ(second, 7);
}

TEST_F(WorkspaceNotes, LoadingPensIsAllOrNothing)
{
    Workspace other;
    other.setPenField(1, PenField::drawMode, 2);
    other.setShapeSetting(0, 1, 0x1234);
    const std::vector<uint8_t> file = penBytes(other);
    ASSERT_EQ(file.size(), kPenFileSize);

    const std::vector<uint8_t> before = penBytes(ws);
    EXPECT_FALSE(ws.loadPens(file.data(), file.size() - 1));
    EXPECT_FALSE(ws.loadPens(file.data(), kPenBlockSize));
    EXPECT_EQ(penBytes(ws), before);
    EXPECT_TRUE(take().empty());

    EXPECT_TRUE(ws.loadPens(file.data(), file.size()));
    EXPECT_EQ(ws.pen(1).drawMode, 2);
    EXPECT_EQ(ws.shapeSettings(0).msize, 0x1234);
    EXPECT_EQ(penBytes(ws), file);
    EXPECT_EQ(take(), (Notes{{Change::pens}}));
}

// A file records where its pens' last stroke stood; loaded during a stroke,
// the stroke must go on from its own points, not walk from there.
TEST(PensLoadedDuringAStroke, GoOnFromWhereTheStrokeStands)
{
    Workspace other;
    other.setPenField(0, PenField::blendIndex, 5);
    Pen& foreign = other.strokePen(0);
    foreign.lastX = foreign.lastY = INT32_MAX;
    foreign.dabX = foreign.dabY = foreign.carry = INT32_MIN;
    foreign.lastOutputs.fill(0x7777);
    const std::vector<uint8_t> file = penBytes(other);

    Workspace ws;
    CanvasStroke canvas;
    canvas.buttonDown(ws, 10, 10);
    canvas.mouseMove(ws, 20, 12);
    const Pen before = ws.pen(0);
    ASSERT_TRUE(ws.loadPens(file.data(), file.size()));
    EXPECT_EQ(ws.pen(0).blendIndex, 5);
    EXPECT_EQ(ws.pen(0).lastOutputs, before.lastOutputs);
    // Stopped here, rather than the move below walking for minutes.
    ASSERT_EQ(ws.pen(0).lastX, 20);
    ASSERT_EQ(ws.pen(0).lastY, 12);
    ASSERT_EQ(ws.pen(0).dabX, before.dabX);
    ASSERT_EQ(ws.pen(0).carry, before.carry);
    canvas.mouseMove(ws, 30, 14);
    canvas.buttonUp(ws, 30, 14, [] {});
    EXPECT_EQ(ws.pen(0).lastX, 30);

    // Between strokes the file is taken whole, as it was saved.
    ASSERT_TRUE(ws.loadPens(file.data(), file.size()));
    EXPECT_EQ(penBytes(ws), file);
}

// A drag with pen 0 as the blur filter, which works through the scratch image
// the process shares.
void blurDrag(Workspace& ws)
{
    ws.setPenField(0, PenField::blendIndex, 22);
    CanvasStroke canvas;
    canvas.buttonDown(ws, 20, 30);
    for (int x = 25; x <= 120; x += 5) canvas.mouseMove(ws, x, 30 + x / 4);
    canvas.buttonUp(ws, 120, 60, [] {});
}

TEST(TwoWorkspaces, AreIndependent)
{
    Workspace reference;
    reference.fill(kCheckerDark, kCheckerLight);
    blurDrag(reference);
    const std::vector<uint32_t> blurred(reference.image().pixels, reference.image().pixels + 200 * 200);
    ASSERT_NE(reference.random().value, 1u);
    ImagePtr checker(createImage(200, 200, 0, 0, 0));
    fillImage(*checker, kCheckerDark, kCheckerLight);
    ASSERT_FALSE(std::equal(blurred.begin(), blurred.end(), checker->pixels));  // the drag did blur

    Workspace b;
    b.fill(kCheckerDark, kCheckerLight);
    {
        Workspace a;
        a.setPenField(0, PenField::blendIndex, 0);
        a.setDrawingValue(dv::thickness1, 0x20000);
        CanvasStroke canvas;
        canvas.buttonDown(a, 10, 10);
        canvas.mouseMove(a, 150, 150);
        canvas.buttonUp(a, 150, 150, [] {});
        EXPECT_NE(a.random().value, 1u);
        EXPECT_FALSE(allPixels(a.image(), 0xFFFFFF));
        // b saw none of it: pixels, generator and values as they were.
        EXPECT_EQ(b.random().value, 1u);
        EXPECT_EQ(b.image().at(0, 0), kCheckerLight);
        EXPECT_EQ(b.image().at(80, 80), kCheckerLight);
        EXPECT_EQ(b.drawingValue(dv::thickness1), 0x10000);
        EXPECT_EQ(b.drawingValue(dv::count3), 0);
    }
    // a is gone; b paints exactly as a workspace that was alone all along.
    blurDrag(b);
    EXPECT_EQ(b.random().value, reference.random().value);
    EXPECT_TRUE(std::equal(blurred.begin(), blurred.end(), b.image().pixels));
}

}  // namespace
}  // namespace nelmora
