#include "color/color_creator_state.h"

namespace nelmora {

void initColorCreatorState(ColorCreatorState& state, Workspace& workspace)
{
    state = ColorCreatorState{};
    state.workspace = &workspace;
}

void setEditedColor(ColorCreatorState& state, int32_t hue, int32_t saturation, int32_t brightness)
{
    const int first = editedHueIndex(state);
    Workspace& w = *state.workspace;
    if (w.drawingValue(first) != hue) w.setDrawingValue(first, hue);
    if (w.drawingValue(first + 1) != saturation) w.setDrawingValue(first + 1, saturation);
    if (w.drawingValue(first + 2) != brightness) w.setDrawingValue(first + 2, brightness);
}

void fieldLeftClick(ColorCreatorState& state, int32_t x, int32_t y)
{
    int32_t hue = editedHue(state), saturation = editedSaturation(state), brightness = editedBrightness(state);
    if (state.fieldMode == kSaturationBrightnessSquare) {
        // The top row gives 0x10000 and the bottom row 327: the picture uses
        // 199 - i, so click and picture are one row apart.
        if (x >= 0 && x < kFieldSize && y >= kFieldTop && y < kFieldTop + kFieldSize) {
            saturation = x * 65536 / 200;
            brightness = (200 - y + kFieldTop) * 65536 / 200;
        }
    } else {
        const WheelPoint p = wheelPoint(x, y);
        if (p.r < 1) {
            hue = p.hue;
            const int32_t radius = int32_t(p.r * 65536);
            if (state.fieldMode == kHueBrightnessWheel)
                brightness = radius;
            else
                saturation = radius;
        }
    }
    setEditedColor(state, hue, saturation, brightness);
    state.fieldDirty = true;
}

void fieldRightClick(ColorCreatorState& state)
{
    state.fieldMode = state.fieldMode + 1;
    if (state.fieldMode == kSaturationBrightnessSquare + 1) state.fieldMode = kHueSaturationWheel;
    state.fieldDirty = true;
}

bool renderFieldIfNeeded(ColorCreatorState& state, Image& image)
{
    const int32_t h = editedHue(state);
    const int32_t s = editedSaturation(state);
    const int32_t b = editedBrightness(state);
    if (!state.fieldDirty && h == state.cachedHue && s == state.cachedSaturation && b == state.cachedBrightness)
        return false;
    renderColorField(image, state.fieldMode, h, s, b);
    state.cachedHue = h;
    state.cachedSaturation = s;
    state.cachedBrightness = b;
    state.fieldDirty = false;
    return true;
}

}  // namespace nelmora
