#pragma once

#include "ObjectList.h"
#include "Vector.h"

class ScoreDisplay;
class SnakeHead;

const int MAX_HAZARD_GROUPS = 45;
const int KILL_SCREEN_LEVEL = 77;
const int PLACEMENT_TRIES = 10;
const int SAFE_ZONE_HALF_WIDTH = 15;
const int SAFE_ZONE_HALF_HEIGHT = 10;
const int APPLE_MARGIN = 4;
const int APPLE_MAX_COVERED = 3;
/// Apple candidates refused for what they cover before any cell far enough from the head will do.
const int APPLE_PLACEMENT_TRIES = 1000;

/// Number of neighbouring cells a random walk can step to (see Level::adjacentCell).
const int ADJACENT_DIRECTIONS = 4;

/// Where to park a hazard that found no free cell: outside the window.
const lu::Vector PARKING_POSITION(-10, -10);

/// One game's sequence of levels: scatters hazard groups and an apple away from the snake's head.
class Level {
public:
    /// Makes a level builder for the game's head and score display, before the first level.
    Level(SnakeHead* head, ScoreDisplay* scoreDisplay);

    /// Clears the finished level and builds the next one, with its hazards and a new apple.
    void nextLevel();

    /// Returns the level counter: 1 before the first level, then one more per level built.
    int getLevelCounter() const;

    /// Returns the hazards and the apple of the current level, in creation order.
    lu::ObjectList getLevelObjects() const;

    /// Returns cell moved one step: direction 0 down, 1 up, 2 right, 3 left.
    static lu::Vector adjacentCell(lu::Vector cell, int direction);

private:
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    void makeGroup(int groupsLeft);
    bool isFreeForHazard(lu::Vector candidate) const;
    void placeApple();

    SnakeHead* head;
    ScoreDisplay* scoreDisplay;
    lu::ObjectList levelObjects;
    int levelCounter;
};
