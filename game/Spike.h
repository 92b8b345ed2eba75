#pragma once

#include "Object.h"

const char SPIKE_CHARACTER = 'X';

/// A hazard that stays where the level put it; the snake dies entering its cell.
class Spike : public lu::Object {
public:
    /// Makes a spike of type "hazard" at altitude 0.
    Spike();

    /// Draws SPIKE_CHARACTER in red at the position; returns the display's result.
    int draw() override;
};
