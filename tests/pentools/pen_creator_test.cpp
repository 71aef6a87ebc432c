// The "PenCreator" window: its sliders and what they edit, pen selection, the
// shape preview with its backgrounds, and the profile graph.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QTest>

#include <climits>
#include <memory>
#include <vector>

#include "app/document.h"
#include "app/tool_windows.h"
#include "pentools/parameter_slider.h"
#include "pentools/pen_creator_panes.h"
#include "pentools/pen_creator_window.h"
#include "pentools/profile_graph.h"
#include "pentools/slider_picture.h"
#include "text/shift_jis.h"

namespace nelmora {
namespace {

// The defaults as the documents give them, field by field in ShapeSettings order.
constexpr int32_t kDocumentedDefaults[kShapeSettingCount] = {0, 0x8000, 0, 0x10000, 0xFFFF, 0x10000, 0, 0, 0, 0};

class PenCreatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.reset(dynamic_cast<PenCreatorWindow*>(createPenCreatorWindow(document)));
        ASSERT_TRUE(window);
    }

    void showWindow()
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    const Pen& pen(int n) { return workspace.pen(n); }
    const ShapeSettings& settings(int n) { return workspace.shapeSettings(n); }
    void setSetting(int n, int32_t ShapeSettings::*field, int32_t value)
    {
        ShapeSettings s = settings(n);
        s.*field = value;
        workspace.setShapeSettings(n, s);
    }
    int mapByte(int n, int x, int y) { return pen(n).shape->coverage[y * pen(n).shape->stride + x]; }
    std::vector<uint8_t> map(int n)
    {
        const ShapeMap& m = *pen(n).shape;
        return {m.coverage, m.coverage + m.stride * m.height};
    }

    // Sliders are 220 wide with a 1-pixel border: client x runs 0..217 and the bar over 0..128.
    void leftClick(int row, int clientX)
    {
        QTest::mouseClick(window->slider(row), Qt::LeftButton, {}, QPoint(1 + clientX, 7));
    }
    void rightClick(QWidget* widget) { QTest::mouseClick(widget, Qt::RightButton, {}, QPoint(20, 7)); }
    std::string shown(int row) const
    {
        return sliderNumberText(window->slider(row)->record(), window->slider(row)->value());
    }

    // Pane client pixel (x, y), inside the 1-pixel border.
    static uint32_t panePixel(const QImage& grabbed, int x, int y) { return grabbed.pixel(1 + x, 1 + y) & 0xFFFFFF; }
    QImage grabPreview() { return window->shapePreview()->grab().toImage(); }
    QImage grabGraph() { return window->profileGraph()->grab().toImage(); }

    Document document{std::make_unique<Workspace>()};
    Workspace& workspace = document.workspace();
    std::unique_ptr<PenCreatorWindow> window;
};

TEST_F(PenCreatorTest, CreationLaysOutSlidersOverPensAtTheirDefaults)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("PenCreator"));
    EXPECT_EQ(window->size(), QSize(240, 300));
    EXPECT_FALSE(window->isVisible());

    const char* labels[kPenCreatorSliderCount] = {"mode ", "type ", "msize", "alph1", "alph2", "alph3",
                                                  "flat ", "rot  ", "rand1", "rand2", "rand3"};
    const int tops[kPenCreatorSliderCount] = {100, 119, 138, 157, 172, 187, 206, 221, 240, 255, 270};
    for (int k = 0; k < kPenCreatorSliderCount; ++k) {
        ParameterSlider* slider = window->slider(k);
        EXPECT_EQ(slider->geometry(), QRect(10, tops[k], 220, 14)) << "row " << k;
        EXPECT_EQ(slider->record().label, labels[k]) << "row " << k;
    }
    EXPECT_EQ(window->shapePreview()->geometry(), QRect(10, 10, 80, 80));
    EXPECT_EQ(window->profileGraph()->geometry(), QRect(100, 10, 120, 80));

    for (int n = 0; n < kPenCount; ++n) {
        EXPECT_EQ(pen(n).blendIndex, 0) << "pen " << n;
        for (int k = 0; k < kShapeSettingCount; ++k)
            EXPECT_EQ(shapeSetting(settings(n), k), kDocumentedDefaults[k]) << "pen " << n << " field " << k;
    }
    // A right click gives each row its documented default.
    for (int k = 1; k < kPenCreatorSliderCount; ++k)
        EXPECT_EQ(kPenCreatorRows[size_t(k)].defaultValue, kDocumentedDefaults[k - 1]) << "row " << k;

    // The sliders show pen 0; the first two show names.
    EXPECT_EQ(window->currentPenIndex(), 0);
    ShapeSettings distinct{};
    for (int k = 0; k < kShapeSettingCount; ++k) shapeSetting(distinct, k) = 1234 + k;
    workspace.setShapeSettings(0, distinct);
    for (int k = 1; k < kPenCreatorSliderCount; ++k) EXPECT_EQ(window->slider(k)->value(), 1234 + k - 1) << "row " << k;
    EXPECT_EQ(shown(kModeRow), " " + utf8ToShiftJis("通常  "));
    setSetting(0, &ShapeSettings::type, 2);
    EXPECT_EQ(shown(kTypeRow), " " + utf8ToShiftJis("三角形"));
}

TEST_F(PenCreatorTest, SlidersWriteTheCurrentPenAndAShapeSliderRebuildsItsMap)
{
    showWindow();
    // Index row 0..23 on a 128-pixel bar: half = (128 / 23) / 2 = 2, so a
    // click at 26 gives 23 x 28 / 128 = 5.
    leftClick(kModeRow, 26);
    EXPECT_EQ(pen(0).blendIndex, 5);

    // Pen 0's start-up disc is full (255) at distance 20. With msize 0 the
    // generated ramp runs from the centre to the rim: 17.99 / 37.99 x 65536 =
    // 31034, / 256 = 121. The map follows the slider at once, not a repaint.
    EXPECT_EQ(mapByte(0, 60, 40), 255);
    leftClick(kMsizeRow, 0);
    EXPECT_EQ(settings(0).msize, 0);
    EXPECT_EQ(mapByte(0, 60, 40), 121);

    // alph2's default lies one above the slider's maximum; pen 1 is untouched.
    setSetting(0, &ShapeSettings::alph2, 0);
    rightClick(window->slider(kAlph2Row));
    EXPECT_EQ(settings(0).alph2, 0x10000);
    EXPECT_EQ(settings(1).alph2, 0x10000);
}

TEST_F(PenCreatorTest, TheEditedPenFollowsThePenSetsChoice)
{
    showWindow();
    setSetting(1, &ShapeSettings::type, 1);  // square
    workspace.setPenField(1, PenField::blendIndex, 3);
    document.selectPen(1);
    EXPECT_EQ(window->currentPenIndex(), 1);
    EXPECT_EQ(shown(kTypeRow), " " + utf8ToShiftJis("四角形"));
    EXPECT_EQ(shown(kModeRow), " " + utf8ToShiftJis("加減算"));

    const std::vector<uint8_t> pen0Map = map(0);
    leftClick(kMsizeRow, 0);
    EXPECT_EQ(settings(1).msize, 0);
    EXPECT_EQ(settings(0).msize, 0x8000);
    // The square with msize 0 ramps over 28.5 pixels: at distance 15,
    // 13.5 / 28.5 x 65536 = 31043, / 256 = 121 (pen 1's cone had 175 there).
    EXPECT_EQ(mapByte(1, 55, 40), 121);
    EXPECT_EQ(map(0), pen0Map);

    for (int wrong : {2, -1}) {
        document.selectPen(wrong);
        EXPECT_EQ(window->currentPenIndex(), 1);
    }
}

TEST_F(PenCreatorTest, ShowingAndRepaintingNeverChangeThePenOrTheRandomState)
{
    // Settings that differ from the map: only a user's shape edit rebuilds it.
    setSetting(0, &ShapeSettings::msize, 0);
    setSetting(0, &ShapeSettings::rand1, 0x10000);
    workspace.setPenField(0, PenField::blendIndex, 20);  // a diffusion: the preview dab scatters
    const std::vector<uint8_t> before = map(0);
    const uint32_t random = workspace.random().value;
    showWindow();
    for (int i = 0; i < 5; ++i) {
        window->repaint();
        window->hide();
        window->show();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(map(0), before);
    EXPECT_EQ(workspace.random().value, random);
}

TEST_F(PenCreatorTest, PreviewPaintsOneDabOnTheChosenBackground)
{
    showWindow();
    ShapePreviewView* preview = window->shapePreview();
    const Image* image = preview->image();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 78);
    EXPECT_EQ(image->height, 78);
    EXPECT_EQ(image->centerX, 39);
    EXPECT_EQ(image->centerY, 39);

    // Checkerboard: 8-pixel squares in rows 0..38, 4-pixel squares below;
    // the corners lie outside the dab (map bytes 0).
    QImage shot = grabPreview();
    EXPECT_EQ(panePixel(shot, 8, 0), 0x000000u);    // (8 >> 3) + 0 = 1
    EXPECT_EQ(panePixel(shot, 77, 77), 0xFFFFFFu);  // (77 >> 2) x 2 = 38
    EXPECT_EQ(panePixel(shot, 75, 77), 0x000000u);  // 18 + 19 = 37

    // Pattern 1, white over black. The dab at (39, 39) x 256 with scale 256
    // and angle 0 maps image pixel (i, j) to map byte (i + 1, j + 1) (u =
    // i x 256 - 9984 + 10240). Color: hsbToRgb(0, 0xFFFF, 0xFFFF) has red
    // ((255 x 0xFFFF >> 8) x 0xFFFF) >> 24 = 254, so N = 0xFE0000.
    // Alpha a = (m x 0xFFFF) >> 16; Normal gives (D x (256 - a) + N x a + 128) >> 8:
    //   m 255 (centre):      a 254; white: red (255x2 + 254x254 + 128) >> 8 = 254,
    //                        green (255x2 + 128) >> 8 = 2; black: red (254x254 + 128) >> 8 = 252.
    //   m 242 (distance 20): a 241; white: red (255x15 + 254x241 + 128) >> 8 = 254,
    //                        green (255x15 + 128) >> 8 = 15; black: red (254x241 + 128) >> 8 = 239.
    //   m 107 (distance 30): a 106; white: red (255x150 + 254x106 + 128) >> 8 = 255,
    //                        green (255x150 + 128) >> 8 = 149.
    rightClick(preview);
    EXPECT_EQ(preview->backgroundPattern(), 1);
    shot = grabPreview();
    EXPECT_EQ(panePixel(shot, 39, 38), 0xFE0202u);  // map (40, 39): also 255, upper half
    EXPECT_EQ(panePixel(shot, 39, 39), 0xFC0000u);
    EXPECT_EQ(panePixel(shot, 39, 19), 0xFE0F0Fu);
    EXPECT_EQ(panePixel(shot, 39, 59), 0xEF0000u);
    EXPECT_EQ(panePixel(shot, 39, 9), 0xFF9595u);
    EXPECT_EQ(panePixel(shot, 77, 77), 0x000000u);

    for (int expected : {2, 3, 4, 0}) {
        rightClick(preview);
        EXPECT_EQ(preview->backgroundPattern(), expected);
    }
    shot = grabPreview();
    EXPECT_EQ(panePixel(shot, 8, 0), 0x000000u);
}

TEST_F(PenCreatorTest, PreviewSurvivesOutOfRangeModesAndMissingImage)
{
    showWindow();
    rightClick(window->shapePreview());  // white over black
    for (int wrong : {24, -1, INT_MIN}) {
        workspace.setPenField(0, PenField::blendIndex, wrong);
        const QImage shot = grabPreview();
        EXPECT_EQ(panePixel(shot, 39, 19), 0xFFFFFFu) << wrong;
        EXPECT_EQ(panePixel(shot, 39, 39), 0x000000u) << wrong;
        window->slider(kModeRow)->grab();  // shows the number, not a name
    }

    // Panes too small for a client area get no image and paint nothing.
    workspace.setPenField(0, PenField::blendIndex, 0);
    ShapePreviewView tinyPreview(*window, window.get(), QRect(0, 0, 2, 2));
    ProfileGraphView tinyGraph(*window, window.get(), QRect(0, 0, 2, 2));
    EXPECT_EQ(tinyPreview.image(), nullptr);
    EXPECT_EQ(tinyGraph.image(), nullptr);
    tinyPreview.grab();
    tinyGraph.grab();
}

TEST_F(PenCreatorTest, ProfileGraphShowsTheCrossSection)
{
    showWindow();
    const Image* image = window->profileGraph()->image();
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 118);
    ASSERT_EQ(image->height, 78);
    // half 59.0, mid 59, rIn = 0x8000 x 59 / 65536 = 29.5: navy in columns 30, 59, 88.
    const QImage shot = grabGraph();
    for (int x = 0; x < 118; ++x) {
        const bool navy = x == 30 || x == 59 || x == 88;
        for (int y : {0, 40, 77})
            EXPECT_EQ(panePixel(shot, x, y) == kProfileMarks, navy) << x << "," << y;
    }
    // Column 0 lies on the rim, alpha 0: level 0, still one grey row.
    EXPECT_EQ(panePixel(shot, 0, 77), kProfileArea);
    EXPECT_EQ(panePixel(shot, 0, 76), kProfileSky);
    // Column 20, d = 39: 20 x 65536 / 29.5 = 44431; level 44431 x 78 / 65536 = 52;
    // top = 78 - 52 - 1 = 25.
    EXPECT_EQ(panePixel(shot, 20, 24), kProfileSky);
    EXPECT_EQ(panePixel(shot, 20, 25), kProfileArea);
    // Column 58, d = 1, inside: (28.5 x 0xFFFF + 0x10000) / 29.5 = 65535, level 77, top 0.
    EXPECT_EQ(panePixel(shot, 58, 0), kProfileArea);
}

TEST_F(PenCreatorTest, ProfileGraphNoiseIsDrawnAnewOnEveryPaintButNotFromThePaintingGenerator)
{
    EXPECT_EQ(grabGraph(), grabGraph());
    ShapeSettings noisy = settings(0);
    noisy.rand1 = noisy.rand2 = noisy.rand3 = 0x10000;
    workspace.setShapeSettings(0, noisy);
    EXPECT_NE(grabGraph(), grabGraph());
    EXPECT_EQ(workspace.random().value, 1u);
}

TEST(ProfileGraph, InnerRadiusFarOutsideMarksOnlyTheCentre)
{
    ImagePtr graph(createImage(118, 78, 59, 39, 0xFFFFFF));
    ASSERT_TRUE(graph);
    for (int32_t msize : {INT32_MAX, INT32_MIN, 0x30000}) {
        ShapeSettings s = kStartShapeSettings;
        s.msize = msize;
        RandomState noise;
        composeProfileGraph(*graph, s, noise);
        for (int x = 0; x < 118; ++x) EXPECT_EQ(graph->at(x, 0) == kProfileMarks, x == 59) << msize << " " << x;
    }
}

}  // namespace
}  // namespace nelmora
