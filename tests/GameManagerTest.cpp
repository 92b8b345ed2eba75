#include "GameManager.h"

#include "Clock.h"
#include "DisplayManager.h"
#include "EventCollision.h"
#include "EventOut.h"
#include "EventStep.h"
#include "LogManager.h"
#include "Object.h"
#include "Platform.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

using Journal = std::vector<std::string>;

// Writes every step, draw, collision and its own deletion into a shared journal.
class Recorder : public lu::Object {
public:
    Recorder(Journal& journal, std::string name, int altitude = 2) : journal(journal), name(name)
    {
        setAltitude(altitude);
    }

    ~Recorder() override
    {
        journal.push_back(name + " deleted");
    }

    int handleEvent(const lu::Event* event) override
    {
        if (event->getType() == lu::STEP_EVENT) {
            const lu::EventStep* step = static_cast<const lu::EventStep*>(event);
            journal.push_back(name + " step");
            steps.push_back(step->getStepCount());
            if (onStep)
                onStep(step->getStepCount());
            return 1;
        }
        if (event->getType() == lu::COLLISION_EVENT) {
            journal.push_back(name + " collision");
            return 1;
        }
        received++;
        if (onOther)
            onOther();
        return answer;
    }

    int draw() override
    {
        journal.push_back(name + " draw");
        return 0;
    }

    std::vector<int> steps;
    std::function<void(int)> onStep;
    // For any other event: how often it came, what to do, and what to answer.
    int received = 0;
    std::function<void()> onOther;
    int answer = 0;

private:
    Journal& journal;
    std::string name;
};

std::string joined(const Journal& journal)
{
    std::string text;
    for (const std::string& entry : journal) {
        if (!text.empty())
            text += ", ";
        text += entry;
    }
    return text;
}

void busyWaitMilliseconds(int milliseconds)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
    }
}

class GameLoopTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        lu::GameManager::instance().setGameOver(false);
    }

    // Declared first so it outlives the objects the scope deletes, whose destructors write to it.
    Journal journal;
    lutest::EngineScope engine;
};

TEST_F(GameLoopTest, FrameStepsThenDrawsByAltitudeThenDeletesAndMoves)
{
    Recorder* mover = new Recorder(journal, "A", 4);
    mover->setPosition(lu::Vector(5, 5));
    mover->setVelocity(lu::Vector(1, 0));
    Recorder* wall = new Recorder(journal, "B", 0);
    wall->setPosition(lu::Vector(6, 5));
    Recorder* hidden = new Recorder(journal, "H", lu::MAX_ALTITUDE + 1);
    hidden->setPosition(lu::Vector(30, 30));
    hidden->onStep = [hidden](int) { lu::WorldManager::instance().markForDeletion(hidden); };

    lu::GameManager::instance().runFrame();

    EXPECT_EQ("A step, B step, H step, B draw, A draw, H deleted, A collision, B collision", joined(journal));
    EXPECT_EQ(2, lutest::worldObjectCount());
}

TEST_F(GameLoopTest, StepEventCarriesTheCountAtFrameStartAndCountGrowsByOne)
{
    lu::GameManager& game = lu::GameManager::instance();
    Recorder* recorder = new Recorder(journal, "R");
    int first = game.getStepCount();

    game.runFrame();
    game.runFrame();
    game.runFrame();

    EXPECT_EQ((std::vector<int>{first, first + 1, first + 2}), recorder->steps);
    EXPECT_EQ(first + 3, game.getStepCount());
}

TEST_F(GameLoopTest, GameOverFromStepEndsRunAfterThatFrameCompletes)
{
    lu::GameManager& game = lu::GameManager::instance();
    Recorder* recorder = new Recorder(journal, "R");
    Recorder* doomed = new Recorder(journal, "D");
    int first = game.getStepCount();
    recorder->onStep = [first, doomed](int step) {
        if (step == first + 1) {
            lu::GameManager::instance().setGameOver(true);
            lu::WorldManager::instance().markForDeletion(doomed);
        }
    };

    auto started = std::chrono::steady_clock::now();
    game.run();
    auto took = std::chrono::steady_clock::now() - started;

    EXPECT_EQ("R step, D step, R draw, D draw, R step, D step, R draw, D draw, D deleted", joined(journal));
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
    constexpr int work = 45;
    Recorder* slow = new Recorder(journal, "S");
    slow->onStep = [](int) {
        busyWaitMilliseconds(work);
        lu::GameManager::instance().setGameOver(true);
    };

    lu::GameManager::instance().run();

    int frameTime = lu::GameManager::instance().getFrameTime();
    int over = -1;
    for (const std::string& message : lutest::readLogMessages()) {
        int number = 0;
        if (std::sscanf(message.c_str(), "Frame time over target time by %d", &number) != 1)
            continue;
        char expected[100];
        std::snprintf(expected, sizeof expected, "Frame time over target time by %d milliseconds", number);
        EXPECT_EQ(expected, message);
        over = number;
    }
    EXPECT_GE(over, work - frameTime);
    EXPECT_LT(over, 10000);
}

TEST_F(GameLoopTest, BroadcastSumsResultsAndSkipsObjectsItCreates)
{
    lu::EventOut event;
    EXPECT_EQ(0, lu::GameManager::instance().broadcastEvent(&event));

    Recorder* spawned = nullptr;
    Recorder* first = new Recorder(journal, "1");
    first->answer = 1;
    first->onOther = [this, &spawned]() {
        if (spawned == nullptr)
            spawned = new Recorder(journal, "spawned");
    };
    new Recorder(journal, "0");
    Recorder* third = new Recorder(journal, "1");
    third->answer = 1;

    // Any manager broadcasts the same way.
    EXPECT_EQ(2, lu::LogManager::instance().broadcastEvent(&event));
    ASSERT_NE(nullptr, spawned);
    EXPECT_EQ(0, spawned->received);
    EXPECT_EQ(1, first->received);
    EXPECT_EQ(2, lu::WorldManager::instance().broadcastEvent(&event));
    EXPECT_EQ(1, spawned->received);
}

TEST_F(GameLoopTest, ShutDownFromAStepHandlerFinishesTheFrameWithoutTheDeletedObjects)
{
    Recorder* quitter = new Recorder(journal, "Q");
    quitter->onStep = [](int) { lu::GameManager::instance().shutDown(); };
    new Recorder(journal, "R");
    lu::GameManager::instance().runFrame();
    EXPECT_EQ("Q step, Q deleted, R deleted", joined(journal));
    EXPECT_TRUE(lu::GameManager::instance().isGameOver());
}

TEST(GameManagerTest, SleepFillsTheFrameButNeverExceedsOneFrameTime)
{
    const lu::GameManager& game = lu::GameManager::instance();
    ASSERT_EQ(lu::FRAME_TIME_DEFAULT, game.getFrameTime());
    EXPECT_EQ(33, game.sleepTimeFor(0));
    EXPECT_EQ(23, game.sleepTimeFor(10));
    EXPECT_EQ(0, game.sleepTimeFor(33));
    EXPECT_EQ(0, game.sleepTimeFor(34));
    EXPECT_EQ(0, game.sleepTimeFor(40));
    EXPECT_EQ(0, game.sleepTimeFor(3000000000LL));
    // A frame spanning the month's turn measures about minus a month.
    EXPECT_EQ(33, game.sleepTimeFor(-1));
    EXPECT_EQ(33, game.sleepTimeFor(-2678400000LL));
}

TEST(GameManagerTest, FailingDisplayStillStartsTheRestAndReportsFailure)
{
    lutest::TempDir dir;
    lutest::WorkingDirectory inDir(dir.path());
    lu::GameManager& game = lu::GameManager::instance();

    const char* display = std::getenv("DISPLAY");
    std::string savedDisplay = display ? display : "";
    unsetenv("DISPLAY");
    int result = game.startUp();
    if (display != nullptr)
        setenv("DISPLAY", savedDisplay.c_str(), 1);

    EXPECT_EQ(-1, result);
    EXPECT_TRUE(game.isStarted());
    EXPECT_EQ("GameManager", game.getType());
    EXPECT_FALSE(lu::DisplayManager::instance().isStarted());
    EXPECT_TRUE(lu::WorldManager::instance().isStarted());
    EXPECT_TRUE(lu::ResourceManager::instance().isStarted());
    EXPECT_EQ(1, lutest::countLogMessages("Issue creating window"));
    EXPECT_EQ(1, lutest::countLogMessages("Game Manager Starting up!"));

    // Flushing is on: the text is on disk before its line is even finished.
    lu::LogManager::instance().writeMessage("still logging");
    EXPECT_EQ("Message: still logging", lutest::readLogLines().back());

    new lu::Object();
    game.shutDown();
    EXPECT_TRUE(game.isGameOver());
    EXPECT_EQ(0, lutest::worldObjectCount());
    EXPECT_EQ(-1, lu::LogManager::instance().writeMessage("dropped"));
    game.shutDown();
    EXPECT_EQ(0, lutest::worldObjectCount());
    EXPECT_EQ("Message: Display shutting down", lutest::readLogLines().back());
    game.setGameOver(false);
}

TEST(ClockTest, ElapsedGrowsAndRestartStartsAgain)
{
    lu::Clock clock;
    lu::sleepMilliseconds(200);
    std::int64_t waited = clock.elapsed();
    EXPECT_GE(waited, 199000);
    EXPECT_EQ(0, waited % 1000);
    EXPECT_GE(clock.elapsed(), waited);

    std::int64_t restarted = clock.restart();
    EXPECT_GE(restarted, waited);
    EXPECT_LT(clock.elapsed(), 100000);
}

TEST(ClockTest, TimeStampCountsMicrosecondsFromTheStartOfTheMonthInUtc)
{
    std::int64_t stamp = lu::Clock::timeStamp();
    std::time_t now = std::time(nullptr);
    std::tm utc = *std::gmtime(&now);
    std::int64_t seconds =
        ((static_cast<std::int64_t>(utc.tm_mday) * 24 + utc.tm_hour) * 60 + utc.tm_min) * 60 + utc.tm_sec;

    EXPECT_EQ(0, stamp % 1000);
    EXPECT_NEAR(static_cast<double>(seconds), static_cast<double>(stamp / 1000000), 2.0);
}

} // namespace
