#include "WorldManager.h"

#include "Box.h"
#include "DisplayManager.h"
#include "EventCollision.h"
#include "EventOut.h"
#include "LogManager.h"
#include "Object.h"
#include "ObjectWatch.h"

#include <cmath>

namespace lu {

static const char* const WORLD_MANAGER_TYPE = "WorldManager";

// Smaller per-frame displacements along both axes are not worth a move.
static const double MOVE_THRESHOLD = 0.01;

// A followed object is kept out of the outer thirds of the view.
static const int FOLLOW_MARGIN_DIVISOR = 3;

WorldManager& WorldManager::instance()
{
    static WorldManager worldManager;
    return worldManager;
}

WorldManager::WorldManager()
    : objects(),
      pendingDeletions(),
      shuttingDown(false),
      createdWhileShuttingDown(0),
      worldColumns(WINDOW_HORIZONTAL_CELLS_DEFAULT),
      worldRows(WINDOW_VERTICAL_CELLS_DEFAULT),
      camera(0, 0),
      followed(nullptr)
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
    // A destructor that shuts down again is inside this loop, which deletes everything anyway.
    if (shuttingDown) {
        return;
    }
    shuttingDown = true;
    createdWhileShuttingDown = 0;
    // Always the first entry: each destructor takes its own object out of both lists, and may delete
    // others directly or append new ones (a screen that brings back another), which go too.
    while (!objects.isEmpty() || !pendingDeletions.isEmpty()) {
        delete (objects.isEmpty() ? pendingDeletions.at(0) : objects.at(0));
    }
    shuttingDown = false;
}

int WorldManager::insertObject(Object* object)
{
    if (object == nullptr) {
        return -1;
    }
    // Bounded, so that destructors that always replace their object cannot keep shut-down going.
    if (shuttingDown) {
        if (createdWhileShuttingDown >= MAX_OBJECTS) {
            return -1;
        }
        createdWhileShuttingDown++;
    }
    return objects.insert(object);
}

int WorldManager::removeObject(Object* object)
{
    // However the object goes, neither the queue nor the camera may keep its freed address, and whoever
    // holds it in a list while handlers run must hand it nothing more.
    pendingDeletions.remove(object);
    if (object == followed) {
        followed = nullptr;
    }
    ObjectWatch::noteRemoval(object);
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
    // Each destructor takes its own entry out of the queue; objects that destructors mark join
    // this same pass.
    while (!pendingDeletions.isEmpty()) {
        delete pendingDeletions.at(0);
    }

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
    followWithCamera();
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

// Hands the contact to the mover, then to the hit, each only while both are still in the world.
// Returns 1 when the two block each other after the handlers, 0 when not, -1 when the mover left.
static int collide(Object* mover, Object* hit, Vector where, const ObjectWatch& watch)
{
    EventCollision collision(mover, hit, where);
    mover->handleEvent(&collision);
    if (!watch.stillInWorld(mover)) {
        return -1;
    }
    if (!watch.stillInWorld(hit)) {
        return 0;
    }
    hit->handleEvent(&collision);
    if (!watch.stillInWorld(mover)) {
        return -1;
    }
    // Read after the handlers: they may change either object's solidity.
    return watch.stillInWorld(hit) && mover->getSolidity() == BLOCKING && hit->getSolidity() == BLOCKING ? 1 : 0;
}

int WorldManager::moveObjectTo(Object* object, Vector where)
{
    if (object == nullptr) {
        return -1;
    }
    // Handlers may delete objects or shut the world down: the watch tells which of the mover and the
    // hits are still there.
    ObjectWatch watch;
    if (object->isSolid()) {
        ObjectList hits = collisionsAt(object, where);
        bool allowed = true;
        // Every hit hears about the contact, even once the move is already refused.
        for (int i = 0; i < hits.getCount(); i++) {
            Object* other = hits.at(i);
            if (!watch.stillInWorld(other)) {
                continue;
            }
            int blocked = collide(object, other, where, watch);
            if (blocked < 0) {
                return -1;
            }
            if (blocked > 0) {
                allowed = false;
            }
        }
        if (!allowed) {
            return -1;
        }
    }

    float width = static_cast<float>(worldColumns);
    float height = static_cast<float>(worldRows);
    if (isInsideWorld(object->getPosition(), width, height) && !isInsideWorld(where, width, height)) {
        EventOut out;
        object->handleEvent(&out);
        if (!watch.stillInWorld(object)) {
            return -1;
        }
    }

    object->setPosition(where);
    return 0;
}

ObjectList WorldManager::objectsOfType(std::string type) const
{
    ObjectList found;
    for (int i = 0; i < objects.getCount(); i++) {
        if (objects.at(i)->getType() == type) {
            found.insert(objects.at(i));
        }
    }
    return found;
}

int WorldManager::setWorldSize(int columns, int rows)
{
    const DisplayManager& display = DisplayManager::instance();
    if (columns < display.getHorizontalCells() || rows < display.getVerticalCells()) {
        return -1;
    }
    worldColumns = columns;
    worldRows = rows;
    setCamera(camera);
    return 0;
}

// Returns value within 0 to high; a value that is not a number gives 0.
static float clampToRange(float value, float high)
{
    if (!(value >= 0)) {
        return 0;
    }
    return value > high ? high : value;
}

void WorldManager::setCamera(Vector topLeft)
{
    const DisplayManager& display = DisplayManager::instance();
    float highestX = static_cast<float>(worldColumns - display.getHorizontalCells());
    float highestY = static_cast<float>(worldRows - display.getVerticalCells());
    camera = Vector(clampToRange(topLeft.getX(), highestX), clampToRange(topLeft.getY(), highestY));
}

Vector WorldManager::getCamera() const
{
    return camera;
}

int WorldManager::cameraFollows(Object* object)
{
    bool inWorld = object == nullptr;
    for (int i = 0; i < objects.getCount() && !inWorld; i++) {
        inWorld = objects.at(i) == object;
    }
    // Only an object in the world is sure to be forgotten when it goes.
    if (!inWorld) {
        return -1;
    }
    followed = object;
    followWithCamera();
    return 0;
}

void WorldManager::followWithCamera()
{
    if (followed == nullptr) {
        return;
    }
    const DisplayManager& display = DisplayManager::instance();
    float columns = static_cast<float>(display.getHorizontalCells());
    float rows = static_cast<float>(display.getVerticalCells());
    float marginX = static_cast<float>(display.getHorizontalCells() / FOLLOW_MARGIN_DIVISOR);
    float marginY = static_cast<float>(display.getVerticalCells() / FOLLOW_MARGIN_DIVISOR);
    Vector position = followed->getPosition();
    // Whole cells, so that the characters keep to the grid's pixels as the view scrolls.
    Vector topLeft = camera;
    if (position.getX() < camera.getX() + marginX) {
        topLeft.setX(std::floor(position.getX() - marginX));
    } else if (position.getX() > camera.getX() + columns - marginX) {
        topLeft.setX(std::ceil(position.getX() - (columns - marginX)));
    }
    if (position.getY() < camera.getY() + marginY) {
        topLeft.setY(std::floor(position.getY() - marginY));
    } else if (position.getY() > camera.getY() + rows - marginY) {
        topLeft.setY(std::ceil(position.getY() - (rows - marginY)));
    }
    setCamera(topLeft);
}

} // namespace lu
