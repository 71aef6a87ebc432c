#pragma once
// Counts the paint events a widget receives, to see that a window was repainted.

#include <QEvent>
#include <QWidget>

namespace nelmora {

class PaintCounter : public QObject {
public:
    PaintCounter() = default;
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace nelmora
