// P on the title screen: the score line, the snake at its start, and the first level, the same in
// every run of the program.
#include "GameScenario.h"

#include <algorithm>
#include <cstdio>

namespace {

// The score line's first column for "Score: 0", centred on the middle column.
const int SCORE_COLUMN = 34;

struct LevelLayout {
    std::vector<Cell> hazards;
    std::vector<Cell> apples;
    std::vector<std::string> buildLog;
};

bool readingOrder(const Cell& a, const Cell& b)
{
    return a.row != b.row ? a.row < b.row : a.column < b.column;
}

bool withinSafeZone(const Cell& cell)
{
    return std::abs(cell.column - SNAKE_START.column) <= SAFE_COLUMNS &&
           std::abs(cell.row - SNAKE_START.row) <= SAFE_ROWS;
}

} // namespace

class FirstLevelTest : public GameScenario {
protected:
    void playFirstLevel(LevelLayout& layout)
    {
        ASSERT_TRUE(startAtTitleScreen());
        ScreenGrid first;
        ASSERT_TRUE(pressPAndFreezeFirstFrame(first));
        EXPECT_EQ(first.text(SCORE_COLUMN - 1, SCORE_ROW, 10), " Score: 0 ") << first.describe();
        EXPECT_TRUE(first.hasColor(SCORE_COLUMN, SCORE_ROW, 8, lu::WHITE));

        Cell head = headOf(first);
        EXPECT_EQ(head.column, SNAKE_START.column) << first.describe();
        EXPECT_EQ(head.row, SNAKE_START.row) << first.describe();
        // Segment 0 lies under the head.
        for (int i = 1; i < SNAKE_SEGMENTS; ++i) {
            EXPECT_GE(segmentArt(i).frameShownAt(first, SNAKE_START.column - i, SNAKE_START.row), 0)
                << "segment " << i << " is missing\n"
                << first.describe();
        }

        ScreenGrid level;
        ASSERT_TRUE(waitForLevel(level));
        saveScreenshotAs("level");
        layout.hazards = hazardsOf(level);
        std::sort(layout.hazards.begin(), layout.hazards.end(), readingOrder);
        EXPECT_FALSE(level.cellsWith('X', lu::RED).empty()) << "no red hazard\n" << level.describe();
        EXPECT_FALSE(level.cellsWith('/', lu::BLUE).empty()) << "no blue ice\n" << level.describe();
        for (const Cell& hazard : layout.hazards)
            EXPECT_FALSE(withinSafeZone(hazard)) << "a hazard at " << describeCells({hazard}) << "\n"
                                                 << level.describe();

        SpriteArt apple = art("sprites/fruit-spr.txt");
        for (int f = 0; f < apple.getFrameCount(); ++f) {
            std::vector<Cell> cells = level.cellsWith(apple.rowOf(f, 0)[0], apple.getColor());
            layout.apples.insert(layout.apples.end(), cells.begin(), cells.end());
        }
        ASSERT_EQ(layout.apples.size(), 1u) << level.describe();
        const Cell& placed = layout.apples[0];
        EXPECT_GE(std::abs(placed.column - SNAKE_START.column), SAFE_COLUMNS) << level.describe();
        EXPECT_GE(std::abs(placed.row - SNAKE_START.row), SAFE_ROWS) << level.describe();

        ASSERT_TRUE(press("q"));
        ASSERT_TRUE(endsCleanly());
        for (const std::string& line : log()) {
            if (line.rfind("Score = ", 0) == 0 || line.rfind("Placing apple at", 0) == 0 ||
                line.rfind("Can't place", 0) == 0)
                layout.buildLog.push_back(line);
        }
        ASSERT_FALSE(layout.buildLog.empty());
        EXPECT_EQ(layout.buildLog.front(), "Score = 2");
        float x = 0;
        float y = 0;
        ASSERT_EQ(std::sscanf(layout.buildLog.back().c_str(), "Placing apple at (%f,%f)", &x, &y), 2)
            << layout.buildLog.back();
        EXPECT_EQ(static_cast<int>(x), placed.column);
        EXPECT_EQ(static_cast<int>(y), placed.row);
    }
};

TEST_F(FirstLevelTest, PShowsScoreZeroTheSnakeAtItsStartAndTheSameLevelInEveryRun)
{
    LevelLayout first;
    playFirstLevel(first);
    ASSERT_FALSE(HasFailure());
    TearDown();

    LevelLayout second;
    playFirstLevel(second);
    EXPECT_EQ(describeCells(second.hazards), describeCells(first.hazards));
    EXPECT_EQ(describeCells(second.apples), describeCells(first.apples));
    EXPECT_EQ(second.buildLog, first.buildLog);
}
