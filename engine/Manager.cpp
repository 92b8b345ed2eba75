#include "Manager.h"

#include "Object.h"
#include "ObjectList.h"
#include "ObjectWatch.h"
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
    // Work on a copy: handlers may create objects, which must not see this event.
    ObjectList objects = WorldManager::instance().getAllObjects();
    // Handlers may also delete objects or shut the game down: those objects hear nothing more.
    ObjectWatch watch;
    int sum = 0;
    for (int i = 0; i < objects.getCount(); i++) {
        Object* object = objects.at(i);
        if (watch.stillInWorld(object))
            sum += object->handleEvent(event);
    }
    return sum;
}

} // namespace lu
