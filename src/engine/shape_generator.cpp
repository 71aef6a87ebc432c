#include "engine/shape_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "engine/random.h"
#include "engine/wrap_int.h"

namespace nelmora {

namespace {

enum ShapeType : int32_t { kCircle = 0, kSquare = 1, kTriangle = 2 };

}  // namespace

int32_t shapeProfile(const ShapeSettings& s, double d, double rOut, double rIn, RandomState& random)
{
    if (d > rOut) return 0;
    int32_t alpha = 0, noise = 0;
    if (d >= rIn) {
        const double band = rOut - rIn;
        if (band == 0) {
            // rIn = rOut = d: the ramp has no width; take the rim's own levels.
            alpha = s.alph1;
            noise = s.rand1;
        } else {
            alpha = truncToInt32(((rOut - d) * s.alph2 + (d - rIn) * s.alph1) / band);
            noise = truncToInt32(((rOut - d) * s.rand2 + (d - rIn) * s.rand1) / band);
        }
    } else {
        alpha = truncToInt32(((rIn - d) * s.alph3 + d * s.alph2) / rIn);
        noise = truncToInt32(((rIn - d) * s.rand3 + d * s.rand2) / rIn);
    }
    const int32_t r = drawRandom(random);
    alpha = wrapAdd(alpha, wrapMul(r - 16384, noise) / 16384);
    return std::clamp(alpha, 0, 0xFFFF);
}

void generateShapeMap(Pen& pen, const ShapeSettings& s, RandomState& random)
{
    ShapeMap& map = *pen.shape;
    if (s.type != kCircle && s.type != kSquare && s.type != kTriangle) return;
    const int32_t halfWidth = map.width / 2, halfHeight = map.height / 2;
    const double rOut = s.type == kSquare ? kSquareOuterRadius : kRoundOuterRadius;
    const double rIn = s.msize * rOut / 65536.0;
    for (int32_t y = 0; y < map.height; ++y) {
        const int32_t dy = y - halfHeight;
        for (int32_t x = 0; x < map.width; ++x) {
            const int32_t dx = x - halfWidth;
            double d = 0;
            if (s.type == kSquare) {
                d = std::max(std::abs(dx), std::abs(dy));
            } else if (s.type == kTriangle) {
                d = std::sqrt(double(dx * dx + dy * dy));
            } else if (s.flat == 0) {
                // A circle squeezed to no width: every pixel lies infinitely far
                // out (0/0 at the centre column would otherwise be NaN).
                d = std::numeric_limits<double>::infinity();
            } else {
                const double wide = (x - map.width / 2.0) * 65536.0 / s.flat;
                d = std::sqrt(wide * wide + double(dy) * dy);
            }
            map.coverage[y * map.stride + x] = uint8_t(shapeProfile(s, d, rOut, rIn, random) / 256);
        }
    }
}

}  // namespace nelmora
