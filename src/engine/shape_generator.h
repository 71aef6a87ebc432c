#pragma once
// The pen creator's shape generation: a radial alpha profile (centre, inner
// radius, rim, each with its own noise level) laid out as a circle, square
// or triangle into a pen's coverage map.

#include <cstdint>

#include "engine/random.h"
#include "pen/pen.h"

namespace nelmora {

inline constexpr double kRoundOuterRadius = 37.99;  // circle and triangle
inline constexpr double kSquareOuterRadius = 28.5;

// Alpha 0..0xFFFF at distance d from the centre: alph3 at the centre, alph2 at
// rIn, alph1 at rOut, 0 beyond rOut. Draws one number from `random` for noise
// whenever d <= rOut.
int32_t shapeProfile(const ShapeSettings& settings, double d, double rOut, double rIn, RandomState& random);

// Rebuilds every byte of the pen's map from the settings, rows top to bottom;
// a type outside 0..2 leaves the map as it is.
void generateShapeMap(Pen& pen, const ShapeSettings& settings, RandomState& random);

}  // namespace nelmora
