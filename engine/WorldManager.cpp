#include "WorldManager.h"

#include "Box.h"
#include "DisplayManager.h"
#include "EventCollision.h"
#include "EventOut.h"
#include "LogManager.h"
#include "Object.h"

#include <cmath>

namespace lu {

static const char* const WORLD_MANAGER_TYPE = "WorldManager";

// Smaller per-frame displacements along both axes are not worth a move.
static const double MOVE_THRESHOLD = 0.01;

WorldManager& WorldManager::instance()
{
    static WorldManager worldManager;
    return worldManager;
}

WorldManager::WorldManager() : objects(), pendingDeletions()
{
}

int WorldManager::startUp()
{
    setType(WORLD_MANAGER_TYPE);
    started = true;
    return 0;
}

void WorldManager::shutDown()
{
    // A destructor may create objects (a screen that brings back another); those go too,
    // so the world is empty when this returns.
    while (!objects.isEmpty()) {
        ObjectList remaining = objects;
        for (int i = 0; i < remaining.getCount(); i++) {
            delete remaining.at(i);
        }
    }
    pendingDeletions.clear();
}

int WorldManager::insertObject(Object* object)
{
    if (object == nullptr) {
        return -1;
    }
    return objects.insert(object);
}

int WorldManager::removeObject(Object* object)
{
    return objects.remove(object);
}

ObjectList WorldManager::getAllObjects() const
{
    return objects;
}

int WorldManager::markForDeletion(Object* object)
{
    // Nothing to delete; queueing null twice would also leave no type to report.
    if (object == nullptr) {
        return -1;
    }
    for (int i = 0; i < pendingDeletions.getCount(); i++) {
        if (pendingDeletions.at(i) == object) {
            LogManager::instance().writeMessage("%s is already marked for deletion", object->getType().c_str());
            return 0;
        }
    }
    return pendingDeletions.insert(object);
}

void WorldManager::update()
{
    // The count is read on every pass because destructors may mark further objects.
    for (int i = 0; i < pendingDeletions.getCount(); i++) {
        delete pendingDeletions.at(i);
    }
    pendingDeletions.clear();

    // The count is read on every pass so objects created by handlers move in this frame too.
    for (int i = 0; i < objects.getCount(); i++) {
        Object* object = objects.at(i);
        Vector position = object->getPosition();
        Vector direction = object->getDirection();
        float speed = object->getSpeed();
        float newX = speed * direction.getX() + position.getX();
        float newY = speed * direction.getY() + position.getY();
        float deltaX = newX - position.getX();
        float deltaY = newY - position.getY();
        if (std::fabs(static_cast<double>(deltaX)) < MOVE_THRESHOLD &&
            std::fabs(static_cast<double>(deltaY)) < MOVE_THRESHOLD) {
            continue;
        }
        moveObjectTo(object, Vector(newX, newY));
    }
}

void WorldManager::draw()
{
    for (int altitude = 0; altitude <= MAX_ALTITUDE; altitude++) {
        for (int i = 0; i < objects.getCount(); i++) {
            Object* object = objects.at(i);
            if (object->getAltitude() == altitude) {
                object->draw();
            }
        }
    }
}

ObjectList WorldManager::collisionsAt(const Object* object, Vector where) const
{
    ObjectList hits;
    if (object == nullptr) {
        return hits;
    }
    Box moved = worldBox(object, where);
    int count = objects.getCount();
    for (int i = 0; i < count; i++) {
        Object* other = objects.at(i);
        if (other == object || other->getSolidity() == INTANGIBLE) {
            continue;
        }
        if (boxesIntersect(moved, worldBox(other, other->getPosition()))) {
            if (hits.insert(other) != 0) {
                break;
            }
        }
    }
    return hits;
}

static bool isInsideWorld(Vector position, float width, float height)
{
    return position.getX() >= 0 && position.getX() <= width && position.getY() >= 0 && position.getY() <= height;
}

int WorldManager::moveObjectTo(Object* object, Vector where)
{
    if (object == nullptr) {
        return -1;
    }
    if (object->isSolid()) {
        ObjectList hits = collisionsAt(object, where);
        bool allowed = true;
        // Every hit hears about the contact, even once the move is already refused.
        for (int i = 0; i < hits.getCount(); i++) {
            Object* other = hits.at(i);
            EventCollision collision(object, other, where);
            object->handleEvent(&collision);
            other->handleEvent(&collision);
            // Read after the handlers: they may change either object's solidity.
            if (object->getSolidity() == BLOCKING && other->getSolidity() == BLOCKING) {
                allowed = false;
            }
        }
        if (!allowed) {
            return -1;
        }
    }

    const DisplayManager& display = DisplayManager::instance();
    float width = static_cast<float>(display.getHorizontalCells());
    float height = static_cast<float>(display.getVerticalCells());
    if (isInsideWorld(object->getPosition(), width, height) && !isInsideWorld(where, width, height)) {
        EventOut out;
        object->handleEvent(&out);
    }

    object->setPosition(where);
    return 0;
}

} // namespace lu
