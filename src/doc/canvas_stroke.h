#pragma once
// The canvas's stroke handling, without Qt: which pen gets which stroke call
// at each mouse event, the recorded path, and the replay of delayed pens at
// release. The canvas window and the render tool both drive this.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "doc/stroke_start.h"
#include "doc/workspace.h"
#include "text/name_list.h"

namespace nelmora {

// The three stroke calls, replaceable so tests can record the sequencing.
using StrokeCall = void (*)(Image*, Pen*, DrawingValues&, RandomState&, int32_t, int32_t);
struct StrokeOps {
    StrokeCall begin;
    StrokeCall proceed;
    StrokeCall end;
};
StrokeOps engineStrokeOps();

inline constexpr int32_t kDrawModeOff = 0;
inline constexpr int32_t kDrawModeLive = 1;
inline constexpr int32_t kDrawModeDelayed = 2;
// Their names, by drawMode, as the pen set and the status bar show them.
const NameList& drawModeLabels();

class CanvasStroke {
public:
    explicit CanvasStroke(StrokeOps ops = engineStrokeOps());

    // Positions are passed to the engine unchanged, also outside the image.
    // A pen switched live during a stroke begins at the next point.
    // A tablet's reading is set, through the named edits, before the point is
    // painted, and kept with it for the delayed pens' replay and a repaint;
    // without one (the mouse) the values stay as they are.
    void buttonDown(Workspace& workspace, int32_t x, int32_t y, std::optional<PenReading> reading = {});
    // Returns false (nothing painted) when no stroke is active.
    bool mouseMove(Workspace& workspace, int32_t x, int32_t y, std::optional<PenReading> reading = {});
    // showChanges runs after the live pens' end dabs and after every replay call.
    void buttonUp(Workspace& workspace, int32_t x, int32_t y, const std::function<void()>& showChanges,
                  std::optional<PenReading> reading = {});

    // Esc: takes back the stroke under way — picture, history, generator, the
    // pens' motion and the counted values all as at its press — and ends it.
    // cutShort says a stroke call (or a repaint) was abandoned part way, its
    // step still open; the recording then leaves that call out. False when
    // no stroke was under way.
    bool cancel(Workspace& workspace, bool cutShort = false);

    bool stroking() const { return stroking_; }
    int32_t pointCount() const { return int32_t(pointsX_.size()); }

    // Whether the last step of the history is the last stroke this canvas
    // finished, so that it can be painted again.
    bool canRepaintLast(const Workspace& workspace) const;
    // Takes the last stroke back and paints its path again with the current
    // pens and values from the random state it started with, as one step:
    // undo brings the stroke as it was back. False when it cannot.
    bool repaintLast(Workspace& workspace, const std::function<void()>& showChanges);

private:
    using Reading = std::optional<PenReading>;
    void press(Workspace& workspace, int32_t x, int32_t y, Reading reading);
    bool proceed(Workspace& workspace, int32_t x, int32_t y, Reading reading);
    void release(Workspace& workspace, int32_t x, int32_t y, Reading reading, const std::function<void()>& showChanges);
    void record(int32_t x, int32_t y, Reading reading);
    // Empties the stroke's recorded points, keeping their reserve.
    void forgetPoints();
    // A live pen's begin call, at the press or where it was switched live.
    void joinLive(Workspace& workspace, int pen, int32_t x, int32_t y);
    void call(StrokeCall op, Workspace& workspace, int pen, int32_t x, int32_t y);
    void replay(Workspace& workspace, int pen, const std::function<void()>& showChanges);

    StrokeOps ops_;
    bool stroking_ = false;
    // Which pens began this stroke; a pen switched live later joins it at
    // the next point, rather than continuing from where it last stood.
    std::array<bool, kPenCount> begun_{};
    // Reserved for the usual 100000 points; a longer stroke grows them rather
    // than losing its path.
    std::vector<int32_t> pointsX_;
    std::vector<int32_t> pointsY_;
    std::vector<Reading> readings_;  // beside the points

    // The last finished stroke: its path, where the generator stood at its
    // press, and the history's generation and undoable count right after it.
    struct LastStroke {
        std::vector<int32_t> x, y;
        std::vector<Reading> readings;
        uint32_t startRandom = 0;
        uint64_t generation = 0;
        size_t undoable = 0;
    };
    LastStroke last_;
    uint32_t startRandom_ = 0;
    uint64_t startGeneration_ = 0;
    // From the press (or a repaint's start) until the release's step is kept.
    bool underWay_ = false;
    StrokeStart before_;
};

}  // namespace nelmora
