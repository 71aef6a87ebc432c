#pragma once
// Where the main frame and the tool windows were, which tool windows were
// shown (and so the Window menu's ticks) and the magnification, kept in the
// program's settings from one run to the next.

#include <QList>
#include <QPoint>
#include <QRect>

namespace nelmora {

class MainFrame;

// Puts the windows where the settings say, before the frame is shown; a
// window whose screen is gone comes back onto the primary one (Qt's
// restoreGeometry). Without settings (the first start, or after
// --reset-settings) the tool windows keep their start-up visibility and are
// placed beside the frame, not over it.
void restoreWindowSettings(MainFrame& frame);
// Called as the frame closes, while its tool windows still exist.
void saveWindowSettings(const MainFrame& frame);

// The first-start places (client areas' top-left corners) of tool windows of
// `sizes`: columns to the right of the frame's client area `frame`, top-aligned
// with it, each window below the last, a new column when the screen's bottom
// is reached. Room is left for the window manager's borders and title bars.
QList<QPoint> besideFrame(const QRect& frame, const QList<QSize>& sizes, const QRect& screen);

}  // namespace nelmora
