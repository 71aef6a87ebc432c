// Any pen file the pen reader takes paints: a short stroke, its points from
// the bytes after the pen file, goes through the canvas's stroke handling on
// a small picture. The sanitizers watch every dab, and the stroke and its
// repaint are undone to the white picture and redone to the same pixels.
// (That a fresh workspace paints the same, fuzz_script checks by replaying.)
//
// The picture is 64 x 64 and the stroke has at most kMaxPoints points, a
// little outside it at most: a pen of enormous thickness covers the whole
// picture with every dab, and its dabs may lie 5/256 pixel apart.
#include <vector>

#include "doc/canvas_stroke.h"
#include "fuzz_checks.h"

using namespace nelmora;

namespace {

constexpr int32_t kCanvasSize = 64;
constexpr size_t kMaxPoints = 5;
constexpr int32_t kMargin = 16;

struct Point {
    int32_t x, y;
};

// Two bytes a point, each a coordinate from -kMargin to kCanvasSize + kMargin - 1.
std::vector<Point> strokePoints(const uint8_t* data, size_t size)
{
    std::vector<Point> points;
    constexpr int32_t span = kCanvasSize + 2 * kMargin;
    for (size_t i = 0; i + 1 < size && points.size() < kMaxPoints; i += 2)
        points.push_back({data[i] % span - kMargin, data[i + 1] % span - kMargin});
    if (points.empty()) points.push_back({kCanvasSize / 2, kCanvasSize / 2});
    return points;
}

// The stroke, then the same path painted again as the canvas's Repaint does.
void paint(Workspace& workspace, const std::vector<Point>& points)
{
    CanvasStroke canvas;
    const auto show = [&workspace] { clearUpdate(workspace.strokeImage().update); };
    canvas.buttonDown(workspace, points.front().x, points.front().y);
    for (size_t i = 1; i + 1 < points.size(); ++i) canvas.mouseMove(workspace, points[i].x, points[i].y);
    canvas.buttonUp(workspace, points.back().x, points.back().y, show);
    require(!canvas.stroking());
    if (canvas.canRepaintLast(workspace)) require(canvas.repaintLast(workspace, show));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Workspace workspace(kCanvasSize, kCanvasSize);
    if (!workspace.loadPens(data, size)) return 0;
    const std::vector<Point> points = strokePoints(data + kPenFileSize, size - kPenFileSize);
    const ImagePtr start = copyOf(workspace.image());
    paint(workspace, points);
    require(workspace.image().width == kCanvasSize && workspace.image().height == kCanvasSize);

    checkHistoryRoundTrip(workspace, *start);
    return 0;
}
