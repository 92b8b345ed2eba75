#include "DisplayManager.h"
#include "LogManager.h"
#include "Pixels.h"
#include "TestSupport.h"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// Every test runs in a process of its own, and the display manager makes one window per process.
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

bool isGreenShade(sf::Color c)
{
    return c.g > 0 && c.r == 0 && c.b == 0;
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

    window->clear(TEST_BACKDROP);
    ASSERT_EQ(display.drawCharacter(lu::Vector(0, 0), ' ', lu::WHITE), 0);
    // From (-1.3, 4.2): the column left of the window is cut off.
    lutest::countPixels(pixels(), isBlack, &box);
    EXPECT_EQ(box, "x 0..11 y 4..24");
}

TEST_F(DisplayWindowTest, CharacterLandsAtItsCellInItsColourAndUnknownColoursAreDrawnWhite)
{
    window->clear(sf::Color::Black);
    ASSERT_EQ(display.drawCharacter(lu::Vector(20, 5), 'X', lu::RED), 0);
    ASSERT_EQ(display.drawCharacter(lu::Vector(21, 7), 'X', lu::GREEN), 0);
    sf::Image image = pixels();
    std::string red, green;
    lutest::countPixels(image, isRedShade, &red);
    lutest::countPixels(image, isGreenShade, &green);
    // The glyph starts inside its cell at (20 * 13, 5 * 21), or (bold on SFML 3) in the pixel left of it.
    int left = 0, right = 0, top = 0, bottom = 0;
    ASSERT_EQ(std::sscanf(red.c_str(), "x %d..%d y %d..%d", &left, &right, &top, &bottom), 4);
    EXPECT_TRUE(left >= 259 && left < 260 + 13 && top >= 105 && top < 105 + 21) << red;
    // One cell right and two down is exactly 13 and 42 pixels further.
    EXPECT_EQ(green, "x " + std::to_string(left + 13) + ".." + std::to_string(right + 13) + " y " +
                         std::to_string(top + 42) + ".." + std::to_string(bottom + 42));
    EXPECT_EQ(lutest::countPixels(image, [](sf::Color c) { return !isBlack(c) && !isRedShade(c) && !isGreenShade(c); }),
              0);
    EXPECT_TRUE(lutest::readLogMessages().empty());

    window->clear(sf::Color::Black);
    ASSERT_EQ(display.drawCharacter(lu::Vector(30, 5), 'X', static_cast<lu::Color>(8)), 0);
    ASSERT_EQ(display.drawCharacter(lu::Vector(40, 5), 'X', static_cast<lu::Color>(-1)), 0);
    EXPECT_EQ(lutest::readLogMessages(),
              (std::vector<std::string>{"Unknown color. Using default", "Unknown color. Using default"}));
    // Both glyphs are shades of grey up to full white, and nothing else is coloured.
    image = pixels();
    EXPECT_GT(lutest::countPixels(image, [](sf::Color c) { return c == sf::Color::White; }), 0);
    EXPECT_EQ(lutest::countPixels(image, [](sf::Color c) { return c.r != c.g || c.g != c.b; }), 0);
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
    EXPECT_EQ(lutest::countPixels(after, isGreenShade), 3 * 13 * 3 * 21);
}

TEST_F(DisplayWindowTest, SecondStartUpKeepsTheOneWindowAndStringsAreCentredOnHalfTheirLength)
{
    EXPECT_EQ(display.startUp(), 0);
    EXPECT_EQ(display.getWindow(), window);
    EXPECT_TRUE(window->isOpen());
    EXPECT_EQ(lutest::readLogMessages(), std::vector<std::string>{"Already started up"});

    lutest::ScreenText screen;
    EXPECT_EQ(display.drawString(lu::Vector(10, 3), "ABCDE", lu::YELLOW), 0);
    EXPECT_EQ(display.drawString(lu::Vector(10, 4), "WXYZ", lu::YELLOW), 0);
    EXPECT_EQ(display.drawString(lu::Vector(10, 6), "", lu::YELLOW), 0);
    EXPECT_EQ(screen.row(3).substr(0, 14), "        ABCDE ");
    EXPECT_EQ(screen.row(4).substr(0, 14), "        WXYZ  ");
    EXPECT_EQ(screen.drawCount(), 9);
}

TEST(DisplayStartUpTest, WithoutAReachableDisplayStartUpFailsInsteadOfAborting)
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
    lutest::ScreenText screen;
    EXPECT_EQ(display.drawCharacter(lu::Vector(1, 1), 'A', lu::WHITE), -1);
    EXPECT_EQ(display.drawString(lu::Vector(5, 2), "AB", lu::WHITE), -1);
    EXPECT_EQ(screen.drawCount(), 3);
    display.swapBuffers();
    display.shutDown();
    EXPECT_EQ(lutest::readLogMessages(),
              (std::vector<std::string>{"Issue creating window", "Issue creating window", "Display shutting down"}));
}

TEST(DisplayStartUpTest, MissingFontFailsButLeavesTheWindowOpen)
{
    lutest::TempDir empty;
    lutest::WorkingDirectory noFont(empty.path());
    lutest::EngineScope scope(lutest::EngineScope::LOG);
    lu::DisplayManager& display = lu::DisplayManager::instance();

    EXPECT_EQ(display.startUp(), -1);
    ASSERT_NE(display.getWindow(), nullptr);
    EXPECT_FALSE(display.isStarted());
    // Cells are drawn, without glyphs.
    EXPECT_EQ(display.drawCharacter(lu::Vector(1, 1), 'A', lu::WHITE), 0);
    display.swapBuffers();
    // Not started, so shutting down leaves that window alone.
    display.shutDown();
    EXPECT_TRUE(display.getWindow()->isOpen());
    EXPECT_EQ(lutest::readLogMessages(), (std::vector<std::string>{"Issue loading font", "Display shutting down"}));
}

} // namespace
