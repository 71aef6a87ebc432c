// The recorder against the script runner, without windows: whatever a session
// does to a workspace, its recording replayed on a fresh one gives the same
// document.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <stdexcept>

#include "script/recorder.h"
#include "script/render_script.h"

namespace nelmora {
namespace {

struct Recording : ::testing::Test {
    // Opened pictures are kept in memory here, by name.
    std::string keep(const Image& image)
    {
        const std::string name = "kept-" + std::to_string(kept.size());
        kept[name].reset(createImage(image.width, image.height, 0, 0, 0));
        std::copy(image.pixels, image.pixels + size_t(image.stride) * size_t(image.height), kept[name]->pixels);
        return name;
    }
    std::string script() const
    {
        return recorder.script([this](size_t i) { return recorder.keptPictures()[i]; });
    }
    // The recording run on a fresh workspace.
    std::unique_ptr<Workspace> replay()
    {
        auto copy = std::make_unique<Workspace>();
        CanvasStroke replayCanvas;
        const PictureReader read = [this](const std::string& path, std::string*) {
            const Image& image = *kept.at(path.substr(path.find("kept-")));
            ImagePtr out(createImage(image.width, image.height, 0, 0, 0));
            std::copy(image.pixels, image.pixels + size_t(image.stride) * size_t(image.height), out->pixels);
            return out;
        };
        ScriptRunner runner(*copy, replayCanvas, {".", read});
        std::istringstream in(script());
        std::string error;
        EXPECT_TRUE(runner.run(in, error)) << error;
        return copy;
    }
    static void expectSameDocument(Workspace& a, Workspace& b)
    {
        ASSERT_EQ(a.image().width, b.image().width);
        ASSERT_EQ(a.image().height, b.image().height);
        for (int y = 0; y < a.image().height; ++y)
            for (int x = 0; x < a.image().width; ++x) ASSERT_EQ(a.image().at(x, y), b.image().at(x, y)) << x << "," << y;
        EXPECT_EQ(a.penFileBytes(), b.penFileBytes());
        EXPECT_EQ(a.drawingValues(), b.drawingValues());
        EXPECT_EQ(a.random().value, b.random().value);
    }
    void stroke(int32_t x, int32_t y)
    {
        canvas.buttonDown(workspace, x, y);
        for (int i = 1; i <= 6; ++i) canvas.mouseMove(workspace, x + 15 * i, y + 4 * i);
        canvas.buttonUp(workspace, x + 90, y + 24, [] {});
    }

    std::map<std::string, ImagePtr> kept;
    Workspace workspace;
    Recorder recorder{workspace, [this](const Image& image) { return keep(image); }};
    CanvasStroke canvas;
};

TEST_F(Recording, ASessionReplaysToTheSameDocument)
{
    stroke(10, 20);
    workspace.setDrawingValue(dv::thickness1, 0x18000);
    workspace.setPenField(1, PenField::drawMode, kDrawModeDelayed);
    workspace.setSlotField(1, 3, SlotField::jitter, 0x4000);
    workspace.setShapeSetting(0, 7, 0x3000);
    workspace.regenerateShapeMap(0);
    stroke(30, 100);
    workspace.pickColor(60, 110);
    workspace.fill(0x123456, 0x654321);
    stroke(0, 0);
    workspace.undo();
    workspace.redo();
    canvas.repaintLast(workspace, [] {});
    workspace.swapColors();
    workspace.setRandomState(0xDEADBEEF);  // moved for a reason no line repeats
    workspace.newImage(120, 90, 0x00FF00);
    stroke(5, 5);
    ImagePtr opened(createImage(70, 50, 0, 0, 0x336699));
    opened->at(3, 4) = 0x010203;
    workspace.replaceImage(std::move(opened));
    stroke(0, 10);
    Workspace other;
    other.setPenField(0, PenField::blendIndex, 5);
    const std::vector<uint8_t> pens = other.penFileBytes();
    workspace.loadPens(pens.data(), pens.size());
    stroke(20, 20);
    workspace.undo();

    EXPECT_TRUE(recorder.complete());
    ASSERT_EQ(recorder.keptPictures().size(), 1u);
    expectSameDocument(workspace, *replay());
}

TEST_F(Recording, CancelledStrokesReplayToTheSameDocument)
{
    stroke(10, 20);
    // Esc between moves: the finished moves stay, and the replay cancels after them.
    canvas.buttonDown(workspace, 30, 30);
    canvas.mouseMove(workspace, 60, 40);
    EXPECT_TRUE(canvas.cancel(workspace));
    // Esc during the delayed pen's replay of a tablet stroke: the release never
    // finished, so it is left out; the reading goes back to the press's.
    workspace.setPenField(1, PenField::drawMode, kDrawModeDelayed);
    canvas.buttonDown(workspace, 40, 40, PenReading{30000, 100});
    canvas.mouseMove(workspace, 80, 60, PenReading{40000, 200});
    Image& image = workspace.strokeImage();
    image.whilePainting = [](void*) { throw std::runtime_error("Esc"); };
    EXPECT_THROW(canvas.buttonUp(workspace, 80, 60, [] {}, PenReading{50000, 300}), std::runtime_error);
    image.whilePainting = nullptr;
    EXPECT_TRUE(canvas.cancel(workspace, true));
    EXPECT_TRUE(script().ends_with("down 40 40 30000 100\nmove 80 60 40000 200\ncancel\n")) << script();
    EXPECT_EQ(workspace.drawingValue(dv::pressure), Workspace().drawingValue(dv::pressure));
    stroke(0, 50);

    expectSameDocument(workspace, *replay());
}

TEST_F(Recording, AnActionIsOneLineAndAMoveTensOfBytes)
{
    workspace.fill(kCheckerDark, kCheckerLight);
    workspace.pickColor(8, 0);  // its three colour notes are not lines of their own
    EXPECT_EQ(script(), "fill checker\npick 8 0\n");

    const size_t before = recorder.size();
    canvas.buttonDown(workspace, 100, 100);
    for (int i = 0; i < 1000; ++i) canvas.mouseMove(workspace, 100 + i % 50, 100 + i % 37);
    canvas.buttonUp(workspace, 100, 100, [] {});
    EXPECT_LT(recorder.size() - before, 1002u * 16);
}

TEST_F(Recording, ATabletStrokeIsWrittenWithItsReadingsAMouseStrokeWithout)
{
    workspace.setSlot(0, slot::thickness, {dv::pressure, 0x10000, dv::none, 0, 0, 0});
    const size_t before = recorder.size();
    canvas.buttonDown(workspace, 10, 20, PenReading{0x1000, 0x4000});
    canvas.mouseMove(workspace, 60, 20, PenReading{0xFFFF, 0x4100});
    canvas.buttonUp(workspace, 90, 20, [] {}, PenReading{0x800, 0x4100});
    stroke(10, 60);
    // The readings ride on the points rather than as value lines of their own.
    const std::string tablet = "down 10 20 4096 16384\nmove 60 20 65535 16640\nup 90 20 2048 16640\n";
    EXPECT_EQ(script().substr(before, tablet.size()), tablet);
    EXPECT_NE(script().find("\ndown 10 60\nmove 25 64\n"), std::string::npos);
    expectSameDocument(workspace, *replay());
}

TEST_F(Recording, TheGeneratorIsWrittenWhereNoLineMovesIt)
{
    workspace.setRandomState(77);
    workspace.regenerateShapeMap(1);
    stroke(50, 50);
    EXPECT_EQ(script().substr(0, 18), "random 77\nregen 1\n");
    EXPECT_EQ(script().find("random", 1), std::string::npos) << "regen and strokes move it as the replay will";
}

TEST_F(Recording, AResetStartsTheRecordingAgain)
{
    stroke(10, 10);
    workspace.setDrawingValue(dv::thickness1, 0x8000);
    workspace.reset();
    EXPECT_EQ(script(), "");
    workspace.fill(0, 0);
    EXPECT_EQ(script(), "fill black\n");
}

}  // namespace
}  // namespace nelmora
