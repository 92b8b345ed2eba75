#include "Manager.h"

#include "Object.h"
#include "ObjectList.h"
#include "WorldManager.h"

namespace lu {

Manager::Manager() : type(), started(false)
{
}

Manager::~Manager()
{
}

std::string Manager::getType() const
{
    return type;
}

void Manager::setType(std::string name)
{
    type = name;
}

bool Manager::isStarted() const
{
    return started;
}

int Manager::broadcastEvent(const Event* event)
{
    WorldManager& world = WorldManager::instance();
    // Work on a copy: handlers may create objects, which must not see this event.
    ObjectList objects = world.getAllObjects();
    // Handlers may also delete objects or shut the game down. The ids, noted while all are alive,
    // find the objects still in the world once anything has left; until then the copy is used as is.
    int ids[MAX_OBJECTS];
    for (int i = 0; i < objects.getCount(); i++)
        ids[i] = objects.at(i)->getId();
    unsigned int removalsThen = world.getRemovalCount();
    int sum = 0;
    for (int i = 0; i < objects.getCount(); i++) {
        Object* object = objects.at(i);
        if (world.getRemovalCount() != removalsThen)
            object = world.findObject(ids[i]);
        if (object != nullptr)
            sum += object->handleEvent(event);
    }
    return sum;
}

} // namespace lu
