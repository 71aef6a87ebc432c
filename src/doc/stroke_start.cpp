#include "doc/stroke_start.h"

namespace nelmora {

StrokeStart takeStrokeStart(Workspace& workspace)
{
    StrokeStart start;
    start.random = workspace.strokeRandom().value;
    for (int n = 0; n < kPenCount; ++n) {
        const Pen& p = workspace.strokePen(n);
        start.pens[size_t(n)] = {p.lastX, p.lastY, p.lastDX, p.lastDY, p.dabX, p.dabY, p.carry, p.lastOutputs};
    }
    for (size_t i = 0; i < kStrokeMovedValues.size(); ++i)
        start.values[i] = workspace.strokeValues()[size_t(kStrokeMovedValues[i])];
    start.reading = {workspace.drawingValue(dv::pressure), workspace.drawingValue(dv::penAngle)};
    return start;
}

void restoreStrokeStart(Workspace& workspace, const StrokeStart& start)
{
    workspace.strokeRandom().value = start.random;
    for (int n = 0; n < kPenCount; ++n) {
        Pen& p = workspace.strokePen(n);
        const StrokeStart::PenMotion& m = start.pens[size_t(n)];
        p.lastX = m.lastX, p.lastY = m.lastY, p.lastDX = m.lastDX, p.lastDY = m.lastDY;
        p.dabX = m.dabX, p.dabY = m.dabY, p.carry = m.carry, p.lastOutputs = m.lastOutputs;
    }
    for (size_t i = 0; i < kStrokeMovedValues.size(); ++i)
        workspace.strokeValues()[size_t(kStrokeMovedValues[i])] = start.values[i];
    if (workspace.drawingValue(dv::pressure) != start.reading.pressure)
        workspace.setDrawingValue(dv::pressure, start.reading.pressure);
    if (workspace.drawingValue(dv::penAngle) != start.reading.angle)
        workspace.setDrawingValue(dv::penAngle, start.reading.angle);
}

}  // namespace nelmora
