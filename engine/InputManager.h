#pragma once

#include "Keyboard.h"
#include "Manager.h"

#include <SFML/Window/Keyboard.hpp>

namespace lu {

/// Turns the window's keyboard and mouse events into engine events for every object.
class InputManager : public Manager {
public:
    /// Returns the single input manager.
    static InputManager& instance();

    /// Turns key repeat off when the display is started; returns 0.
    int startUp() override;

    /// Turns key repeat back on.
    void shutDown() override;

    /// Hands every pending window event to every object; a close request shuts the game down.
    void getInput();

    /// Returns the engine key code (lu::Keyboard::Key) for an SFML key.
    static int translateKey(sf::Keyboard::Key key);

private:
    InputManager();
    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;
};

} // namespace lu
