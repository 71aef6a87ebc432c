#include "pentools/pen_creator_defaults.h"

namespace nelmora {

void applyPenCreatorDefaults(AppState& state)
{
    for (int n = 0; n < kPenCount; ++n) {
        state.pens[size_t(n)]->blendIndex = kDefaultBlendIndex;
        *state.shapeSettingsTable[size_t(n)] = kDefaultShapeSettings;
    }
}

}  // namespace nelmora
