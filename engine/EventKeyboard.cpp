#include "EventKeyboard.h"

#include "Keyboard.h"

namespace lu {

EventKeyboard::EventKeyboard() : key(Keyboard::UNDEFINED_KEY), keyAction(UNDEFINED_KEY_ACTION)
{
    setType(KEYBOARD_EVENT);
}

void EventKeyboard::setKey(int key)
{
    this->key = key;
}

int EventKeyboard::getKey() const
{
    return key;
}

void EventKeyboard::setKeyAction(KeyAction action)
{
    keyAction = action;
}

KeyAction EventKeyboard::getKeyAction() const
{
    return keyAction;
}

} // namespace lu
