#pragma once

#include "Event.h"
#include "Vector.h"

#include <string>

const std::string HEAD_MOVE_EVENT = "head_move";

/// Cells in the snake: body segments, trail entries of the head and of this event.
const int SNAKE_LENGTH = 15;

/// Sent to every object after each jump of the snake's head, with the cells the snake now covers.
class EventHeadMoved : public lu::Event {
public:
    /// Makes the event with its own copy of SNAKE_LENGTH trail cells, trail[0] being the head's.
    explicit EventHeadMoved(const lu::Vector* trail);

    /// Returns the SNAKE_LENGTH cells: entry i is where the head stood i jumps ago.
    const lu::Vector* getTrail() const;

private:
    lu::Vector trail[SNAKE_LENGTH];
};
