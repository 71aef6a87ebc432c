#pragma once
// The color creator's state, shared by the window and its channel sliders
// and color box, and the field's input rules. Everything edits the color
// being edited (color 1 or color 2) through the document's named edits.

#include <cstdint>

#include "engine/color_field.h"
#include "doc/workspace.h"

namespace nelmora {

struct ColorCreatorState {
    int32_t fieldMode = kHueSaturationWheel;
    Workspace* workspace = nullptr;
    // H, S, B of the last render; the picture is kept while they still match.
    int32_t cachedHue = 0;
    int32_t cachedSaturation = 0;
    int32_t cachedBrightness = 0;
    // Forces the next paint to render although H, S and B did not change.
    bool fieldDirty = true;
    // Shared by the three sliders: 0 shows hue/saturation/brightness, 3 red/green/blue.
    int32_t rgbMode = 0;
    // 1 while color 2 (entries 4-6) is edited.
    int32_t secondColorActive = 0;
};

// Mode 16, color 1 edited, a render due at the first paint.
void initColorCreatorState(ColorCreatorState& state, Workspace& workspace);

// The drawing value of the edited color's hue; saturation and brightness follow it.
inline int editedHueIndex(const ColorCreatorState& s) { return s.secondColorActive ? dv::hue2 : dv::hue1; }

inline int32_t editedHue(const ColorCreatorState& s) { return s.workspace->drawingValue(editedHueIndex(s)); }
inline int32_t editedSaturation(const ColorCreatorState& s) { return s.workspace->drawingValue(editedHueIndex(s) + 1); }
inline int32_t editedBrightness(const ColorCreatorState& s) { return s.workspace->drawingValue(editedHueIndex(s) + 2); }
// Sets the edited color's hue, saturation and brightness.
void setEditedColor(ColorCreatorState& state, int32_t hue, int32_t saturation, int32_t brightness);

// Left click at a client point of the color creator: on the wheel it sets
// hue and saturation (16) or hue and brightness (17); on the square (18)
// saturation and brightness. Any click marks the field dirty.
void fieldLeftClick(ColorCreatorState& state, int32_t x, int32_t y);
// Cycles 16 -> 17 -> 18 -> 16.
void fieldRightClick(ColorCreatorState& state);

// Renders into `image` when the edited color left the cache or the field is
// dirty; returns whether it rendered.
bool renderFieldIfNeeded(ColorCreatorState& state, Image& image);

}  // namespace nelmora
