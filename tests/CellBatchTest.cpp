#include "CellBatch.h"
#include "DisplayManager.h"
#include "LogManager.h"
#include "Pixels.h"
#include "ReferenceCellDrawer.h"
#include "TestSupport.h"

#include <SFML/Config.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

const unsigned int TARGET_WIDTH = lu::WINDOW_HORIZONTAL_PIXELS_DEFAULT;
const unsigned int TARGET_HEIGHT = lu::WINDOW_VERTICAL_PIXELS_DEFAULT;
const int COLUMNS = lu::WINDOW_HORIZONTAL_CELLS_DEFAULT;
const int ROWS = lu::WINDOW_VERTICAL_CELLS_DEFAULT;
const sf::Vector2f CELL_SIZE(static_cast<float>(TARGET_WIDTH / COLUMNS), static_cast<float>(TARGET_HEIGHT / ROWS));

// The printable characters after the space.
const char FIRST_PRINTABLE = '!';
const int PRINTABLE_COUNT = 94;

// Not black, so every background shows.
const sf::Color BACKDROP(0, 0, 96, 255);

const sf::Color PALETTE[] = {
    sf::Color(0, 0, 0, 255),   sf::Color(255, 0, 0, 255),   sf::Color(0, 255, 0, 255),   sf::Color(255, 255, 0, 255),
    sf::Color(0, 0, 255, 255), sf::Color(255, 0, 255, 255), sf::Color(0, 255, 255, 255), sf::Color(255, 255, 255, 255),
};
const int PALETTE_SIZE = sizeof(PALETTE) / sizeof(PALETTE[0]);

struct Cell {
    float x; // in cells
    float y;
    char ch;
    sf::Color color;
    const sf::View* view = nullptr; // drawn in this view and the cells after it, if not null
};

sf::Vector2f pixelPosition(float x, float y)
{
    return sf::Vector2f(CELL_SIZE.x * x, CELL_SIZE.y * y);
}

bool makeTarget(sf::RenderTexture& target)
{
#if SFML_VERSION_MAJOR >= 3
    return target.resize(sf::Vector2u(TARGET_WIDTH, TARGET_HEIGHT));
#else
    return target.create(TARGET_WIDTH, TARGET_HEIGHT);
#endif
}

int drawnPixels(const sf::Image& image)
{
    return lutest::countPixels(image, [](sf::Color c) { return c != BACKDROP; });
}

// Each test opens the font afresh, so the glyph page fills (and grows) while the batch is filled.
class CellBatchTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lutest::openDisplayFont(font));
        ASSERT_TRUE(makeTarget(referenceTarget));
        ASSERT_TRUE(makeTarget(batchTarget));
    }

    /// Draws the cells both ways on a coloured backdrop, so that every background shows, the batch first,
    /// and returns what differs ("" when nothing does).
    std::string differences(const std::vector<Cell>& cells)
    {
        lu::CellBatch batch(font, CELL_SIZE);
        batchTarget.setView(batchTarget.getDefaultView());
        batchTarget.clear(BACKDROP);
        for (const Cell& cell : cells) {
            if (cell.view != nullptr)
                batchTarget.setView(*cell.view);
            batch.addCell(batchTarget, pixelPosition(cell.x, cell.y), cell.ch, cell.color);
        }
        batch.drawInto(batchTarget);
        batchTarget.display();

        lutest::ReferenceCellDrawer reference(font, CELL_SIZE);
        referenceTarget.setView(referenceTarget.getDefaultView());
        referenceTarget.clear(BACKDROP);
        for (const Cell& cell : cells) {
            if (cell.view != nullptr)
                referenceTarget.setView(*cell.view);
            reference.draw(referenceTarget, pixelPosition(cell.x, cell.y), cell.ch, cell.color);
        }
        referenceTarget.display();

        sf::Image expected = referenceTarget.getTexture().copyToImage();
        if (drawnPixels(expected) == 0)
            return "the scene drew nothing";
        return lutest::pixelDifferences(expected, batchTarget.getTexture().copyToImage());
    }

    sf::Font font;
    sf::RenderTexture referenceTarget;
    sf::RenderTexture batchTarget;
};

/// Every cell of the grid, spaces and printable characters in turn, colours cycling; pattern shifts both.
std::vector<Cell> fullGrid(int pattern)
{
    std::vector<Cell> cells;
    for (int y = 0; y < ROWS; y++)
        for (int x = 0; x < COLUMNS; x++) {
            int n = x + y * COLUMNS + pattern * 7;
            cells.push_back({static_cast<float>(x), static_cast<float>(y),
                             static_cast<char>(' ' + n % (PRINTABLE_COUNT + 1)),
                             PALETTE[(n + pattern) % PALETTE_SIZE]});
        }
    return cells;
}

TEST_F(CellBatchTest, FullGridsOfEveryPrintableCharacterInEveryColourMatchTheReference)
{
    for (int pattern = 0; pattern < 2; pattern++)
        EXPECT_EQ(differences(fullGrid(pattern)), "") << "pattern " << pattern;
}

TEST_F(CellBatchTest, SparseStackedOverlappingAndAnyByteCellsMatchTheReference)
{
    std::vector<Cell> cells;
    std::mt19937 random(7);
    for (int i = 0; i < 400; i++) {
        float x = static_cast<float>(random() % COLUMNS);
        float y = static_cast<float>(random() % ROWS);
        cells.push_back(
            {x, y, static_cast<char>(FIRST_PRINTABLE + random() % PRINTABLE_COUNT), PALETTE[random() % PALETTE_SIZE]});
    }
    // Wide glyphs and descenders reach into their neighbours, whose backgrounds cut them off.
    const std::string wide = "@WMgjQ|_";
    for (std::size_t i = 0; i < wide.size(); i++) {
        cells.push_back({10.0f + i, 30.0f, wide[i], PALETTE[i % PALETTE_SIZE]});
        cells.push_back({10.0f + i, 31.0f, wide[i], PALETTE[(i + 3) % PALETTE_SIZE]});
    }
    // One cell drawn over three times, the last a space that blacks it out.
    cells.push_back({40, 2, 'X', PALETTE[1]});
    cells.push_back({40, 2, 'O', PALETTE[2]});
    cells.push_back({40, 2, ' ', PALETTE[3]});
    cells.push_back({41, 2, 'Z', PALETTE[4]});
    // Every byte, in colours of every byte.
    for (int value = 0; value < 256; value++)
        cells.push_back({static_cast<float>(2 * (value % 32)), static_cast<float>(2 * (value / 32)),
                         static_cast<char>(value),
                         sf::Color(static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(255 - value),
                                   static_cast<std::uint8_t>(value * 7), 255)});
    EXPECT_EQ(differences(cells), "");
}

TEST_F(CellBatchTest, FractionalAndOutOfWindowPositionsMatchTheReference)
{
    std::vector<Cell> cells;
    // A creeping snake moves a fiftieth of a cell a step, along either axis.
    for (int step = 0; step < 50; step++) {
        float fraction = 0.02f * step;
        cells.push_back({2.0f * (step % 25) + fraction, 2.0f + 3.0f * (step / 25), 'Q', PALETTE[7]});
        cells.push_back({2.0f * (step % 25), 10.0f + 3.0f * (step / 25) + fraction, 'O', PALETTE[3]});
    }

    // Hundreds of cells off the grid's columns.
    std::mt19937 random(11);
    std::uniform_real_distribution<float> across(-2.0f, COLUMNS + 2.0f);
    std::uniform_real_distribution<float> down(-2.0f, ROWS + 2.0f);
    for (int i = 0; i < 600; i++)
        cells.push_back({across(random), down(random), static_cast<char>(FIRST_PRINTABLE + random() % PRINTABLE_COUNT),
                         PALETTE[random() % PALETTE_SIZE]});
    EXPECT_EQ(differences(cells), "");
}

TEST_F(CellBatchTest, CellsInZoomedAndTurnedViewsMatchTheReferenceInTheOrderTheyCame)
{
    sf::View zoomed = batchTarget.getDefaultView();
    zoomed.zoom(0.8f);
    zoomed.move(sf::Vector2f(-30.5f, 12.25f));
    sf::View turned = batchTarget.getDefaultView();
#if SFML_VERSION_MAJOR >= 3
    turned.setRotation(sf::degrees(20.0f));
#else
    turned.setRotation(20.0f);
#endif
    std::vector<Cell> cells = fullGrid(1);
    cells.resize(300);
    cells[100].view = &zoomed;
    cells[200].view = &turned;
    EXPECT_EQ(differences(cells), "");
}

TEST_F(CellBatchTest, DrawingEmptiesTheBatchAndAnEmptyBatchDrawsNothing)
{
    lu::CellBatch batch(font, CELL_SIZE);
    batch.addCell(batchTarget, pixelPosition(3, 3), 'A', PALETTE[1]);
    batch.addCell(batchTarget, pixelPosition(4, 3), ' ', PALETTE[1]);
    batchTarget.clear(BACKDROP);
    batch.drawInto(batchTarget);

    // A second draw adds nothing: the first cells are not drawn again over a fresh backdrop.
    batchTarget.clear(BACKDROP);
    batch.drawInto(batchTarget);
    batchTarget.display();
    EXPECT_EQ(drawnPixels(batchTarget.getTexture().copyToImage()), 0);
}

// Through the display itself, in its window, where (unlike in an offscreen texture) the software
// renderer draws rectangles its own faster way: a full grid in draw calls cut to size, world
// positions, its colour table and unknown colours drawn white.
TEST(DisplayBatchTest, AFullGridThroughTheDisplayMatchesTheReferenceWithUnknownColoursInWhite)
{
    lutest::EngineScope scope(lutest::EngineScope::LOG);
    lu::DisplayManager& display = lu::DisplayManager::instance();
    ASSERT_EQ(display.startUp(), 0);
    sf::Font font;
    ASSERT_TRUE(lutest::openDisplayFont(font));
    struct WorldCell {
        float x, y;
        char ch;
        int color;
    };
    std::vector<WorldCell> cells;
    for (const Cell& cell : fullGrid(1)) // colours -1 to 8
        cells.push_back({cell.x, cell.y, cell.ch, static_cast<int>(cells.size() % 10) - 1});
    cells.push_back({20.02f, 10.04f, 'Q', lu::WHITE});
    cells.push_back({20.0f, 11.42f, 'O', lu::YELLOW});

    lutest::ReferenceCellDrawer reference(font, CELL_SIZE);
    sf::RenderWindow& window = *display.getWindow();
    window.clear(BACKDROP);
    for (const WorldCell& cell : cells) {
        bool known = cell.color >= 0 && cell.color < PALETTE_SIZE;
        reference.draw(window, pixelPosition(cell.x, cell.y), cell.ch,
                       known ? PALETTE[cell.color] : PALETTE[lu::WHITE]);
    }
    sf::Image expected = lutest::windowImage(window);

    window.clear(BACKDROP);
    for (const WorldCell& cell : cells)
        EXPECT_EQ(display.drawCharacter(lu::Vector(cell.x, cell.y), cell.ch, static_cast<lu::Color>(cell.color)), 0);
    EXPECT_EQ(lutest::pixelDifferences(expected, lutest::windowImage(*display.getWindow())), "");
    EXPECT_EQ(lutest::countLogMessages("Unknown color. Using default"), 2 * ROWS * COLUMNS / 10);
    display.shutDown();
}

} // namespace
