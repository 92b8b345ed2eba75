#include "GameManager.h"

#include "Clock.h"
#include "EventOut.h"
#include "EventStep.h"
#include "LogManager.h"
#include "Platform.h"
#include "WorldManager.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>

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

TEST_F(GameLoopTest, BroadcastSumsResultsAndSkipsObjectsHandlersCreateOrDelete)
{
    lu::EventOut event;
    EXPECT_EQ(0, lu::GameManager::instance().broadcastEvent(&event));

    Probe* spawned = nullptr;
    Probe* first = new Probe("1");
    Probe* doomed = new Probe("D");
    // The newcomer is likely to take the deleted probe's address.
    first->onEvent = [&spawned, doomed](const lu::Event*) {
        if (spawned == nullptr) {
            delete doomed;
            spawned = new Probe("spawned");
        }
    };
    (new Probe("0"))->answer = 0;
    new Probe("1");

    // Any manager broadcasts the same way.
    EXPECT_EQ(2, lu::LogManager::instance().broadcastEvent(&event));
    EXPECT_EQ("1 out; D deleted; 0 out; 1 out", heard());
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

TEST(GameManagerTest, AFrameTimeOfAtLeastOneMillisecondIsTheNewTargetOfTheSleep)
{
    lu::GameManager& game = lu::GameManager::instance();
    EXPECT_EQ(0, game.setFrameTime(50));
    EXPECT_EQ(-1, game.setFrameTime(0));
    EXPECT_EQ(-1, game.setFrameTime(-20));
    EXPECT_EQ(50, game.getFrameTime());
    EXPECT_EQ(40, game.sleepTimeFor(10));
    EXPECT_EQ(50, game.sleepTimeFor(-1));
    EXPECT_EQ(0, game.setFrameTime(1));
    EXPECT_EQ(0, game.sleepTimeFor(1));
    game.setFrameTime(lu::FRAME_TIME_DEFAULT);
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
