// Eating the first apple along a route planned from the screen: the score, the sound and the next level.
#include "GameScenario.h"

#include <algorithm>
#include <cstdio>

namespace {

const std::string SCORE_ONE = "Score: 1";
const int SCORE_COLUMN = 34;
// Moving spikes wander; a route keeps this many cells away from them.
const int MOVING_SPIKE_MARGIN = 2;
const double EAT_SOUND_MARGIN_SECONDS = 0.3;

// An L-shaped way to the apple. The snake heads right; one key is pressed at once (or none), the other
// when the head reaches the trigger row or column. A key takes effect at the next jump or the one after,
// so each leg may run one cell further; the apple is eaten from any cell next to it, diagonals included.
struct Route {
    bool verticalFirst;
    std::string verticalKey;
    std::string horizontalKey;
    int trigger;
    int rowStep;
    std::vector<Cell> cells;
};

void addCell(std::vector<Cell>& cells, int column, int row)
{
    cells.push_back(Cell{column, row});
}

Route verticalFirst(const Cell& head, const Cell& apple, int rowStep)
{
    Route route{true, rowStep < 0 ? "w" : "s", "d", apple.row - rowStep, rowStep, {}};
    for (int column = head.column; column <= head.column + 1; ++column) {
        for (int row = head.row; row != apple.row + 2 * rowStep; row += rowStep)
            addCell(route.cells, column, row);
    }
    for (int row = apple.row - rowStep; row != apple.row + 2 * rowStep; row += rowStep) {
        for (int column = head.column; column < apple.column; ++column)
            addCell(route.cells, column, row);
    }
    return route;
}

Route horizontalFirst(const Cell& head, const Cell& apple, int rowStep)
{
    Route route{false, rowStep < 0 ? "w" : "s", "d", apple.column - 1, rowStep, {}};
    for (int column = head.column + 1; column <= apple.column + 1; ++column)
        addCell(route.cells, column, head.row);
    for (int column = apple.column - 1; column <= apple.column + 1; ++column) {
        for (int row = head.row; row != apple.row; row += rowStep)
            addCell(route.cells, column, row);
    }
    return route;
}

bool isClear(const Route& route, const ScreenGrid& level, const std::vector<Cell>& hazards)
{
    std::vector<Cell> moving = level.cellsWith('#', lu::RED);
    for (const Cell& cell : route.cells) {
        if (cell.column < 0 || cell.row < 0 || cell.column >= GRID_COLUMNS || cell.row >= GRID_ROWS)
            return false;
        for (const Cell& hazard : hazards) {
            if (hazard.column == cell.column && hazard.row == cell.row)
                return false;
        }
        for (const Cell& spike : moving) {
            if (std::abs(spike.column - cell.column) <= MOVING_SPIKE_MARGIN &&
                std::abs(spike.row - cell.row) <= MOVING_SPIKE_MARGIN)
                return false;
        }
    }
    return true;
}

std::vector<std::string> applePlacements(const std::vector<std::string>& log)
{
    std::vector<std::string> placements;
    for (const std::string& line : log) {
        if (line.rfind("Placing apple at", 0) == 0)
            placements.push_back(line);
    }
    return placements;
}

} // namespace

class EatingTest : public GameScenario {
protected:
    Cell appleOf(const ScreenGrid& grid)
    {
        SpriteArt apple = art("sprites/fruit-spr.txt");
        for (int f = 0; f < apple.getFrameCount(); ++f) {
            std::vector<Cell> cells = grid.cellsWith(apple.rowOf(f, 0)[0], apple.getColor());
            if (cells.size() == 1)
                return cells[0];
        }
        return Cell{-1, -1};
    }

    // Lets the game run until the head has reached the trigger (or gone one cell past it) and freezes it there.
    ::testing::AssertionResult freezeAtTrigger(const Route& route, Cell& head)
    {
        ScreenGrid shown;
        auto reached = [this, &route](const ScreenGrid& g) {
            Cell h = headOf(g);
            if (h.row < 0)
                return false;
            return route.verticalFirst ? (h.row - route.trigger) * route.rowStep >= 0 : h.column >= route.trigger;
        };
        ::testing::AssertionResult waited =
            waitForScreen(reached, "the head at its turn", SCREEN_TIMEOUT_SECONDS, shown);
        if (!waited)
            return waited;
        game().freeze();
        shown = screen();
        head = headOf(shown);
        int past = route.verticalFirst ? (head.row - route.trigger) * route.rowStep : head.column - route.trigger;
        if (past < 0 || past > 1)
            return ::testing::AssertionFailure() << "the head was caught " << past << " cells past its turn\n"
                                                 << shown.describe();
        return ::testing::AssertionSuccess();
    }
};

TEST_F(EatingTest, ARoutePlannedFromTheScreenReachesTheAppleWhichScoresPlaysEatAndBuildsTheNextLevel)
{
    ASSERT_TRUE(startAtTitleScreen());
    ScreenGrid level;
    ASSERT_TRUE(pressPAndFreezeFirstFrame(level));
    ASSERT_TRUE(waitForLevel(level));
    game().freeze();
    level = screen();
    Cell head = headOf(level);
    Cell apple = appleOf(level);
    ASSERT_EQ(head.row, SNAKE_START.row) << level.describe();
    ASSERT_GE(apple.row, 0) << "no apple\n" << level.describe();
    ASSERT_GT(apple.column, head.column + 1) << "the apple is not ahead of the snake\n" << level.describe();
    int rowStep = apple.row < head.row ? -1 : 1;
    std::vector<Cell> hazards = hazardsOf(level);
    Route routes[] = {verticalFirst(head, apple, rowStep), horizontalFirst(head, apple, rowStep)};
    const Route* route = nullptr;
    for (const Route& candidate : routes) {
        if (route == nullptr && isClear(candidate, level, hazards))
            route = &candidate;
    }
    ASSERT_NE(route, nullptr) << "no clear way to the apple\n" << level.describe();

    if (route->verticalFirst) {
        ASSERT_TRUE(press(route->verticalKey));
    }
    game().thaw();
    Cell turn;
    ASSERT_TRUE(freezeAtTrigger(*route, turn));
    ASSERT_TRUE(press(route->verticalFirst ? route->horizontalKey : route->verticalKey));
    game().thaw();

    // The frame that builds the next level still shows the finished one; the one after shows only the new.
    ScreenGrid next;
    ASSERT_TRUE(waitForScreen(
        [this](const ScreenGrid& g) {
            return g.text(SCORE_COLUMN, SCORE_ROW, static_cast<int>(SCORE_ONE.size())) == SCORE_ONE &&
                   appleOf(g).row >= 0;
        },
        "\"" + SCORE_ONE + "\" and one apple", SCREEN_TIMEOUT_SECONDS, next));
    ASSERT_TRUE(letSoundPlayOut(EAT_SOUND_MARGIN_SECONDS));
    ASSERT_TRUE(press("q"));
    ASSERT_TRUE(endsCleanly());

    // The next level: a new apple where the log placed it, the old one destroyed after that.
    Cell moved = appleOf(next);
    EXPECT_FALSE(moved.column == apple.column && moved.row == apple.row) << next.describe();
    std::vector<std::string> lines = log();
    std::vector<std::string> placements = applePlacements(lines);
    ASSERT_EQ(placements.size(), 2u);
    float x = 0;
    float y = 0;
    ASSERT_EQ(std::sscanf(placements[1].c_str(), "Placing apple at (%f,%f)", &x, &y), 2);
    EXPECT_EQ(static_cast<int>(x), moved.column) << next.describe();
    EXPECT_EQ(static_cast<int>(y), moved.row) << next.describe();
    auto scored = std::find(lines.begin(), lines.end(), "Score = 3");
    auto placed = std::find(lines.begin(), lines.end(), placements[1]);
    auto destroyed = std::find(lines.begin(), lines.end(), APPLE_DESTROYED_LINE);
    EXPECT_TRUE(scored < placed && placed < destroyed) << "the next level was not built in order";

    if (soundIsRecorded()) {
        EXPECT_EQ(heard("sounds/eat.wav").size(), 1u) << "\"eat\" was not heard once";
        EXPECT_TRUE(heard("sounds/hit.wav").empty()) << "\"hit\" was heard";
    }
}
