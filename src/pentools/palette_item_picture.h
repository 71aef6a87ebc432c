#pragma once
// The picture of one pen palette item: a vertical gradient whose colors say
// whether the item is a folder or a pen and whether it is highlighted.

#include <cstdint>

#include "image/image.h"

namespace nelmora {

struct ItemGradient {
    uint32_t top;
    uint32_t bottom;
};

ItemGradient paletteItemGradient(bool isFolder, bool highlighted);

// Fills the top-left width x height pixels of `image` (clipped to it): row y
// is mixColor(top, bottom, y * 256 / height).
void composePaletteItemPicture(Image& image, int32_t width, int32_t height, bool isFolder, bool highlighted);

}  // namespace nelmora
