#pragma once

#include "Animation.h"
#include "Box.h"
#include "Vector.h"

#include <string>

namespace lu {

class Event;

/// How an object takes part in collisions.
enum Solidity {
    BLOCKING = 0,   ///< collides, and refuses moves of other BLOCKING objects onto it
    PASSABLE = 1,   ///< collides, but never blocks or is blocked
    INTANGIBLE = 2, ///< never collides
};

/// Base of everything that lives in the world; registers itself with the world manager.
class Object {
public:
    /// Makes an object with the defaults and registers it with the world manager.
    Object();

    /// Unregisters the object from the world manager.
    virtual ~Object();

    /// Reacts to an event; returns 1 when handled, 0 otherwise (the base handles nothing).
    virtual int handleEvent(const Event* event);

    /// Draws the animation at the position and advances it; returns -1 without a sprite, else 0.
    virtual int draw();

    /// Returns the object's id: ids count up from 0 and start again at 0 only after INT_MAX.
    int getId() const
    {
        return id;
    }

    /// Sets the type string others recognise the object by.
    void setType(std::string type);

    /// Returns the type string.
    std::string getType() const;

    /// Places the object at position, without collision or out events.
    void setPosition(Vector position);

    /// Returns the position in cells.
    Vector getPosition() const
    {
        return position;
    }

    /// Sets the drawing layer (0 to 4 are drawn, 0 first).
    void setAltitude(int altitude);

    /// Returns the drawing layer.
    int getAltitude() const;

    /// Sets the direction of motion.
    void setDirection(Vector direction);

    /// Returns the direction of motion.
    Vector getDirection() const
    {
        return direction;
    }

    /// Sets the speed in cells per frame.
    void setSpeed(float speed);

    /// Returns the speed in cells per frame.
    float getSpeed() const
    {
        return speed;
    }

    /// Sets speed and direction from a velocity in cells per frame.
    void setVelocity(Vector velocity);

    /// Returns the velocity: direction scaled by speed.
    Vector getVelocity() const;

    /// Sets how the object takes part in collisions.
    void setSolidity(Solidity solidity);

    /// Returns how the object takes part in collisions.
    Solidity getSolidity() const
    {
        return solidity;
    }

    /// Returns true for BLOCKING and PASSABLE objects.
    bool isSolid() const;

    /// Shows the sprite loaded under label and fits the box to it; returns -1 when there is none.
    int setSprite(std::string label);

    /// Replaces the animation state.
    void setAnimation(Animation animation);

    /// Returns the animation state.
    Animation getAnimation() const;

    /// Sets the box, relative to the position.
    void setBox(Box box);

    /// Returns the box, relative to the position.
    Box getBox() const
    {
        return box;
    }

private:
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    int id;
    std::string type;
    Vector position;
    int altitude;
    Vector direction;
    float speed;
    Solidity solidity;
    Animation animation;
    Box box;
};

} // namespace lu
