#pragma once

#include <cstddef>

namespace lu {

class Object;

/// While it lives, notes which objects leave the world, so that whoever holds pointers to objects across
/// event handlers (which may delete objects or shut the world down) hands nothing to an object that is gone.
/// Watches nest. Each takes a few bytes of stack; the notes share memory that is kept for the next watch.
class ObjectWatch {
public:
    /// Starts watching: objects that leave the world from now on are noted.
    ObjectWatch();

    /// Stops watching; the last watch to stop forgets the notes.
    ~ObjectWatch();

    /// Returns true unless the object, in the world when the watch started, has left it since.
    bool stillInWorld(const Object* object) const;

    /// Notes that the object is leaving the world, while any watch lives; called by the world manager.
    static void noteRemoval(const Object* object);

private:
    ObjectWatch(const ObjectWatch&) = delete;
    ObjectWatch& operator=(const ObjectWatch&) = delete;

    // The notes taken before the watch started, which are not its business.
    std::size_t notesBefore;
};

} // namespace lu
