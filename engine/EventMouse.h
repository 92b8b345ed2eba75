#pragma once

#include "Event.h"
#include "Vector.h"

namespace lu {

/// Type of EventMouse.
const std::string MOUSE_EVENT = "lu::mouse";

/// What the mouse did.
enum MouseAction {
    UNDEFINED_MOUSE_ACTION = -1,
    MOUSE_CLICKED = 0,
    MOUSE_MOVED = 1,
};

/// Which mouse button was pressed.
enum MouseButton {
    UNDEFINED_MOUSE_BUTTON = -1,
    LEFT = 0,
    RIGHT = 1,
    MIDDLE = 2,
};

/// A mouse move or button press, with the pointer's position in cells.
class EventMouse : public Event {
public:
    /// Makes a mouse event with action -1, button -1 and position (0, 0).
    EventMouse();

    /// Sets what the mouse did.
    void setMouseAction(MouseAction action);

    /// Returns what the mouse did.
    MouseAction getMouseAction() const;

    /// Sets the button pressed.
    void setMouseButton(MouseButton button);

    /// Returns the button pressed.
    MouseButton getMouseButton() const;

    /// Sets the pointer position in cells.
    void setMousePosition(Vector position);

    /// Returns the pointer position in cells.
    Vector getMousePosition() const;

private:
    MouseAction mouseAction;
    MouseButton mouseButton;
    Vector mousePosition;
};

} // namespace lu
