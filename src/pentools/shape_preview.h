#pragma once
// The pen creator's shape preview, without a window: a test background and
// one dab of the pen's map in the middle.

#include <cstdint>

#include "engine/random.h"
#include "image/image.h"
#include "pen/pen.h"

namespace nelmora {

inline constexpr int kPreviewPatternCount = 5;

// 0 checkerboards (8-pixel squares above, 4-pixel below), 1 white over black,
// 2 cyan over blue, 3 light over dark grey, 4 mauve over khaki. The upper
// half is the rows y < height / 2.
void fillPreviewBackground(Image& image, int pattern);

// The next pattern a right click shows: 0, 1, 2, 3, 4, 0 ...
int nextPreviewPattern(int pattern);

// A full-strength, unrotated, unscaled dab in full-red colors.
inline constexpr SlotValues kPreviewDab{
    0, 0xFFFF, 0xFFFF, 0, 0xFFFF, 0xFFFF, 0x10000, 50000, 0, 0xFFFF,
    12000, 25000, 0, 0, 0, 0, 0, 50000, 15000, 0,
};

// Fills the image with the pattern and draws one dab of the pen's map at its
// centre point through the pen's blend mode; the diffusions draw from `noise`,
// the preview's own generator. A blendIndex outside the mode table draws no dab.
void renderShapePreview(Image& image, const Pen& pen, int pattern, RandomState& noise);

}  // namespace nelmora
