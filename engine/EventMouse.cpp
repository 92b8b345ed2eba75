#include "EventMouse.h"

namespace lu {

EventMouse::EventMouse()
    : mouseAction(UNDEFINED_MOUSE_ACTION), mouseButton(UNDEFINED_MOUSE_BUTTON), mousePosition(0, 0), wheelDelta(0)
{
    setType(MOUSE_EVENT);
}

void EventMouse::setMouseAction(MouseAction action)
{
    mouseAction = action;
}

MouseAction EventMouse::getMouseAction() const
{
    return mouseAction;
}

void EventMouse::setMouseButton(MouseButton button)
{
    mouseButton = button;
}

MouseButton EventMouse::getMouseButton() const
{
    return mouseButton;
}

void EventMouse::setMousePosition(Vector position)
{
    mousePosition = position;
}

Vector EventMouse::getMousePosition() const
{
    return mousePosition;
}

void EventMouse::setWheelDelta(float delta)
{
    wheelDelta = delta;
}

float EventMouse::getWheelDelta() const
{
    return wheelDelta;
}

} // namespace lu
