// Undo and redo over random sessions: after every undo the picture is the one
// before that step, size included, and after every redo the one after it.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "doc/canvas_stroke.h"
#include "doc/workspace.h"
#include "engine/blend_modes.h"

namespace nelmora {
namespace {

struct Picture {
    int32_t width, height;
    std::vector<uint32_t> pixels;
    bool operator==(const Picture&) const = default;
};

Picture pictureOf(const Image& image)
{
    return {image.width, image.height, {image.pixels, image.pixels + size_t(image.width) * image.height}};
}

class UndoSession {
public:
    explicit UndoSession(uint32_t seed) : rng_(seed), workspace_(150, 130) { states_.push_back(picture()); }

    // One random action; returns a description for failure messages.
    std::string step()
    {
        const int kind = pick(0, 99);
        if (kind < 40) return stroke();
        if (kind < 48) return fill();
        if (kind < 54) return newPicture();
        if (kind < 58) return openPicture();
        if (kind < 82) return undo();
        return redo();
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    Picture picture() const { return pictureOf(workspace_.image()); }

    // A changing action must add exactly one step and a step must come with it.
    std::string changed(const std::string& what, size_t undoableBefore, const Picture& before)
    {
        const size_t undoable = workspace_.history().undoableCount();
        if (undoable == undoableBefore + 1) {
            states_.resize(position_ + 1);
            states_.push_back(picture());
            ++position_;
        } else {
            EXPECT_EQ(undoable, undoableBefore) << what;
            EXPECT_TRUE(picture() == before) << what << ": the picture changed without a step";
        }
        return what;
    }

    std::string stroke()
    {
        for (int pen = 0; pen < kPenCount; ++pen) {
            workspace_.setPenField(pen, PenField::drawMode, pick(0, 2));
            workspace_.setPenField(pen, PenField::endFlag, pick(0, 1));
            workspace_.setPenField(pen, PenField::blendIndex, pick(0, kBlendModeCount - 1));
            workspace_.setSlot(pen, slot::thickness, {dv::thickness1, pick(0x2000, 0x30000), 0, 0, 0, 0});
        }
        const size_t undoable = workspace_.history().undoableCount();
        const Picture before = picture();
        // Paths start and wander outside the picture too.
        int32_t x = pick(-60, 210), y = pick(-60, 190);
        canvas_.buttonDown(workspace_, x, y);
        for (int n = pick(0, 12); n > 0; --n) {
            x += pick(-50, 50);
            y += pick(-50, 50);
            canvas_.mouseMove(workspace_, x, y);
        }
        canvas_.buttonUp(workspace_, x, y, [] {});
        return changed("stroke", undoable, before);
    }

    std::string fill()
    {
        const size_t undoable = workspace_.history().undoableCount();
        const Picture before = picture();
        const uint32_t colors[] = {0xFFFFFF, kCheckerDark, 0};
        workspace_.fill(colors[pick(0, 2)], colors[pick(0, 2)]);
        return changed("fill", undoable, before);
    }

    std::string newPicture()
    {
        const size_t undoable = workspace_.history().undoableCount();
        const Picture before = picture();
        workspace_.replaceImage(ImagePtr(createImage(pick(1, 200), pick(1, 200), 0, 0, uint32_t(pick(0, 0xFFFFFF)))));
        return changed("new", undoable, before);
    }

    std::string openPicture()
    {
        const size_t undoable = workspace_.history().undoableCount();
        const Picture before = picture();
        ImagePtr opened(createImage(pick(60, 180), pick(60, 180), 0, 0, 0));
        for (int32_t i = 0; i < opened->width * opened->height; ++i) opened->pixels[i] = uint32_t(pick(0, 0xFFFFFF));
        workspace_.replaceImage(std::move(opened));
        return changed("open", undoable, before);
    }

    std::string undo()
    {
        const bool undone = workspace_.undo();
        EXPECT_EQ(undone, position_ > 0);
        if (undone) --position_;
        EXPECT_TRUE(picture() == states_[position_]) << "undo back to state " << position_;
        return "undo";
    }

    std::string redo()
    {
        const bool redone = workspace_.redo();
        EXPECT_EQ(redone, position_ + 1 < states_.size());
        if (redone) ++position_;
        EXPECT_TRUE(picture() == states_[position_]) << "redo to state " << position_;
        return "redo";
    }

    std::mt19937 rng_;
    Workspace workspace_;
    CanvasStroke canvas_;
    std::vector<Picture> states_;  // the picture after each step, the start first
    size_t position_ = 0;          // states_[position_] is shown now
};

TEST(UndoHistory, RandomSessionsUndoAndRedoEveryStepExactly)
{
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        UndoSession session(seed);
        for (int i = 0; i < 120; ++i) {
            const std::string what = session.step();
            if (::testing::Test::HasFailure()) FAIL() << "seed " << seed << ", action " << i << ": " << what;
        }
    }
}

TEST(UndoHistory, UndoRestoresPixelsOnlyAndNeverRewindsTheRandomGenerator)
{
    Workspace workspace;
    workspace.setSlot(0, slot::hue1, {0, 0, 0, 0, 0, 0x4000});  // jitter draws numbers
    CanvasStroke canvas;
    canvas.buttonDown(workspace, 20, 20);
    canvas.mouseMove(workspace, 120, 40);
    canvas.buttonUp(workspace, 120, 40, [] {});
    const uint32_t afterStroke = workspace.random().value;
    ASSERT_NE(afterStroke, 1u);
    ASSERT_TRUE(workspace.undo());
    EXPECT_EQ(workspace.random().value, afterStroke);
    EXPECT_EQ(workspace.image().at(70, 30), 0xFFFFFFu);
    // Edits of values and pens are no steps: nothing more to undo.
    workspace.setDrawingValue(dv::hue1, 0x4000);
    EXPECT_FALSE(workspace.undo());
    EXPECT_EQ(workspace.drawingValue(dv::hue1), 0x4000);
}

// A fill of a 64 x 64 picture keeps one tile: 16 KiB.
constexpr size_t kFillStep = 64 * 64 * sizeof(uint32_t);

TEST(UndoHistory, TheBudgetDropsTheOldestStepsButKeepsTheNewestAlone)
{
    Workspace workspace(64, 64);
    workspace.setUndoBudget(3 * kFillStep);
    const uint32_t colors[] = {0x111111, 0x222222, 0x333333, 0x444444, 0x555555};
    for (uint32_t color : colors) workspace.fill(color, color);
    EXPECT_EQ(workspace.history().stepCount(), 3u);
    EXPECT_EQ(workspace.history().bytes(), 3 * kFillStep);
    // The three newest remain: back to the second fill, then no further.
    EXPECT_TRUE(workspace.undo());
    EXPECT_TRUE(workspace.undo());
    EXPECT_TRUE(workspace.undo());
    EXPECT_EQ(workspace.image().at(0, 0), 0x222222u);
    EXPECT_FALSE(workspace.undo());

    // A step larger than the whole budget still stays undoable, alone.
    workspace.setUndoBudget(kFillStep / 2);
    workspace.fill(0x666666, 0x666666);
    EXPECT_EQ(workspace.history().stepCount(), 1u);
    EXPECT_TRUE(workspace.undo());
    EXPECT_EQ(workspace.image().at(0, 0), 0x222222u);
    EXPECT_TRUE(workspace.redo());
    EXPECT_EQ(workspace.image().at(0, 0), 0x666666u);
}

TEST(UndoHistory, ThirtyStepsBelowTheDefaultBudgetAreAllKept)
{
    Workspace workspace(300, 300);
    for (uint32_t k = 1; k <= 40; ++k) workspace.fill(k, k);
    EXPECT_EQ(workspace.history().stepCount(), 40u);
    for (int k = 0; k < 40; ++k) ASSERT_TRUE(workspace.undo()) << k;
    EXPECT_EQ(workspace.image().at(299, 299), 0xFFFFFFu);
}

TEST(UndoHistory, ANewStepAfterAnUndoDropsTheRedoHistory)
{
    Workspace workspace(64, 64);
    workspace.fill(1, 1);
    workspace.fill(2, 2);
    ASSERT_TRUE(workspace.undo());
    EXPECT_TRUE(workspace.history().canRedo());
    workspace.fill(3, 3);
    EXPECT_FALSE(workspace.redo());
    EXPECT_TRUE(workspace.undo());
    EXPECT_EQ(workspace.image().at(0, 0), 1u);
}

TEST(UndoHistory, MiBOptionsAreWholePositiveNumbers)
{
    EXPECT_EQ(undoBudgetFromMiB("512"), size_t{512} << 20);
    EXPECT_EQ(undoBudgetFromMiB("1"), size_t{1} << 20);
    for (const char* bad : {"", "0", "-5", "12x", "1048577", "99999999999"}) EXPECT_FALSE(undoBudgetFromMiB(bad)) << bad;
}

}  // namespace
}  // namespace nelmora
