#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "script/render_script.h"

namespace nelmora {
namespace {

std::string parseError(const std::string& script)
{
    std::istringstream in(script);
    std::vector<ScriptCommand> commands;
    std::string error;
    EXPECT_FALSE(parseRenderScript(in, commands, error)) << script;
    return error;
}

TEST(RenderScriptParse, CommandsNumbersAndSkippedLines)
{
    std::istringstream in(
        "# a comment\n"
        "\n"
        "   \t\n"
        "down 10 0x14\r\n"
        "move -5 -0x10\n"
        "up 65535 -32768\n"
        "pick 1 2\n"
        "value 33 0xFFFFFFFF\n"
        "pen 1 blendIndex 23\n"
        "slot 0 19 1 0x10000 2 -0x8000 100 0x4000\n"
        "shape 1 0 0x8000 0 0x10000 0xFFFF 0x10000 0 0 0 0\n"
        "  regen 0\n"
        "fill checker\n");
    std::vector<ScriptCommand> c;
    std::string error;
    ASSERT_TRUE(parseRenderScript(in, c, error)) << error;
    ASSERT_EQ(c.size(), 10u);
    EXPECT_EQ(c[0].op, ScriptOp::down);
    EXPECT_EQ(c[0].line, 4);
    EXPECT_EQ(c[0].args[1], 20);
    EXPECT_EQ(c[1].args[1], -16);
    EXPECT_EQ(c[2].args[0], 65535);
    EXPECT_EQ(c[4].args[1], -1);  // 0xFFFFFFFF taken modulo 2^32
    EXPECT_EQ(c[5].args[1], int32_t(PenField::blendIndex));
    EXPECT_EQ(c[6].args[5], -0x8000);
    EXPECT_EQ(c[7].args[10], 0);
    EXPECT_EQ(c[8].op, ScriptOp::regen);
    EXPECT_EQ(c[9].args[0], kFillChecker);
}

TEST(RenderScriptParse, MalformedLinesNameTheirLine)
{
    EXPECT_EQ(parseError("down 1 2\njump 3 4\n"), "line 2: unknown command 'jump'");
    EXPECT_EQ(parseError("down 1\n"), "line 1: 'down' takes 2 or 4 arguments");
    EXPECT_EQ(parseError("\n\nmove 1 2 3\n"), "line 3: 'move' takes 2 or 4 arguments");
    EXPECT_EQ(parseError("value 7 1.5\n"), "line 1: '1.5' is not a number");
    EXPECT_EQ(parseError("value 7 0x\n"), "line 1: '0x' is not a number");
    EXPECT_EQ(parseError("value 7 -\n"), "line 1: '-' is not a number");
    EXPECT_EQ(parseError("value 7 0x100000000\n"), "line 1: '0x100000000' is not a number");
    EXPECT_EQ(parseError("value 7 -2147483649\n"), "line 1: '-2147483649' is not a number");
    EXPECT_EQ(parseError("value 0 5\n"), "line 1: drawing value index must be 1..33");
    EXPECT_EQ(parseError("value 34 5\n"), "line 1: drawing value index must be 1..33");
    EXPECT_EQ(parseError("pen 2 drawMode 1\n"), "line 1: pen must be 0 or 1");
    EXPECT_EQ(parseError("pen 0 color 1\n"), "line 1: unknown pen field 'color'");
    EXPECT_EQ(parseError("slot 0 20 0 0 0 0 0 0\n"), "line 1: slot index must be 0..19");
    EXPECT_EQ(parseError("slot -1 2 0 0 0 0 0 0\n"), "line 1: pen must be 0 or 1");
    EXPECT_EQ(parseError("regen 5\n"), "line 1: pen must be 0 or 1");
    EXPECT_EQ(parseError("fill grey\n"), "line 1: unknown fill 'grey'");
    EXPECT_EQ(parseError("down 70000 0\n"), "line 1: mouse position outside -32768..65535");
    EXPECT_EQ(parseError("pick 0 -40000\n"), "line 1: mouse position outside -32768..65535");
    EXPECT_EQ(parseError("DOWN 1 2\n"), "line 1: unknown command 'DOWN'");
}

struct RenderScriptRun : ::testing::Test {
    void run(const std::string& script)
    {
        std::istringstream in(script);
        std::vector<ScriptCommand> commands;
        std::string error;
        ASSERT_TRUE(parseRenderScript(in, commands, error)) << error;
        runRenderScript(app, canvas, commands);
    }
    int changedPixels() const
    {
        const Image& image = app.image();
        return int(200 * 200 - std::count(image.pixels, image.pixels + 200 * 200, 0xFFFFFFu));
    }
    Workspace app;
    CanvasStroke canvas;
};

TEST_F(RenderScriptRun, StateCommands)
{
    run("value 7 0x20000\n"
        "pen 1 drawMode 2\npen 1 lineColor 1\npen 1 endFlag 1\npen 0 blendIndex 30\n"
        "slot 1 4 5 0x10000 6 -3 7 8\n"
        "shape 1 1 1 2 3 4 5 6 7 8 9\n");
    EXPECT_EQ(app.drawingValue(dv::thickness1), 0x20000);
    EXPECT_EQ(app.pen(1).drawMode, 2);
    EXPECT_EQ(app.pen(1).lineColor, 1);
    EXPECT_EQ(app.pen(1).endFlag, 1);
    EXPECT_EQ(app.pen(0).blendIndex, 30);
    const PenParam& p = app.pen(1).params[4];
    EXPECT_EQ(p.sourceA, 5);
    EXPECT_EQ(p.scaleA, 0x10000);
    EXPECT_EQ(p.sourceB, 6);
    EXPECT_EQ(p.scaleB, -3);
    EXPECT_EQ(p.base, 7);
    EXPECT_EQ(p.jitter, 8);
    const ShapeSettings& s = app.shapeSettings(1);
    EXPECT_EQ(s.type, 1);
    EXPECT_EQ(s.flat, 5);
    EXPECT_EQ(s.rand3, 9);
}

TEST_F(RenderScriptRun, ShapeTakesEffectOnlyWithRegen)
{
    const ShapeMap& map = *app.pen(0).shape;
    run("shape 0 1 0x8000 0 0x10000 0xFFFF 0x10000 0 0 0 0\n");
    EXPECT_EQ(map.coverage[40 * 80 + 62], 126);  // still the start-up disc
    run("regen 0\n");
    EXPECT_EQ(map.coverage[40 * 80 + 55], 242);  // the square's ramp
    EXPECT_EQ(map.coverage[40 * 80 + 69], 0);
}

TEST_F(RenderScriptRun, FillAndPick)
{
    run("fill checker\npick 8 0\n");
    EXPECT_EQ(app.image().at(0, 0), kCheckerLight);
    EXPECT_EQ(app.image().at(8, 0), kCheckerDark);
    EXPECT_EQ(app.drawingValue(dv::brightness1), 0x40FF);
    EXPECT_EQ(app.drawingValue(dv::saturation1), 0);
    run("fill black\npick 500 500\n");  // outside the image: nothing picked
    EXPECT_EQ(app.image().at(0, 0), 0u);
    EXPECT_EQ(app.drawingValue(dv::brightness1), 0x40FF);
    run("fill white\n");
    EXPECT_EQ(changedPixels(), 0);
}

TEST_F(RenderScriptRun, MouseCommandsGoThroughTheCanvas)
{
    run("move 50 50\nmove 60 50\nup 60 50\n");  // no stroke active: ignored
    EXPECT_EQ(changedPixels(), 0);
    run("down 50 50\nmove 60 50\n");
    EXPECT_TRUE(canvas.stroking());
    const int live = changedPixels();
    EXPECT_GT(live, 0);
    run("up 70 50\n");  // pen 0 has no end flag: the last piece is not painted
    EXPECT_EQ(changedPixels(), live);
    EXPECT_FALSE(canvas.stroking());
}


TEST(RenderScriptParse, RecordingCommands)
{
    std::istringstream in(
        "new 320 240 0xFF8000\n"
        "image  my pictures/first one.png \r\n"
        "random 4294967295\n"
        "repaint\n"
        "fill 0x112233 0x445566\n"
        "pens " + std::string(2 * kPenFileSize, 'a') + "\n");
    std::vector<ScriptCommand> c;
    std::string error;
    ASSERT_TRUE(parseRenderScript(in, c, error)) << error;
    ASSERT_EQ(c.size(), 6u);
    EXPECT_EQ(c[0].op, ScriptOp::newImage);
    EXPECT_EQ(c[0].args[2], 0xFF8000);
    EXPECT_EQ(c[1].text, "my pictures/first one.png");
    EXPECT_EQ(uint32_t(c[2].args[0]), 0xFFFFFFFFu);
    EXPECT_EQ(c[3].op, ScriptOp::repaint);
    EXPECT_EQ(c[4].args[0], 0x112233);
    EXPECT_EQ(c[4].args[2], 1) << "the two-color form";
    EXPECT_EQ(c[5].text, std::string(kPenFileSize, char(0xAA)));
}

TEST(RenderScriptParse, BadTokensAreQuotedShortAndEscaped)
{
    EXPECT_EQ(parseError("value 1 " + std::string(100, '7') + "\n"),
              "line 1: '" + std::string(40, '7') + "'... is not a number");
    EXPECT_EQ(parseError("\n\x1b[2Jboom 1\n"), "line 2: unknown command '\\x1B[2Jboom'");
    EXPECT_EQ(parseError("pens 00\n"), "line 1: 'pens' takes the 14144 bytes of a pen file in hex");
    EXPECT_EQ(parseError("image   \n"), "line 1: 'image' takes an argument");
    EXPECT_EQ(parseError("new 0 10 0\n"), "line 1: the new picture's size must be positive");
    EXPECT_EQ(parseError("fill 1 2 3\n"), "line 1: 'fill' takes 1 arguments");
    EXPECT_EQ(parseError("down 1 1\n" + std::string(kMaxScriptLine + 1, ' ') + "\nup 1 1\n"),
              "line 2: longer than 65536 bytes");
}

// A stream buffer whose read fails after the given text, as reading a folder does.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(std::string text) : text_(std::move(text)) { setg(text_.data(), text_.data(), text_.data() + text_.size()); }

protected:
    int_type underflow() override { throw std::ios_base::failure("read failed"); }

private:
    std::string text_;
};

struct ScriptStreaming : ::testing::Test {
    Workspace app;
    CanvasStroke canvas;
    ScriptRunner runner{app, canvas};
    std::string error;
};

TEST_F(ScriptStreaming, LinesBeforeABadOneHaveRunAndItsNumberIsReported)
{
    std::istringstream in("value 7 5\n# fine\nvalue 8 6\nvalue 9 x\nvalue 10 7\n");
    EXPECT_FALSE(runner.run(in, error));
    EXPECT_EQ(error, "line 4: 'x' is not a number");
    EXPECT_EQ(app.drawingValue(8), 6);
    EXPECT_NE(app.drawingValue(10), 7);
}

TEST_F(ScriptStreaming, AReadErrorIsNoEnd)
{
    FailingBuffer buffer("value 7 5\nvalue 8 6\n");
    std::istream in(&buffer);
    EXPECT_FALSE(runner.run(in, error));
    EXPECT_EQ(error.rfind("cannot read line 3", 0), 0u) << error;
    EXPECT_EQ(app.drawingValue(8), 6);
}

TEST_F(ScriptStreaming, EachCommandIsCountedAndTheCountCanStopTheRun)
{
    std::istringstream in("value 7 1\n\nvalue 7 2\nvalue 7 3\nvalue 7 4\n");
    std::vector<int64_t> counts;
    EXPECT_TRUE(runner.run(in, error, [&counts](int64_t done) {
        counts.push_back(done);
        return done < 3;
    }));
    EXPECT_EQ(counts, (std::vector<int64_t>{1, 2, 3}));
    EXPECT_EQ(app.drawingValue(7), 3);
}

TEST_F(ScriptStreaming, PicturesThatCannotBeReadStopTheRun)
{
    std::istringstream in("fill black\nimage missing.png\nfill white\n");
    EXPECT_FALSE(runner.run(in, error));
    EXPECT_EQ(error.rfind("line 2: cannot open ./missing.png", 0), 0u) << error;
    EXPECT_EQ(app.image().at(0, 0), 0u);
}

}  // namespace
}  // namespace nelmora
