#pragma once
// The pen creator's profile graph, without a window: the radial alpha
// profile across the pen's diameter as a grey area rising from the bottom.

#include "engine/random.h"
#include "image/image.h"
#include "pen/pen.h"

namespace nelmora {

inline constexpr uint32_t kProfileArea = 0x808080;
inline constexpr uint32_t kProfileSky = 0xFFFFFF;
inline constexpr uint32_t kProfileMarks = 0x000080;

// Column x shows the profile at |x - width / 2.0| with the graph's half width
// as the outer radius; navy lines mark the centre and the inner radius on
// both sides. Ignores type and flat; draws one number per column from `noise`
// (the graph's own generator, never the painting one), so noisy settings give
// a new picture every time.
void composeProfileGraph(Image& graph, const ShapeSettings& settings, RandomState& noise);

}  // namespace nelmora
