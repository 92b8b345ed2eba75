#include "DisplayManager.h"
#include "LogManager.h"
#include "TestSupport.h"

#include <SFML/Config.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct PixelBounds {
    int left, top, right, bottom;

    std::string text() const
    {
        return "x " + std::to_string(left) + ".." + std::to_string(right) + " y " + std::to_string(top) + ".." +
               std::to_string(bottom);
    }
};

// What the window holds before it is shown, as plain RGBA bytes.
class WindowPixels {
public:
    explicit WindowPixels(sf::RenderWindow& window)
        : width(static_cast<int>(window.getSize().x)), height(static_cast<int>(window.getSize().y))
    {
        sf::Texture texture;
#if SFML_VERSION_MAJOR >= 3
        if (!texture.resize(window.getSize()))
            return;
#else
        if (!texture.create(window.getSize().x, window.getSize().y))
            return;
#endif
        texture.update(window);
        sf::Image image = texture.copyToImage();
        const std::uint8_t* bytes = image.getPixelsPtr();
        rgba.assign(bytes, bytes + 4 * static_cast<std::size_t>(width) * height);
    }

    sf::Color at(int x, int y) const
    {
        std::size_t i = 4 * (static_cast<std::size_t>(y) * width + x);
        return sf::Color(rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]);
    }

    /// Returns the smallest rectangle around the pixels that match (left -1 when none do).
    PixelBounds bounds(const std::function<bool(sf::Color)>& match) const
    {
        PixelBounds b = {-1, -1, -1, -1};
        for (int y = 0; y < height && !rgba.empty(); y++) {
            for (int x = 0; x < width; x++) {
                if (!match(at(x, y)))
                    continue;
                if (b.left < 0 || x < b.left)
                    b.left = x;
                if (b.top < 0)
                    b.top = y;
                b.right = std::max(b.right, x);
                b.bottom = y;
            }
        }
        return b;
    }

    /// Returns how many pixels match.
    int count(const std::function<bool(sf::Color)>& match) const
    {
        int n = 0;
        for (int y = 0; y < height && !rgba.empty(); y++)
            for (int x = 0; x < width; x++)
                if (match(at(x, y)))
                    n++;
        return n;
    }

private:
    int width;
    int height;
    std::vector<std::uint8_t> rgba;
};

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

bool isGreyShade(sf::Color c)
{
    return c.r > 0 && c.r == c.g && c.g == c.b;
}

bool isWhite(sf::Color c)
{
    return c.r == 255 && c.g == 255 && c.b == 255;
}

const sf::Color TEST_BACKDROP(0, 0, 96, 255);

// One window for the suite, opened in the test directory where the font is.
class DisplayWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        serverLock = new lutest::WindowTestLock();
        ASSERT_EQ(lu::DisplayManager::instance().startUp(), 0);
    }

    static void TearDownTestSuite()
    {
        lu::DisplayManager::instance().shutDown();
        delete serverLock;
        serverLock = nullptr;
    }

    void SetUp() override
    {
        scope.reset(new lutest::EngineScope(lutest::EngineScope::LOG));
        window = lu::DisplayManager::instance().getWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->isOpen());
    }

    void TearDown() override
    {
        // Shows and clears whatever the test drew, so the next test starts on black.
        lu::DisplayManager::instance().swapBuffers();
        scope.reset();
    }

    lu::DisplayManager& display = lu::DisplayManager::instance();
    sf::RenderWindow* window = nullptr;
    std::unique_ptr<lutest::EngineScope> scope;
    inline static lutest::WindowTestLock* serverLock = nullptr;
};

TEST_F(DisplayWindowTest, CellBackgroundIsACellSizedBlackRectangleShiftedLeftAndDown)
{
    // A space draws only the black background, seen here against a coloured backdrop.
    window->clear(TEST_BACKDROP);
    ASSERT_EQ(display.drawCharacter(lu::Vector(10, 5), ' ', lu::WHITE), 0);
    WindowPixels middle(*display.getWindow());
    // From (130 - 1.3, 105 + 4.2), 13 x 21 pixels.
    EXPECT_EQ(middle.bounds(isBlack).text(), "x 129..141 y 109..129");
    EXPECT_EQ(middle.count(isBlack), 13 * 21);

    window->clear(TEST_BACKDROP);
    ASSERT_EQ(display.drawCharacter(lu::Vector(0, 0), ' ', lu::WHITE), 0);
    WindowPixels corner(*display.getWindow());
    // From (-1.3, 4.2): the column left of the window is cut off.
    EXPECT_EQ(corner.bounds(isBlack).text(), "x 0..11 y 4..24");
}

TEST_F(DisplayWindowTest, CharacterLandsAtItsCellInItsColour)
{
    window->clear(lu::WINDOW_BACKGROUND_COLOR_DEFAULT);
    ASSERT_EQ(display.drawCharacter(lu::Vector(20, 5), 'X', lu::RED), 0);
    ASSERT_EQ(display.drawCharacter(lu::Vector(21, 7), 'X', lu::GREEN), 0);
    WindowPixels pixels(*display.getWindow());

    PixelBounds red = pixels.bounds(isRedShade);
    PixelBounds green = pixels.bounds(isGreenShade);
    // The glyph starts inside its cell, at (20 * 13, 5 * 21), or (bold on SFML 3) in the pixel left of
    // it, still on its background.
    EXPECT_GE(red.left, 259);
    EXPECT_LT(red.left, 260 + 13);
    EXPECT_GE(red.top, 105);
    EXPECT_LT(red.top, 105 + 21);
    // One cell right and two down is exactly 13 and 42 pixels further.
    PixelBounds shifted = {red.left + 13, red.top + 42, red.right + 13, red.bottom + 42};
    EXPECT_EQ(green.text(), shifted.text());
    EXPECT_EQ(pixels.count([](sf::Color c) { return !isBlack(c) && !isRedShade(c) && !isGreenShade(c); }), 0);
    EXPECT_TRUE(lutest::readLogMessages().empty());
}

TEST_F(DisplayWindowTest, UnknownColoursAreLoggedAndDrawnWhite)
{
    window->clear(lu::WINDOW_BACKGROUND_COLOR_DEFAULT);
    ASSERT_EQ(display.drawCharacter(lu::Vector(30, 5), 'X', static_cast<lu::Color>(8)), 0);
    ASSERT_EQ(display.drawCharacter(lu::Vector(40, 5), 'X', static_cast<lu::Color>(-1)), 0);
    WindowPixels pixels(*display.getWindow());

    std::vector<std::string> expected = {"Unknown color. Using default", "Unknown color. Using default"};
    EXPECT_EQ(lutest::readLogMessages(), expected);
    // Both glyphs are shades of grey up to full white, and nothing else is coloured.
    EXPECT_GT(pixels.count(isWhite), 0);
    EXPECT_EQ(pixels.count([](sf::Color c) { return !isBlack(c) && !isGreyShade(c); }), 0);
}

// An object drawing into the window directly, as the top altitude would: the cells drawn before it are
// already there, and stay under what it draws.
TEST_F(DisplayWindowTest, WhoeverReachesTheWindowFindsTheCellsDrawnSoFarAndDrawsOverThem)
{
    window->clear(lu::WINDOW_BACKGROUND_COLOR_DEFAULT);
    ASSERT_EQ(display.drawCharacter(lu::Vector(20, 5), 'X', lu::RED), 0);
    sf::RenderWindow* reached = display.getWindow();
    int oneX = WindowPixels(*reached).count(isRedShade);
    EXPECT_GT(oneX, 0);

    sf::RectangleShape cover(sf::Vector2f(3 * 13, 3 * 21));
    cover.setPosition(sf::Vector2f(19 * 13, 4 * 21));
    cover.setFillColor(sf::Color::Green);
    reached->draw(cover);
    ASSERT_EQ(display.drawCharacter(lu::Vector(30, 5), 'X', lu::RED), 0);
    // The first X stays under the rectangle; the second, drawn after it, shows.
    WindowPixels after(*display.getWindow());
    EXPECT_EQ(after.count(isRedShade), oneX);
    EXPECT_EQ(after.count(isGreenShade), 3 * 13 * 3 * 21);
}

TEST_F(DisplayWindowTest, SecondStartUpKeepsTheOneWindow)
{
    sf::RenderWindow* first = display.getWindow();
    EXPECT_EQ(display.startUp(), 0);
    EXPECT_EQ(display.getWindow(), first);
    EXPECT_TRUE(first->isOpen());
    EXPECT_EQ(lutest::readLogMessages(), std::vector<std::string>{"Already started up"});
}

TEST_F(DisplayWindowTest, StringsAreCentredOnTheIntegerHalfOfTheirLength)
{
    lutest::ScreenText screen;
    EXPECT_EQ(display.drawString(lu::Vector(10, 3), "ABCDE", lu::YELLOW), 0);
    EXPECT_EQ(display.drawString(lu::Vector(10, 4), "WXYZ", lu::YELLOW), 0);
    EXPECT_EQ(screen.row(3).substr(0, 14), "        ABCDE ");
    EXPECT_EQ(screen.row(4).substr(0, 14), "        WXYZ  ");

    screen.clear();
    EXPECT_EQ(display.drawString(lu::Vector(10, 6), "", lu::YELLOW), 0);
    EXPECT_EQ(screen.drawCount(), 0);
}

// The display manager makes one window per process, so these start from a process of their own.

TEST(DisplayStartUpTest, WithoutAReachableDisplayStartUpFailsInsteadOfAborting)
{
    lutest::runInFreshProcess([] {
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
        std::vector<std::string> expected = {"Issue creating window", "Issue creating window", "Display shutting down"};
        EXPECT_EQ(lutest::readLogMessages(), expected);
    });
}

TEST(DisplayStartUpTest, MissingFontFailsButLeavesTheWindowOpen)
{
    lutest::runInFreshProcess([] {
        lutest::WindowTestLock lock;
        lutest::TempDir empty;
        lutest::WorkingDirectory noFont(empty.path());
        lutest::EngineScope scope(lutest::EngineScope::LOG);
        lu::DisplayManager& display = lu::DisplayManager::instance();

        EXPECT_EQ(display.startUp(), -1);
        ASSERT_NE(display.getWindow(), nullptr);
        EXPECT_TRUE(display.getWindow()->isOpen());
        EXPECT_FALSE(display.isStarted());

        // Cells are drawn, without glyphs.
        EXPECT_EQ(display.drawCharacter(lu::Vector(1, 1), 'A', lu::WHITE), 0);
        display.swapBuffers();
        // Not started, so shutting down leaves that window alone.
        display.shutDown();
        EXPECT_TRUE(display.getWindow()->isOpen());
        std::vector<std::string> expected = {"Issue loading font", "Display shutting down"};
        EXPECT_EQ(lutest::readLogMessages(), expected);
    });
}

} // namespace
