#include "GameFixture.h"

#include "DisplayManager.h"
#include "GameStart.h"
#include "InputManager.h"
#include "InputRecord.h"
#include "Keyboard.h"

#include <utility>

using namespace lu::Keyboard;

namespace {

// Keys pressed and let go, by frame: a game started, steered about and quit.
const std::pair<int, int> KEYS[] = {{10, P},  {25, S},  {40, D},  {41, W},  {60, W}, {75, A},
                                    {110, S}, {150, D}, {151, S}, {200, Q}, {330, Q}};
const int FRAME_LIMIT = 400;

} // namespace

class GameReplayTest : public GameFixture {
protected:
    // Plays from the title screen, pressing KEYS unless a replay hands out the input; returns the log it
    // wrote and its last screen.
    static std::string play(bool pressKeys)
    {
        srand(1);
        lu::GameManager& game = lu::GameManager::instance();
        std::size_t logged = lutest::readLogMessages().size();
        new GameStart();
        for (int frame = 0; !game.isGameOver() && frame < FRAME_LIMIT; frame++) {
            for (const std::pair<int, int>& press : KEYS) {
                if (pressKeys && press.first == frame) {
                    lu::InputRecord record;
                    record.key = press.second;
                    record.keyAction = lu::KEY_PRESSED;
                    lu::InputManager::instance().applyInput(record);
                    record.keyAction = lu::KEY_RELEASED;
                    lu::InputManager::instance().applyInput(record);
                }
            }
            game.runFrame();
        }
        lu::InputManager::instance().stopRecording();
        lu::WorldManager::instance().shutDown();
        game.setGameOver(false);
        std::vector<std::string> log = lutest::readLogMessages();
        std::string played;
        for (std::size_t i = logged; i < log.size(); i++) {
            played += log[i] + "\n";
        }
        return played + lu::DisplayManager::instance().getScreenText();
    }

    lutest::TempDir dir;
};

// Levels come from rand(), which this C library seeds the same in every run: a recording made here
// replays here to the very same game.
TEST_F(GameReplayTest, AGamePlayedHereReplaysToTheSameLogAndLastScreen)
{
    lu::InputManager& input = lu::InputManager::instance();
    ASSERT_EQ(0, lu::GameManager::instance().setHeadless());
    ASSERT_EQ(0, lu::DisplayManager::instance().startUp());
    ASSERT_EQ(0, input.startRecording(dir.file("game.rec")));
    std::string recorded = play(true);
    ASSERT_EQ(0, input.startReplay(dir.file("game.rec"))) << input.getRecordingMessage();
    std::string replayed = play(false);

    EXPECT_NE(std::string::npos, recorded.find("Placing apple at")) << recorded;
    EXPECT_EQ(recorded, replayed);
    lu::DisplayManager::instance().shutDown();
}
