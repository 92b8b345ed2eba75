#pragma once

#include "Object.h"

class Level;

/// The level's goal: when the snake's head touches it, it plays "eat" and builds the next level.
class Apple : public lu::Object {
public:
    /// Makes an apple of the given level, not yet placed.
    explicit Apple(Level* owner);

    /// Logs "Destroying Apple".
    ~Apple() override;

    /// Builds the next level when the snake's head touches it; returns 1 for collisions, else 0.
    int handleEvent(const lu::Event* event) override;

private:
    Level* level;
};
