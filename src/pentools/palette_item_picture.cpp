#include "pentools/palette_item_picture.h"

#include <algorithm>

#include "engine/color.h"

namespace nelmora {

ItemGradient paletteItemGradient(bool isFolder, bool highlighted)
{
    if (isFolder) return highlighted ? ItemGradient{0xA0C0A0, 0xFFFFFF} : ItemGradient{0xE0E0E0, 0x80A080};
    return highlighted ? ItemGradient{0xB0B0C0, 0xFFFFFF} : ItemGradient{0xE0E0E0, 0x9090A0};
}

void composePaletteItemPicture(Image& image, int32_t width, int32_t height, bool isFolder, bool highlighted)
{
    const ItemGradient gradient = paletteItemGradient(isFolder, highlighted);
    const int32_t rows = std::min(height, image.height);
    const int32_t columns = std::min(width, image.width);
    for (int32_t y = 0; y < rows; ++y) {
        const uint32_t color = mixColor(gradient.top, gradient.bottom, y * 256 / height);
        for (int32_t x = 0; x < columns; ++x) image.at(x, y) = color;
    }
}

}  // namespace nelmora
