#include "pentools/pen_set_targets.h"

namespace nelmora {

int32_t& penParamField(PenParam& param, int column)
{
    switch (column) {
    case 0: return param.sourceA;
    case 1: return param.scaleA;
    case 2: return param.sourceB;
    case 3: return param.scaleB;
    case 4: return param.base;
    default: return param.jitter;
    }
}

void aimPenSetTargets(PenSetTargets& targets, Pen& pen)
{
    for (int column = 0; column < kPenSetColumnCount; ++column)
        for (int slotIndex = 0; slotIndex < kSlotCount; ++slotIndex)
            targets.grid[size_t(column)][size_t(slotIndex)] = &penParamField(pen.params[slotIndex], column);
    targets.switches = {&pen.drawMode, &pen.lineColor, &pen.endFlag};
}

}  // namespace nelmora
