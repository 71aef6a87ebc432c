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

}  // namespace nelmora
