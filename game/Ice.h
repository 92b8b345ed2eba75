#pragma once

#include "Object.h"

const char ICE_CHARACTER = '/';

/// A patch of ice; the snake cannot turn on it and slides on faster.
class Ice : public lu::Object {
public:
    /// Makes ice of type "ice" at altitude 0.
    Ice();

    /// Draws ICE_CHARACTER in blue at the position; returns the display's result.
    int draw() override;
};
