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
    const WorldManager& world = WorldManager::instance();
    // Work on a copy: handlers may create objects, which must not see this event.
    ObjectList objects = world.getAllObjects();
    // Handlers may also delete objects or shut the game down. The ids, noted while all are alive,
    // find the objects still in the world once anything has left; until then the copy is used as is.
    int count = objects.getCount();
    int ids[MAX_OBJECTS];
    for (int i = 0; i < count; i++)
        ids[i] = objects.at(i)->getId();
    unsigned int removalsThen = world.getRemovalCount();
    int sum = 0;
    for (int i = 0; i < count; i++) {
        Object* object = world.stillInWorld(objects.at(i), ids[i], removalsThen);
        if (object != nullptr)
            sum += object->handleEvent(event);
    }
    return sum;
}

} // namespace lu
