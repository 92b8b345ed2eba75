#pragma once

#include "EventKeyboard.h"
#include "EventMouse.h"
#include "Keyboard.h"
#include "Vector.h"

namespace lu {

/// What an input record stands for.
enum InputKind {
    INPUT_KEY,        ///< a key went down or up
    INPUT_MOUSE,      ///< the mouse moved, a button went down or up, or the wheel turned
    INPUT_FOCUS_LOST, ///< the window lost the keyboard focus: no key counts as held any more
    INPUT_CLOSED,     ///< the player asked to close the window
};

/// One input the engine hands out, as plain data without SFML: what the input manager makes of a
/// window event before applying it, and what a recording of a game would keep.
struct InputRecord {
    InputKind kind = INPUT_KEY;
    /// INPUT_KEY: the engine key code (lu::Keyboard::Key) and what happened to it.
    int key = Keyboard::UNDEFINED_KEY;
    KeyAction keyAction = UNDEFINED_KEY_ACTION;
    /// INPUT_MOUSE: what the mouse did, the button, the pointer in view cells (before the camera) and
    /// the wheel's turn.
    MouseAction mouseAction = UNDEFINED_MOUSE_ACTION;
    MouseButton mouseButton = UNDEFINED_MOUSE_BUTTON;
    Vector position;
    float wheelDelta = 0;
};

} // namespace lu
