// The three ways out of the program: Q on the title screen, Q during a game, and closing the window.
#include "GameScenario.h"

#include <algorithm>

namespace {

const double CLOSE_TIMEOUT_SECONDS = 20.0;

} // namespace

class QuitTest : public GameScenario {};

TEST_F(QuitTest, QOnTheTitleScreenEndsTheProgramWithStatusZero)
{
    ASSERT_TRUE(startAtTitleScreen());
    ASSERT_TRUE(press("q"));
    EXPECT_TRUE(endsCleanly());
}

TEST_F(QuitTest, QDuringAGameEndsTheProgramWithStatusZero)
{
    ASSERT_TRUE(startAtTitleScreen());
    ScreenGrid shown;
    ASSERT_TRUE(pressPAndFreezeFirstFrame(shown));
    ASSERT_TRUE(waitForLevel(shown));
    ASSERT_TRUE(press("q"));
    EXPECT_TRUE(endsCleanly());
    // The level still stood when the engine shut down: its apple went with the world.
    std::vector<std::string> lines = log();
    EXPECT_EQ(lines.back(), APPLE_DESTROYED_LINE);
}

TEST_F(QuitTest, ACloseRequestEndsTheProgramWithStatusZero)
{
    ASSERT_TRUE(startAtTitleScreen());
    ASSERT_TRUE(game().requestClose());
    ASSERT_TRUE(game().waitForExit(CLOSE_TIMEOUT_SECONDS)) << "the game ignored the close request";
    EXPECT_EQ(game().exitCode(), 0) << game().describeExit();
    std::vector<std::string> lines = log();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), DISPLAY_SHUTDOWN_LINE);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Running"), 1);
}
