#include "Apple.h"

#include "EventCollision.h"
#include "Level.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "Sound.h"

Apple::Apple(Level* owner)
{
    setSprite("apple");
    setType("apple");
    setSolidity(lu::PASSABLE);
    setAltitude(1);
    level = owner;
}

Apple::~Apple()
{
    lu::LogManager::instance().writeMessage("Destroying Apple");
}

int Apple::handleEvent(const lu::Event* event)
{
    if (event->getType() != lu::COLLISION_EVENT) {
        return 0;
    }
    const lu::EventCollision* collision = static_cast<const lu::EventCollision*>(event);
    // Touching is enough: the head's creep finds the apple as soon as it is next to it.
    bool eaten =
        collision->getMovingObject()->getType() == "SnakeHead" || collision->getOtherObject()->getType() == "SnakeHead";
    if (eaten) {
        lu::Sound* eat = lu::ResourceManager::instance().getSound("eat");
        if (eat != nullptr) {
            eat->play(false);
        }
        level->nextLevel();
    }
    return 1;
}
