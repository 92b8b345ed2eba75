#pragma once

#include "EventHeadMoved.h"
#include "Object.h"
#include "Vector.h"

class Level;

/// Direction of the snake's jumps; rows count downwards, so UP lowers y.
enum Heading {
    HEADING_UP = 1,
    HEADING_RIGHT = 2,
    HEADING_DOWN = 3,
    HEADING_LEFT = 4,
};

const lu::Vector SNAKE_START_POSITION(15, 18);
const int MOVE_PERIOD = 3;
const float CREEP_SPEED = 0.02f;
const float SAME_CELL_DISTANCE = 0.5f;
const int RIGHT_EDGE_ALLOWANCE = 3;
const int INTANGIBLE_SEGMENTS = 3;

/// The player's snake: steered with W, A, S and D, it jumps a cell every MOVE_PERIOD steps
/// and drags its body along.
class SnakeHead : public lu::Object {
public:
    /// Makes the head at SNAKE_START_POSITION heading right, with its SNAKE_LENGTH body segments.
    SnakeHead();

    /// Deletes the game's level handed over with setLevel.
    ~SnakeHead() override;

    /// Reacts to keys, the kill screen, steps and collisions; returns 1 for those it handles.
    int handleEvent(const lu::Event* event) override;

    /// Hands over the game's level, which the head deletes with itself.
    void setLevel(Level* level);

    /// Returns true once the snake has died.
    bool isDead() const;

    /// Returns true once the kill-screen event has arrived.
    bool isKillScreen() const;

private:
    void handleKey(int key);
    void handleCollision(const lu::Event* event);
    void onStep();
    void die();

    int movePeriod;
    int moveCountdown;
    Heading heading;
    Heading queuedHeading;
    bool onIce;
    bool dead;
    bool killScreen;
    lu::Vector trail[SNAKE_LENGTH];
    Level* level;
};
