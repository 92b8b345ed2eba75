#pragma once

#include "Object.h"
#include "Vector.h"

/// Every this many segments, starting with segment 0, uses the second body sprite.
const int BODY_SPRITE_PATTERN = 3;

/// One segment of the snake's body; it moves only to its own entry of each head-moved event.
class SnakeBody : public lu::Object {
public:
    /// Makes segment segmentIndex (0 under the head) at position.
    SnakeBody(int segmentIndex, lu::Vector position);

    /// Follows a head-moved event and returns 1; returns 0 for any other event.
    int handleEvent(const lu::Event* event) override;

    /// Returns the place in the snake, 0 to SNAKE_LENGTH - 1.
    int getSegmentIndex() const;

private:
    int segmentIndex;
};
