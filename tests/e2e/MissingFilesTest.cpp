// The game with one of its files missing: it starts and plays without it.
#include "GameScenario.h"

#include <algorithm>

namespace {

const char* const SECOND_BODY_SPRITE = "sprites/snake-body-2.txt";
const char* const MUSIC_FILE = "sounds/gamemusic.wav";
const std::string MUSIC_MISSING_LINE = "Unable to load music from sounds/gamemusic.wav";
// Far enough for the snake to be seen moving, short of anything in its way.
const int COLUMNS_TO_PLAY = 5;
const double SILENT_SECONDS = 1.5;
const float SILENCE = 1e-6f;

} // namespace

class MissingFilesTest : public GameScenario {
protected:
    // Segments with the second body sprite are invisible; the others show the first one.
    void expectSnakeWithGapsBehind(const ScreenGrid& grid, const Cell& head)
    {
        SpriteArt body = art("sprites/snake-body-1.txt");
        for (int i = 1; i < SNAKE_SEGMENTS; ++i) {
            int column = head.column - i;
            if (i % SEGMENTS_PER_SECOND_SPRITE == 0)
                EXPECT_EQ(grid.charAt(column, head.row), ' ') << "segment " << i << " is visible\n" << grid.describe();
            else
                EXPECT_GE(body.frameShownAt(grid, column, head.row), 0) << "segment " << i << " is missing\n"
                                                                        << grid.describe();
        }
    }
};

TEST_F(MissingFilesTest, WithoutTheSecondBodySpriteTheGamePlaysWithEveryThirdSegmentInvisible)
{
    ASSERT_TRUE(startAtTitleScreen({SECOND_BODY_SPRITE}));
    ScreenGrid first;
    ASSERT_TRUE(pressPAndFreezeFirstFrame(first));
    Cell head = headOf(first);
    ASSERT_EQ(head.column, SNAKE_START.column) << first.describe();
    ASSERT_EQ(head.row, SNAKE_START.row) << first.describe();
    expectSnakeWithGapsBehind(first, head);

    ScreenGrid later;
    ASSERT_TRUE(waitForLevel(later));
    ASSERT_TRUE(
        waitForScreen([this](const ScreenGrid& g) { return headOf(g).column >= SNAKE_START.column + COLUMNS_TO_PLAY; },
                      "the snake moving on", SCREEN_TIMEOUT_SECONDS, later));
    game().freeze();
    later = screen();
    expectSnakeWithGapsBehind(later, headOf(later));
    ASSERT_TRUE(press("q"));
    EXPECT_TRUE(endsCleanly());
}

TEST_F(MissingFilesTest, WithoutTheMusicTheGameSaysSoAndPlaysInSilence)
{
    ASSERT_TRUE(startAtTitleScreen({MUSIC_FILE}));
    std::vector<std::string> lines = log();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), MUSIC_MISSING_LINE), 1);
    ScreenGrid shown;
    ASSERT_TRUE(pressPAndFreezeFirstFrame(shown));
    ASSERT_TRUE(waitForLevel(shown));
    if (soundIsRecorded()) {
        ASSERT_TRUE(game().waitForRecording(game().recordedSeconds() + SILENT_SECONDS, SCREEN_TIMEOUT_SECONDS));
    }
    ASSERT_TRUE(press("q"));
    EXPECT_TRUE(endsCleanly());
    if (!soundIsRecorded())
        return;

    WaveFile recording;
    std::string error;
    ASSERT_TRUE(game().loadRecording(recording, error)) << error;
    EXPECT_GE(recording.getDuration(), SILENT_SECONDS);
    EXPECT_LT(recording.peak(), SILENCE);
}
