#pragma once

#include "Object.h"

const int GAME_OVER_FRAMES = 120;

/// The game-over screen: counts GAME_OVER_FRAMES frames down, then clears the world
/// and brings back the title screen.
class GameOver : public lu::Object {
public:
    /// Makes the screen at the highest altitude with the full countdown.
    GameOver();

    /// Marks every object for deletion and creates a new title screen.
    ~GameOver() override;

    /// Returns 1 for a step event, else 0; changes nothing.
    int handleEvent(const lu::Event* event) override;

    /// Counts down, draws the texts and at 0 marks itself for deletion; returns the base draw's.
    int draw() override;

    /// Returns the frames still to draw.
    int getCountdown() const;

private:
    int countdown;
};
