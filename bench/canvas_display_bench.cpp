// What showing the picture costs on a real display (run it under X or Xvfb,
// not the offscreen platform, whose flush is free). Process CPU time, so Qt's
// own threads count too; the X server's work does not.
//  - BM_MoveShown/k: mouse moves of the start-up pen (80-px dabs) sent to the
//    canvas as real events, a screen frame shown after every k; per event,
//    against BM_MoveEngineOnly, the same moves through the stroke handling
//    alone, and BM_IdleFrames/k, the event loop letting the same frames pass
//    idle. k = 240 leaves one frame: what an event costs between frames.
//  - BM_PlainWidgetFrames: what Qt itself spends on a frame, a plain widget
//    showing the same small rectangle of an image, against BM_IdleFrames/1;
//    BM_PlainWindowFrames: the same through a bare window's backing store,
//    without Qt's widget painting; BM_WindowFrames16: the least a canvas in
//    a window of its own could spend on a frame every 16 moves, and
//    BM_WindowFrames16Apart, the same with frames that seldom need Qt's wait
//    for the X server before they paint.
//  - BM_DelayedRelease: releasing a 2000-point stroke of a delayed pen, shown
//    once, against the engine's release plus BM_ShowStrokeBox, one showing of
//    the box the stroke changed. The engine is timed alone
//    (BM_DelayedReleaseEngineOnly) and on the program's own workspace, with
//    its windows up (BM_DelayedReleaseEngineInProgram): the same work costs
//    the engine 10-25 % more there, where Qt shares the caches.
//  - BM_RedrawView/percent: a full 1600 x 1000 view of a 4000 x 4000 picture
//    redrawn and put on screen, at 25, 100 and 400 %.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBackingStore>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstring>

#include "app/canvas_view.h"
#include "app/canvas_window.h"
#include "app/document.h"
#include "app/main_frame.h"

namespace nelmora {
namespace {

constexpr int kMoves = 240;

// A serpentine of 10-pixel moves, as a hand drags: 90 moves across, 3 down,
// 90 back. No move jumps, so no one event paints a long line.
QPoint pathPoint(int i)
{
    const int row = i / 93, k = i % 93;
    const int across = row % 2 == 0 ? 50 + std::min(k, 89) * 10 : 940 - std::min(k, 89) * 10;
    return {across, 60 + row * 40 + std::max(k - 89, 0) * 10};
}

void send(QWidget* canvas, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
}

// Lets the next screen frame come and go, so whatever is due is painted and flushed.
void showFrame()
{
    QTest::qWait(20);
    QCoreApplication::processEvents();
}

struct Program {
    MainFrame frame;
    Program(int width, int height)
    {
        frame.resize(1700, 1150);
        frame.show();
        (void)QTest::qWaitForWindowExposed(&frame);
        frame.document().workspace().replaceImage(ImagePtr(createImage(width, height, 0, 0, 0xFFFFFF)));
        showFrame();
    }
    Workspace& workspace() { return frame.document().workspace(); }
};

void BM_MoveShown(benchmark::State& state)
{
    const int perFrame = int(state.range(0));
    Program program(1000, 1000);
    QWidget* canvas = program.frame.canvas();
    for (auto _ : state) {
        send(canvas, QEvent::MouseButtonPress, pathPoint(0), Qt::LeftButton, Qt::LeftButton);
        for (int i = 1; i <= kMoves; ++i) {
            send(canvas, QEvent::MouseMove, pathPoint(i), Qt::NoButton, Qt::LeftButton);
            if (i % perFrame == 0) showFrame();
        }
        send(canvas, QEvent::MouseButtonRelease, pathPoint(kMoves), Qt::LeftButton, Qt::NoButton);
        showFrame();
        state.PauseTiming();
        program.workspace().undo();
        showFrame();
        state.ResumeTiming();
    }
    state.counters["events"] = double(kMoves);
}
BENCHMARK(BM_MoveShown)->Arg(1)->Arg(4)->Arg(16)->Arg(240)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The event loop's own cost of letting the same frames pass with nothing to show.
void BM_IdleFrames(benchmark::State& state)
{
    const int perFrame = int(state.range(0));
    Program program(1000, 1000);
    for (auto _ : state)
        for (int i = 0; i <= kMoves / perFrame; ++i) showFrame();
}
BENCHMARK(BM_IdleFrames)->Arg(1)->Arg(4)->Arg(16)->Arg(240)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Qt's own cost of a frame: a bare widget painting the rectangle a few moves change.
class PlainCanvas : public QWidget {
public:
    PlainCanvas() : image_(1000, 1000, QImage::Format_RGB32)
    {
        image_.fill(Qt::white);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.drawImage(event->rect().topLeft(), image_, event->rect());
    }

private:
    QImage image_;
};

template <typename Shown>
void showOnScreen(Shown& shown)
{
    shown.resize(1000, 1000);
    shown.show();
    (void)QTest::qWaitForWindowExposed(&shown);
}

// Shows, through showRect, the rectangle each of the moves changes, a frame each.
template <typename Shown, typename ShowRect>
void plainFrames(benchmark::State& state, Shown& shown, ShowRect showRect)
{
    showOnScreen(shown);
    for (auto _ : state)
        for (int i = 0; i <= kMoves; ++i) {
            showRect(QRect(pathPoint(i) - QPoint(50, 40), QSize(100, 80)));
            showFrame();
        }
}

void BM_PlainWidgetFrames(benchmark::State& state)
{
    PlainCanvas widget;
    plainFrames(state, widget, [&](const QRect& rect) { widget.update(rect); });
}
BENCHMARK(BM_PlainWidgetFrames)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The same rectangles put on screen by a window painting its own backing store.
class PlainWindow : public QWindow {
public:
    PlainWindow() : store_(this), image_(1000, 1000, QImage::Format_RGB32) { image_.fill(Qt::white); }

    QImage& shownImage() { return image_; }

    void showRect(const QRect& rect)
    {
        store_.beginPaint(QRegion(rect));
        QPainter painter(store_.paintDevice());
        painter.drawImage(rect.topLeft(), image_, rect);
        painter.end();
        store_.endPaint();
        store_.flush(QRegion(rect));
    }

protected:
    void exposeEvent(QExposeEvent*) override
    {
        if (isExposed()) showRect(QRect(QPoint(0, 0), size()));
    }
    void resizeEvent(QResizeEvent* event) override { store_.resize(event->size()); }

private:
    QBackingStore store_;
    QImage image_;
};

void BM_PlainWindowFrames(benchmark::State& state)
{
    PlainWindow window;
    plainFrames(state, window, [&](const QRect& rect) { window.showRect(rect); });
}
BENCHMARK(BM_PlainWindowFrames)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The least a canvas of its own window could spend showing a frame every 16
// moves: a timer wakes it, the union of the frame's dab boxes is copied from
// the picture into the image it shows and put on screen through the window's
// backing store. Against BM_IdleFrames/16 (one idle frame more). With `bands`
// above 1 the frames' boxes take turns in bands 200 rows apart: Qt's backing
// store waits for the X server before painting over pixels it has put since
// its last wait, which each frame of a stroke does, and these seldom do.
void windowFrames16(benchmark::State& state, int bands)
{
    PlainWindow window;
    showOnScreen(window);
    QImage picture(1000, 1000, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    QImage& shown = window.shownImage();
    for (auto _ : state)
        for (int frame = 0; frame < kMoves / 16; ++frame) {
            QRect changed;
            for (int i = 16 * frame + 1; i <= 16 * frame + 16; ++i)
                changed |= QRect(pathPoint(i) - QPoint(41, 41), QSize(82, 82));
            changed.translate(0, frame % bands * 200);
            QTimer::singleShot(12, [&] {
                const size_t rowBytes = size_t(changed.width()) * 4;
                for (int y = changed.top(); y <= changed.bottom(); ++y)
                    std::memcpy(shown.scanLine(y) + changed.left() * 4,
                                picture.constScanLine(y) + changed.left() * 4, rowBytes);
                window.showRect(changed);
            });
            showFrame();
        }
}

void BM_WindowFrames16(benchmark::State& state) { windowFrames16(state, 1); }
BENCHMARK(BM_WindowFrames16)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_WindowFrames16Apart(benchmark::State& state) { windowFrames16(state, 4); }
BENCHMARK(BM_WindowFrames16Apart)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_MoveEngineOnly(benchmark::State& state)
{
    Workspace workspace(1000, 1000);
    CanvasStroke stroke;
    for (auto _ : state) {
        stroke.buttonDown(workspace, pathPoint(0).x(), pathPoint(0).y());
        for (int i = 1; i <= kMoves; ++i) {
            stroke.mouseMove(workspace, pathPoint(i).x(), pathPoint(i).y());
            clearUpdate(workspace.strokeImage().update);
        }
        stroke.buttonUp(workspace, pathPoint(kMoves).x(), pathPoint(kMoves).y(), [] {});
        state.PauseTiming();
        workspace.undo();
        state.ResumeTiming();
    }
    state.counters["events"] = double(kMoves);
}
BENCHMARK(BM_MoveEngineOnly)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

constexpr int kDelayedPoints = 2000;
QPoint delayedPoint(int i) { return {40 + (i % 400) * 2, 40 + (i / 400) * 30}; }

void prepareDelayed(Workspace& workspace)
{
    workspace.setPenField(0, PenField::drawMode, 2);
}

void BM_DelayedRelease(benchmark::State& state)
{
    Program program(1000, 1000);
    prepareDelayed(program.workspace());
    QWidget* canvas = program.frame.canvas();
    for (auto _ : state) {
        state.PauseTiming();
        send(canvas, QEvent::MouseButtonPress, delayedPoint(0), Qt::LeftButton, Qt::LeftButton);
        for (int i = 1; i < kDelayedPoints; ++i)
            send(canvas, QEvent::MouseMove, delayedPoint(i), Qt::NoButton, Qt::LeftButton);
        showFrame();
        state.ResumeTiming();
        send(canvas, QEvent::MouseButtonRelease, delayedPoint(kDelayedPoints - 1), Qt::LeftButton, Qt::NoButton);
        showFrame();
        state.PauseTiming();
        program.workspace().undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DelayedRelease)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The release through the stroke handling alone; `settle` runs untimed after
// each undo.
template <typename Settle>
void releaseThroughEngine(benchmark::State& state, Workspace& workspace, Settle settle)
{
    prepareDelayed(workspace);
    CanvasStroke stroke;
    for (auto _ : state) {
        state.PauseTiming();
        stroke.buttonDown(workspace, delayedPoint(0).x(), delayedPoint(0).y());
        for (int i = 1; i < kDelayedPoints; ++i) stroke.mouseMove(workspace, delayedPoint(i).x(), delayedPoint(i).y());
        state.ResumeTiming();
        const QPoint last = delayedPoint(kDelayedPoints - 1);
        stroke.buttonUp(workspace, last.x(), last.y(), [&workspace] { clearUpdate(workspace.strokeImage().update); });
        state.PauseTiming();
        workspace.undo();
        settle();
        state.ResumeTiming();
    }
}

void BM_DelayedReleaseEngineOnly(benchmark::State& state)
{
    Workspace workspace(1000, 1000);
    releaseThroughEngine(state, workspace, [] {});
}
BENCHMARK(BM_DelayedReleaseEngineOnly)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_DelayedReleaseEngineInProgram(benchmark::State& state)
{
    Program program(1000, 1000);
    releaseThroughEngine(state, program.workspace(), showFrame);
}
BENCHMARK(BM_DelayedReleaseEngineInProgram)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// One showing of everything the delayed stroke changed: its box copied to the
// display and put on screen once.
void BM_ShowStrokeBox(benchmark::State& state)
{
    Program program(1000, 1000);
    prepareDelayed(program.workspace());
    CanvasStroke stroke;
    Workspace& workspace = program.workspace();
    stroke.buttonDown(workspace, delayedPoint(0).x(), delayedPoint(0).y());
    for (int i = 1; i < kDelayedPoints; ++i) stroke.mouseMove(workspace, delayedPoint(i).x(), delayedPoint(i).y());
    const QPoint last = delayedPoint(kDelayedPoints - 1);
    stroke.buttonUp(workspace, last.x(), last.y(), [] {});
    const UpdateRect box = workspace.strokeImage().update;
    showFrame();
    for (auto _ : state) {
        workspace.strokeImage().update = box;
        program.frame.canvas()->showChanges();
        showFrame();
    }
}
BENCHMARK(BM_ShowStrokeBox)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_RedrawView(benchmark::State& state)
{
    Program program(4000, 4000);
    CanvasView* view = program.frame.view();
    program.frame.resize(program.frame.size() + QSize(1600, 1000) - view->viewport()->size());
    QCoreApplication::processEvents();
    view->zoomTo(int(state.range(0)));
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum() / 2);
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
    showFrame();
    state.counters["view"] = view->viewport()->width() * 10000.0 + view->viewport()->height();
    CanvasWindow* canvas = program.frame.canvas();
    for (auto _ : state) canvas->repaint(canvas->visibleRegion().boundingRect());
}
BENCHMARK(BM_RedrawView)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
}  // namespace nelmora

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
