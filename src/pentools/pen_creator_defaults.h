#pragma once
// The pen creator's slider defaults, which its creation writes into both
// pens: a round pen, opaque to half its radius, fading to the rim, no noise.
// They are the defaults of the slider table, read from it here.

#include "app/app_state.h"
#include "pentools/pen_creator_sliders.h"

namespace nelmora {

inline constexpr ShapeSettings kDefaultShapeSettings{
    kPenCreatorRows[kTypeRow].defaultValue,  kPenCreatorRows[kMsizeRow].defaultValue,
    kPenCreatorRows[kAlph1Row].defaultValue, kPenCreatorRows[kAlph2Row].defaultValue,
    kPenCreatorRows[kAlph3Row].defaultValue, kPenCreatorRows[kFlatRow].defaultValue,
    kPenCreatorRows[kRotRow].defaultValue,   kPenCreatorRows[kRand1Row].defaultValue,
    kPenCreatorRows[kRand2Row].defaultValue, kPenCreatorRows[kRand3Row].defaultValue,
};
inline constexpr int32_t kDefaultBlendIndex = kPenCreatorRows[kModeRow].defaultValue;

// Sets blendIndex and the ShapeSettings block of pens 0 and 1 to the defaults.
void applyPenCreatorDefaults(AppState& state);

}  // namespace nelmora
