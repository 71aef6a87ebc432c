#pragma once
// Engine-wide trigonometric tables (angles in 1/65536 turn, values x256) and
// the scratch image that displacement and filter dabs compute into.

#include <cstdint>

#include "image/image.h"

namespace nelmora {

inline constexpr int kTableSize = 65536;
inline constexpr double kPi = 3.14159265358979;

extern int32_t* sinTable;
extern int32_t* cosTable;
extern Image* scratchImage;

// Returns 1 on success, 0 when an allocation fails (what was built stays).
int buildTables();
int freeTables();

// The scratch image, first grown (once, then reused) to hold at least
// width x height pixels: dabs larger than its 500 x 500 must neither write
// past it nor be cut. Null, with the old image kept, when memory runs out.
Image* scratchImageOfSize(int32_t width, int32_t height);

}  // namespace nelmora
