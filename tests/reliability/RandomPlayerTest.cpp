#include "RandomPlayer.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const unsigned SEED = 7;
const int MOVES = 20000;
const unsigned long WINDOW = 42;
const int WIDTH = 1024;
const int HEIGHT = 768;

} // namespace

class RandomPlayerTest : public ::testing::Test {};

TEST_F(RandomPlayerTest, NeverPressesQAndReleasesEveryHeldKeyNext)
{
    RandomPlayer player(SEED);
    std::set<std::string> commands;
    for (int i = 0; i < MOVES; ++i) {
        std::vector<std::string> move = player.nextMove(WINDOW, WIDTH, HEIGHT);
        ASSERT_FALSE(move.empty());
        commands.insert(move[0]);
        if (move[0] == "key" || move[0] == "keydown" || move[0] == "keyup") {
            ASSERT_EQ(move.size(), 2u);
            EXPECT_NE(move[1], "q");
            EXPECT_NE(move[1], "Q");
        }
        if (move[0] == "keydown") {
            std::vector<std::string> release = player.nextMove(WINDOW, WIDTH, HEIGHT);
            ASSERT_EQ(release, (std::vector<std::string>{"keyup", move[1]}));
            commands.insert(release[0]);
            EXPECT_TRUE(player.heldKey().empty());
        }
        if (move[0] == "mousemove") {
            ASSERT_EQ(move.size(), 5u);
            EXPECT_EQ(move[2], std::to_string(WINDOW));
            int x = std::stoi(move[3]);
            int y = std::stoi(move[4]);
            EXPECT_TRUE(x >= 0 && x < WIDTH && y >= 0 && y < HEIGHT) << x << "," << y;
        }
    }
    EXPECT_EQ(commands, (std::set<std::string>{"key", "keydown", "keyup", "mousemove", "click"}));
}

TEST_F(RandomPlayerTest, TheSameSeedPlaysTheSameGame)
{
    RandomPlayer first(SEED);
    RandomPlayer second(SEED);
    for (int i = 0; i < MOVES / 10; ++i) {
        ASSERT_EQ(first.nextMove(WINDOW, WIDTH, HEIGHT), second.nextMove(WINDOW, WIDTH, HEIGHT));
        ASSERT_EQ(first.nextPauseMs(), second.nextPauseMs());
    }
}
