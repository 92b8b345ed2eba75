#include "InputManager.h"

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "GameManager.h"
#include "InputRecord.h"
#include "InputRecorder.h"
#include "InputRecording.h"
#include "Keyboard.h"
#include "WorldManager.h"

#include <SFML/Config.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Mouse.hpp>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

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

InputRecord keyRecord(sf::Keyboard::Key key, KeyAction action)
{
    InputRecord record;
    record.kind = INPUT_KEY;
    record.key = InputManager::translateKey(key);
    record.keyAction = action;
    return record;
}

// The pointer's window pixel in view cells, through the view the picture is drawn in (letterboxed
// once the window was resized).
InputRecord mouseRecord(const sf::RenderWindow& window, MouseAction action, int button, int pixelX, int pixelY)
{
    const DisplayManager& display = DisplayManager::instance();
    sf::Vector2f picture = window.mapPixelToCoords(sf::Vector2i(pixelX, pixelY));
    InputRecord record;
    record.kind = INPUT_MOUSE;
    record.mouseAction = action;
    record.mouseButton = static_cast<MouseButton>(button);
    record.position = Vector(picture.x / display.cellWidth(), picture.y / display.cellHeight());
    return record;
}

InputRecord kindRecord(InputKind kind)
{
    InputRecord record;
    record.kind = kind;
    return record;
}

#if SFML_VERSION_MAJOR >= 3
// Returns true for a resize, with the window's new size.
bool resizedTo(const sf::Event& event, sf::Vector2u& size)
{
    const auto* resized = event.getIf<sf::Event::Resized>();
    if (resized != nullptr)
        size = resized->size;
    return resized != nullptr;
}

// Makes the engine's record of a window event; false for events that hand nothing out.
bool recordOf(const sf::Event& event, const sf::RenderWindow& window, InputRecord& record)
{
    if (event.is<sf::Event::Closed>()) {
        record = kindRecord(INPUT_CLOSED);
    } else if (event.is<sf::Event::FocusLost>()) {
        record = kindRecord(INPUT_FOCUS_LOST);
    } else if (const auto* pressed = event.getIf<sf::Event::KeyPressed>()) {
        record = keyRecord(pressed->code, KEY_PRESSED);
    } else if (const auto* released = event.getIf<sf::Event::KeyReleased>()) {
        record = keyRecord(released->code, KEY_RELEASED);
    } else if (const auto* moved = event.getIf<sf::Event::MouseMoved>()) {
        record = mouseRecord(window, MOUSE_MOVED, UNDEFINED_MOUSE_BUTTON, moved->position.x, moved->position.y);
    } else if (const auto* down = event.getIf<sf::Event::MouseButtonPressed>()) {
        record = mouseRecord(window, MOUSE_CLICKED, translateButton(down->button), down->position.x, down->position.y);
    } else if (const auto* up = event.getIf<sf::Event::MouseButtonReleased>()) {
        record = mouseRecord(window, MOUSE_RELEASED, translateButton(up->button), up->position.x, up->position.y);
    } else if (const auto* wheel = event.getIf<sf::Event::MouseWheelScrolled>()) {
        if (wheel->wheel != sf::Mouse::Wheel::Vertical)
            return false;
        record = mouseRecord(window, MOUSE_WHEEL, UNDEFINED_MOUSE_BUTTON, wheel->position.x, wheel->position.y);
        record.wheelDelta = wheel->delta;
    } else {
        return false;
    }
    return true;
}
#else
// Returns true for a resize, with the window's new size.
bool resizedTo(const sf::Event& event, sf::Vector2u& size)
{
    if (event.type == sf::Event::Resized)
        size = sf::Vector2u(event.size.width, event.size.height);
    return event.type == sf::Event::Resized;
}

// Makes the engine's record of a window event; false for events that hand nothing out.
bool recordOf(const sf::Event& event, const sf::RenderWindow& window, InputRecord& record)
{
    switch (event.type) {
    case sf::Event::Closed:
        record = kindRecord(INPUT_CLOSED);
        return true;
    case sf::Event::LostFocus:
        record = kindRecord(INPUT_FOCUS_LOST);
        return true;
    case sf::Event::KeyPressed:
        record = keyRecord(event.key.code, KEY_PRESSED);
        return true;
    case sf::Event::KeyReleased:
        record = keyRecord(event.key.code, KEY_RELEASED);
        return true;
    case sf::Event::MouseMoved:
        record = mouseRecord(window, MOUSE_MOVED, UNDEFINED_MOUSE_BUTTON, event.mouseMove.x, event.mouseMove.y);
        return true;
    case sf::Event::MouseButtonPressed:
    case sf::Event::MouseButtonReleased:
        record = mouseRecord(window, event.type == sf::Event::MouseButtonPressed ? MOUSE_CLICKED : MOUSE_RELEASED,
                             translateButton(event.mouseButton.button), event.mouseButton.x, event.mouseButton.y);
        return true;
    case sf::Event::MouseWheelScrolled:
        // SFML 2 also sends each turn as the older MouseWheelMoved, which is left alone.
        if (event.mouseWheelScroll.wheel != sf::Mouse::VerticalWheel)
            return false;
        record = mouseRecord(window, MOUSE_WHEEL, UNDEFINED_MOUSE_BUTTON, event.mouseWheelScroll.x,
                             event.mouseWheelScroll.y);
        record.wheelDelta = event.mouseWheelScroll.delta;
        return true;
    default:
        return false;
    }
}
#endif

} // namespace

InputManager::InputManager() : keysDown(), recordingBase(-1), recordingFrame(0), replayNext(0), replayBase(-1)
{
}

InputManager::~InputManager() = default;

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
    std::fill(std::begin(keysDown), std::end(keysDown), false);
    sf::RenderWindow* window = DisplayManager::instance().getWindow();
    if (window != nullptr)
        window->setKeyRepeatEnabled(true);
    stopRecording();
    replay.reset();
}

void InputManager::getInput()
{
    if (recorder != nullptr)
        recordingFrame = frameSince(recordingBase);
    int replayFrame = replay != nullptr ? frameSince(replayBase) : 0;
    if (!pollWindow())
        return;
    if (replay != nullptr)
        replayInputs(replayFrame);
    // A close request among the replayed inputs finished the recording already.
    if (recorder != nullptr)
        recorder->reach(recordingFrame);
}

bool InputManager::pollWindow()
{
    sf::RenderWindow* window = DisplayManager::instance().getWindow();
    if (window == nullptr)
        return true;

    InputRecord record;
    sf::Vector2u size;
#if SFML_VERSION_MAJOR >= 3
    while (const std::optional<sf::Event> polled = window->pollEvent()) {
        const sf::Event& event = *polled;
#else
    sf::Event event;
    while (window->pollEvent(event)) {
#endif
        // The picture is refitted before the mouse events behind the resize are mapped through it.
        if (resizedTo(event, size))
            DisplayManager::instance().fitToWindow(size.x, size.y);
        if (!recordOf(event, *window, record))
            continue;
        // A replay's player can still close the window, but not play along.
        if (replay != nullptr && record.kind != INPUT_CLOSED)
            continue;
        applyInput(record);
        // Shutting down closed the window: what is still queued behind the close is dropped.
        if (record.kind == INPUT_CLOSED)
            return false;
    }
    return true;
}

void InputManager::replayInputs(int frame)
{
    const std::vector<RecordedInput>& inputs = replay->getInputs();
    while (replayNext < inputs.size() && inputs[replayNext].frame <= frame) {
        InputRecord record = inputs[replayNext].record;
        replayNext++;
        applyInput(record);
        // Shutting down for the close ended the replay.
        if (record.kind == INPUT_CLOSED)
            return;
    }
    if (frame >= replay->getLastFrame()) {
        replay.reset();
        GameManager::instance().setGameOver(true);
    }
}

int InputManager::frameSince(int& base)
{
    int step = GameManager::instance().getStepCount();
    if (base < 0)
        base = step;
    std::int64_t frame = static_cast<std::int64_t>(step) - base;
    // The step count starts again at 0 after INT_MAX.
    if (frame < 0)
        frame += static_cast<std::int64_t>(INT_MAX) + 1;
    return static_cast<int>(frame);
}

int InputManager::startRecording(const std::string& path)
{
    stopRecording();
    recordingMessage.clear();
    std::unique_ptr<InputRecorder> made = std::make_unique<InputRecorder>(path);
    if (!made->isGood()) {
        recordingMessage = "cannot create the recording " + path;
        return -1;
    }
    recorder = std::move(made);
    recordingPath = path;
    recordingBase = -1;
    recordingFrame = 0;
    return 0;
}

void InputManager::stopRecording()
{
    if (recorder == nullptr)
        return;
    // A run that never read its input has no frame to name: the recording says so by having no end.
    if (recordingBase >= 0)
        recorder->end(recordingFrame);
    if (!recorder->isGood())
        recordingMessage = "the recording " + recordingPath + " could not be written in full";
    recorder.reset();
}

int InputManager::startReplay(const std::string& path)
{
    recordingMessage.clear();
    std::unique_ptr<InputRecording> loaded = std::make_unique<InputRecording>();
    if (loaded->load(path) != 0) {
        recordingMessage = loaded->getError();
        return -1;
    }
    if (!loaded->isFinished())
        recordingMessage = path +
                           ": the recorded run did not finish; the replay ends where its recording does, at frame " +
                           std::to_string(loaded->getLastFrame());
    replay = std::move(loaded);
    replayNext = 0;
    replayBase = -1;
    return 0;
}

bool InputManager::isReplaying() const
{
    return replay != nullptr;
}

std::string InputManager::getRecordingMessage() const
{
    return recordingMessage;
}

void InputManager::applyInput(const InputRecord& record)
{
    // Written before it takes effect: a close request shuts the recording down with the game.
    if (recorder != nullptr) {
        recordingFrame = frameSince(recordingBase);
        recorder->write(recordingFrame, record);
    }
    switch (record.kind) {
    case INPUT_CLOSED:
        GameManager::instance().shutDown();
        break;
    case INPUT_FOCUS_LOST:
        // Keys let go in another window send this one no release.
        std::fill(std::begin(keysDown), std::end(keysDown), false);
        break;
    case INPUT_KEY: {
        // Noted first, so that the handlers of this very event see the key as it now is.
        if (record.key >= 0 && record.key < KEY_CODE_COUNT)
            keysDown[record.key] = record.keyAction == KEY_PRESSED;
        EventKeyboard event;
        event.setKey(record.key);
        event.setKeyAction(record.keyAction);
        broadcastEvent(&event);
        break;
    }
    case INPUT_MOUSE: {
        EventMouse event;
        event.setMouseAction(record.mouseAction);
        event.setMouseButton(record.mouseButton);
        event.setMousePosition(record.position + WorldManager::instance().getCamera());
        event.setWheelDelta(record.wheelDelta);
        broadcastEvent(&event);
        break;
    }
    }
}

bool InputManager::isKeyDown(Keyboard::Key key) const
{
    return key >= 0 && key < KEY_CODE_COUNT && keysDown[key];
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
    if (code >= static_cast<int>(SfKey::Numpad0) && code <= static_cast<int>(SfKey::Numpad9))
        return Keyboard::NUMPAD0 + (code - static_cast<int>(SfKey::Numpad0));
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
    case SfKey::Backspace:
        return Keyboard::BACKSPACE;
    case SfKey::Delete:
        return Keyboard::DELETE_KEY;
    case SfKey::Insert:
        return Keyboard::INSERT;
    case SfKey::Home:
        return Keyboard::HOME;
    case SfKey::End:
        return Keyboard::END;
    case SfKey::PageUp:
        return Keyboard::PAGE_UP;
    case SfKey::PageDown:
        return Keyboard::PAGE_DOWN;
    case SfKey::Add:
        return Keyboard::NUMPAD_ADD;
    case SfKey::Subtract:
        return Keyboard::NUMPAD_SUBTRACT;
    case SfKey::Multiply:
        return Keyboard::NUMPAD_MULTIPLY;
    case SfKey::Divide:
        return Keyboard::NUMPAD_DIVIDE;
    case SfKey::LAlt:
        return Keyboard::LEFT_ALT;
    case SfKey::RAlt:
        return Keyboard::RIGHT_ALT;
    case SfKey::LSystem:
        return Keyboard::LEFT_SYSTEM;
    case SfKey::RSystem:
        return Keyboard::RIGHT_SYSTEM;
    default:
        return Keyboard::UNDEFINED_KEY;
    }
}

} // namespace lu
