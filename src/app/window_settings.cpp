#include "app/window_settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "app/canvas_view.h"
#include "app/main_frame.h"
#include "app/view_scale.h"
#include "platform/program_settings.h"

namespace nelmora {

namespace {

// The settings' names of the tool windows, in ToolIndex order.
constexpr const char* kToolKeys[kToolCount] = {"penPalette", "colorCreator", "lineOption",
                                               "penCreator", "penSet",       "tabletTester"};

const QString kFrameGeometry = QStringLiteral("mainFrame/geometry");
const QString kMagnification = QStringLiteral("view/magnification");
QString toolKey(int index, const char* field) { return QStringLiteral("tools/%1/%2").arg(kToolKeys[index], field); }

// Room for the window manager's frame around a client area, so windows placed
// side by side do not cover each other with their borders and title bars.
constexpr int kBorderAllowance = 8;
constexpr int kTitleAllowance = 32;

// Client areas are placed (setGeometry), not frames: before the window
// manager has framed a window its frame is not known.
void placeBesideFrame(MainFrame& frame)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 640, 480);
    frame.setGeometry(QRect(available.topLeft() + QPoint(kBorderAllowance, kTitleAllowance), frame.size()));
    QList<QSize> sizes;
    for (int k = 0; k < kToolCount; ++k) sizes << (frame.toolWindow(k) ? frame.toolWindow(k)->size() : QSize());
    const QList<QPoint> places = besideFrame(frame.geometry(), sizes, available);
    for (int k = 0; k < kToolCount; ++k)
        if (ToolWindow* tool = frame.toolWindow(k)) tool->setGeometry(QRect(places[k], tool->size()));
}

}  // namespace

QList<QPoint> besideFrame(const QRect& frame, const QList<QSize>& sizes, const QRect& screen)
{
    QList<QPoint> places;
    int x = frame.right() + 1 + 2 * kBorderAllowance;
    int y = frame.top();
    int columnWidth = 0;
    for (const QSize& size : sizes) {
        if (y > frame.top() && y + size.height() + kBorderAllowance > screen.bottom() + 1) {
            x += columnWidth;
            y = frame.top();
            columnWidth = 0;
        }
        places << QPoint(x, y);
        y += size.height() + kBorderAllowance + kTitleAllowance;
        columnWidth = std::max(columnWidth, size.width() + 2 * kBorderAllowance);
    }
    return places;
}

void restoreWindowSettings(MainFrame& frame)
{
    const auto settings = programSettings();
    if (!settings->contains(kFrameGeometry)) {
        placeBesideFrame(frame);
        return;
    }
    frame.restoreGeometry(settings->value(kFrameGeometry).toByteArray());
    for (int k = 0; k < kToolCount; ++k) {
        ToolWindow* tool = frame.toolWindow(k);
        if (!tool) continue;
        tool->restoreGeometry(settings->value(toolKey(k, "geometry")).toByteArray());
        const bool visible = settings->value(toolKey(k, "visible"), frame.toolVisible(k)).toBool();
        if (visible != frame.toolVisible(k)) frame.toggleTool(k);
    }
    const int zoom = settings->value(kMagnification, kDefaultZoom).toInt();
    if (frame.view() && std::find(kZoomLevels.begin(), kZoomLevels.end(), zoom) != kZoomLevels.end())
        frame.view()->zoomTo(zoom);
}

void saveWindowSettings(const MainFrame& frame)
{
    const auto settings = programSettings();
    settings->setValue(kFrameGeometry, frame.saveGeometry());
    for (int k = 0; k < kToolCount; ++k) {
        if (const ToolWindow* tool = frame.toolWindow(k)) settings->setValue(toolKey(k, "geometry"), tool->saveGeometry());
        settings->setValue(toolKey(k, "visible"), frame.toolVisible(k));
    }
    if (frame.view()) settings->setValue(kMagnification, frame.view()->zoom());
}

}  // namespace nelmora
