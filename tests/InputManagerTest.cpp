#include "DisplayManager.h"
#include "InputManager.h"
#include "InputRecord.h"
#include "Keyboard.h"
#include "Pixels.h"
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
    // The keys added later, after NUM0 (66), in the order of their codes: Backspace, Delete, Insert, Home,
    // End, Page Up, Page Down, the keypad's digits and operators, the Alt and system keys.
    const int later[] = {59, 66, 65, 64, 63, 61, 62, 75, 76, 77, 78, 79, 80,
                         81, 82, 83, 84, 67, 68, 69, 70, 39, 43, 40, 44};
    for (int i = 0; i < 25; i++)
        expected[later[i]] = 67 + i;
    EXPECT_EQ(lu::Keyboard::RIGHT_SYSTEM, 67 + 24);

    for (int code = -1; code <= 101; code++) {
        int want = expected.count(code) != 0 ? expected[code] : lu::Keyboard::UNDEFINED_KEY;
        EXPECT_EQ(lu::InputManager::translateKey(static_cast<sf::Keyboard::Key>(code)), want) << "SFML key " << code;
    }
}

// Fed straight to the input manager, as a replay would.
TEST(KeyStateTest, AKeyIsHeldFromItsPressToItsReleaseAsHandlersSeeItAndLetGoWhenTheFocusGoes)
{
    lutest::EngineScope scope;
    lu::InputManager& input = lu::InputManager::instance();
    std::string seen;
    (new lutest::Probe("P"))->onEvent = [&](const lu::Event*) { seen += input.isKeyDown(lu::Keyboard::W) ? "+" : "-"; };
    auto apply = [&input](lu::InputKind kind, int key, lu::KeyAction action) {
        lu::InputRecord record;
        record.kind = kind;
        record.key = key;
        record.keyAction = action;
        input.applyInput(record);
    };
    apply(lu::INPUT_KEY, lu::Keyboard::W, lu::KEY_PRESSED);
    apply(lu::INPUT_KEY, lu::Keyboard::RIGHT_SYSTEM, lu::KEY_PRESSED);
    apply(lu::INPUT_KEY, lu::Keyboard::UNDEFINED_KEY, lu::KEY_PRESSED);
    EXPECT_TRUE(input.isKeyDown(lu::Keyboard::RIGHT_SYSTEM));
    EXPECT_FALSE(input.isKeyDown(lu::Keyboard::UNDEFINED_KEY) || input.isKeyDown(static_cast<lu::Keyboard::Key>(500)));
    apply(lu::INPUT_KEY, lu::Keyboard::W, lu::KEY_RELEASED);
    apply(lu::INPUT_KEY, lu::Keyboard::W, lu::KEY_PRESSED);
    apply(lu::INPUT_FOCUS_LOST, lu::Keyboard::UNDEFINED_KEY, lu::UNDEFINED_KEY_ACTION);
    EXPECT_FALSE(input.isKeyDown(lu::Keyboard::W) || input.isKeyDown(lu::Keyboard::RIGHT_SYSTEM));
    EXPECT_EQ("+++-+", seen);
    EXPECT_EQ("P key 53 pressed; P key 91 pressed; P key -1 pressed; P key 53 released; P key 53 pressed",
              lutest::heard());
}

TEST_F(InputWindowTest, KeysAndMouseReachEveryObjectKeysAsPressThenReleaseAndClicksInCells)
{
    new lutest::Probe("A");
    new lutest::Probe("B");
    ASSERT_TRUE(xdotool("key w BackSpace"));
    readInputUntil(8);
    ASSERT_TRUE(xdotool("mousemove --window " + std::to_string(windowId(*window)) + " 130 42"));
    readInputUntil(10);
    // The extra button 8 has no engine code; buttons 4 and 5 turn the wheel away from the user and back.
    ASSERT_TRUE(xdotool("click 2 click 8 click 4 click 5"));
    readInputUntil(22);
    EXPECT_EQ(inputs, (std::vector<std::string>{"A key 53 pressed",
                                                "B key 53 pressed",
                                                "A key 53 released",
                                                "B key 53 released",
                                                "A key 67 pressed",
                                                "B key 67 pressed",
                                                "A key 67 released",
                                                "B key 67 released",
                                                "A mouse moved 10.00 2.00 button -1",
                                                "B mouse moved 10.00 2.00 button -1",
                                                "A mouse clicked 10.00 2.00 button 2",
                                                "B mouse clicked 10.00 2.00 button 2",
                                                "A mouse released 10.00 2.00 button 2",
                                                "B mouse released 10.00 2.00 button 2",
                                                "A mouse clicked 10.00 2.00 button -1",
                                                "B mouse clicked 10.00 2.00 button -1",
                                                "A mouse released 10.00 2.00 button -1",
                                                "B mouse released 10.00 2.00 button -1",
                                                "A mouse wheel 10.00 2.00 button -1 by 1",
                                                "B mouse wheel 10.00 2.00 button -1 by 1",
                                                "A mouse wheel 10.00 2.00 button -1 by -1",
                                                "B mouse wheel 10.00 2.00 button -1 by -1"}));
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

// Resized to 1250 x 700, the 1024 x 768 picture shrinks to 933 x 700 pixels between black bars 158
// pixels wide, and the pointer is found in the cells under it, also over a bar.
TEST_F(InputWindowTest, ResizedWindowShowsThePictureScaledToFitAndCentredAndTheMouseFindsItsCells)
{
    new lutest::Probe("P");
    window->setSize(sf::Vector2u(1250, 700));
    ASSERT_TRUE(xdotool("mousemove --window " + std::to_string(windowId(*window)) + " 1040 680"));
    readInputUntil(1);
    ASSERT_TRUE(xdotool("mousemove --window " + std::to_string(windowId(*window)) + " 100 350"));
    readInputUntil(2);
    EXPECT_EQ(inputs,
              (std::vector<std::string>{"P mouse moved 74.46 35.53 button -1", "P mouse moved -4.90 18.29 button -1"}));

    // A blank cell at (0, 0): 13 x 21 pixels from (-1.3, 4.2) in the picture, whose edge cuts it.
    window->clear(sf::Color::Blue);
    lu::DisplayManager::instance().drawCharacter(lu::Vector(0, 0), ' ', lu::WHITE);
    std::string box;
    lutest::countPixels(
        lutest::windowImage(*lu::DisplayManager::instance().getWindow()),
        [](sf::Color c) { return c == sf::Color::Black; }, &box);
    EXPECT_EQ(box, "x 158..168 y 4..22");
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
