#include "DisplayManager.h"
#include "InputManager.h"
#include "Keyboard.h"
#include "Platform.h"
#include "TestSupport.h"

#include <SFML/Config.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// Every test runs in a process of its own, and the display manager makes one window per process.
namespace {

// Defined at the end of the file, after Xlib, whose macros clash with SFML's and gtest's names.
void repeatHeldKeysSoon();

// The X server delivers input a little later than it is sent: poll in short waits, up to a few seconds.
const int POLL_WAIT_MS = 10;
const int POLL_LIMIT = 500;

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
class InputWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(lu::DisplayManager::instance().startUp(), 0);
        lu::InputManager::instance().startUp();
        window = lu::DisplayManager::instance().getWindow();
        ASSERT_TRUE(focus(*window));
        readInputUntil(0); // what mapping the window brought, before anyone listens
    }

    void TearDown() override
    {
        lu::InputManager::instance().shutDown();
        lu::DisplayManager::instance().shutDown();
    }

    // Reads input until inputs holds count events (or a few seconds pass), then extra times more, so
    // that nothing unexpected hides behind them.
    void readInputUntil(std::size_t count, int extra = 10)
    {
        for (int i = 0; i < POLL_LIMIT && extra > 0; i++) {
            lu::InputManager::instance().getInput();
            std::istringstream heard(lutest::heard());
            for (std::string entry; std::getline(heard, entry, ';');)
                inputs.push_back(entry.substr(entry[0] == ' ' ? 1 : 0));
            extra -= inputs.size() >= count ? 1 : 0;
            lu::sleepMilliseconds(POLL_WAIT_MS);
        }
    }

    std::vector<std::string> inputs;
    lutest::EngineScope scope{lutest::EngineScope::LOG | lutest::EngineScope::WORLD};
    sf::RenderWindow* window = nullptr;
};

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

TEST_F(InputWindowTest, KeysAndMouseReachEveryObjectKeysAsPressThenReleaseAndClicksInCells)
{
    new lutest::Probe("A");
    new lutest::Probe("B");
    // Backspace has no engine code, nor has the extra mouse button 8.
    ASSERT_TRUE(xdotool("key w BackSpace"));
    readInputUntil(8);
    ASSERT_TRUE(xdotool("mousemove --window " + std::to_string(windowId(*window)) + " 130 42"));
    readInputUntil(10);
    ASSERT_TRUE(xdotool("click 2 click 8"));
    readInputUntil(14);
    EXPECT_EQ(inputs, (std::vector<std::string>{
                          "A key 53 pressed", "B key 53 pressed", "A key 53 released", "B key 53 released",
                          "A key -1 pressed", "B key -1 pressed", "A key -1 released", "B key -1 released",
                          "A mouse moved 10.00 2.00 button -1", "B mouse moved 10.00 2.00 button -1",
                          "A mouse clicked 10.00 2.00 button 2", "B mouse clicked 10.00 2.00 button 2",
                          "A mouse clicked 10.00 2.00 button -1", "B mouse clicked 10.00 2.00 button -1"}));
}

// The server repeats a held key many times here. Under load the window may now and then see one
// repeat as a release and a press of its own, so the test asks for alternation rather than a count.
TEST_F(InputWindowTest, HeldKeyNeverRepeatsItsPress)
{
    new lutest::Probe("R");
    repeatHeldKeysSoon();
    ASSERT_TRUE(xdotool("keydown d"));
    readInputUntil(1, 40);
    ASSERT_TRUE(xdotool("keyup d"));
    readInputUntil(inputs.size() + 1);
    ASSERT_GE(inputs.size(), 2u);
    for (std::size_t i = 0; i < inputs.size(); i++)
        EXPECT_EQ(inputs[i], i % 2 == 0 ? "R key 34 pressed" : "R key 34 released") << i;
}

} // namespace

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

// Turns the server's key repeat on, starting 50 ms after a press and coming every 20 ms.
void repeatHeldKeysSoon()
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return;
    XAutoRepeatOn(display);
    XkbSetAutoRepeatRate(display, XkbUseCoreKbd, 50, 20);
    XSync(display, False);
    XCloseDisplay(display);
}

} // namespace
