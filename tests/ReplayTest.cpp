#include "DisplayManager.h"
#include "GameManager.h"
#include "InputManager.h"
#include "InputRecord.h"
#include "InputRecording.h"
#include "WorldManager.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using lutest::heard;

const int FRAME_LIMIT = 20;

lu::InputRecord keyW(lu::KeyAction action)
{
    lu::InputRecord record;
    record.key = lu::Keyboard::W;
    record.keyAction = action;
    return record;
}

// Runs frames until the game is over; returns how many ran.
int framesToGameOver()
{
    lu::GameManager& game = lu::GameManager::instance();
    int frames = 0;
    while (!game.isGameOver() && frames < FRAME_LIMIT) {
        game.runFrame();
        frames++;
    }
    return frames;
}

class ReplayTest : public ::testing::Test {
protected:
    ~ReplayTest() override
    {
        lu::InputManager::instance().shutDown();
        lu::GameManager::instance().setGameOver(false);
    }

    lutest::EngineScope engine;
    lutest::TempDir dir;
};

} // namespace

TEST_F(ReplayTest, InputsComeBackOnTheirFramesAndTheLoopEndsAfterTheLastFrameRecorded)
{
    lu::InputManager& input = lu::InputManager::instance();
    lu::GameManager& game = lu::GameManager::instance();
    new lutest::Probe("P");
    ASSERT_EQ(0, input.startRecording(dir.file("run.rec")));
    input.applyInput(keyW(lu::KEY_PRESSED));
    game.runFrame();
    game.runFrame();
    lu::InputRecord move;
    move.kind = lu::INPUT_MOUSE;
    move.mouseAction = lu::MOUSE_MOVED;
    move.position = lu::Vector(10, 2);
    input.applyInput(move);
    input.applyInput(keyW(lu::KEY_RELEASED));
    game.runFrame();
    game.runFrame();
    input.stopRecording();
    std::string played = heard();

    EXPECT_EQ("lu-recording 1\n0 key 53 pressed\n2 mouse moved none 41200000 40000000 00000000\n2 key 53 released\n"
              "3 end\n",
              lutest::readFile(dir.file("run.rec")));
    ASSERT_EQ(0, input.startReplay(dir.file("run.rec"))) << input.getRecordingMessage();
    EXPECT_EQ(4, framesToGameOver());
    EXPECT_EQ(played, heard());
    EXPECT_FALSE(input.isReplaying());
}

// A run that ended with the window closed, and one that never finished, each replayed while recording again.
TEST_F(ReplayTest, AReplayEndsAsItsRecordingDidAndSaysWhenTheRecordedRunNeverFinished)
{
    struct Case {
        std::string recording;
        std::string heard;
        std::string recordedAgain;
        std::string message;
    };
    const Case cases[] = {
        {"1 closed\n1 end\n", "P step; P drawn; P deleted", "1 closed\n1 end\n", ""},
        {"0 key 53 pressed\n2 reached\n", "P key 53 pressed; P step; P drawn; P step; P drawn; P step; P drawn",
         "0 key 53 pressed\n2 end\n",
         ": the recorded run did not finish; the replay ends where its recording does, at frame 2"},
    };
    lu::InputManager& input = lu::InputManager::instance();
    for (const Case& c : cases) {
        new lutest::Probe("P");
        ASSERT_TRUE(lutest::writeFile(dir.file("in.rec"), lu::RECORDING_HEADER + "\n" + c.recording));
        ASSERT_EQ(0, input.startReplay(dir.file("in.rec")));
        EXPECT_EQ(c.message.empty() ? "" : dir.file("in.rec") + c.message, input.getRecordingMessage());
        ASSERT_EQ(0, input.startRecording(dir.file("out.rec")));
        framesToGameOver();
        input.stopRecording();
        EXPECT_EQ(c.heard, heard());
        EXPECT_EQ(lu::RECORDING_HEADER + "\n" + c.recordedAgain, lutest::readFile(dir.file("out.rec")));
        lu::WorldManager::instance().shutDown();
        lu::GameManager::instance().setGameOver(false);
    }
}

TEST_F(ReplayTest, AHeadlessDisplayNeedsNoXDisplayKeepsTheFrameShownAndLogsAsAWindowDoes)
{
#ifndef _WIN32
    // Nothing may reach for X: there is none to find.
    unsetenv("DISPLAY");
#endif
    lu::DisplayManager& display = lu::DisplayManager::instance();
    ASSERT_EQ(0, lu::GameManager::instance().setHeadless());
    ASSERT_EQ(0, display.startUp());
    EXPECT_EQ(nullptr, display.getWindow());
    // Nearest cells; a control character shows as a blank, as the window shows it; an unknown colour is told.
    display.drawString(lu::Vector(37, 0), "Score: 1", lu::WHITE);
    display.drawCharacter(lu::Vector(74.4f, 35.4f), '@', static_cast<lu::Color>(8));
    display.drawCharacter(lu::Vector(35.6f, 0), '\t', lu::GREEN);
    std::string blank = display.getScreenText();
    display.swapBuffers();
    std::string shown = display.getScreenText();
    display.swapBuffers();
    EXPECT_EQ(blank, display.getScreenText());
    display.drawCharacter(lu::Vector(74, 35), '@', lu::GREEN);
    display.swapBuffers();
    display.shutDown();
    display.drawCharacter(lu::Vector(0, 0), '#', lu::RED);
    display.swapBuffers();
    EXPECT_EQ(0, display.startUp());

    std::string empty;
    for (int row = 0; row < 36; row++)
        empty += std::string(75, ' ') + "\n";
    std::string lastShown = empty;
    lastShown[35 * 76 + 74] = '@';
    EXPECT_EQ(empty, blank);
    EXPECT_EQ(std::string(lastShown).replace(33, 8, "Sco e: 1"), shown);
    EXPECT_EQ(lastShown, display.getScreenText());
    EXPECT_EQ(-1, lu::GameManager::instance().setHeadless(false));
    EXPECT_EQ((std::vector<std::string>{"Unknown color. Using default", "Display shutting down", "Already started up"}),
              lutest::readLogMessages());
}
