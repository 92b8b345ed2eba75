#pragma once

#include "Object.h"

/// The title screen: art, instructions and two apples; P starts a game, Q quits.
class GameStart : public lu::Object {
public:
    /// Makes the title screen with its four decoration objects.
    GameStart();

    /// Starts a game on a P press and quits on a Q press; returns 1 for keyboard events, else 0.
    int handleEvent(const lu::Event* event) override;

    /// Draws the five instruction lines; returns 1.
    int draw() override;

    /// Creates the snake, the score display and the game's level, builds the first level
    /// and removes the title screen; does nothing once this title screen has started a game.
    void startGame();

private:
    bool gameStarted;

    static lu::Object* titleObject;
    static lu::Object* startTextObject;
    static lu::Object* leftAppleObject;
    static lu::Object* rightAppleObject;
};
