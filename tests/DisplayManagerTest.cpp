#include "DisplayManager.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Pixels.h"
#include "ResourceManager.h"
#include "TestSupport.h"
#include "WorldManager.h"

#include <SFML/Config.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Every test runs in a process of its own, and the display manager makes one window per process.
// Where each cell lands and in which colour is checked against the reference in CellBatchTest.
namespace {

bool isBlack(sf::Color c)
{
    return c.r == 0 && c.g == 0 && c.b == 0;
}

// Antialiased glyph edges are darker shades of the glyph's colour.
bool isRedShade(sf::Color c)
{
    return c.r > 0 && c.g == 0 && c.b == 0;
}

const sf::Color TEST_BACKDROP(0, 0, 96, 255);

class DisplayWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(display.startUp(), 0);
        window = display.getWindow();
        window->clear(TEST_BACKDROP);
    }

    // What the window holds now, before it is shown.
    sf::Image pixels() const
    {
        return lutest::windowImage(*display.getWindow());
    }

    lutest::EngineScope scope{lutest::EngineScope::LOG};
    lu::DisplayManager& display = lu::DisplayManager::instance();
    sf::RenderWindow* window = nullptr;
};

TEST_F(DisplayWindowTest, CellBackgroundIsACellSizedBlackRectangleShiftedLeftAndDown)
{
    // A space draws only the black background, seen here against a coloured backdrop.
    ASSERT_EQ(display.drawCharacter(lu::Vector(10, 5), ' ', lu::WHITE), 0);
    std::string box;
    // From (130 - 1.3, 105 + 4.2), 13 x 21 pixels.
    EXPECT_EQ(lutest::countPixels(pixels(), isBlack, &box), 13 * 21);
    EXPECT_EQ(box, "x 129..141 y 109..129");
}

// An object drawing into the window directly, as the top altitude would: the cells drawn before it are
// already there, and stay under what it draws.
TEST_F(DisplayWindowTest, WhoeverReachesTheWindowFindsTheCellsDrawnSoFarAndDrawsOverThem)
{
    ASSERT_EQ(display.drawCharacter(lu::Vector(20, 5), 'X', lu::RED), 0);
    sf::RenderWindow* reached = display.getWindow();
    int oneX = lutest::countPixels(pixels(), isRedShade);
    EXPECT_GT(oneX, 0);

    sf::RectangleShape cover(sf::Vector2f(3 * 13, 3 * 21));
    cover.setPosition(sf::Vector2f(19 * 13, 4 * 21));
    cover.setFillColor(sf::Color::Green);
    reached->draw(cover);
    ASSERT_EQ(display.drawCharacter(lu::Vector(30, 5), 'X', lu::RED), 0);
    // The first X stays under the rectangle; the second, drawn after it, shows.
    sf::Image after = pixels();
    EXPECT_EQ(lutest::countPixels(after, isRedShade), oneX);
    EXPECT_EQ(lutest::countPixels(after, [](sf::Color c) { return c == sf::Color::Green; }), 3 * 13 * 3 * 21);
}

TEST_F(DisplayWindowTest, SecondStartUpKeepsTheOneWindow)
{
    EXPECT_EQ(display.startUp(), 0);
    EXPECT_EQ(display.getWindow(), window);
    EXPECT_TRUE(window->isOpen());
    EXPECT_EQ(lutest::readLogMessages(), std::vector<std::string>{"Already started up"});
    EXPECT_EQ(display.drawString(lu::Vector(10, 3), "ABCDE", lu::YELLOW), 0);
}

// An X display that is not there; a Windows desktop is always there.
#ifndef _WIN32
TEST(DisplayStartUpTest, WithoutAReachableDisplayStartUpFailsInsteadOfAbortingAndTheRestStarts)
{
    lutest::EngineScope scope(lutest::EngineScope::LOG);
    lu::DisplayManager& display = lu::DisplayManager::instance();
    const char* original = std::getenv("DISPLAY");
    std::string saved = original != nullptr ? original : "";

    unsetenv("DISPLAY");
    EXPECT_EQ(display.startUp(), -1);
    // A display number nobody serves.
    setenv("DISPLAY", ":987", 1);
    EXPECT_EQ(display.startUp(), -1);
    if (original != nullptr)
        setenv("DISPLAY", saved.c_str(), 1);

    EXPECT_EQ(display.getWindow(), nullptr);
    EXPECT_FALSE(display.isStarted());
    EXPECT_EQ(display.drawCharacter(lu::Vector(1, 1), 'A', lu::WHITE), -1);
    EXPECT_EQ(display.drawString(lu::Vector(5, 2), "AB", lu::WHITE), -1);
    display.swapBuffers();
    display.shutDown();
    EXPECT_EQ(lutest::readLogMessages(),
              (std::vector<std::string>{"Issue creating window", "Issue creating window", "Display shutting down"}));

    // The game manager still starts every other manager, says so in the log, and counts as started.
    setenv("DISPLAY", ":987", 1);
    lu::GameManager& game = lu::GameManager::instance();
    EXPECT_EQ(game.startUp(), -1);
    if (original != nullptr)
        setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_TRUE(game.isStarted());
    EXPECT_TRUE(lu::WorldManager::instance().isStarted() && lu::ResourceManager::instance().isStarted());
    EXPECT_FALSE(display.isStarted());
    EXPECT_EQ(lutest::readLogMessages(),
              (std::vector<std::string>{"Issue creating window", "Game Manager Starting up!"}));
    // The loop refuses to run on an engine that failed to start.
    (new lutest::Probe("P"))->onEvent = [&game](const lu::Event*) { game.setGameOver(true); };
    testing::internal::CaptureStderr();
    game.run();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("GameManager::run() needs a successful"), std::string::npos);
    game.shutDown();
}

#endif

TEST(DisplayTextTest, AStringStartsEndsOrIsCentredOnItsPositionAndAnUnknownAlignmentDrawsNothing)
{
    lutest::EngineScope scope(lutest::EngineScope::LOG);
    lutest::ScreenText screen;
    const lu::DisplayManager& display = lu::DisplayManager::instance();
    display.drawString(lu::Vector(10, 0), "ABCD", lu::WHITE, lu::ALIGN_LEFT);
    display.drawString(lu::Vector(10, 1), "ABCD", lu::WHITE, lu::ALIGN_CENTER);
    display.drawString(lu::Vector(10, 2), "ABCD", lu::WHITE, lu::ALIGN_RIGHT);
    display.drawString(lu::Vector(10, 3), "ABCDE", lu::WHITE, lu::ALIGN_RIGHT);
    display.drawString(lu::Vector(10, 4), "", lu::WHITE, lu::ALIGN_RIGHT);
    EXPECT_EQ(-1, display.drawString(lu::Vector(10, 5), "ABCD", lu::WHITE, static_cast<lu::Alignment>(3)));
    std::string shown;
    for (int y = 0; y < 6; y++)
        shown += screen.row(y).substr(0, 15) + "|";
    EXPECT_EQ("          ABCD |        ABCD   |       ABCD    |      ABCDE    |               |               |",
              shown);
}

// The window's name is read back with xdotool, which a Windows program cannot run.
#ifndef _WIN32
TEST(DisplayTitleTest, ATitleSetBeforeTheWindowOpensNamesItAndALaterOneRenamesIt)
{
    lutest::EngineScope scope(lutest::EngineScope::LOG);
    lu::DisplayManager& display = lu::DisplayManager::instance();
    auto windowName = [&display]() {
#if SFML_VERSION_MAJOR >= 3
        unsigned long id = static_cast<unsigned long>(display.getWindow()->getNativeHandle());
#else
        unsigned long id = static_cast<unsigned long>(display.getWindow()->getSystemHandle());
#endif
        char name[64] = "";
        FILE* out = popen(("timeout 5 xdotool getwindowname " + std::to_string(id)).c_str(), "r");
        if (out != nullptr && std::fgets(name, sizeof name, out) == nullptr)
            name[0] = '\0';
        if (out != nullptr)
            pclose(out);
        return std::string(name);
    };
    display.setTitle("Cavern");
    ASSERT_EQ(display.startUp(), 0);
    EXPECT_EQ("Cavern\n", windowName());
    // UTF-8, as a game's source file holds it. SFML 3.1 gives the window its UTF-8 name only where a
    // window manager runs, which this X server lacks: the plain name it keeps leaves out what is not ASCII.
    display.setTitle("Caverne \xc3\xa0 deux");
    display.swapBuffers(); // the end of a frame, which sends it to the server
#if SFML_VERSION_MAJOR > 3 || (SFML_VERSION_MAJOR == 3 && SFML_VERSION_MINOR >= 1)
    EXPECT_EQ("Caverne  deux\n", windowName());
#else
    EXPECT_EQ("Caverne \xc3\xa0 deux\n", windowName());
#endif
    display.shutDown();
}
#endif

} // namespace
