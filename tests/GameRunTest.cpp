#include "EventStep.h"
#include "GameManager.h"
#include "Platform.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>
#include <vector>

// The loop runs only on an engine that started, its window included.
TEST(GameRunTest, FramesRunUntilGameOverEachSleepingOutItsTimeOrLoggingItsOverrun)
{
    static constexpr int work = 45;
    lutest::EngineScope engine;
    lu::GameManager& game = lu::GameManager::instance();
    ASSERT_EQ(0, game.startUp());
    int first = game.getStepCount();
    std::vector<int> steps;
    // The third frame overruns and sets game over; that frame still draws and updates.
    (new lutest::Probe("R"))->onEvent = [&steps](const lu::Event* event) {
        if (event->getType() != lu::STEP_EVENT)
            return;
        steps.push_back(static_cast<const lu::EventStep*>(event)->getStepCount());
        if (steps.size() == 3) {
            lu::sleepMilliseconds(work);
            lu::GameManager::instance().setGameOver(true);
        }
    };

    auto started = std::chrono::steady_clock::now();
    game.run();
    auto took = std::chrono::steady_clock::now() - started;

    // Under Wine a new window reports the pointer it opened under; only the frames matter here.
    std::string frames = std::regex_replace(lutest::heard(), std::regex("R mouse [^;]*; "), "");
    EXPECT_EQ("R step; R drawn; R step; R drawn; R step; R drawn", frames);
    EXPECT_EQ((std::vector<int>{first, first + 1, first + 2}), steps);
    // The first two frames sleep out the rest of their time (clock readings are whole milliseconds).
    EXPECT_GE(took, std::chrono::milliseconds(2 * (game.getFrameTime() - 2) + work));

    std::vector<std::string> log = lutest::readLogMessages();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ("Game Manager Starting up! Running GameOver", log[0] + " " + log[1] + " " + log.back());
    // The third frame's overrun comes last (on a loaded machine the others may be late too).
    const std::string overrun = "Frame time over target time by ";
    int over = std::stoi(log[log.size() - 2].substr(overrun.size()));
    EXPECT_EQ(overrun + std::to_string(over) + " milliseconds", log[log.size() - 2]);
    EXPECT_GE(over, work - game.getFrameTime());
    game.shutDown();
    game.setGameOver(false);
}
