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

    /// Deletes every object left in the world and every queued one. Objects that destructors create
    /// meanwhile are deleted too, but only the first MAX_OBJECTS of them join the world; later ones
    /// stay unregistered, like objects made in a full world, and belong to whoever made them.
    void shutDown() override;

    /// Registers an object; returns -1 when the world is full (or past the bound while it shuts down).
    /// Called by Object's constructor.
    int insertObject(Object* object);

    /// Unregisters an object and takes it out of the deletion queue; returns -1 when it was not
    /// registered. Called by Object's destructor.
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

    /// Moves the object to where with collision and out events; returns -1 when refused, or when
    /// the object left the world in a handler (no further events then go to it or to hits that left).
    int moveObjectTo(Object* object, Vector where);

private:
    WorldManager();
    WorldManager(const WorldManager&) = delete;
    WorldManager& operator=(const WorldManager&) = delete;

    ObjectList objects;
    ObjectList pendingDeletions;
    bool shuttingDown;
    int createdWhileShuttingDown;
};

} // namespace lu
