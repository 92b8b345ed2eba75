#include "GameOver.h"

#include "DisplayManager.h"
#include "EventStep.h"
#include "GameStart.h"
#include "ObjectList.h"
#include "WorldManager.h"

#include <string>

// Frames each "Returning to menu in N" line is shown; "1" stays until the end.
static const int RETURNING_LINE_FRAMES = 30;

GameOver::GameOver()
{
    setType("GameOver");
    setAltitude(lu::MAX_ALTITUDE);
    countdown = GAME_OVER_FRAMES;
}

GameOver::~GameOver()
{
    lu::WorldManager& world = lu::WorldManager::instance();
    // This object is still listed and already queued; the world logs that once.
    lu::ObjectList everything = world.getAllObjects();
    for (int i = 0; i < everything.getCount(); i++) {
        world.markForDeletion(everything.at(i));
    }
    new GameStart();
}

int GameOver::handleEvent(const lu::Event* event)
{
    if (event->getType() == lu::STEP_EVENT) {
        return 1;
    }
    return 0;
}

int GameOver::draw()
{
    const lu::DisplayManager& display = lu::DisplayManager::instance();
    int columns = display.getHorizontalCells();
    int rows = display.getVerticalCells();

    countdown--;
    display.drawString(lu::Vector(columns / 2, rows / 2 - 3), "Y O U   D I E D !", lu::MAGENTA);
    std::string line;
    if (countdown <= RETURNING_LINE_FRAMES) {
        line = "Returning to menu in 1";
    } else if (countdown <= 2 * RETURNING_LINE_FRAMES) {
        line = "Returning to menu in 2";
    } else if (countdown <= 3 * RETURNING_LINE_FRAMES) {
        line = "Returning to menu in 3";
    }
    if (!line.empty()) {
        display.drawString(lu::Vector(columns / 2, rows / 2), line, lu::WHITE);
    }
    if (countdown <= 0) {
        lu::WorldManager::instance().markForDeletion(this);
    }
    return lu::Object::draw();
}

int GameOver::getCountdown() const
{
    return countdown;
}
