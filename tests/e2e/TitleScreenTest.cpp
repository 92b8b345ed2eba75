// The title screen of the real program: its texts, art and music.
#include "GameScenario.h"
#include "PainterRun.h"

namespace {

const int TITLE_COLUMN = 37;
const int TITLE_ROW = 6;
const int PROMPT_ROW = 24;
const Cell DECORATION_APPLES[] = {{10, 14}, {64, 14}};
const std::string PROMPT = "Press 'P' to play";
// A stretch of the music from its first seconds, long enough to be unmistakable.
const double MUSIC_EXCERPT_START_SECONDS = 1.0;
const double MUSIC_EXCERPT_SECONDS = 2.0;
const double MUSIC_MATCH_THRESHOLD = 0.9;

struct InstructionLine {
    std::string text;
    int column;
    int row;
    lu::Color color;
};

const InstructionLine INSTRUCTIONS[] = {
    {"Press 'Q' to quit", 29, 26, lu::WHITE},
    {"Use WASD to move", 29, 12, lu::WHITE},
    {"Collect the green apple to complete the level", 15, 14, lu::GREEN},
    {"XXX Avoid red hazards ###", 25, 16, lu::RED},
    {"/// You cannot turn while on blue ice ///", 17, 18, lu::BLUE},
};

} // namespace

class TitleScreenTest : public GameScenario {};

TEST_F(TitleScreenTest, ShowsTheFiveInstructionsTheArtAndThePromptWhileTheMusicPlays)
{
    ASSERT_TRUE(startGame());
    ScreenGrid shown;
    ASSERT_TRUE(
        waitForScreen([](const ScreenGrid& g) { return showsTitleScreen(g) && g.find(PROMPT).row == PROMPT_ROW; },
                      "the title screen with its prompt", START_TIMEOUT_SECONDS, shown));
    saveScreenshotAs("title");

    for (const InstructionLine& line : INSTRUCTIONS) {
        int length = static_cast<int>(line.text.size());
        EXPECT_EQ(shown.text(line.column - 1, line.row, length + 2), " " + line.text + " ") << shown.describe();
        EXPECT_TRUE(shown.hasColor(line.column, line.row, length, line.color))
            << "\"" << line.text << "\" is not " << colorName(line.color);
    }
    SpriteArt title = art("sprites/title.txt");
    SpriteArt prompt = art("sprites/start-text.txt");
    SpriteArt apple = art("sprites/fruit-spr.txt");
    EXPECT_GE(title.frameShownAt(shown, TITLE_COLUMN, TITLE_ROW), 0) << shown.describe();
    EXPECT_GE(prompt.frameShownAt(shown, TITLE_COLUMN, PROMPT_ROW), 0) << shown.describe();
    for (const Cell& cell : DECORATION_APPLES)
        EXPECT_GE(apple.frameShownAt(shown, cell.column, cell.row), 0) << shown.describe();

    // Nothing else is on the screen.
    ScreenGrid expected;
    for (const InstructionLine& line : INSTRUCTIONS) {
        for (std::size_t i = 0; i < line.text.size(); ++i)
            expected.set(line.column + static_cast<int>(i), line.row, line.text[i], line.color);
    }
    auto blankOut = [&shown](const SpriteArt& sprite, int column, int row) {
        for (int r = 0; r < sprite.getHeight(); ++r) {
            for (int c = 0; c < sprite.getWidth(); ++c)
                shown.set(column - sprite.getWidth() / 2 + c, row - sprite.getHeight() / 2 + r, ' ', lu::BLACK);
        }
    };
    blankOut(title, TITLE_COLUMN, TITLE_ROW);
    blankOut(prompt, TITLE_COLUMN, PROMPT_ROW);
    for (const Cell& cell : DECORATION_APPLES)
        blankOut(apple, cell.column, cell.row);
    EXPECT_EQ(shown.describe(), expected.describe());

    if (soundIsRecorded()) {
        ASSERT_TRUE(
            game().waitForRecording(MUSIC_EXCERPT_START_SECONDS + MUSIC_EXCERPT_SECONDS + 1, START_TIMEOUT_SECONDS));
    }
    ASSERT_TRUE(press("q"));
    ASSERT_TRUE(endsCleanly());
    if (!soundIsRecorded())
        return;

    WaveFile music;
    WaveFile recording;
    std::string error;
    ASSERT_TRUE(music.load(gameFolder() + "/sounds/gamemusic.wav", error)) << error;
    ASSERT_TRUE(game().loadRecording(recording, error)) << error;
    std::vector<float> tune = music.resampledTo(recording.getSampleRate());
    auto from = tune.begin() + static_cast<long>(MUSIC_EXCERPT_START_SECONDS * recording.getSampleRate());
    std::vector<float> excerpt(from, from + static_cast<long>(MUSIC_EXCERPT_SECONDS * recording.getSampleRate()));
    std::vector<SoundMatch> found =
        SoundMatcher(excerpt).findIn(recording.getSamples(), recording.getSampleRate(), MUSIC_MATCH_THRESHOLD);
    EXPECT_EQ(found.size(), 1u) << "the music's opening was not heard once";
}
