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
    // Work on a copy: handlers may create objects, which must not see this event.
    ObjectList objects = WorldManager::instance().getAllObjects();
    int sum = 0;
    for (int i = 0; i < objects.getCount(); i++)
        sum += objects.at(i)->handleEvent(event);
    return sum;
}

} // namespace lu
