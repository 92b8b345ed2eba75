#pragma once

#include "Keyboard.h"
#include "Manager.h"

#include <SFML/Window/Keyboard.hpp>

namespace lu {

struct InputRecord;

/// Turns the window's keyboard and mouse events into engine events for every object.
class InputManager : public Manager {
public:
    /// Returns the single input manager.
    static InputManager& instance();

    /// Turns key repeat off when the display is started; returns 0.
    int startUp() override;

    /// Turns key repeat back on and forgets which keys are held.
    void shutDown() override;

    /// Hands every pending window event to every object; a close request shuts the game down.
    void getInput();

    /// Applies one input as getInput does each window event's: notes the key held or let go, or every key
    /// let go when the window lost the focus; hands key and mouse events to every object, with mouse
    /// positions turned from view into world cells; shuts the game down for a close request. The
    /// record's header (InputRecord.h) is the engine's own: this is for the engine's input sources.
    /// \code
    /// lu::InputRecord press; // a press of the space bar, as a replay would hand it in
    /// press.kind = lu::INPUT_KEY;
    /// press.key = lu::Keyboard::SPACE;
    /// press.keyAction = lu::KEY_PRESSED;
    /// lu::InputManager::instance().applyInput(press);
    /// \endcode
    void applyInput(const InputRecord& record);

    /// Returns true while the key is held: from its press to its release as keyboard events told them,
    /// counting every key as let go when the window lost the keyboard focus.
    /// \code
    /// // In a step handler: walk while D is held.
    /// if (lu::InputManager::instance().isKeyDown(lu::Keyboard::D))
    ///     setPosition(getPosition() + lu::Vector(0.5f, 0));
    /// \endcode
    bool isKeyDown(Keyboard::Key key) const;

    /// Returns the engine key code (lu::Keyboard::Key) for an SFML key.
    static int translateKey(sf::Keyboard::Key key);

private:
    InputManager();
    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

    // One past the highest engine key code.
    static const int KEY_CODE_COUNT = Keyboard::RIGHT_SYSTEM + 1;
    bool keysDown[KEY_CODE_COUNT];
};

} // namespace lu
