#pragma once
// Wheel turns as whole zoom steps: a fine-grained wheel or a touchpad sends small
// deltas, which add up until they make a notch's worth (120 eighths of a degree).

#include <QWheelEvent>

class WheelSteps {
public:
    // The whole steps this event completes (positive away from the user).
    int take(const QWheelEvent& wheel) {
        turn_ += wheel.angleDelta().y();
        const int steps = turn_ / QWheelEvent::DefaultDeltasPerStep;
        turn_ -= steps * QWheelEvent::DefaultDeltasPerStep;
        return steps;
    }

private:
    int turn_ = 0;
};
