#pragma once
// Checks the fuzz targets share. A broken promise aborts, which libFuzzer
// reports as a finding with the input that broke it.

#include <cstdlib>
#include <cstring>

#include "doc/workspace.h"
#include "image/image.h"

namespace nelmora {

inline void require(bool promise)
{
    if (!promise) std::abort();
}

inline bool samePixels(const Image& a, const Image& b)
{
    return a.width == b.width && a.height == b.height && a.stride == b.stride &&
           std::memcmp(a.pixels, b.pixels, size_t(a.width) * size_t(a.height) * 4) == 0;
}

inline ImagePtr copyOf(const Image& image)
{
    ImagePtr copy(createImage(image.width, image.height, image.centerX, image.centerY, 0));
    require(copy != nullptr);
    std::memcpy(copy->pixels, image.pixels, size_t(image.width) * size_t(image.height) * 4);
    return copy;
}

// Undoing every step gives `start` back and redoing as many the picture as
// it was; the history keeps every step here (the budget is far away).
inline void checkHistoryRoundTrip(Workspace& workspace, const Image& start)
{
    const ImagePtr end = copyOf(workspace.image());
    const size_t steps = workspace.history().undoableCount();
    for (size_t n = 0; n < steps; ++n) require(workspace.undo());
    require(!workspace.undo() && samePixels(workspace.image(), start));
    for (size_t n = 0; n < steps; ++n) require(workspace.redo());
    require(samePixels(workspace.image(), *end));
}

}  // namespace nelmora
