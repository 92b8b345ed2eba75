#include "EventHeadMoved.h"

EventHeadMoved::EventHeadMoved(const lu::Vector* headTrail)
{
    setType(HEAD_MOVE_EVENT);
    for (int i = 0; i < SNAKE_LENGTH; i++) {
        trail[i] = headTrail[i];
    }
}

const lu::Vector* EventHeadMoved::getTrail() const
{
    return trail;
}
