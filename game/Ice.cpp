#include "Ice.h"

#include "DisplayManager.h"

Ice::Ice()
{
    setType("ice");
    setAltitude(0);
}

int Ice::draw()
{
    return lu::DisplayManager::instance().drawCharacter(getPosition(), ICE_CHARACTER, lu::BLUE);
}
