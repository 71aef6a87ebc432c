#include "doc/undo_history.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace nelmora {

namespace {

size_t pictureBytes(const Image& image) { return size_t(image.width) * size_t(image.height) * sizeof(uint32_t); }

constexpr size_t kTilePixels = size_t(kUndoTileSize) * size_t(kUndoTileSize);
constexpr size_t kTileBytes = kTilePixels * sizeof(uint32_t);
constexpr size_t kMostSpareTiles = 1024;  // 16 MiB

// Rows first..last (inclusive) of a tile as bits.
uint64_t rowBits(int32_t first, int32_t last)
{
    const uint64_t upToLast = last >= 63 ? ~uint64_t{0} : (uint64_t{1} << (last + 1)) - 1;
    return upToLast & ~((uint64_t{1} << first) - 1);
}

}  // namespace

std::optional<size_t> undoBudgetFromMiB(std::string_view text)
{
    constexpr size_t kMaxMiB = size_t{1} << 20;
    if (text.empty() || text.size() > 7) return std::nullopt;
    size_t mib = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        mib = mib * 10 + size_t(c - '0');
    }
    if (mib == 0 || mib > kMaxMiB) return std::nullopt;
    return mib << 20;
}

void UndoHistory::setBudget(size_t bytes)
{
    budget_ = bytes;
    while (bytes_ > budget_ && steps_.size() > 1 && done_ > 0) {
        drop(steps_.front());
        steps_.pop_front();
        --done_;
    }
}

void UndoHistory::keepThunk(void* history, const UpdateRect& box) { static_cast<UndoHistory*>(history)->keep(box); }

void UndoHistory::beginPixelStep(Image& image)
{
    image_ = &image;
    current_ = Step{};
    outOfMemory_ = false;
    tileColumns_ = (image.width + kUndoTileSize - 1) / kUndoTileSize;
    const int32_t tileRows = (image.height + kUndoTileSize - 1) / kUndoTileSize;
    try {
        tileIndex_.assign(size_t(tileColumns_) * size_t(tileRows), -1);
    } catch (const std::bad_alloc&) {
        outOfMemory_ = true;
    }
    image.beforeWrite = keepThunk;
    image.writeWatcher = this;
}

UndoHistory::Tile* UndoHistory::tileAt(int32_t column, int32_t row)
{
    int32_t& index = tileIndex_[size_t(row) * size_t(tileColumns_) + size_t(column)];
    if (index >= 0) return &current_.tiles[size_t(index)];
    Tile tile{column * kUndoTileSize, row * kUndoTileSize, 0, 0, 0, nullptr};
    tile.width = std::min(kUndoTileSize, image_->width - tile.x);
    tile.height = std::min(kUndoTileSize, image_->height - tile.y);
    try {
        if (spare_.empty()) {
            tile.pixels.reset(new uint32_t[kTilePixels]);
        } else {
            tile.pixels = std::move(spare_.back());
            spare_.pop_back();
        }
        current_.tiles.push_back(std::move(tile));
    } catch (const std::bad_alloc&) {
        outOfMemory_ = true;
        return nullptr;
    }
    current_.bytes += kTileBytes;
    index = int32_t(current_.tiles.size() - 1);
    return &current_.tiles.back();
}

void UndoHistory::keep(const UpdateRect& box)
{
    Image* image = image_;
    if (!image || outOfMemory_) return;
    const int32_t left = std::max(box.left, 0), top = std::max(box.top, 0);
    const int32_t right = std::min(box.right, image->width), bottom = std::min(box.bottom, image->height);
    if (right <= left || bottom <= top) return;
    for (int32_t ty = top / kUndoTileSize; ty <= (bottom - 1) / kUndoTileSize; ++ty) {
        const int32_t tileTop = ty * kUndoTileSize;
        const uint64_t wanted = rowBits(std::max(top - tileTop, 0), std::min(bottom - tileTop, kUndoTileSize) - 1);
        for (int32_t tx = left / kUndoTileSize; tx <= (right - 1) / kUndoTileSize; ++tx) {
            Tile* t = tileAt(tx, ty);
            if (!t) return;
            const uint64_t missing = wanted & ~t->keptRows;
            if (!missing) continue;
            for (int32_t row = 0; row < t->height; ++row)
                if (missing >> row & 1)
                    std::memcpy(t->pixels.get() + size_t(row) * size_t(t->width), &image->at(t->x, t->y + row),
                                size_t(t->width) * sizeof(uint32_t));
            t->keptRows |= missing;
        }
    }
}

UndoHistory::Step UndoHistory::stopWatching()
{
    image_->beforeWrite = nullptr;
    image_->writeWatcher = nullptr;
    image_ = nullptr;
    tileIndex_.clear();
    return std::exchange(current_, Step{});
}

bool UndoHistory::cancelPixelStep()
{
    if (!image_) return true;
    Image& image = *image_;
    Step step = stopWatching();
    swapTiles(step, image);
    step.bytes = 0;  // a step being recorded is not counted in bytes_ yet
    drop(step);
    if (outOfMemory_) clear();
    return !outOfMemory_;
}

bool UndoHistory::endPixelStep()
{
    if (!image_) return true;
    Step step = stopWatching();
    if (outOfMemory_) {
        // Older steps would restore tiles around a change nobody kept: drop them all.
        drop(step);
        clear();
        return false;
    }
    if (step.tiles.empty()) return true;
    push(std::move(step));
    return true;
}

void UndoHistory::pushPictureStep(ImagePtr previous)
{
    if (!previous) return;
    Step step;
    step.bytes = pictureBytes(*previous);
    step.picture = std::move(previous);
    push(std::move(step));
}

void UndoHistory::push(Step step)
{
    while (steps_.size() > done_) {
        drop(steps_.back());
        steps_.pop_back();
    }
    bytes_ += step.bytes;
    ++generation_;
    steps_.push_back(std::move(step));
    done_ = steps_.size();
    setBudget(budget_);
}

void UndoHistory::swapTiles(Step& step, Image& image)
{
    for (Tile& t : step.tiles)
        for (int32_t row = 0; row < t.height; ++row) {
            if (!(t.keptRows >> row & 1)) continue;
            uint32_t* kept = t.pixels.get() + size_t(row) * size_t(t.width);
            std::swap_ranges(kept, kept + t.width, &image.at(t.x, t.y + row));
        }
}

void UndoHistory::drop(Step& step)
{
    bytes_ -= std::min(bytes_, step.bytes);
    for (Tile& t : step.tiles)
        if (spare_.size() < kMostSpareTiles) spare_.push_back(std::move(t.pixels));
    step.tiles.clear();
}

// The step now keeps the picture that was current, whose size may differ.
void UndoHistory::swapPicture(Step& step, ImagePtr& current)
{
    std::swap(step.picture, current);
    bytes_ -= step.bytes;
    step.bytes = pictureBytes(*step.picture);
    bytes_ += step.bytes;
}

UndoHistory::Restored UndoHistory::undo(ImagePtr& current)
{
    if (!canUndo()) return Restored::nothing;
    Step& step = steps_[--done_];
    if (step.picture) {
        swapPicture(step, current);
        return Restored::picture;
    }
    swapTiles(step, *current);
    return Restored::pixels;
}

UndoHistory::Restored UndoHistory::redo(ImagePtr& current)
{
    if (!canRedo()) return Restored::nothing;
    Step& step = steps_[done_++];
    if (step.picture) {
        swapPicture(step, current);
        return Restored::picture;
    }
    swapTiles(step, *current);
    return Restored::pixels;
}

bool UndoHistory::revertLastStep()
{
    if (!inPixelStep() || done_ == 0 || steps_[done_ - 1].picture) return false;
    Image& image = *image_;
    for (const Tile& t : steps_[done_ - 1].tiles)
        for (int32_t row = 0; row < t.height; ++row) {
            if (!(t.keptRows >> row & 1)) continue;
            keep({t.x, t.y + row, t.x + t.width, t.y + row + 1});
            const uint32_t* kept = t.pixels.get() + size_t(row) * size_t(t.width);
            std::copy(kept, kept + t.width, &image.at(t.x, t.y + row));
        }
    return true;
}

void UndoHistory::clear()
{
    ++generation_;
    for (Step& step : steps_) drop(step);
    steps_.clear();
    done_ = 0;
    bytes_ = 0;
}

}  // namespace nelmora
