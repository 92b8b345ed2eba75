#pragma once

#include "Manager.h"
#include "ObjectList.h"
#include "Vector.h"

namespace lu {

class Object;

/// The highest altitude that is drawn; altitudes 0 to MAX_ALTITUDE are drawn, 0 first.
const int MAX_ALTITUDE = 4;

/// Owns every object: deletes the marked ones, moves and collides them, draws them by altitude.
class WorldManager : public Manager {
public:
    /// Returns the single world manager.
    static WorldManager& instance();

    /// Starts the world; returns 0.
    int startUp() override;

    /// Deletes every object left in the world.
    void shutDown() override;

    /// Registers an object; returns -1 when the world is full. Called by Object's constructor.
    int insertObject(Object* object);

    /// Unregisters an object; returns -1 when absent. Called by Object's destructor.
    int removeObject(Object* object);

    /// Returns a copy of the list of every object.
    ObjectList getAllObjects() const;

    /// Queues the object for deletion at the next update; returns -1 when the queue is full.
    int markForDeletion(Object* object);

    /// Deletes the queued objects, then moves every moving object with its events.
    void update();

    /// Draws every object of altitude 0 to MAX_ALTITUDE, lowest first.
    void draw();

    /// Returns the solid objects the object would intersect if it stood at where.
    ObjectList collisionsAt(const Object* object, Vector where) const;

    /// Moves the object to where with collision and out events; returns -1 when refused.
    int moveObjectTo(Object* object, Vector where);

private:
    WorldManager();
    WorldManager(const WorldManager&) = delete;
    WorldManager& operator=(const WorldManager&) = delete;

    ObjectList objects;
    ObjectList pendingDeletions;
};

} // namespace lu
