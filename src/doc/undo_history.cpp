#include "doc/undo_history.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace nelmora {

namespace {

void copyBlock(const uint32_t* from, size_t fromStride, uint32_t* to, size_t toStride, int32_t width, int32_t height)
{
    for (int32_t row = 0; row < height; ++row)
        std::memcpy(to + size_t(row) * toStride, from + size_t(row) * fromStride, size_t(width) * sizeof(uint32_t));
}

size_t pictureBytes(const Image& image) { return size_t(image.width) * size_t(image.height) * sizeof(uint32_t); }

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
        bytes_ -= steps_.front().bytes;
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
        kept_.assign(size_t(tileColumns_) * size_t(tileRows), 0);
    } catch (const std::bad_alloc&) {
        outOfMemory_ = true;
    }
    image.beforeWrite = keepThunk;
    image.writeWatcher = this;
}

void UndoHistory::keep(const UpdateRect& box)
{
    Image* image = image_;
    if (!image || outOfMemory_) return;
    const int32_t left = std::max(box.left, 0), top = std::max(box.top, 0);
    const int32_t right = std::min(box.right, image->width), bottom = std::min(box.bottom, image->height);
    if (right <= left || bottom <= top) return;
    for (int32_t ty = top / kUndoTileSize; ty <= (bottom - 1) / kUndoTileSize; ++ty) {
        for (int32_t tx = left / kUndoTileSize; tx <= (right - 1) / kUndoTileSize; ++tx) {
            uint8_t& kept = kept_[size_t(ty) * size_t(tileColumns_) + size_t(tx)];
            if (kept) continue;
            Tile tile{tx * kUndoTileSize, ty * kUndoTileSize, 0, 0, nullptr};
            tile.width = std::min(kUndoTileSize, image->width - tile.x);
            tile.height = std::min(kUndoTileSize, image->height - tile.y);
            try {
                tile.pixels.reset(new uint32_t[size_t(tile.width) * size_t(tile.height)]);
                current_.tiles.push_back(std::move(tile));
            } catch (const std::bad_alloc&) {
                outOfMemory_ = true;
                return;
            }
            const Tile& t = current_.tiles.back();
            copyBlock(&image->at(t.x, t.y), size_t(image->stride), t.pixels.get(), size_t(t.width), t.width, t.height);
            current_.bytes += size_t(t.width) * size_t(t.height) * sizeof(uint32_t);
            kept = 1;
        }
    }
}

bool UndoHistory::endPixelStep()
{
    Image* image = std::exchange(image_, nullptr);
    if (!image) return true;
    image->beforeWrite = nullptr;
    image->writeWatcher = nullptr;
    kept_.clear();
    Step step = std::move(current_);
    current_ = Step{};
    if (outOfMemory_) {
        // Older steps would restore tiles around a change nobody kept: drop them all.
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
        bytes_ -= steps_.back().bytes;
        steps_.pop_back();
    }
    bytes_ += step.bytes;
    steps_.push_back(std::move(step));
    done_ = steps_.size();
    setBudget(budget_);
}

void UndoHistory::swapTiles(Step& step, Image& image)
{
    for (Tile& t : step.tiles)
        for (int32_t row = 0; row < t.height; ++row) {
            uint32_t* kept = t.pixels.get() + size_t(row) * size_t(t.width);
            std::swap_ranges(kept, kept + t.width, &image.at(t.x, t.y + row));
        }
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

void UndoHistory::clear()
{
    steps_.clear();
    done_ = 0;
    bytes_ = 0;
}

}  // namespace nelmora
