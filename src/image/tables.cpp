#include "image/tables.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace nelmora {

int32_t* sinTable = nullptr;
int32_t* cosTable = nullptr;
Image* scratchImage = nullptr;

int buildTables()
{
    if (!sinTable) sinTable = new (std::nothrow) int32_t[kTableSize];
    if (!sinTable) return 0;
    if (!cosTable) cosTable = new (std::nothrow) int32_t[kTableSize];
    if (!cosTable) return 0;
    for (int i = 0; i < kTableSize; ++i) {
        const double a = i * 2 * kPi / 65536;
        sinTable[i] = static_cast<int32_t>(std::sin(a) * 256);
        cosTable[i] = static_cast<int32_t>(std::cos(a) * 256);
    }
    if (!scratchImage) scratchImage = createImage(500, 500, 0, 0, 0);
    return scratchImage ? 1 : 0;
}

int freeTables()
{
    delete[] sinTable;
    delete[] cosTable;
    sinTable = nullptr;
    cosTable = nullptr;
    freeImage(scratchImage);
    scratchImage = nullptr;
    return 1;
}

Image* scratchImageOfSize(int32_t width, int32_t height)
{
    if (scratchImage && scratchImage->width >= width && scratchImage->height >= height) return scratchImage;
    const int32_t newWidth = std::max(width, scratchImage ? scratchImage->width : 0);
    const int32_t newHeight = std::max(height, scratchImage ? scratchImage->height : 0);
    Image* grown = createImage(newWidth, newHeight, 0, 0, 0);
    if (!grown) return nullptr;
    freeImage(scratchImage);
    scratchImage = grown;
    return scratchImage;
}

}  // namespace nelmora
