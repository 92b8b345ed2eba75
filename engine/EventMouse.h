#pragma once

#include "Event.h"
#include "Vector.h"

namespace lu {

/// Type of EventMouse.
const std::string MOUSE_EVENT = "lu::mouse";

/// What the mouse did.
/// \code
/// if (mouse->getMouseAction() == lu::MOUSE_CLICKED && mouse->getMouseButton() == lu::LEFT)
///     dragging = true;
/// else if (mouse->getMouseAction() == lu::MOUSE_RELEASED && mouse->getMouseButton() == lu::LEFT)
///     dragging = false;
/// \endcode
enum MouseAction {
    UNDEFINED_MOUSE_ACTION = -1,
    MOUSE_CLICKED = 0,
    MOUSE_MOVED = 1,
    MOUSE_RELEASED = 2, ///< a button went up
    MOUSE_WHEEL = 3,    ///< the wheel turned: see EventMouse::getWheelDelta()
};

/// Which mouse button went down or up.
enum MouseButton {
    UNDEFINED_MOUSE_BUTTON = -1,
    LEFT = 0,
    RIGHT = 1,
    MIDDLE = 2,
};

/// A mouse move, button press or release, or wheel turn, with the pointer's position in world cells.
class EventMouse : public Event {
public:
    /// Makes a mouse event with action -1, button -1, position (0, 0) and wheel delta 0.
    EventMouse();

    /// Sets what the mouse did.
    void setMouseAction(MouseAction action);

    /// Returns what the mouse did.
    MouseAction getMouseAction() const;

    /// Sets the button pressed or released.
    void setMouseButton(MouseButton button);

    /// Returns the button pressed or released.
    MouseButton getMouseButton() const;

    /// Sets the pointer position in cells.
    void setMousePosition(Vector position);

    /// Returns the pointer position in cells.
    Vector getMousePosition() const;

    /// Sets how far the wheel turned, in notches (positive away from the user).
    /// \code
    /// lu::EventMouse turn; // a game's test of its own wheel handling
    /// turn.setMouseAction(lu::MOUSE_WHEEL);
    /// turn.setWheelDelta(1);
    /// map->handleEvent(&turn);
    /// \endcode
    void setWheelDelta(float delta);

    /// Returns how far the wheel turned for MOUSE_WHEEL, in notches (positive away from the user), else 0.
    /// \code
    /// if (mouse->getMouseAction() == lu::MOUSE_WHEEL)
    ///     zoom += mouse->getWheelDelta(); // a notch away from the user: 1
    /// \endcode
    float getWheelDelta() const;

private:
    MouseAction mouseAction;
    MouseButton mouseButton;
    Vector mousePosition;
    float wheelDelta;
};

} // namespace lu
