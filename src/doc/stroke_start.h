#pragma once
// What a stroke moves besides the picture — the painting generator, each
// pen's position, carry and last outputs, the drawing values the engine
// counts and measures, a tablet's reading — taken at the press, so that a
// cancelled stroke can leave no trace.

#include <array>
#include <cstdint>

#include "doc/workspace.h"
#include "engine/stroke_engine.h"

namespace nelmora {

struct StrokeStart {
    struct PenMotion {
        int32_t lastX, lastY, lastDX, lastDY, dabX, dabY, carry;
        SlotValues lastOutputs;
    };
    uint32_t random = 0;
    std::array<PenMotion, kPenCount> pens{};
    std::array<int32_t, kStrokeMovedValues.size()> values{};
    PenReading reading{};
};

StrokeStart takeStrokeStart(Workspace& workspace);
// Puts the moved state back; only the reading, which windows may show, is
// set through its named edit.
void restoreStrokeStart(Workspace& workspace, const StrokeStart& start);

}  // namespace nelmora
