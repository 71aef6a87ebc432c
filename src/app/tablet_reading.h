#pragma once
// A tablet pen's pressure and tilt in the units of the drawing values they
// feed: pressure (13) like the strength values, the pen angle (14) like the
// motion angle.

#include <cstdint>
#include <optional>

namespace nelmora {

// Pressure from 0 to 1 as 0..0xFFFF, rounded.
int32_t pressureValue(double pressure);

// The direction the pen leans (its top, seen from above), from its tilts in
// degrees — x toward the tablet's right, y toward the user — counted as the
// motion angle is: 0 up the picture, 0x4000 to the right. None when the
// device reports no tilt (both 0).
std::optional<int32_t> leanAngle(double xTiltDegrees, double yTiltDegrees);

}  // namespace nelmora
