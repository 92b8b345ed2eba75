// Steering with W, death at the top edge, the game-over countdown and the way back to the title screen.
#include "GameScenario.h"

#include <chrono>

namespace {

const std::string DIED_TEXT = "Y O U   D I E D !";
const int DIED_COLUMN = 29;
const int DIED_ROW = 15;
const std::string RETURNING_TEXT = "Returning to menu in ";
const int RETURNING_COLUMN = 26;
const int RETURNING_ROW = 18;
const char* const COUNTDOWN[] = {"3", "2", "1"};
// The game-over screen stays 120 frames of 33 ms; slow frames only make it longer.
const double GAME_OVER_MIN_SECONDS = 3.5;
const double GAME_OVER_MAX_SECONDS = 8.0;

} // namespace

class SteeringTest : public GameScenario {};

TEST_F(SteeringTest, WTurnsUpAtTheNextJumpAndTheTopEdgeKillsThenTheTitleScreenReturns)
{
    ASSERT_TRUE(startAtTitleScreen());
    ScreenGrid shown;
    ASSERT_TRUE(pressPAndFreezeFirstFrame(shown));
    ASSERT_TRUE(waitForLevel(shown));
    game().freeze();
    ScreenGrid before = screen();
    Cell head = headOf(before);
    ASSERT_EQ(head.row, SNAKE_START.row) << before.describe();
    // The turn comes at this column or, when a jump was already under way, at the next one.
    for (int column = head.column; column <= head.column + 1; ++column) {
        for (int row = 0; row < head.row; ++row)
            ASSERT_EQ(before.charAt(column, row), ' ') << "the way up is not clear\n" << before.describe();
    }
    ASSERT_TRUE(press("w"));
    game().thaw();

    ScreenGrid turned;
    ASSERT_TRUE(waitForScreen(
        [this](const ScreenGrid& g) {
            Cell h = headOf(g);
            return h.row >= 0 && h.row < SNAKE_START.row;
        },
        "the head above its starting row", SCREEN_TIMEOUT_SECONDS, turned));
    Cell up = headOf(turned);
    EXPECT_TRUE(up.column == head.column || up.column == head.column + 1) << turned.describe();
    EXPECT_GE(segmentArt(1).frameShownAt(turned, up.column, up.row + 1), 0) << "the body does not follow\n"
                                                                            << turned.describe();

    ScreenGrid died;
    ASSERT_TRUE(
        waitForScreen([](const ScreenGrid& g) { return g.text(DIED_COLUMN, DIED_ROW, DIED_TEXT.size()) == DIED_TEXT; },
                      "\"" + DIED_TEXT + "\"", SCREEN_TIMEOUT_SECONDS, died));
    auto diedAt = std::chrono::steady_clock::now();
    EXPECT_TRUE(died.hasColor(DIED_COLUMN, DIED_ROW, static_cast<int>(DIED_TEXT.size()), lu::MAGENTA));
    // The head went over the top edge; its body lies frozen along the column up to the top row.
    EXPECT_EQ(headOf(died).row, -1) << died.describe();
    for (int i = 1; i < SNAKE_SEGMENTS; ++i) {
        EXPECT_GE(segmentArt(i).frameShownAt(died, up.column, i - 1), 0) << "segment " << i << " is not at the top\n"
                                                                         << died.describe();
    }

    for (const char* count : COUNTDOWN) {
        std::string line = RETURNING_TEXT + count;
        ScreenGrid counting;
        ASSERT_TRUE(waitForScreen(
            [&line](const ScreenGrid& g) {
                return g.text(RETURNING_COLUMN, RETURNING_ROW, static_cast<int>(line.size())) == line &&
                       g.hasColor(RETURNING_COLUMN, RETURNING_ROW, static_cast<int>(line.size()), lu::WHITE);
            },
            "\"" + line + "\" in white", SCREEN_TIMEOUT_SECONDS, counting));
        EXPECT_EQ(counting.text(DIED_COLUMN, DIED_ROW, DIED_TEXT.size()), DIED_TEXT);
    }
    ScreenGrid back;
    ASSERT_TRUE(waitForScreen(showsTitleScreen, "the title screen again", SCREEN_TIMEOUT_SECONDS, back));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - diedAt).count();
    EXPECT_GE(seconds, GAME_OVER_MIN_SECONDS);
    EXPECT_LE(seconds, GAME_OVER_MAX_SECONDS);
    SpriteArt body = segmentArt(1);
    EXPECT_TRUE(back.cellsWith(body.rowOf(0, 0)[0], body.getColor()).empty()) << "the snake is still there\n"
                                                                              << back.describe();

    ASSERT_TRUE(press("q"));
    ASSERT_TRUE(endsCleanly());
    if (soundIsRecorded()) {
        EXPECT_EQ(heard("sounds/hit.wav").size(), 1u) << "\"hit\" was not heard once";
        EXPECT_TRUE(heard("sounds/eat.wav").empty()) << "\"eat\" was heard";
    }
}
