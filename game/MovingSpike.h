#pragma once

#include "Object.h"

const char MOVING_SPIKE_CHARACTER = '#';
const int MOVING_SPIKE_PERIOD = 20;

/// A hazard that wanders one free cell at a time, after waiting MOVING_SPIKE_PERIOD steps.
class MovingSpike : public lu::Object {
public:
    /// Makes a waiting moving spike of type "hazard".
    MovingSpike();

    /// On a step, waits or tries to move; returns 1 for a step event, else 0.
    int handleEvent(const lu::Event* event) override;

    /// Draws MOVING_SPIKE_CHARACTER in red at the position; returns the display's result.
    int draw() override;

    /// Returns the steps waited since the last move.
    int getMoveCounter() const;

private:
    void tryMove();

    int movePeriod;
    int moveCounter;
};
