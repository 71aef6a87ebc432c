#include "pentools/pen_creator_defaults.h"

namespace nelmora {

void applyPenCreatorDefaults(AppState& state)
{
    for (int n = 0; n < kPenCount; ++n) {
        SliderTargets targets{};
        aimSliderTargets(targets, *state.pens[size_t(n)], *state.shapeSettingsTable[size_t(n)]);
        writeSliderDefaults(targets);
    }
}

}  // namespace nelmora
