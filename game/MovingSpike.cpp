#include "MovingSpike.h"

#include "DisplayManager.h"
#include "EventStep.h"
#include "Level.h"
#include "ObjectList.h"
#include "WorldManager.h"

#include <cstdlib>

MovingSpike::MovingSpike()
{
    setType("hazard");
    movePeriod = MOVING_SPIKE_PERIOD;
    moveCounter = 0;
}

int MovingSpike::handleEvent(const lu::Event* event)
{
    if (event->getType() != lu::STEP_EVENT) {
        return 0;
    }
    if (moveCounter != movePeriod) {
        moveCounter++;
    } else {
        tryMove();
    }
    return 1;
}

int MovingSpike::draw()
{
    return lu::DisplayManager::instance().drawCharacter(getPosition(), MOVING_SPIKE_CHARACTER, lu::RED);
}

int MovingSpike::getMoveCounter() const
{
    return moveCounter;
}

void MovingSpike::tryMove()
{
    // A boxed-in spike keeps its counter at the period, so it tries again on the next step.
    for (int i = 0; i < PLACEMENT_TRIES; i++) {
        lu::Vector candidate = Level::adjacentCell(getPosition(), rand() % 4);
        if (lu::WorldManager::instance().collisionsAt(this, candidate).isEmpty()) {
            setPosition(candidate);
            moveCounter = 0;
            return;
        }
    }
}
