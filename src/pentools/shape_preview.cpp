#include "pentools/shape_preview.h"

#include "engine/blend_modes.h"
#include "engine/dab.h"

namespace nelmora {

namespace {

struct Halves {
    uint32_t upper;
    uint32_t lower;
};

// Patterns 1..4; pattern 0 is the checkerboard.
constexpr Halves kPlainPatterns[kPreviewPatternCount] = {
    {0, 0}, {0xFFFFFF, 0x000000}, {0x00FFFF, 0x0000FF}, {0xA0A0A0, 0x606060}, {0xA060A0, 0xC0C080},
};

}  // namespace

void fillPreviewBackground(Image& image, int pattern)
{
    const int32_t half = image.height / 2;
    for (int32_t y = 0; y < image.height; ++y) {
        const bool upper = y < half;
        for (int32_t x = 0; x < image.width; ++x) {
            uint32_t pixel;
            if (pattern > 0 && pattern < kPreviewPatternCount) {
                pixel = upper ? kPlainPatterns[pattern].upper : kPlainPatterns[pattern].lower;
            } else {
                const int shift = upper ? 3 : 2;
                pixel = (((x >> shift) + (y >> shift)) & 1) ? 0x000000 : 0xFFFFFF;
            }
            image.at(x, y) = pixel;
        }
    }
}

int nextPreviewPattern(int pattern) { return pattern >= kPreviewPatternCount - 1 ? 0 : pattern + 1; }

void renderShapePreview(Image& image, const Pen& pen, int pattern, RandomState& noise)
{
    fillPreviewBackground(image, pattern);
    // blendIndex may come from a pen file unchecked.
    const int32_t code = blendModeCode(pen.blendIndex);
    if (code == 0) return;
    SlotValues values = kPreviewDab;
    drawDab(image, *pen.shape, values, code, image.centerX * 256, image.centerY * 256, noise);
}

}  // namespace nelmora
