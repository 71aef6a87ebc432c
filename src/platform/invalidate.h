#pragma once

class QWidget;

namespace nelmora {

// Schedules a repaint of the widget and every descendant: the way a control
// tells its owner that the shared state changed.
void invalidateWithChildren(QWidget* widget);

}  // namespace nelmora
