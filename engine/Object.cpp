#include "Object.h"

#include "LogManager.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "WorldManager.h"

#include <climits>

namespace lu {

static const char* const OBJECT_TYPE_DEFAULT = "Object";
static const int OBJECT_ALTITUDE_DEFAULT = 2;

// Counts every object ever constructed in the process, so ids are never reused.
static int nextObjectId = 0;

Object::Object()
    : id(nextObjectId),
      type(OBJECT_TYPE_DEFAULT),
      position(),
      altitude(OBJECT_ALTITUDE_DEFAULT),
      direction(),
      speed(0),
      solidity(BLOCKING),
      animation(),
      box(Vector(-0.5f, -0.5f), 1, 1)
{
    // Past INT_MAX the ids start again at 0 instead of overflowing.
    nextObjectId = nextObjectId == INT_MAX ? 0 : nextObjectId + 1;
    // A full world leaves the object unregistered; it simply takes no part in the world.
    WorldManager::instance().insertObject(this);
}

Object::~Object()
{
    WorldManager::instance().removeObject(this);
}

int Object::handleEvent(const Event*)
{
    return 0;
}

int Object::draw()
{
    return animation.draw(position);
}

void Object::setType(std::string newType)
{
    type = newType;
}

std::string Object::getType() const
{
    return type;
}

void Object::setPosition(Vector newPosition)
{
    position = newPosition;
}

void Object::setAltitude(int newAltitude)
{
    if (newAltitude < 0 || newAltitude > MAX_ALTITUDE) {
        LogManager::instance().writeWarning(
            "setAltitude(%d) on an object of type \"%s\": only altitudes 0 to %d are drawn", newAltitude, type.c_str(),
            MAX_ALTITUDE);
    }
    altitude = newAltitude;
}

int Object::getAltitude() const
{
    return altitude;
}

void Object::setDirection(Vector newDirection)
{
    direction = newDirection;
}

void Object::setSpeed(float newSpeed)
{
    speed = newSpeed;
}

void Object::setVelocity(Vector velocity)
{
    speed = velocity.magnitude();
    if (speed > 0) {
        direction = Vector(velocity.getX() / speed, velocity.getY() / speed);
    } else {
        direction = velocity;
    }
}

Vector Object::getVelocity() const
{
    Vector velocity = direction;
    velocity.scale(speed);
    return velocity;
}

void Object::setSolidity(Solidity newSolidity)
{
    solidity = newSolidity;
}

bool Object::isSolid() const
{
    return solidity == BLOCKING || solidity == PASSABLE;
}

int Object::setSprite(std::string label)
{
    Sprite* sprite = ResourceManager::instance().getSprite(label);
    if (sprite == nullptr) {
        LogManager::instance().writeWarning("setSprite(\"%s\") on an object of type \"%s\": no sprite is loaded under "
                                            "that label",
                                            label.c_str(), type.c_str());
        return -1;
    }
    animation.setSprite(sprite);
    animation.setIndex(0);
    // Exact halves keep the box centred on the position, also for odd sizes.
    float width = static_cast<float>(sprite->getWidth());
    float height = static_cast<float>(sprite->getHeight());
    box = Box(Vector(-width / 2, -height / 2), width, height);
    return 0;
}

void Object::setAnimation(Animation newAnimation)
{
    animation = newAnimation;
}

Animation Object::getAnimation() const
{
    return animation;
}

void Object::setBox(Box newBox)
{
    box = newBox;
}

} // namespace lu
