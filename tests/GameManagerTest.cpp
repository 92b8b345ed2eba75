#include "GameManager.h"

#include "Clock.h"
#include "EventOut.h"
#include "EventStep.h"
#include "LogManager.h"
#include "Platform.h"
#include "WorldManager.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#include <sys/time.h>
#endif

namespace {

using lutest::heard;
using lutest::Probe;

// Runs body on each step event the probe hears, with the step's count.
void onStep(Probe* probe, std::function<void(int)> body)
{
    probe->onEvent = [body](const lu::Event* event) {
        if (event->getType() == lu::STEP_EVENT)
            body(static_cast<const lu::EventStep*>(event)->getStepCount());
    };
}

class GameLoopTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        lu::GameManager::instance().setGameOver(false);
    }

    lutest::EngineScope engine;
};

TEST_F(GameLoopTest, FrameStepsThenDrawsByAltitudeThenDeletesAndMoves)
{
    Probe* mover = new Probe("A", lu::Vector(5, 5));
    mover->setAltitude(4);
    mover->setVelocity(lu::Vector(1, 0));
    (new Probe("B", lu::Vector(6, 5)))->setAltitude(0);
    Probe* hidden = new Probe("H", lu::Vector(30, 30));
    hidden->setAltitude(lu::MAX_ALTITUDE + 1);
    onStep(hidden, [hidden](int) { lu::WorldManager::instance().markForDeletion(hidden); });

    lu::GameManager::instance().runFrame();

    EXPECT_EQ("A step; B step; H step; B drawn; A drawn; H deleted; A collision A->B; B collision A->B", heard());
    EXPECT_EQ(2, lutest::worldObjectCount());
}

TEST_F(GameLoopTest, GameOverFromAStepEndsTheRunAfterThatFrameWhoseStepsCountUp)
{
    lu::GameManager& game = lu::GameManager::instance();
    Probe* recorder = new Probe("R");
    Probe* doomed = new Probe("D");
    int first = game.getStepCount();
    std::vector<int> steps;
    onStep(recorder, [doomed, &steps](int step) {
        steps.push_back(step);
        if (steps.size() == 2) {
            lu::GameManager::instance().setGameOver(true);
            lu::WorldManager::instance().markForDeletion(doomed);
        }
    });

    auto started = std::chrono::steady_clock::now();
    game.run();
    auto took = std::chrono::steady_clock::now() - started;

    EXPECT_EQ("R step; D step; R drawn; D drawn; R step; D step; R drawn; D drawn; D deleted", heard());
    EXPECT_EQ((std::vector<int>{first, first + 1}), steps);
    EXPECT_EQ(first + 2, game.getStepCount());
    // Each frame sleeps out the rest of its frame time (clock readings are whole milliseconds).
    EXPECT_GE(took, std::chrono::milliseconds(2 * (game.getFrameTime() - 2)));

    std::vector<std::string> messages = lutest::readLogMessages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ("Running", messages.front());
    EXPECT_EQ("GameOver", messages.back());
}

TEST_F(GameLoopTest, OverrunFrameLogsByHowMuchItWasLate)
{
    static constexpr int work = 45;
    onStep(new Probe("S"), [](int) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(work);
        while (std::chrono::steady_clock::now() < end) {
        }
        lu::GameManager::instance().setGameOver(true);
    });

    lu::GameManager::instance().run();

    int over = -1;
    for (const std::string& message : lutest::readLogMessages()) {
        char unit[32] = "";
        if (std::sscanf(message.c_str(), "Frame time over target time by %d %31s", &over, unit) == 2) {
            EXPECT_STREQ("milliseconds", unit);
        }
    }
    EXPECT_GE(over, work - lu::GameManager::instance().getFrameTime());
    EXPECT_LT(over, 10000);
}

TEST_F(GameLoopTest, BroadcastSumsResultsAndSkipsObjectsItCreates)
{
    lu::EventOut event;
    EXPECT_EQ(0, lu::GameManager::instance().broadcastEvent(&event));

    Probe* spawned = nullptr;
    Probe* first = new Probe("1");
    first->onEvent = [&spawned](const lu::Event*) {
        if (spawned == nullptr)
            spawned = new Probe("spawned");
    };
    (new Probe("0"))->answer = 0;
    new Probe("1");

    // Any manager broadcasts the same way.
    EXPECT_EQ(2, lu::LogManager::instance().broadcastEvent(&event));
    EXPECT_EQ("1 out; 0 out; 1 out", heard());
    EXPECT_EQ(3, lu::WorldManager::instance().broadcastEvent(&event));
    EXPECT_EQ("1 out; 0 out; 1 out; spawned out", heard());
}

TEST_F(GameLoopTest, ShutDownFromAStepHandlerFinishesTheFrameWithoutTheDeletedObjects)
{
    onStep(new Probe("Q"), [](int) { lu::GameManager::instance().shutDown(); });
    new Probe("R");
    lu::GameManager::instance().runFrame();
    EXPECT_EQ("Q step; Q deleted; R deleted", heard());
    EXPECT_TRUE(lu::GameManager::instance().isGameOver());
}

TEST(GameManagerTest, SleepFillsTheFrameButNeverExceedsOneFrameTime)
{
    const lu::GameManager& game = lu::GameManager::instance();
    // A frame spanning the month's turn measures about minus a month.
    const long long elapsed[] = {0, 10, 33, 34, 3000000000LL, -1, -2678400000LL};
    const int sleep[] = {33, 23, 0, 0, 0, 33, 33};
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(sleep[i], game.sleepTimeFor(elapsed[i])) << elapsed[i];
}

TEST(ClockTest, ElapsedCountsWholeMillisecondsAndRestartStartsAgain)
{
    lu::Clock clock;
    lu::sleepMilliseconds(200);
    std::int64_t waited = clock.elapsed();
    EXPECT_GE(waited, 199000);
    EXPECT_EQ(0, waited % 1000);
    EXPECT_GE(clock.restart(), waited);
    EXPECT_LT(clock.elapsed(), 100000);

    // Time stamps count microseconds from the start of the month in UTC.
    std::int64_t stamp = lu::Clock::timeStamp();
    std::time_t now = std::time(nullptr);
    std::tm utc = *std::gmtime(&now);
    std::int64_t seconds =
        ((static_cast<std::int64_t>(utc.tm_mday) * 24 + utc.tm_hour) * 60 + utc.tm_min) * 60 + utc.tm_sec;
    EXPECT_EQ(0, stamp % 1000);
    EXPECT_NEAR(static_cast<double>(seconds), static_cast<double>(stamp / 1000000), 2.0);
}

#ifndef _WIN32
// A signal arriving during the frame's sleep (a timer, a child process ending) must not cut it short.
TEST(ClockTest, ASignalDuringASleepDoesNotCutItShort)
{
    struct sigaction quiet = {};
    quiet.sa_handler = [](int) {};
    struct sigaction previous = {};
    // Without SA_RESTART, the signal interrupts the sleep.
    ASSERT_EQ(sigaction(SIGALRM, &quiet, &previous), 0);
    itimerval once = {};
    once.it_value.tv_usec = 20000;
    ASSERT_EQ(setitimer(ITIMER_REAL, &once, nullptr), 0);
    lu::Clock clock;
    lu::sleepMilliseconds(100);
    std::int64_t slept = clock.elapsed();
    sigaction(SIGALRM, &previous, nullptr);
    EXPECT_GE(slept, 99000);
}
#endif

} // namespace
