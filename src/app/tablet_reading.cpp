#include "app/tablet_reading.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/turn_angle.h"

namespace nelmora {

int32_t pressureValue(double pressure)
{
    return int32_t(std::lround(std::clamp(pressure, 0.0, 1.0) * 0xFFFF));
}

std::optional<int32_t> leanAngle(double xTiltDegrees, double yTiltDegrees)
{
    if (xTiltDegrees == 0.0 && yTiltDegrees == 0.0) return std::nullopt;
    // The pen's axis over the tablet, from the two tilt angles.
    constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
    const double x = std::tan(xTiltDegrees * kRadiansPerDegree);
    const double y = std::tan(yTiltDegrees * kRadiansPerDegree);
    // The angle the engine gives a move by (x, y) across the picture.
    return turnAngle(std::atan2(-x, y));
}

}  // namespace nelmora
