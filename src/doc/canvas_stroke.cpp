#include "doc/canvas_stroke.h"

#include "engine/stroke_engine.h"

namespace nelmora {

namespace {
constexpr size_t kRecordedPoints = 100000;
}

StrokeOps engineStrokeOps() { return {beginStroke, continueStroke, endStroke}; }

CanvasStroke::CanvasStroke(StrokeOps ops) : ops_(ops)
{
    pointsX_.reserve(kRecordedPoints);
    pointsY_.reserve(kRecordedPoints);
}

void CanvasStroke::record(int32_t x, int32_t y)
{
    pointsX_.push_back(x);
    pointsY_.push_back(y);
}

void CanvasStroke::call(StrokeCall op, Workspace& workspace, int pen, int32_t x, int32_t y)
{
    op(&workspace.strokeImage(), &workspace.strokePen(pen), workspace.strokeValues(), workspace.strokeRandom(), x, y);
}

void CanvasStroke::buttonDown(Workspace& workspace, int32_t x, int32_t y)
{
    stroking_ = true;
    workspace.beginStep();
    for (int pen = 0; pen < kPenCount; ++pen)
        if (workspace.pen(pen).drawMode == kDrawModeLive) call(ops_.begin, workspace, pen, x, y);
    pointsX_.clear();
    pointsY_.clear();
    record(x, y);
}

bool CanvasStroke::mouseMove(Workspace& workspace, int32_t x, int32_t y)
{
    if (!stroking_) return false;
    for (int pen = 0; pen < kPenCount; ++pen)
        if (workspace.pen(pen).drawMode == kDrawModeLive) call(ops_.proceed, workspace, pen, x, y);
    record(x, y);
    return true;
}

void CanvasStroke::buttonUp(Workspace& workspace, int32_t x, int32_t y, const std::function<void()>& showChanges)
{
    if (!stroking_) return;
    stroking_ = false;
    for (int pen = 0; pen < kPenCount; ++pen) {
        const Pen& p = workspace.pen(pen);
        if (p.drawMode == kDrawModeLive && p.endFlag != 0) call(ops_.end, workspace, pen, x, y);
    }
    record(x, y);
    showChanges();
    for (int pen = 0; pen < kPenCount; ++pen)
        if (workspace.pen(pen).drawMode == kDrawModeDelayed) replay(workspace, pen, showChanges);
    pointsX_.clear();
    pointsY_.clear();
    workspace.endStep();
}

// The release point (the last one) is used only by the end dab, as for live pens.
void CanvasStroke::replay(Workspace& workspace, int pen, const std::function<void()>& showChanges)
{
    const size_t n = pointsX_.size();
    call(ops_.begin, workspace, pen, pointsX_[0], pointsY_[0]);
    for (size_t j = 1; j + 1 < n; ++j) {
        call(ops_.proceed, workspace, pen, pointsX_[j], pointsY_[j]);
        showChanges();
    }
    if (workspace.pen(pen).endFlag != 0) {
        call(ops_.end, workspace, pen, pointsX_[n - 1], pointsY_[n - 1]);
        showChanges();
    }
}

}  // namespace nelmora
