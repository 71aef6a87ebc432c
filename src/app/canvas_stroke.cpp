#include "app/canvas_stroke.h"

#include "engine/color.h"
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

void CanvasStroke::buttonDown(AppState& state, int32_t x, int32_t y)
{
    stroking_ = true;
    for (Pen* pen : state.pens)
        if (pen->drawMode == kDrawModeLive) ops_.begin(state.currentImage, pen, state.drawingValues, x, y);
    pointsX_.clear();
    pointsY_.clear();
    record(x, y);
}

bool CanvasStroke::mouseMove(AppState& state, int32_t x, int32_t y)
{
    if (!stroking_) return false;
    for (Pen* pen : state.pens)
        if (pen->drawMode == kDrawModeLive) ops_.proceed(state.currentImage, pen, state.drawingValues, x, y);
    record(x, y);
    return true;
}

void CanvasStroke::buttonUp(AppState& state, int32_t x, int32_t y, const std::function<void()>& showChanges)
{
    if (!stroking_) return;
    stroking_ = false;
    for (Pen* pen : state.pens)
        if (pen->drawMode == kDrawModeLive && pen->endFlag != 0)
            ops_.end(state.currentImage, pen, state.drawingValues, x, y);
    record(x, y);
    showChanges();
    for (Pen* pen : state.pens)
        if (pen->drawMode == kDrawModeDelayed) replay(state, pen, showChanges);
    pointsX_.clear();
    pointsY_.clear();
}

// The release point (the last one) is used only by the end dab, as for live pens.
void CanvasStroke::replay(AppState& state, Pen* pen, const std::function<void()>& showChanges)
{
    const size_t n = pointsX_.size();
    ops_.begin(state.currentImage, pen, state.drawingValues, pointsX_[0], pointsY_[0]);
    for (size_t j = 1; j + 1 < n; ++j) {
        ops_.proceed(state.currentImage, pen, state.drawingValues, pointsX_[j], pointsY_[j]);
        showChanges();
    }
    if (pen->endFlag != 0) {
        ops_.end(state.currentImage, pen, state.drawingValues, pointsX_[n - 1], pointsY_[n - 1]);
        showChanges();
    }
}

bool pickColour(AppState& state, int32_t x, int32_t y)
{
    const Image* image = state.currentImage;
    if (!image || x < 0 || y < 0 || x >= image->width || y >= image->height) return false;
    DrawingValues& v = state.drawingValues;
    rgbToHsb(image->at(x, y), v[dv::hue1], v[dv::saturation1], v[dv::brightness1]);
    return true;
}

}  // namespace nelmora
