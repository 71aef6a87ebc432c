#include "image/tables.h"

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

}  // namespace nelmora
