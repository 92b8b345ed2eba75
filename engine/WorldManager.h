#pragma once

#include "Manager.h"
#include "ObjectList.h"
#include "Vector.h"

#include <string>

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

    /// Moves the camera after the object it follows, then draws every object of altitude 0 to MAX_ALTITUDE,
    /// lowest first.
    void draw();

    /// Returns the solid objects the object would intersect if it stood at where.
    ObjectList collisionsAt(const Object* object, Vector where) const;

    /// Moves the object to where with collision and out events; returns -1 when refused, or when
    /// the object left the world in a handler (no further events then go to it or to hits that left).
    int moveObjectTo(Object* object, Vector where);

    /// Returns the objects whose type is type, in list order.
    /// \code
    /// int gemsLeft = lu::WorldManager::instance().objectsOfType("Gem").getCount();
    /// \endcode
    ObjectList objectsOfType(std::string type) const;

    /// Sets the world's size in cells, at least the view's (the display's grid, the default); returns -1
    /// for a smaller one, changing nothing, else 0. An object that moves out of it gets the out event, and
    /// the camera stays inside it.
    /// \code
    /// lu::WorldManager::instance().setWorldSize(300, 72); // four views wide, two high
    /// \endcode
    int setWorldSize(int columns, int rows);

    /// Shows the view's cells from topLeft on, moved as little as needed to keep the view inside the world.
    /// Drawing and mouse positions follow the camera. A thing fixed on the screen, such as a score line,
    /// is drawn at getCamera() plus its place in the view.
    /// \code
    /// lu::WorldManager::instance().setCamera(lu::Vector(150, 0)); // shows columns 150 to 224
    /// \endcode
    void setCamera(Vector topLeft);

    /// Returns the world cell at the view's top left corner: (0, 0) until the camera moves.
    /// \code
    /// // In draw(): a score line that stays at the top of the screen while the camera moves.
    /// lu::Vector topLeft = lu::WorldManager::instance().getCamera();
    /// lu::DisplayManager::instance().drawString(topLeft + lu::Vector(1, 0), "Score 12", lu::WHITE, lu::ALIGN_LEFT);
    /// \endcode
    Vector getCamera() const;

    /// Makes the camera follow the object (null to stop): before each frame is drawn it moves by whole
    /// cells, only as far as needed, to keep the object in the middle third of the view, within the world.
    /// Following stops when the object leaves the world; the camera then stays where it was. Returns -1
    /// for an object not in the world, changing nothing, else 0.
    /// \code
    /// lu::WorldManager::instance().cameraFollows(player); // player: the lu::Object the view stays with
    /// \endcode
    int cameraFollows(Object* object);

private:
    WorldManager();
    WorldManager(const WorldManager&) = delete;
    WorldManager& operator=(const WorldManager&) = delete;

    // Brings the followed object back into the middle third of the view.
    void followWithCamera();

    ObjectList objects;
    ObjectList pendingDeletions;
    bool shuttingDown;
    int createdWhileShuttingDown;
    int worldColumns;
    int worldRows;
    Vector camera;
    Object* followed;
};

} // namespace lu
