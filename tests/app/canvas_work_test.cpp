// The canvas while a stroke's work runs long, with a pen that lays a dab over
// the whole picture every 5/256 pixel. With the busy threshold at 0 the work
// lets Qt run at every report of the engine, so events posted before a move
// arrive while that move is being painted.
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimer>

#include "app/canvas_window.h"
#include "app/status_bar.h"
#include "doc/document_state.h"
#include "main_frame_fixture.h"

namespace nelmora {
namespace {

class CanvasWorkTest : public MainFrameFixture {
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        canvas = frame->canvas();
        ASSERT_TRUE(workspace().newImage(48, 32, 0xFFFFFF));
        useHugeThickness(workspace());
        workspace().setPenField(0, PenField::blendIndex, 22);  // Blur
        canvas->work().setBusyThreshold(0);
    }
    QMouseEvent* mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        return new QMouseEvent(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    }
    void post(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton)
    {
        QCoreApplication::postEvent(canvas, mouse(type, at, button, Qt::LeftButton));
    }
    void send(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton)
    {
        std::unique_ptr<QMouseEvent> event(mouse(type, at, button, Qt::LeftButton));
        QApplication::sendEvent(canvas, event.get());
    }
    // A press, then the move whose work the posted events arrive in.
    void pressAndMove(QPoint from, QPoint to)
    {
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, to);
        QCoreApplication::processEvents();
    }

    CanvasWindow* canvas = nullptr;
};

TEST_F(CanvasWorkTest, InputArrivingDuringTheWorkIsPaintedInOrderAsIfNothingWaited)
{
    Workspace straight(48, 32);
    const std::vector<uint8_t> pens = workspace().penFileBytes();
    ASSERT_TRUE(straight.loadPens(pens.data(), pens.size()));
    ASSERT_EQ(straight.random().value, workspace().random().value);

    post(QEvent::MouseMove, {20, 10});
    post(QEvent::MouseButtonPress, {30, 20}, Qt::RightButton);
    post(QEvent::MouseMove, {20, 25});
    post(QEvent::MouseButtonRelease, {20, 25}, Qt::LeftButton);
    std::vector<bool> arrivedWhileRunning;
    QTimer::singleShot(0, canvas, [&] { arrivedWhileRunning.push_back(canvas->work().running()); });
    pressAndMove({4, 4}, {12, 6});
    EXPECT_EQ(arrivedWhileRunning, std::vector<bool>{true});

    CanvasStroke stroke;
    stroke.buttonDown(straight, 4, 4);
    stroke.mouseMove(straight, 12, 6);
    stroke.mouseMove(straight, 20, 10);
    straight.pickColor(30, 20);  // from the picture as the stroke has painted it so far
    stroke.mouseMove(straight, 20, 25);
    stroke.buttonUp(straight, 20, 25, [] {});
    const DocumentState painted = documentStateOf(workspace()), expected = documentStateOf(straight);
    EXPECT_EQ(painted.pixels, expected.pixels);
    EXPECT_EQ(painted.random, expected.random);
    EXPECT_EQ(painted.values, expected.values);
}

TEST_F(CanvasWorkTest, EscDuringTheWorkLeavesPictureGeneratorAndHistoryAsBeforeThePress)
{
    pressAndMove({2, 2}, {3, 2});
    send(QEvent::MouseButtonRelease, {3, 2}, Qt::LeftButton);
    workspace().undo();  // a step to redo after the cancelled stroke
    const DocumentState before = documentStateOf(workspace());

    QCoreApplication::postEvent(canvas, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    // After the Esc the stroke is gone, so the rest of the drag paints nothing.
    post(QEvent::MouseMove, {30, 20});
    post(QEvent::MouseButtonRelease, {30, 20}, Qt::LeftButton);
    pressAndMove({4, 4}, {20, 10});

    EXPECT_EQ(documentStateOf(workspace()), before);
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
    pressAndMove({4, 4}, {20, 10});
    EXPECT_EQ(messageMeanwhile, QStringLiteral("描画中… Escで中止"));
    EXPECT_EQ(cursorMeanwhile, Qt::BusyCursor);
    ASSERT_EQ(busy.count(), 2);
    EXPECT_FALSE(busy[1][0].toBool());
    EXPECT_TRUE(frame->statusLine()->currentMessage().isEmpty());
    EXPECT_EQ(canvas->cursor().shape(), Qt::ArrowCursor);

    // An ordinary stroke stays far below the usual threshold.
    send(QEvent::MouseButtonRelease, {20, 10}, Qt::LeftButton);
    workspace().setSlot(0, slot::thickness, {dv::thickness1, 0x10000, 0, 0, 0, 0});
    canvas->work().setBusyThreshold(kBusyThresholdMs);
    pressAndMove({4, 4}, {20, 10});
    EXPECT_EQ(busy.count(), 2);
}

TEST_F(CanvasWorkTest, MenusAreRefusedAndClosingCancelsTheStrokeFirst)
{
    const DocumentState before = documentStateOf(workspace());
    fake.answerYes = true;
    QMenuBar* menus = frame->menuBar();
    const QPoint file = menus->actionGeometry(menus->actions()[0]).center();
    QCoreApplication::postEvent(menus, new QMouseEvent(QEvent::MouseButtonPress, file, menus->mapToGlobal(file),
                                                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(frame.get(), new QCloseEvent);
    pressAndMove({4, 4}, {20, 10});
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the File menu opened";
    EXPECT_EQ(documentStateOf(workspace()), before);

    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->isVisible()) << "closed once the stroke was taken back";
}

}  // namespace
}  // namespace nelmora
