#include "pentools/pen_creator_sliders.h"

namespace nelmora {

void aimSliderTargets(SliderTargets& targets, Pen& pen, ShapeSettings& settings)
{
    targets[kModeRow] = &pen.blendIndex;
    for (int k = 1; k < kPenCreatorSliderCount; ++k) targets[size_t(k)] = &shapeSetting(settings, k - 1);
}

void writeSliderDefaults(const SliderTargets& targets)
{
    for (int k = 0; k < kPenCreatorSliderCount; ++k) *targets[size_t(k)] = kPenCreatorRows[size_t(k)].defaultValue;
}

NameList shapeTypeNames() { return makeNameList({"円形  ", "四角形", "三角形"}); }

}  // namespace nelmora
