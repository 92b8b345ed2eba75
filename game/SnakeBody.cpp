#include "SnakeBody.h"

#include "EventHeadMoved.h"

SnakeBody::SnakeBody(int index, lu::Vector position)
{
    setType("SnakeBody");
    setSolidity(lu::PASSABLE);
    setAltitude(2);
    setPosition(position);
    segmentIndex = index;
    if (segmentIndex % BODY_SPRITE_PATTERN == 0) {
        setSprite("snake-body-2");
    } else {
        setSprite("snake-body-1");
    }
}

int SnakeBody::handleEvent(const lu::Event* event)
{
    if (event->getType() != HEAD_MOVE_EVENT) {
        return 0;
    }
    const EventHeadMoved* moved = static_cast<const EventHeadMoved*>(event);
    setPosition(moved->getTrail()[segmentIndex]);
    return 1;
}

int SnakeBody::getSegmentIndex() const
{
    return segmentIndex;
}
