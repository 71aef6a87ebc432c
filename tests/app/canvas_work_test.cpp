// The canvas while a stroke's work runs long: a pen whose thickness slot is
// the base 0x7FFFFFFF alone lays a dab over the whole picture every 5/256 pixel. With the
// busy threshold at 0 the work lets Qt run at every report of the engine, so
// events posted before a move arrive while that move is being painted.
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>

#include "app/canvas_window.h"
#include "app/status_bar.h"
#include "engine/slots.h"
#include "main_frame_fixture.h"

namespace nelmora {
namespace {

constexpr int32_t kWidth = 48, kHeight = 32;
constexpr int32_t kBlurIndex = 22;

void useHugePen(Workspace& w)
{
    w.setSlot(0, slot::thickness, {0, 0, 0, 0, 0x7FFFFFFF, 0});
    w.setPenField(0, PenField::blendIndex, kBlurIndex);
}

struct Snapshot {
    std::vector<uint32_t> pixels;
    uint32_t random;
    DrawingValues values;
    size_t steps, undoable;
    uint64_t generation;
    bool canRedo;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshotOf(const Workspace& w)
{
    const Image& image = w.image();
    return {{image.pixels, image.pixels + size_t(image.width) * size_t(image.height)},
            w.random().value,
            w.drawingValues(),
            w.history().stepCount(),
            w.history().undoableCount(),
            w.history().generation(),
            w.history().canRedo()};
}

// Notes, for every mouse event the canvas gets, whether work was running.
struct ArrivalWatch : QObject {
    CanvasWork* work = nullptr;
    std::vector<bool> whileRunning;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (dynamic_cast<QMouseEvent*>(event)) whileRunning.push_back(work->running());
        return false;
    }
};

class CanvasWorkTest : public MainFrameFixture {
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        canvas = frame->canvas();
        ASSERT_TRUE(workspace().newImage(kWidth, kHeight, 0xFFFFFF));
        useHugePen(workspace());
        canvas->work().setBusyThreshold(0);
    }
    QMouseEvent* mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        return new QMouseEvent(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    }
    void send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        std::unique_ptr<QMouseEvent> event(mouse(type, at, button, held));
        QApplication::sendEvent(canvas, event.get());
    }
    void post(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QCoreApplication::postEvent(canvas, mouse(type, at, button, held));
    }
    void press(QPoint at) { send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    // The move whose work the posted events arrive in.
    void longMove(QPoint to)
    {
        send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    CanvasWindow* canvas = nullptr;
};

TEST_F(CanvasWorkTest, InputArrivingDuringTheWorkIsPaintedInOrderAsIfNothingWaited)
{
    Workspace straight(kWidth, kHeight);
    const std::vector<uint8_t> pens = workspace().penFileBytes();
    ASSERT_TRUE(straight.loadPens(pens.data(), pens.size()));
    straight.setRandomState(workspace().random().value);
    for (int index = dv::none + 1; index < kDrawingValueCount; ++index)
        straight.setDrawingValue(index, workspace().drawingValue(index));

    ArrivalWatch watch;
    watch.work = &canvas->work();
    press({4, 4});
    canvas->installEventFilter(&watch);
    post(QEvent::MouseMove, {20, 10}, Qt::NoButton, Qt::LeftButton);
    post(QEvent::MouseButtonPress, {30, 20}, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    post(QEvent::MouseMove, {20, 25}, Qt::NoButton, Qt::LeftButton);
    post(QEvent::MouseButtonRelease, {20, 25}, Qt::LeftButton, Qt::NoButton);
    longMove({12, 6});
    EXPECT_EQ(watch.whileRunning, (std::vector<bool>{false, true, true, true, true}));

    CanvasStroke stroke;
    stroke.buttonDown(straight, 4, 4);
    stroke.mouseMove(straight, 12, 6);
    stroke.mouseMove(straight, 20, 10);
    straight.pickColor(30, 20);  // from the picture as the stroke has painted it so far
    stroke.mouseMove(straight, 20, 25);
    stroke.buttonUp(straight, 20, 25, [] {});
    Snapshot painted = snapshotOf(workspace()), expected = snapshotOf(straight);
    EXPECT_EQ(painted.pixels, expected.pixels);
    EXPECT_EQ(painted.random, expected.random);
    EXPECT_EQ(painted.values, expected.values);
    EXPECT_FALSE(canvas->work().running());
}

TEST_F(CanvasWorkTest, EscDuringTheWorkLeavesPictureGeneratorAndHistoryAsBeforeThePress)
{
    // A history with a step to undo and one to redo.
    press({2, 2});
    send(QEvent::MouseMove, {3, 2}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {3, 2}, Qt::LeftButton, Qt::NoButton);
    workspace().undo();
    const Snapshot before = snapshotOf(workspace());

    press({4, 4});
    QCoreApplication::postEvent(canvas, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    // After the Esc: the stroke is gone, so the rest of the drag paints nothing.
    post(QEvent::MouseMove, {30, 20}, Qt::NoButton, Qt::LeftButton);
    post(QEvent::MouseButtonRelease, {30, 20}, Qt::LeftButton, Qt::NoButton);
    longMove({20, 10});

    EXPECT_EQ(snapshotOf(workspace()), before);
    EXPECT_FALSE(canvas->stroke().stroking());
    const std::string recording = frame->document().recording().script([](size_t) { return std::string(); });
    EXPECT_TRUE(recording.ends_with("down 4 4\ncancel\n")) << "the cut-short move is left out:\n" << recording;
    EXPECT_TRUE(workspace().redo());
}

TEST_F(CanvasWorkTest, TheBusyIndicatorShowsWhileWorkRunsPastTheThreshold)
{
    QSignalSpy busy(canvas, &CanvasWindow::busyChanged);
    QString messageMeanwhile;
    Qt::CursorShape cursorMeanwhile = Qt::ArrowCursor;
    QTimer::singleShot(0, canvas, [&] {
        messageMeanwhile = frame->statusLine()->currentMessage();
        cursorMeanwhile = canvas->cursor().shape();
    });
    press({4, 4});
    longMove({20, 10});
    EXPECT_EQ(messageMeanwhile, QStringLiteral("描画中… Escで中止"));
    EXPECT_EQ(cursorMeanwhile, Qt::BusyCursor);
    ASSERT_EQ(busy.count(), 2);
    EXPECT_TRUE(busy[0][0].toBool());
    EXPECT_FALSE(busy[1][0].toBool());
    EXPECT_TRUE(frame->statusLine()->currentMessage().isEmpty());
    EXPECT_EQ(canvas->cursor().shape(), Qt::ArrowCursor);

    // An ordinary stroke stays far below the usual threshold.
    send(QEvent::MouseButtonRelease, {20, 10}, Qt::LeftButton, Qt::NoButton);
    workspace().setSlot(0, slot::thickness, {dv::thickness1, 0x10000, 0, 0, 0, 0});
    canvas->work().setBusyThreshold(kBusyThresholdMs);
    press({4, 4});
    longMove({20, 10});
    EXPECT_EQ(busy.count(), 2);
}

TEST_F(CanvasWorkTest, MenusAreRefusedAndClosingCancelsTheStrokeFirst)
{
    const Snapshot before = snapshotOf(workspace());
    fake.answerYes = true;
    QMenuBar* menus = frame->menuBar();
    const QPoint file = menus->actionGeometry(menus->actions()[0]).center();
    press({4, 4});
    QCoreApplication::postEvent(
        menus, new QMouseEvent(QEvent::MouseButtonPress, file, menus->mapToGlobal(file), Qt::LeftButton,
                               Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(frame.get(), new QCloseEvent);
    longMove({20, 10});
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the File menu opened";
    EXPECT_EQ(snapshotOf(workspace()), before);

    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->isVisible()) << "closed once the stroke was taken back";
}

}  // namespace
}  // namespace nelmora
