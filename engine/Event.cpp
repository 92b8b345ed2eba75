#include "Event.h"

namespace lu {

Event::Event() : type(UNDEFINED_EVENT)
{
}

Event::~Event()
{
}

void Event::setType(std::string type)
{
    this->type = type;
}

std::string Event::getType() const
{
    return type;
}

} // namespace lu
