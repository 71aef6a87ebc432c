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

// Through the named edits, so the windows that show the values follow the pen.
void announceReading(Workspace& workspace, const std::optional<PenReading>& reading)
{
    if (!reading) return;
    workspace.setDrawingValue(dv::pressure, reading->pressure);
    workspace.setDrawingValue(dv::penAngle, reading->angle);
}

// A delayed pen's replay moves the working values point by point, as the live
// pens saw them; by its end they hold the release's reading, already announced.
void restoreReading(DrawingValues& values, const std::optional<PenReading>& reading)
{
    if (!reading) return;
    values[dv::pressure] = reading->pressure;
    values[dv::penAngle] = reading->angle;
}
}  // namespace

StrokeOps engineStrokeOps() { return {beginStroke, continueStroke, endStroke}; }

CanvasStroke::CanvasStroke(StrokeOps ops) : ops_(ops)
{
    pointsX_.reserve(kRecordedPoints);
    pointsY_.reserve(kRecordedPoints);
    readings_.reserve(kRecordedPoints);
}

void CanvasStroke::record(int32_t x, int32_t y, Reading reading)
{
    pointsX_.push_back(x);
    pointsY_.push_back(y);
    readings_.push_back(reading);
}

void CanvasStroke::forgetPoints()
{
    pointsX_.clear();
    pointsY_.clear();
    readings_.clear();
}

void CanvasStroke::call(StrokeCall op, Workspace& workspace, int pen, int32_t x, int32_t y)
{
    op(&workspace.strokeImage(), &workspace.strokePen(pen), workspace.strokeValues(), workspace.strokeRandom(), x, y);
}

void CanvasStroke::buttonDown(Workspace& workspace, int32_t x, int32_t y, Reading reading)
{
    Workspace::ActionScope scope(workspace, {Action::down, x, y, 0, nullptr, reading});
    before_ = takeStrokeStart(workspace);
    underWay_ = true;
    announceReading(workspace, reading);
    press(workspace, x, y, reading);
}

// A reading is set even outside a stroke: a script line that carries one says so.
bool CanvasStroke::mouseMove(Workspace& workspace, int32_t x, int32_t y, Reading reading)
{
    if (!stroking_ && !reading) return false;
    Workspace::ActionScope scope(workspace, {Action::move, x, y, 0, nullptr, reading});
    announceReading(workspace, reading);
    return proceed(workspace, x, y, reading);
}

void CanvasStroke::buttonUp(Workspace& workspace, int32_t x, int32_t y, const std::function<void()>& showChanges,
                            Reading reading)
{
    if (!stroking_ && !reading) return;
    Workspace::ActionScope scope(workspace, {Action::up, x, y, 0, nullptr, reading});
    announceReading(workspace, reading);
    release(workspace, x, y, reading, showChanges);
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
    // The tablet's readings are part of the gesture and come back with it.
    announceReading(workspace, path.readings[0]);
    press(workspace, path.x[0], path.y[0], path.readings[0]);
    for (size_t j = 1; j + 1 < n; ++j) {
        announceReading(workspace, path.readings[j]);
        if (proceed(workspace, path.x[j], path.y[j], path.readings[j])) showChanges();
    }
    announceReading(workspace, path.readings[n - 1]);
    release(workspace, path.x[n - 1], path.y[n - 1], path.readings[n - 1], showChanges);
    return true;
}

bool CanvasStroke::cancel(Workspace& workspace, bool cutShort)
{
    if (!underWay_) return false;
    Workspace::ActionScope scope(workspace, {Action::cancel, cutShort ? 1 : 0});
    underWay_ = false;
    stroking_ = false;
    forgetPoints();
    workspace.cancelStep();
    restoreStrokeStart(workspace, before_);
    return true;
}

void CanvasStroke::press(Workspace& workspace, int32_t x, int32_t y, Reading reading)
{
    startRandom_ = workspace.random().value;
    startGeneration_ = workspace.history().generation();
    stroking_ = true;
    workspace.beginStep();
    begun_ = {};
    for (int pen = 0; pen < kPenCount; ++pen)
        if (workspace.pen(pen).drawMode == kDrawModeLive) joinLive(workspace, pen, x, y);
    forgetPoints();
    record(x, y, reading);
}

void CanvasStroke::joinLive(Workspace& workspace, int pen, int32_t x, int32_t y)
{
    call(ops_.begin, workspace, pen, x, y);
    begun_[size_t(pen)] = true;
}

bool CanvasStroke::proceed(Workspace& workspace, int32_t x, int32_t y, Reading reading)
{
    if (!stroking_) return false;
    for (int pen = 0; pen < kPenCount; ++pen) {
        if (workspace.pen(pen).drawMode != kDrawModeLive) continue;
        if (begun_[size_t(pen)]) call(ops_.proceed, workspace, pen, x, y);
        else joinLive(workspace, pen, x, y);
    }
    record(x, y, reading);
    return true;
}

void CanvasStroke::release(Workspace& workspace, int32_t x, int32_t y, Reading reading,
                           const std::function<void()>& showChanges)
{
    if (!stroking_) return;
    stroking_ = false;
    for (int pen = 0; pen < kPenCount; ++pen) {
        const Pen& p = workspace.pen(pen);
        if (p.drawMode != kDrawModeLive || p.endFlag == 0) continue;
        if (!begun_[size_t(pen)]) joinLive(workspace, pen, x, y);
        call(ops_.end, workspace, pen, x, y);
    }
    record(x, y, reading);
    showChanges();
    for (int pen = 0; pen < kPenCount; ++pen)
        if (workspace.pen(pen).drawMode == kDrawModeDelayed) replay(workspace, pen, showChanges);
    workspace.endStep();
    underWay_ = false;
    // The path is kept for a repaint; the vectors keep their reserve by swapping.
    std::swap(last_.x, pointsX_);
    std::swap(last_.y, pointsY_);
    std::swap(last_.readings, readings_);
    forgetPoints();
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
    DrawingValues& values = workspace.strokeValues();
    restoreReading(values, readings_[0]);
    call(ops_.begin, workspace, pen, pointsX_[0], pointsY_[0]);
    for (size_t j = 1; j + 1 < n; ++j) {
        restoreReading(values, readings_[j]);
        call(ops_.proceed, workspace, pen, pointsX_[j], pointsY_[j]);
        showChanges();
    }
    restoreReading(values, readings_[n - 1]);
    if (workspace.pen(pen).endFlag != 0) {
        call(ops_.end, workspace, pen, pointsX_[n - 1], pointsY_[n - 1]);
        showChanges();
    }
}

}  // namespace nelmora
