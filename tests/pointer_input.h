#pragma once
// Drags and wheel turns delivered straight to a widget, with the button state
// a real drag carries on every move.

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <initializer_list>

namespace nelmora {

// Presses the left button at `from`, moves through `path` and releases at its last point.
inline void dragThrough(QWidget* widget, QPoint from, std::initializer_list<QPoint> path)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    QPoint last = from;
    for (QPoint at : path) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
        last = at;
    }
    QTest::mouseRelease(widget, Qt::LeftButton, {}, last);
}

// `notches` wheel notches away from the user (negative: toward), at `at`.
inline void turnWheel(QWidget* widget, int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                      QPoint at = QPoint(5, 5))
{
    QWheelEvent event(QPointF(at), widget->mapToGlobal(QPointF(at)), QPoint(),
                      QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

}  // namespace nelmora
