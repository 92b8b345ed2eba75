#include "HeavyGame.h"

#include "EventKeyboard.h"
#include "GameResource.h"
#include "Keyboard.h"
#include "Level.h"
#include "ResourceManager.h"
#include "ScoreDisplay.h"
#include "SnakeHead.h"
#include "WorldManager.h"

#include <cmath>
#include <cstdlib>

namespace lubench {

namespace {

// The same levels in every run. Levels from counter 45 on hold 560 to 870 objects across seeds;
// this seed's level 46 holds 850.
const unsigned int LEVEL_SEED = 18;

// Corners of the snake's square, in cells: from the head's start, five cells right and five down,
// well inside the 15 by 10 cells around the start that the builder keeps free. Twenty cells round,
// longer than the snake, so the head never meets its tail.
const int SQUARE_SIDE = 5;

void press(int key)
{
    lu::EventKeyboard event;
    event.setKey(key);
    event.setKeyAction(lu::KEY_PRESSED);
    lu::WorldManager::instance().broadcastEvent(&event);
}

} // namespace

const char* loadGameSprites()
{
    for (const GameResource& resource : GAME_RESOURCES)
        if (resource.kind == ResourceKind::SPRITE && loadResource(resource) != 0)
            return resource.file;
    return nullptr;
}

void steerRoundSquare(const lu::Object* head)
{
    int left = static_cast<int>(SNAKE_START_POSITION.getX());
    int top = static_cast<int>(SNAKE_START_POSITION.getY());
    long x = std::lround(head->getPosition().getX());
    long y = std::lround(head->getPosition().getY());
    if (x >= left + SQUARE_SIDE && y <= top)
        press(lu::Keyboard::S);
    else if (x >= left + SQUARE_SIDE && y >= top + SQUARE_SIDE)
        press(lu::Keyboard::A);
    else if (x <= left && y >= top + SQUARE_SIDE)
        press(lu::Keyboard::W);
    else if (x <= left && y <= top)
        press(lu::Keyboard::D);
}

HeavyGame::HeavyGame() : head(nullptr), level(nullptr)
{
    build();
}

HeavyGame::~HeavyGame()
{
    lu::WorldManager::instance().shutDown();
}

void HeavyGame::build()
{
    lu::WorldManager& world = lu::WorldManager::instance();
    srand(LEVEL_SEED);
    head = new SnakeHead();
    ScoreDisplay* score = new ScoreDisplay();
    level = new Level(head, score);
    head->setLevel(level);

    // Held still while the levels are built, so every level keeps the same free zone.
    head->setSpeed(0);
    while (level->getLevelCounter() < HEAVY_LEVEL_COUNTER) {
        level->nextLevel();
        world.update();
    }
    head->setVelocity(lu::Vector(CREEP_SPEED, 0));
}

void HeavyGame::steer()
{
    steerRoundSquare(head);
}

bool HeavyGame::isSnakeAlive() const
{
    return !head->isDead();
}

void HeavyGame::rebuild()
{
    lu::WorldManager::instance().shutDown();
    build();
}

int HeavyGame::objectCount() const
{
    return lu::WorldManager::instance().getAllObjects().getCount();
}

} // namespace lubench
