#include "EventCollision.h"

namespace lu {

EventCollision::EventCollision() : position(0, 0), movingObject(nullptr), otherObject(nullptr)
{
    setType(COLLISION_EVENT);
}

EventCollision::EventCollision(Object* movingObject, Object* otherObject, Vector position)
    : position(position), movingObject(movingObject), otherObject(otherObject)
{
    setType(COLLISION_EVENT);
}

Vector EventCollision::getPosition() const
{
    return position;
}

void EventCollision::setPosition(Vector position)
{
    this->position = position;
}

Object* EventCollision::getMovingObject() const
{
    return movingObject;
}

void EventCollision::setMovingObject(Object* object)
{
    movingObject = object;
}

Object* EventCollision::getOtherObject() const
{
    return otherObject;
}

void EventCollision::setOtherObject(Object* object)
{
    otherObject = object;
}

} // namespace lu
