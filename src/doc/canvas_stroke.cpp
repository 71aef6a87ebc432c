#include "doc/canvas_stroke.h"

#include "engine/stroke_engine.h"

namespace nelmora {

const NameList& drawModeLabels()
{
    static const NameList labels = makeNameList({"しない", "通常  ", "遅延  "});
    return labels;
}

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
    Workspace::ActionScope scope(workspace, {Action::down, x, y});
    before_ = takeStrokeStart(workspace);
    underWay_ = true;
    press(workspace, x, y);
}

bool CanvasStroke::mouseMove(Workspace& workspace, int32_t x, int32_t y)
{
    if (!stroking_) return false;
    Workspace::ActionScope scope(workspace, {Action::move, x, y});
    return proceed(workspace, x, y);
}

void CanvasStroke::buttonUp(Workspace& workspace, int32_t x, int32_t y, const std::function<void()>& showChanges)
{
    if (!stroking_) return;
    Workspace::ActionScope scope(workspace, {Action::up, x, y});
    release(workspace, x, y, showChanges);
}

bool CanvasStroke::canRepaintLast(const Workspace& workspace) const
{
    const UndoHistory& history = workspace.history();
    return !stroking_ && !last_.x.empty() && history.canUndo() && history.generation() == last_.generation &&
           history.undoableCount() == last_.undoable;
}

bool CanvasStroke::repaintLast(Workspace& workspace, const std::function<void()>& showChanges)
{
    if (!canRepaintLast(workspace)) return false;
    Workspace::ActionScope scope(workspace, {Action::repaint});
    before_ = takeStrokeStart(workspace);
    underWay_ = true;
    workspace.beginStep();
    if (!workspace.revertLastStep()) {
        workspace.endStep();
        underWay_ = false;
        return false;
    }
    showChanges();
    const LastStroke path = last_;
    workspace.setRandomState(path.startRandom);
    const size_t n = path.x.size();
    press(workspace, path.x[0], path.y[0]);
    for (size_t j = 1; j + 1 < n; ++j)
        if (proceed(workspace, path.x[j], path.y[j])) showChanges();
    release(workspace, path.x[n - 1], path.y[n - 1], showChanges);
    return true;
}

bool CanvasStroke::cancel(Workspace& workspace, bool cutShort)
{
    if (!underWay_) return false;
    Workspace::ActionScope scope(workspace, {Action::cancel, cutShort ? 1 : 0});
    underWay_ = false;
    stroking_ = false;
    pointsX_.clear();
    pointsY_.clear();
    workspace.cancelStep();
    restoreStrokeStart(workspace, before_);
    return true;
}

void CanvasStroke::press(Workspace& workspace, int32_t x, int32_t y)
{
    startRandom_ = workspace.random().value;
    startGeneration_ = workspace.history().generation();
    stroking_ = true;
    workspace.beginStep();
    for (int pen = 0; pen < kPenCount; ++pen)
        if (workspace.pen(pen).drawMode == kDrawModeLive) call(ops_.begin, workspace, pen, x, y);
    pointsX_.clear();
    pointsY_.clear();
    record(x, y);
}

bool CanvasStroke::proceed(Workspace& workspace, int32_t x, int32_t y)
{
    if (!stroking_) return false;
    for (int pen = 0; pen < kPenCount; ++pen)
        if (workspace.pen(pen).drawMode == kDrawModeLive) call(ops_.proceed, workspace, pen, x, y);
    record(x, y);
    return true;
}

void CanvasStroke::release(Workspace& workspace, int32_t x, int32_t y, const std::function<void()>& showChanges)
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
    workspace.endStep();
    underWay_ = false;
    // The path is kept for a repaint; the vectors keep their reserve by swapping.
    std::swap(last_.x, pointsX_);
    std::swap(last_.y, pointsY_);
    pointsX_.clear();
    pointsY_.clear();
    // A stroke that changed nothing made no step to take back.
    if (workspace.history().generation() == startGeneration_) last_.x.clear();
    last_.startRandom = startRandom_;
    last_.generation = workspace.history().generation();
    last_.undoable = workspace.history().undoableCount();
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
