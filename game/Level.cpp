#include "Level.h"

#include "Apple.h"
#include "Box.h"
#include "DisplayManager.h"
#include "EventKillScreen.h"
#include "Ice.h"
#include "LogManager.h"
#include "MovingSpike.h"
#include "ScoreDisplay.h"
#include "SnakeHead.h"
#include "Spike.h"
#include "WorldManager.h"

#include <cmath>
#include <cstdlib>

// A group's kind is drawn from HAZARD_KINDS values: spikes up to LAST_SPIKE_KIND,
// ice up to LAST_ICE_KIND, a single moving spike for the rest.
static const int HAZARD_KINDS = 6;
static const int LAST_SPIKE_KIND = 2;
static const int LAST_ICE_KIND = 4;

// Positions closer than this on both axes are the same cell.
static const float SAME_POSITION = 0.01f;

Level::Level(SnakeHead* snakeHead, ScoreDisplay* score)
    : head(snakeHead), scoreDisplay(score), levelObjects(), levelCounter(1)
{
}

void Level::nextLevel()
{
    lu::WorldManager& world = lu::WorldManager::instance();

    levelCounter++;
    lu::LogManager::instance().writeMessage("Score = %i", levelCounter);
    scoreDisplay->setScore(levelCounter - 2);

    for (int i = 0; i < levelObjects.getCount(); i++) {
        world.markForDeletion(levelObjects.at(i));
    }
    levelObjects.clear();

    int groups = levelCounter;
    if (groups > MAX_HAZARD_GROUPS) {
        groups = MAX_HAZARD_GROUPS;
    }

    if (levelCounter == KILL_SCREEN_LEVEL) {
        EventKillScreen killScreen;
        world.broadcastEvent(&killScreen);
    }

    for (int groupsLeft = groups; groupsLeft >= 1; groupsLeft--) {
        makeGroup(groupsLeft);
    }
    placeApple();
}

int Level::getLevelCounter() const
{
    return levelCounter;
}

lu::ObjectList Level::getLevelObjects() const
{
    return levelObjects;
}

lu::Vector Level::adjacentCell(lu::Vector cell, int direction)
{
    switch (direction) {
    case 0:
        return cell + lu::Vector(0, 1);
    case 1:
        return cell + lu::Vector(0, -1);
    case 2:
        return cell + lu::Vector(1, 0);
    default:
        return cell + lu::Vector(-1, 0);
    }
}

void Level::makeGroup(int groupsLeft)
{
    const lu::DisplayManager& display = lu::DisplayManager::instance();
    int kind = rand() % HAZARD_KINDS;
    int size = 1;
    if (kind <= LAST_SPIKE_KIND) {
        size = groupsLeft / 2 + 3 + rand() % (groupsLeft / 2 + 7);
    } else if (kind <= LAST_ICE_KIND) {
        size = groupsLeft / 4 + 4 + rand() % (groupsLeft / 4 + 10);
    }

    lu::Vector previous;
    for (int i = 0; i < size; i++) {
        lu::Object* hazard = nullptr;
        if (kind <= LAST_SPIKE_KIND) {
            hazard = new Spike();
        } else if (kind <= LAST_ICE_KIND) {
            hazard = new Ice();
        } else {
            hazard = new MovingSpike();
        }

        bool placed = false;
        lu::Vector candidate;
        for (int t = 0; t < PLACEMENT_TRIES && !placed; t++) {
            if (i == 0) {
                int y = rand() % display.getVerticalCells();
                int x = rand() % display.getHorizontalCells();
                candidate = lu::Vector(x, y);
            } else {
                // Retries walk from the last placed hazard, not from the refused candidate.
                candidate = adjacentCell(previous, rand() % ADJACENT_DIRECTIONS);
            }
            placed = isFreeForHazard(candidate);
        }

        if (!placed) {
            lu::LogManager::instance().writeMessage("Can't place obsticle");
            hazard->setPosition(PARKING_POSITION);
            levelObjects.insert(hazard);
            return;
        }
        hazard->setPosition(candidate);
        levelObjects.insert(hazard);
        previous = candidate;
    }
}

bool Level::isFreeForHazard(lu::Vector candidate) const
{
    for (int i = 0; i < levelObjects.getCount(); i++) {
        lu::Vector taken = levelObjects.at(i)->getPosition();
        if (std::fabs(taken.getX() - candidate.getX()) < SAME_POSITION &&
            std::fabs(taken.getY() - candidate.getY()) < SAME_POSITION) {
            return false;
        }
    }
    lu::Box cell(candidate + lu::Vector(-0.5f, -0.5f), 1, 1);
    lu::Vector headPosition = head->getPosition();
    lu::Box safeZone(headPosition + lu::Vector(-SAFE_ZONE_HALF_WIDTH, -SAFE_ZONE_HALF_HEIGHT), 2 * SAFE_ZONE_HALF_WIDTH,
                     2 * SAFE_ZONE_HALF_HEIGHT);
    return !lu::boxesIntersect(cell, safeZone);
}

void Level::placeApple()
{
    lu::WorldManager& world = lu::WorldManager::instance();
    const lu::DisplayManager& display = lu::DisplayManager::instance();
    Apple* apple = new Apple(this);

    lu::Vector candidate;
    bool accepted = false;
    for (int tries = 0; !accepted; tries++) {
        int y = rand() % (display.getVerticalCells() - 2 * APPLE_MARGIN) + APPLE_MARGIN;
        int x = rand() % (display.getHorizontalCells() - 2 * APPLE_MARGIN) + APPLE_MARGIN;
        candidate = lu::Vector(x, y);
        lu::Vector headPosition = head->getPosition();
        float headX = headPosition.getX();
        float headY = headPosition.getY();
        // Apple art large enough to cover too much everywhere would otherwise be refused forever.
        bool fewCovered =
            tries >= APPLE_PLACEMENT_TRIES || world.collisionsAt(apple, candidate).getCount() <= APPLE_MAX_COVERED;
        // Each axis on its own: the apple is far from the head in columns and in rows.
        bool farInColumns = !(x > headX - SAFE_ZONE_HALF_WIDTH && x < headX + SAFE_ZONE_HALF_WIDTH);
        bool farInRows = !(y > headY - SAFE_ZONE_HALF_HEIGHT && y < headY + SAFE_ZONE_HALF_HEIGHT);
        accepted = fewCovered && farInColumns && farInRows;
    }
    apple->setPosition(candidate);
    lu::LogManager::instance().writeMessage("Placing apple at (%f,%f)", candidate.getX(), candidate.getY());
    levelObjects.insert(apple);

    // Whatever covers or touches the apple goes, so the apple never sits against a hazard.
    lu::ObjectList covered = world.collisionsAt(apple, candidate);
    for (int i = 0; i < covered.getCount(); i++) {
        lu::Object* object = covered.at(i);
        // The snake and the score outlive the level and are pointed at; only large art ever covers them.
        if (object == head || object == scoreDisplay || object->getType() == "SnakeBody") {
            continue;
        }
        levelObjects.remove(object);
        world.markForDeletion(object);
    }
}
