#include "Spike.h"

#include "DisplayManager.h"

Spike::Spike()
{
    setType("hazard");
    setAltitude(0);
}

int Spike::draw()
{
    return lu::DisplayManager::instance().drawCharacter(getPosition(), SPIKE_CHARACTER, lu::RED);
}
