// The render tool end to end, in process: arguments, inputs, errors, output.
// The golden renders are kept as a checksum of the written pixels; before the
// checksums were recorded, the spot pixels listed with each were worked out
// by hand from the dab and blend arithmetic (and are checked here as well).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <fstream>
#include <sstream>

#include "doc/workspace.h"
#include "image/bmp_file.h"
#include "pen/pen_file.h"
#include "render/render_tool.h"

namespace nelmora {
namespace {

namespace fs = std::filesystem;

// Checksums of the golden renders below (recorded after their spot pixels
// matched the hand-worked values).
constexpr uint64_t kGoldenDrag = 15574142605936258881ull;
constexpr uint64_t kGoldenModes = 11504662638422979776ull;
constexpr uint64_t kGoldenDelayed = 11776834303145941817ull;

struct RenderTool : ::testing::Test {
    void SetUp() override
    {
        dir = fs::path(::testing::TempDir()) /
              ("nelmora-render-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        out = (dir / "out.bmp").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    int run(std::vector<std::string> args, const std::string& script = "")
    {
        std::istringstream in(script);
        std::ostringstream err;
        const int status = runRenderTool(args, in, err);
        errors = err.str();
        return status;
    }
    std::string file(const std::string& name, const std::string& text)
    {
        const std::string path = (dir / name).string();
        std::ofstream(path) << text;
        return path;
    }
    ImagePtr result() { return ImagePtr(readBmp(out)); }
    // Runs with "-o out" added; the written image, or null after a failure.
    ImagePtr rendered(std::vector<std::string> args, const std::string& script)
    {
        args.insert(args.end(), {"-o", out});
        const int status = run(args, script);
        EXPECT_EQ(status, 0) << errors;
        ImagePtr image = status == 0 ? result() : nullptr;
        EXPECT_TRUE(image);
        return image;
    }
    static uint32_t rgb(const Image& image, int x, int y) { return image.at(x, y) & 0xFFFFFF; }
    // FNV-1a over the 24-bit pixels, rows top to bottom.
    static uint64_t checksum(const Image& image)
    {
        uint64_t h = 1469598103934665603ull;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                for (int shift : {16, 8, 0}) h = (h ^ ((image.at(x, y) >> shift) & 0xFF)) * 1099511628211ull;
        return h;
    }

    fs::path dir;
    std::string out;
    std::string errors;
};

TEST_F(RenderTool, EmptyScriptGivesTheStartUpImage)
{
    ImagePtr image = rendered({}, "");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 200);
    EXPECT_EQ(image->height, 200);
    EXPECT_EQ(rgb(*image, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(rgb(*image, 199, 199), 0xFFFFFFu);

    image = rendered({"--size", "30x20"}, "fill black\n");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 30);
    EXPECT_EQ(image->height, 20);
    EXPECT_EQ(rgb(*image, 29, 19), 0u);
}

TEST_F(RenderTool, ImageInputAndEventsFile)
{
    ASSERT_TRUE(rendered({"--size", "16x8"}, "fill checker\n"));
    const std::string checker = (dir / "checker.bmp").string();
    fs::rename(out, checker);
    // One end dab exactly on (4, 4), light grey there: alpha 254 of 0xFF6363.
    const std::string events = file("events.txt", "# a click\npen 0 endFlag 1\ndown 4 4\nup 4 4\n");
    ImagePtr image = rendered({"--image", checker, "--events", events}, "this is not read\n");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 16);
    EXPECT_EQ(image->height, 8);
    EXPECT_EQ(rgb(*image, 4, 4), 0xFF6464u);
}

TEST_F(RenderTool, PenFileReplacesBothPens)
{
    {
        Workspace app;
        app.setPenField(0, PenField::drawMode, 0);  // both pens off
        app.setShapeSetting(1, 0, 1);                 // pen 1's type: square
        std::string problem;
        ASSERT_TRUE(app.savePens(dir.string(), "off.pen", &problem)) << problem;
    }

    const std::string stroke = "down 50 50\nmove 70 50\nup 70 50\n";
    const std::string pens = (dir / "off.pen").string();
    ImagePtr off = rendered({"--pens", pens}, stroke);
    ASSERT_TRUE(off);
    EXPECT_EQ(rgb(*off, 50, 50), 0xFFFFFFu);
    // Pen 1's loaded settings (the default square) take effect with regen.
    auto render = [&](const std::vector<std::string>& args, const std::string& script) {
        ImagePtr image = rendered(args, script);
        return image ? checksum(*image) : 0;
    };
    const std::string live = "pen 0 drawMode 0\npen 1 drawMode 1\n";
    const uint64_t loaded = render({"--pens", pens}, live + "regen 1\n" + stroke);
    const uint64_t square =
        render({}, live + "shape 1 1 0x8000 0 0x10000 0xFFFF 0x10000 0 0 0 0\nregen 1\n" + stroke);
    const uint64_t circle = render({}, live + "regen 1\n" + stroke);
    EXPECT_EQ(loaded, square);
    EXPECT_NE(loaded, circle);
}

TEST_F(RenderTool, BadArgumentsWriteNothing)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"-o"},
        {"--frobnicate", "-o", "x.bmp"},
        {"--size", "0x5"},
        {"--size", "10x", "-o", "x.bmp"},
        {"--size", "ax5", "-o", "x.bmp"},
        {"--size", "10x10", "--image", "in.bmp", "-o", "x.bmp"},
        {"--events", "a", "--events", "b", "-o", "x.bmp"},
        {"--size", "10x10"},
    };
    for (auto args : bad) {
        for (std::string& a : args)
            if (a == "x.bmp") a = out;
        EXPECT_EQ(run(args), 2) << args.size();
        EXPECT_NE(errors.find("usage: nelmora-render"), std::string::npos);
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(RenderTool, BadInputsWriteNothing)
{
    EXPECT_EQ(run({"-o", out}, "down 1 2\nwiggle\n"), 2);
    EXPECT_EQ(errors, "nelmora-render: line 2: unknown command 'wiggle'\n");
    const std::string events = file("events.txt", "value 40 1\n");
    EXPECT_EQ(run({"--events", events, "-o", out}), 2);
    EXPECT_NE(errors.find("line 1: drawing value index must be 1..33"), std::string::npos);
    EXPECT_EQ(run({"--events", (dir / "missing.txt").string(), "-o", out}), 2);
    EXPECT_EQ(run({"--image", (dir / "missing.bmp").string(), "-o", out}), 2);
    EXPECT_EQ(run({"--image", file("text.bmp", "not a bitmap"), "-o", out}), 2);
    EXPECT_EQ(run({"--pens", (dir / "missing.pen").string(), "-o", out}), 2);
    EXPECT_EQ(run({"--size", "100000x100000", "-o", out}), 2);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(run({"-o", (dir / "no-such-folder" / "out.bmp").string()}), 1);
}

// A drag with the start-up pens (pen 0 live: disc, color 1 = 0xFF6363 at
// alpha 254 where the disc is full). Hand-checked:
//  (5, 100): dab 0 at x = 20 + 100/256 covers it with map (24, 40) = 255 ->
//    0xFF6464; dab 1 (map (12, 40) = 84, alpha 83) keeps green at 100.
//  (5, 80): map (24, 20) = 100, alpha 99 -> green 195; then map (12, 20) = 39,
//    alpha 38 -> green 181: 0xFFB5B5.
//  (199, 100): dab 12 (map (72, 40) = 56, alpha 55) -> green 221, then dab 13
//    (map (59, 40) = 255) -> green 100: 0xFF6464.
TEST_F(RenderTool, GoldenDragWithTheStartUpPens)
{
    std::string script = "down 20 100\n";
    for (int x = 30; x <= 180; x += 10) script += "move " + std::to_string(x) + " 100\n";
    script += "up 180 100\n";
    ImagePtr image = rendered({}, script);
    ASSERT_TRUE(image);
    EXPECT_EQ(rgb(*image, 5, 100), 0xFF6464u);
    EXPECT_EQ(rgb(*image, 5, 80), 0xFFB5B5u);
    EXPECT_EQ(rgb(*image, 199, 100), 0xFF6464u);
    EXPECT_EQ(rgb(*image, 100, 10), 0xFFFFFFu);
    EXPECT_EQ(checksum(*image), kGoldenDrag);
}

// A tablet's numbers on a point are two value lines before it: with a pen
// whose thickness and angle follow them, both paint alike, and unlike the
// mouse (pressure 0). A malformed number is a bad line like any other.
TEST_F(RenderTool, TabletNumbersSetPressureAndPenAngleBeforeThePoint)
{
    std::string tablet = "slot 0 6 13 0x10000 0 0 0 0\nslot 0 8 14 0x10000 0 0 0 0\n", values = tablet, mouse = tablet;
    for (int x = 20; x <= 180; x += 10) {
        const std::string point = (x == 20 ? "down " : x == 180 ? "up " : "move ") + std::to_string(x) + " 100";
        const std::string pressure = std::to_string(x * 300), angle = std::to_string(x * 200);
        tablet += point + " " + pressure + " " + angle + "\n";
        values += "value 13 " + pressure + "\nvalue 14 " + angle + "\n" + point + "\n";
        mouse += point + "\n";
    }
    const auto sum = [this](const std::string& script) {
        const ImagePtr image = rendered({}, script);
        return image ? checksum(*image) : 0;
    };
    EXPECT_EQ(sum(tablet), sum(values));
    EXPECT_NE(sum(tablet), sum(mouse));
    EXPECT_EQ(run({"-o", out}, "down 1 2 0x100 0x200\nmove 3 4 0x100 0x2x0\n"), 2);
    EXPECT_EQ(errors, "nelmora-render: line 2: '0x2x0' is not a number\n");
}

// One single-dab drag per blend mode on the checker, modes in rows of six,
// 88 pixels apart; each dab lies at (x0 + 100/256, y0) with x0 = 48 + 88 c,
// y0 = 48 + 88 r, so (x0, y0) gets map byte 255 and k = 65279 or alpha 254.
// Hand-checked:
//  Normal (48, 48) on 0xC0: 0xFF6464.  Add (136, 48) on 0x40: S = 0xFD6262,
//  red saturates, green 0x40 + 0x62: 0xFFA2A2.  Multiply (400, 48) on 0xC0:
//  S = 0xFF6464: 0xBF4B4B.  BrightnessPlus (439, 224), map (78, 40) = 14,
//  k = 3583 on 0xC0: v 52990 -> 0xCECECE.  SuckIn (136, 312): offset -100 reads
//  between 0x40 and 0xC0 at weight 156: 0x8E8E8E.
TEST_F(RenderTool, GoldenDragPerBlendMode)
{
    std::string script = "fill checker\n";
    for (int k = 0; k < 24; ++k) {
        const int x = 48 + 88 * (k % 6), y = 48 + 88 * (k / 6);
        script += "pen 0 blendIndex " + std::to_string(k) + "\n";
        script += "down " + std::to_string(x) + " " + std::to_string(y) + "\n";
        script += "move " + std::to_string(x + 10) + " " + std::to_string(y) + "\n";
        script += "up " + std::to_string(x + 10) + " " + std::to_string(y) + "\n";
    }
    ImagePtr image = rendered({"--size", "560x380"}, script);
    ASSERT_TRUE(image);
    EXPECT_EQ(rgb(*image, 48, 48), 0xFF6464u);
    EXPECT_EQ(rgb(*image, 136, 48), 0xFFA2A2u);
    EXPECT_EQ(rgb(*image, 400, 48), 0xBF4B4Bu);
    EXPECT_EQ(rgb(*image, 439, 224), 0xCECECEu);
    EXPECT_EQ(rgb(*image, 136, 312), 0x8E8E8Eu);
    EXPECT_EQ(rgb(*image, 0, 0), 0xC0C0C0u);  // outside every box
    EXPECT_EQ(checksum(*image), kGoldenModes);
}

// Pen 0 off, pen 1 delayed with the end flag: the release replays begin at
// (20, 50), one continue to (30, 50) (one dab at 20 + 100/256) and the end
// dab exactly on (100, 50). Cone map, color 2 = 0xFF6363. Hand-checked:
//  (100, 50) map (40, 40) = 255: 0xFF6464.  (105, 50) map (45, 40) = 245,
//  alpha 244: 0xFF6A6A.  (20, 50) map (39, 40) = 255: 0xFF6464.
//  (60, 50) only the first dab, map (79, 40) = 7, alpha 6: 0xFFFBFB.
TEST_F(RenderTool, GoldenDelayedPenWithEndFlag)
{
    const std::string script =
        "pen 0 drawMode 0\npen 1 drawMode 2\npen 1 endFlag 1\n"
        "down 20 50\nmove 30 50\nup 100 50\n";
    ImagePtr image = rendered({}, script);
    ASSERT_TRUE(image);
    EXPECT_EQ(rgb(*image, 100, 50), 0xFF6464u);
    EXPECT_EQ(rgb(*image, 105, 50), 0xFF6A6Au);
    EXPECT_EQ(rgb(*image, 20, 50), 0xFF6464u);
    EXPECT_EQ(rgb(*image, 60, 50), 0xFFFBFBu);
    EXPECT_EQ(checksum(*image), kGoldenDelayed);
}

TEST_F(RenderTool, UndoAndRedoLinesStepThroughThePicture)
{
    const std::string strokes = "down 20 40\nmove 180 40\nup 180 40\nfill checker\ndown 20 120\nmove 180 120\nup 180 120\n";
    ImagePtr all = rendered({}, strokes);
    ImagePtr firstOnly = rendered({}, "down 20 40\nmove 180 40\nup 180 40\n");
    ASSERT_TRUE(all && firstOnly);
    // Three undos and three redos give the same picture; two undos leave the first stroke.
    ImagePtr redone = rendered({}, strokes + "undo\nundo\nundo\nredo\nredo\nredo\n");
    ImagePtr twoUndone = rendered({}, strokes + "undo\nundo\nundo\nredo\n");
    ImagePtr blank = rendered({}, strokes + "undo\nundo\nundo\nundo\n");  // one more than there is
    ASSERT_TRUE(redone && twoUndone && blank);
    EXPECT_EQ(checksum(*redone), checksum(*all));
    EXPECT_EQ(checksum(*twoUndone), checksum(*firstOnly));
    EXPECT_EQ(rgb(*blank, 100, 40), 0xFFFFFFu);
    EXPECT_NE(rgb(*firstOnly, 100, 40), 0xFFFFFFu);

    // An image given at start is where undo stops, not a step.
    ASSERT_TRUE(rendered({"--size", "40x30"}, "fill checker\n"));
    const std::string start = (dir / "start.bmp").string();
    fs::rename(out, start);
    ImagePtr kept = rendered({"--image", start}, "undo\n");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->width, 40);
    EXPECT_EQ(rgb(*kept, 8, 0), 0x404040u);
    EXPECT_EQ(run({"--undo-memory", "0", "-o", out}), 2);
    EXPECT_EQ(run({"--undo-memory", "64", "-o", out}, "fill black\nundo\n"), 0);
}


TEST_F(RenderTool, AFolderAsScriptIsAnErrorAndNothingIsWritten)
{
    EXPECT_EQ(run({"--events", dir.string(), "-o", out}), 2);
    EXPECT_NE(errors.find("folder"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(out));
    // A bad line after good ones: nothing written either.
    EXPECT_EQ(run({"-o", out}, "down 1 1\nup 5 5\nfill purple\n"), 2);
    EXPECT_EQ(errors, "nelmora-render: line 3: unknown fill 'purple'\n");
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(RenderTool, AFolderOnStandardInputIsAReadError)
{
    // The program itself: its standard input must report the read error, not an end.
    const std::string command = std::string(NELMORA_BINARY_DIR) + "/bin/nelmora-render -o " + out + " < " +
                                dir.string() + " 2> " + (dir / "errors.txt").string();
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_FALSE(fs::exists(out));
    std::ifstream errorsFile(dir / "errors.txt");
    std::string message;
    std::getline(errorsFile, message);
    EXPECT_EQ(message, "nelmora-render: cannot read line 1: Is a directory");
}

TEST_F(RenderTool, FramesEveryNCommands)
{
    const std::string frames = (dir / "frames").string();
    EXPECT_EQ(run({"--frames", frames, "--every", "2"}, "fill black\nfill white\nfill checker\nfill black\nfill white\n"),
              0)
        << errors;
    EXPECT_TRUE(fs::exists(fs::path(frames) / "frame-000001.png"));
    EXPECT_TRUE(fs::exists(fs::path(frames) / "frame-000002.png"));
    EXPECT_FALSE(fs::exists(fs::path(frames) / "frame-000003.png"));
    EXPECT_EQ(run({"--every", "2", "-o", (dir / "x.bmp").string()}), 2);
    EXPECT_EQ(run({"--frames", frames, "--every", "0"}), 2);
}

}  // namespace
}  // namespace nelmora
