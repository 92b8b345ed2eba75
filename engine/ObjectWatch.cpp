#include "ObjectWatch.h"

#include <vector>

namespace lu {

namespace {

// The objects that left the world while a watch lived, in the order they left. Addresses are compared,
// never followed: an object that stays in the world keeps its address to itself, so an address noted
// since a watch started belongs to an object that has left, whichever newer object may have taken it.
std::vector<const Object*> removals;
int liveWatches = 0;

} // namespace

ObjectWatch::ObjectWatch() : notesBefore(removals.size())
{
    liveWatches++;
}

ObjectWatch::~ObjectWatch()
{
    liveWatches--;
    // clear() keeps the capacity, so later watches allocate nothing.
    if (liveWatches == 0)
        removals.clear();
}

bool ObjectWatch::stillInWorld(const Object* object) const
{
    for (std::size_t i = notesBefore; i < removals.size(); i++) {
        if (removals[i] == object)
            return false;
    }
    return true;
}

void ObjectWatch::noteRemoval(const Object* object)
{
    if (liveWatches > 0)
        removals.push_back(object);
}

} // namespace lu
