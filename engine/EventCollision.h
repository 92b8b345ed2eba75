#pragma once

#include "Event.h"
#include "Vector.h"

namespace lu {

/// Type of EventCollision.
const std::string COLLISION_EVENT = "lu::collision";

class Object;

/// Sent to both objects when a move makes their boxes intersect, the moving one first.
class EventCollision : public Event {
public:
    /// Makes an empty collision event.
    EventCollision();

    /// Makes a collision of the moving object with the other object at position.
    EventCollision(Object* movingObject, Object* otherObject, Vector position);

    /// Returns the position the moving object is being moved to.
    Vector getPosition() const;

    /// Sets the position the moving object is being moved to.
    void setPosition(Vector position);

    /// Returns the object being moved.
    Object* getMovingObject() const;

    /// Sets the object being moved.
    void setMovingObject(Object* object);

    /// Returns the object that the moving object would intersect.
    Object* getOtherObject() const;

    /// Sets the object that the moving object would intersect.
    void setOtherObject(Object* object);

private:
    Vector position;
    Object* movingObject;
    Object* otherObject;
};

} // namespace lu
