#pragma once
// The undo history of the picture. A pixel step (a stroke, a fill) keeps the
// 64 x 64 tiles it changed: each row of a tile is copied before its first
// write. Undo swaps the kept rows with the picture's, so the step then holds
// the pixels that redo swaps back. A picture step (New, Open) keeps the whole
// other picture.
// Steps beyond the memory budget are dropped oldest first, but the newest
// step always stays, however large.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "image/image.h"

namespace nelmora {

inline constexpr int32_t kUndoTileSize = 64;
inline constexpr size_t kDefaultUndoBudget = size_t{512} << 20;

// "--undo-memory MiB": a whole number of MiB, 1 to 1048576, as bytes; empty
// for anything else.
std::optional<size_t> undoBudgetFromMiB(std::string_view text);

class UndoHistory {
public:
    explicit UndoHistory(size_t budgetBytes = kDefaultUndoBudget) : budget_(budgetBytes) {}

    void setBudget(size_t bytes);
    size_t budget() const { return budget_; }

    // Starts a pixel step on `image`: from now on every write the engine
    // announces through the image's beforeWrite copies the tiles it is about
    // to change, once each.
    void beginPixelStep(Image& image);
    // Copies the old pixels of the tiles of `box` not yet kept in this step.
    void keep(const UpdateRect& box);
    // Ends the pixel step and keeps it, unless nothing was written. Returns
    // false when memory ran out while keeping it: the history is then emptied
    // (the picture itself is never touched) and painting went on.
    bool endPixelStep();
    bool inPixelStep() const { return image_ != nullptr; }
    // Ends the pixel step without keeping it: every row it changed gets its
    // old pixels back, and the history is as it was before the step began.
    // False when memory ran out while keeping it: what was kept is put back,
    // but the rest of the change stays, and the history is emptied.
    bool cancelPixelStep();

    // In a pixel step: puts back the pixels the last done step changed, as
    // writes of this step, so that undoing this step brings that step's result
    // back. False, changing nothing, when the last done step is no pixel step.
    bool revertLastStep();

    // New and Open: `previous` is the picture that was replaced.
    void pushPictureStep(ImagePtr previous);

    // What undo and redo did to the current picture.
    enum class Restored { nothing, pixels, picture };
    Restored undo(ImagePtr& current);
    Restored redo(ImagePtr& current);

    bool canUndo() const { return !inPixelStep() && done_ > 0; }
    bool canRedo() const { return !inPixelStep() && done_ < steps_.size(); }
    size_t stepCount() const { return steps_.size(); }
    // How many of the steps can be undone now.
    size_t undoableCount() const { return done_; }
    size_t bytes() const { return bytes_; }
    // Changes whenever a step is added or the history emptied, not on undo
    // and redo: the same generation and undoable count mean the same last step.
    uint64_t generation() const { return generation_; }
    void clear();

private:
    struct Tile {
        int32_t x, y, width, height;
        uint64_t keptRows;                   // bit r: row r is in `pixels`
        std::unique_ptr<uint32_t[]> pixels;  // the other side of the step, width-long rows
    };
    struct Step {
        std::vector<Tile> tiles;
        ImagePtr picture;  // the other picture of a picture step
        size_t bytes = 0;
    };

    static void keepThunk(void* history, const UpdateRect& box);
    // Ends watching the step's image and hands the recorded step over.
    Step stopWatching();
    Tile* tileAt(int32_t column, int32_t row);
    void push(Step step);
    void drop(Step& step);
    static void swapTiles(Step& step, Image& image);
    void swapPicture(Step& step, ImagePtr& current);

    size_t budget_;
    std::deque<Step> steps_;
    size_t done_ = 0;  // steps_[0, done_) can be undone, the rest redone
    size_t bytes_ = 0;
    uint64_t generation_ = 0;

    // The pixel step being recorded.
    Image* image_ = nullptr;
    Step current_;
    std::vector<int32_t> tileIndex_;  // per tile of image_: its place in current_.tiles, or -1
    // Tile buffers of dropped steps, reused so that painting rarely asks the
    // system for fresh memory.
    std::vector<std::unique_ptr<uint32_t[]>> spare_;
    int32_t tileColumns_ = 0;
    bool outOfMemory_ = false;
};

}  // namespace nelmora
