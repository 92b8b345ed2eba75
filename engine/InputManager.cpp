#include "InputManager.h"

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "GameManager.h"
#include "Keyboard.h"

#include <SFML/Config.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Mouse.hpp>

#if SFML_VERSION_MAJOR >= 3
#include <optional>
#endif

namespace lu {

namespace {

using SfKey = sf::Keyboard::Key;

// The key left of 1 changed its name between SFML 2 and 3; its number did not.
#if SFML_VERSION_MAJOR >= 3
const SfKey SFML_GRAVE_KEY = SfKey::Grave;
#else
const SfKey SFML_GRAVE_KEY = SfKey::Tilde;
#endif

int translateButton(sf::Mouse::Button button)
{
    switch (button) {
    case sf::Mouse::Button::Left:
        return LEFT;
    case sf::Mouse::Button::Right:
        return RIGHT;
    case sf::Mouse::Button::Middle:
        return MIDDLE;
    default:
        return UNDEFINED_MOUSE_BUTTON;
    }
}

void sendKeyboard(sf::Keyboard::Key key, KeyAction action)
{
    EventKeyboard event;
    event.setKey(InputManager::translateKey(key));
    event.setKeyAction(action);
    InputManager::instance().broadcastEvent(&event);
}

void sendMouse(MouseAction action, int button, int pixelX, int pixelY)
{
    const DisplayManager& display = DisplayManager::instance();
    EventMouse event;
    event.setMouseAction(action);
    event.setMouseButton(static_cast<MouseButton>(button));
    event.setMousePosition(Vector(pixelX / display.cellWidth(), pixelY / display.cellHeight()));
    InputManager::instance().broadcastEvent(&event);
}

} // namespace

InputManager::InputManager()
{
}

InputManager& InputManager::instance()
{
    static InputManager inputManager;
    return inputManager;
}

int InputManager::startUp()
{
    const DisplayManager& display = DisplayManager::instance();
    if (!display.isStarted() || display.getWindow() == nullptr)
        return 0;
    // One press and one release per key, however long it is held.
    display.getWindow()->setKeyRepeatEnabled(false);
    started = true;
    setType("InputManager");
    return 0;
}

void InputManager::shutDown()
{
    sf::RenderWindow* window = DisplayManager::instance().getWindow();
    if (window != nullptr)
        window->setKeyRepeatEnabled(true);
}

void InputManager::getInput()
{
    sf::RenderWindow* window = DisplayManager::instance().getWindow();
    if (window == nullptr)
        return;

#if SFML_VERSION_MAJOR >= 3
    while (const std::optional<sf::Event> event = window->pollEvent()) {
        if (event->is<sf::Event::Closed>()) {
            // Shutting down closes the window: what is still queued behind the close is dropped.
            GameManager::instance().shutDown();
            return;
        }
        if (const auto* pressed = event->getIf<sf::Event::KeyPressed>()) {
            sendKeyboard(pressed->code, KEY_PRESSED);
        } else if (const auto* released = event->getIf<sf::Event::KeyReleased>()) {
            sendKeyboard(released->code, KEY_RELEASED);
        } else if (const auto* moved = event->getIf<sf::Event::MouseMoved>()) {
            sendMouse(MOUSE_MOVED, UNDEFINED_MOUSE_BUTTON, moved->position.x, moved->position.y);
        } else if (const auto* clicked = event->getIf<sf::Event::MouseButtonPressed>()) {
            sendMouse(MOUSE_CLICKED, translateButton(clicked->button), clicked->position.x, clicked->position.y);
        }
    }
#else
    sf::Event event;
    while (window->pollEvent(event)) {
        switch (event.type) {
        case sf::Event::Closed:
            // Shutting down closes the window: what is still queued behind the close is dropped.
            GameManager::instance().shutDown();
            return;
        case sf::Event::KeyPressed:
            sendKeyboard(event.key.code, KEY_PRESSED);
            break;
        case sf::Event::KeyReleased:
            sendKeyboard(event.key.code, KEY_RELEASED);
            break;
        case sf::Event::MouseMoved:
            sendMouse(MOUSE_MOVED, UNDEFINED_MOUSE_BUTTON, event.mouseMove.x, event.mouseMove.y);
            break;
        case sf::Event::MouseButtonPressed:
            sendMouse(MOUSE_CLICKED, translateButton(event.mouseButton.button), event.mouseButton.x,
                      event.mouseButton.y);
            break;
        default:
            break;
        }
    }
#endif
}

int InputManager::translateKey(sf::Keyboard::Key key)
{
    // Letters, digits and function keys come in runs in both numberings.
    int code = static_cast<int>(key);
    if (code >= static_cast<int>(SfKey::A) && code <= static_cast<int>(SfKey::Z))
        return Keyboard::A + (code - static_cast<int>(SfKey::A));
    if (code >= static_cast<int>(SfKey::Num1) && code <= static_cast<int>(SfKey::Num9))
        return Keyboard::NUM1 + (code - static_cast<int>(SfKey::Num1));
    if (code >= static_cast<int>(SfKey::F1) && code <= static_cast<int>(SfKey::F12))
        return Keyboard::F1 + (code - static_cast<int>(SfKey::F1));
    if (key == SFML_GRAVE_KEY)
        return Keyboard::GRAVE;

    switch (key) {
    case SfKey::Num0:
        return Keyboard::NUM0;
    case SfKey::Space:
        return Keyboard::SPACE;
    case SfKey::Enter:
        return Keyboard::ENTER;
    case SfKey::Escape:
        return Keyboard::ESCAPE;
    case SfKey::Tab:
        return Keyboard::TAB;
    case SfKey::Left:
        return Keyboard::LEFT_ARROW;
    case SfKey::Right:
        return Keyboard::RIGHT_ARROW;
    case SfKey::Up:
        return Keyboard::UP_ARROW;
    case SfKey::Down:
        return Keyboard::DOWN_ARROW;
    case SfKey::Pause:
        return Keyboard::PAUSE;
    case SfKey::Hyphen:
        return Keyboard::HYPHEN;
    case SfKey::Equal:
        return Keyboard::EQUAL;
    case SfKey::Period:
        return Keyboard::PERIOD;
    case SfKey::Comma:
        return Keyboard::COMMA;
    case SfKey::Slash:
        return Keyboard::SLASH;
    case SfKey::LControl:
        return Keyboard::LEFT_CONTROL;
    case SfKey::RControl:
        return Keyboard::RIGHT_CONTROL;
    case SfKey::LShift:
        return Keyboard::LEFT_SHIFT;
    case SfKey::RShift:
        return Keyboard::RIGHT_SHIFT;
    default:
        return Keyboard::UNDEFINED_KEY;
    }
}

} // namespace lu
