#pragma once

#include "Event.h"
#include "Keyboard.h"

namespace lu {

/// Type of EventKeyboard.
const std::string KEYBOARD_EVENT = "lu::keyboard";

/// What happened to a key.
enum KeyAction {
    UNDEFINED_KEY_ACTION = -1,
    KEY_PRESSED = 0,
    KEY_RELEASED = 1,
};

/// A key press or release, in the engine's key codes (lu::Keyboard::Key).
class EventKeyboard : public Event {
public:
    /// Makes a keyboard event with key -1 and action -1.
    EventKeyboard();

    /// Sets the engine key code.
    void setKey(int key);

    /// Returns the engine key code.
    int getKey() const;

    /// Sets what happened to the key.
    void setKeyAction(KeyAction action);

    /// Returns what happened to the key.
    KeyAction getKeyAction() const;

private:
    int key;
    KeyAction keyAction;
};

} // namespace lu
