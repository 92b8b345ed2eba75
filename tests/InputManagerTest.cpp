#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "Keyboard.h"
#include "LogManager.h"
#include "Object.h"
#include "Platform.h"
#include "TestSupport.h"

#include <SFML/Config.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

// Defined at the end of the file, after Xlib, whose macros clash with SFML's and gtest's names.
void requestClose(unsigned long windowId);

// The X server delivers input a little later than it is sent: poll in short waits, up to a few seconds.
const int POLL_WAIT_MS = 10;
const int POLL_LIMIT = 500;

// Longer than the X server's autorepeat delay, so a held key would repeat if repeats were on.
const int HOLD_FRAMES = 40;
const int HOLD_WAIT_MS = 25;

unsigned long windowId(sf::RenderWindow& window)
{
#if SFML_VERSION_MAJOR >= 3
    return static_cast<unsigned long>(window.getNativeHandle());
#else
    return static_cast<unsigned long>(window.getSystemHandle());
#endif
}

bool xdotool(const std::string& arguments)
{
    // timeout guards the --sync waits, which never end if the server never answers.
    std::string command = "timeout 5 xdotool " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

std::string cellText(lu::Vector position)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %.2f", position.getX(), position.getY());
    return text;
}

// Writes each keyboard and mouse event it receives as a line of text into a list the test owns,
// which outlives the object when the world deletes it.
class InputRecorder : public lu::Object {
public:
    explicit InputRecorder(std::vector<std::string>& lines) : lines(lines)
    {
    }

    int handleEvent(const lu::Event* event) override
    {
        if (event->getType() == lu::KEYBOARD_EVENT) {
            const lu::EventKeyboard* key = static_cast<const lu::EventKeyboard*>(event);
            std::string action = key->getKeyAction() == lu::KEY_PRESSED ? "pressed" : "released";
            lines.push_back("key " + std::to_string(key->getKey()) + " " + action);
            return 1;
        }
        if (event->getType() == lu::MOUSE_EVENT) {
            const lu::EventMouse* mouse = static_cast<const lu::EventMouse*>(event);
            std::string action = mouse->getMouseAction() == lu::MOUSE_MOVED ? "moved" : "clicked";
            lines.push_back("mouse " + action + " " + cellText(mouse->getMousePosition()) + " button " +
                            std::to_string(mouse->getMouseButton()));
            return 1;
        }
        return 0;
    }

private:
    std::vector<std::string>& lines;
};

// Gives the window the keyboard focus, which fails until the window is mapped; false when it never is.
bool focus(sf::RenderWindow& window)
{
    for (int i = 0; i < POLL_LIMIT; i++) {
        lu::InputManager::instance().getInput();
        if (xdotool("windowfocus --sync " + std::to_string(windowId(window))))
            return true;
        lu::sleepMilliseconds(POLL_WAIT_MS);
    }
    return false;
}

// A real window with the display and input managers started and the keyboard focus on it.
class InputWindow {
public:
    InputWindow() : scope(lutest::EngineScope::LOG | lutest::EngineScope::WORLD)
    {
        lu::DisplayManager::instance().startUp();
        lu::InputManager::instance().startUp();
        window = lu::DisplayManager::instance().getWindow();
        focused = window != nullptr && focus(*window);
    }

    ~InputWindow()
    {
        lu::InputManager::instance().shutDown();
        lu::DisplayManager::instance().shutDown();
    }

    /// Returns true when the window is open and has the keyboard focus.
    bool ready() const
    {
        return focused;
    }

    unsigned long id() const
    {
        return windowId(*window);
    }

private:
    lutest::WindowTestLock lock;
    lutest::EngineScope scope;
    sf::RenderWindow* window = nullptr;
    bool focused = false;
};

// Runs frames until lines holds count entries; false when they never come.
bool runFramesUntil(const std::vector<std::string>& lines, std::size_t count)
{
    for (int i = 0; i < POLL_LIMIT; i++) {
        lu::GameManager::instance().runFrame();
        if (lines.size() >= count)
            return true;
        lu::sleepMilliseconds(POLL_WAIT_MS);
    }
    return false;
}

// Delivers whatever is still pending, so nothing unexpected hides behind the awaited events.
void runFramesBriefly()
{
    for (int i = 0; i < 10; i++) {
        lu::GameManager::instance().runFrame();
        lu::sleepMilliseconds(POLL_WAIT_MS);
    }
}

TEST(TranslateKeyTest, ListedKeysMapToEngineCodesAndEveryOtherKeyIsUndefined)
{
    // SFML's key numbers, which SFML 2.5 and 3 share.
    std::map<int, int> expected = {
        {57, lu::Keyboard::SPACE},        {58, lu::Keyboard::ENTER},         {36, lu::Keyboard::ESCAPE},
        {60, lu::Keyboard::TAB},          {71, lu::Keyboard::LEFT_ARROW},    {72, lu::Keyboard::RIGHT_ARROW},
        {73, lu::Keyboard::UP_ARROW},     {74, lu::Keyboard::DOWN_ARROW},    {100, lu::Keyboard::PAUSE},
        {56, lu::Keyboard::HYPHEN},       {55, lu::Keyboard::EQUAL},         {54, lu::Keyboard::GRAVE},
        {50, lu::Keyboard::PERIOD},       {49, lu::Keyboard::COMMA},         {52, lu::Keyboard::SLASH},
        {37, lu::Keyboard::LEFT_CONTROL}, {41, lu::Keyboard::RIGHT_CONTROL}, {38, lu::Keyboard::LEFT_SHIFT},
        {42, lu::Keyboard::RIGHT_SHIFT},  {26, lu::Keyboard::NUM0},
    };
    for (int i = 0; i < 26; i++)
        expected[i] = lu::Keyboard::A + i;
    for (int i = 0; i < 9; i++)
        expected[27 + i] = lu::Keyboard::NUM1 + i;
    for (int i = 0; i < 12; i++)
        expected[85 + i] = lu::Keyboard::F1 + i;

    for (int code = -1; code <= 101; code++) {
        int want = expected.count(code) != 0 ? expected[code] : lu::Keyboard::UNDEFINED_KEY;
        EXPECT_EQ(lu::InputManager::translateKey(static_cast<sf::Keyboard::Key>(code)), want) << "SFML key " << code;
    }
}

// The display manager makes only one window per process, so each of these runs in a process of its own.

TEST(InputWindowTest, KeysReachEveryObjectAsPressThenRelease)
{
    lutest::runInFreshProcess([] {
        InputWindow window;
        ASSERT_TRUE(window.ready());
        std::vector<std::string> first, second;
        new InputRecorder(first);
        new InputRecorder(second);

        ASSERT_TRUE(xdotool("key w BackSpace"));
        ASSERT_TRUE(runFramesUntil(second, 4));
        runFramesBriefly();
        // Backspace has no engine code.
        std::vector<std::string> expected = {"key 53 pressed", "key 53 released", "key -1 pressed", "key -1 released"};
        EXPECT_EQ(first, expected);
        EXPECT_EQ(second, expected);
    });
}

TEST(InputWindowTest, HeldKeyGivesOnePressAndOneRelease)
{
    lutest::runInFreshProcess([] {
        InputWindow window;
        ASSERT_TRUE(window.ready());
        std::vector<std::string> lines;
        new InputRecorder(lines);

        ASSERT_TRUE(xdotool("keydown d"));
        for (int i = 0; i < HOLD_FRAMES; i++) {
            lu::GameManager::instance().runFrame();
            lu::sleepMilliseconds(HOLD_WAIT_MS);
        }
        ASSERT_TRUE(xdotool("keyup d"));
        ASSERT_TRUE(runFramesUntil(lines, 2));
        runFramesBriefly();
        EXPECT_EQ(lines, (std::vector<std::string>{"key 34 pressed", "key 34 released"}));
    });
}

TEST(InputWindowTest, MouseMovesAndPressesArriveInCellsWithoutReleases)
{
    lutest::runInFreshProcess([] {
        InputWindow window;
        ASSERT_TRUE(window.ready());
        std::vector<std::string> lines;
        runFramesBriefly();
        new InputRecorder(lines);

        ASSERT_TRUE(xdotool("mousemove --window " + std::to_string(window.id()) + " 130 42"));
        ASSERT_TRUE(runFramesUntil(lines, 1));
        // Middle, then an extra button the engine has no name for.
        ASSERT_TRUE(xdotool("click 2"));
        ASSERT_TRUE(runFramesUntil(lines, 2));
        ASSERT_TRUE(xdotool("click 8"));
        ASSERT_TRUE(runFramesUntil(lines, 3));
        runFramesBriefly();
        std::vector<std::string> expected = {"mouse moved 10.00 2.00 button -1", "mouse clicked 10.00 2.00 button 2",
                                             "mouse clicked 10.00 2.00 button -1"};
        EXPECT_EQ(lines, expected);
    });
}

// Asks the window to close during a chosen frame's step, then presses a key behind that request.
class CloseRequester : public lu::Object {
public:
    CloseRequester(std::vector<std::string>& lines, unsigned long windowId, int closeStep)
        : lines(lines), windowId(windowId), closeStep(closeStep)
    {
    }

    int handleEvent(const lu::Event* event) override
    {
        if (event->getType() == lu::KEYBOARD_EVENT) {
            lines.push_back("key");
            return 1;
        }
        if (event->getType() != lu::STEP_EVENT)
            return 0;
        int step = static_cast<const lu::EventStep*>(event)->getStepCount();
        if (step == closeStep) {
            requestClose(windowId);
            xdotool("key w");
            lines.push_back("close requested");
        } else if (step > closeStep + POLL_LIMIT) {
            lines.push_back("close never arrived");
            lu::GameManager::instance().setGameOver(true);
        }
        return 1;
    }

private:
    std::vector<std::string>& lines;
    unsigned long windowId;
    int closeStep;
};

TEST(InputWindowTest, ClosingTheWindowEndsTheLoopAfterTheCurrentFrame)
{
    lutest::runInFreshProcess([] {
        lutest::WindowTestLock lock;
        lutest::EngineScope scope(0);
        lu::GameManager& game = lu::GameManager::instance();
        ASSERT_EQ(game.startUp(), 0);
        sf::RenderWindow* window = lu::DisplayManager::instance().getWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(focus(*window));

        std::vector<std::string> lines;
        new CloseRequester(lines, windowId(*window), game.getStepCount() + 1);
        game.run();

        // The key pressed behind the close request never arrives; the world went down with the window.
        EXPECT_EQ(lines, std::vector<std::string>{"close requested"});
        EXPECT_TRUE(game.isGameOver());
        EXPECT_FALSE(window->isOpen());
        EXPECT_EQ(lutest::worldObjectCount(), 0);
        // The log was closed in the middle of the frame, so the loop's last word never reached it.
        std::vector<std::string> log = lutest::readLogMessages();
        EXPECT_NE(std::find(log.begin(), log.end(), "Running"), log.end());
        EXPECT_EQ(std::find(log.begin(), log.end(), "GameOver"), log.end());
        // The program's entry shuts down once more after the loop.
        game.shutDown();
    });
}

} // namespace

#include <X11/Xlib.h>

namespace {

// Sends what a window manager sends when the user clicks the close button.
void requestClose(unsigned long windowId)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = windowId;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, windowId, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
}

} // namespace
