#pragma once
// Whole wheel notches from a stream of wheel events. Fine-grained wheels and
// touchpads report fractions of a notch; the remainder is kept for the next event.

#include <QWheelEvent>

namespace nelmora {

class WheelNotches {
public:
    // Notches away from the user (up) are positive.
    int take(const QWheelEvent* event)
    {
        const QPoint delta = event->angleDelta();
        // Some platforms turn a Shift+wheel into a horizontal one.
        remainder_ += delta.y() != 0 ? delta.y() : delta.x();
        const int notches = remainder_ / QWheelEvent::DefaultDeltasPerStep;
        remainder_ -= notches * QWheelEvent::DefaultDeltasPerStep;
        return notches;
    }

    // The steps a slider moves: one per notch, ten with Shift held.
    int takeSteps(const QWheelEvent* event)
    {
        const int notches = take(event);
        return event->modifiers() & Qt::ShiftModifier ? notches * kShiftSteps : notches;
    }

private:
    static constexpr int kShiftSteps = 10;

    int remainder_ = 0;
};

}  // namespace nelmora
