#include "GameScenario.h"

#include "PainterRun.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>

namespace {

const char* const GAME_PROGRAM = "coilwander";
const char* const SCREENSHOT_DIRECTORY_VARIABLE = "E2E_SCREENSHOT_DIR";
const double EXIT_TIMEOUT_SECONDS = 20.0;
const double SOUND_WAIT_TIMEOUT_SECONDS = 10.0;
// Similarity with music playing along: the game's effects score 0.6 and more, the music alone far less.
const double SOUND_MATCH_THRESHOLD = 0.45;
const std::string TITLE_SCREEN_LINE = "Use WASD to move";
const int POLL_PAUSE_MS = 2;

std::chrono::steady_clock::time_point deadlineIn(double seconds)
{
    return std::chrono::steady_clock::now() +
           std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
}

} // namespace

ScreenDecoder GameScenario::decoder;

void GameScenario::SetUp()
{
    if (decoder.isReady())
        return;
    std::string error;
    ASSERT_TRUE(learnGlyphsFromDisplay(decoder, error)) << error;
}

void GameScenario::TearDown()
{
    if (run && HasFailure()) {
        run->keepFolder();
        std::cout << "The game's folder is kept at " << run->getFolder() << "\nLast screen read:\n"
                  << lastScreen.describe();
    }
    run.reset();
}

::testing::AssertionResult GameScenario::startGame(const std::vector<std::string>& removedFiles)
{
    run.reset(new ProgramRun(gameFolder(), GAME_PROGRAM, {}, removedFiles));
    std::string error;
    if (!run->start(error))
        return ::testing::AssertionFailure() << "the game did not start: " << error;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult GameScenario::startAtTitleScreen(const std::vector<std::string>& removedFiles)
{
    ::testing::AssertionResult started = startGame(removedFiles);
    if (!started)
        return started;
    ScreenGrid shown;
    return waitForScreen(showsTitleScreen, "the title screen", START_TIMEOUT_SECONDS, shown);
}

::testing::AssertionResult GameScenario::pressPAndFreezeFirstFrame(ScreenGrid& shown)
{
    ::testing::AssertionResult pressed = press("p");
    if (!pressed)
        return pressed;
    if (!freezeWhenRowLights(SCORE_ROW, SCREEN_TIMEOUT_SECONDS))
        return ::testing::AssertionFailure() << "no score line appeared after P";
    shown = screen();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult GameScenario::waitForLevel(ScreenGrid& shown)
{
    run->thaw();
    return waitForScreen([](const ScreenGrid& g) { return !showsTitleScreen(g) && g.find("Score: ").row == SCORE_ROW; },
                         "the level without the title screen", SCREEN_TIMEOUT_SECONDS, shown);
}

ProgramRun& GameScenario::game()
{
    return *run;
}

ScreenGrid GameScenario::screen()
{
    lastScreen = decoder.decode(run->capture());
    return lastScreen;
}

::testing::AssertionResult GameScenario::waitForScreen(const ScreenCondition& condition, const std::string& what,
                                                       double timeoutSeconds, ScreenGrid& shown)
{
    auto deadline = deadlineIn(timeoutSeconds);
    do {
        shown = screen();
        if (condition(shown))
            return ::testing::AssertionSuccess();
        // A breath between reads leaves the processor to the game; a frame lasts 33 ms.
        std::this_thread::sleep_for(std::chrono::milliseconds(POLL_PAUSE_MS));
    } while (std::chrono::steady_clock::now() < deadline);
    return ::testing::AssertionFailure() << "the screen never showed " << what << "; it last showed:\n"
                                         << shown.describe();
}

bool GameScenario::freezeWhenRowLights(int row, double timeoutSeconds)
{
    int top = ScreenDecoder::cellTopPixel(row);
    int width = ScreenDecoder::cellLeftPixel(GRID_COLUMNS);
    auto deadline = deadlineIn(timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        // One band of pixels reads back far quicker than the whole window, so no frame slips by.
        if (run->captureArea(0, top, width, CELL_HEIGHT).hasInk()) {
            run->freeze();
            return true;
        }
    }
    return false;
}

::testing::AssertionResult GameScenario::press(const std::string& keyName)
{
    if (!run->pressKey(keyName))
        return ::testing::AssertionFailure() << "the key " << keyName << " could not be pressed";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult GameScenario::endsCleanly()
{
    if (!run->waitForExit(EXIT_TIMEOUT_SECONDS))
        return ::testing::AssertionFailure()
               << "the game did not end within " << EXIT_TIMEOUT_SECONDS << " s and was killed";
    if (run->exitCode() != 0)
        return ::testing::AssertionFailure() << "the game ended with " << run->describeExit() << "; output:\n"
                                             << run->output();
    // The loop's last word is "GameOver"; shutting the engine down then logs the display's goodbye and,
    // when a level is still there, the destruction of its apple.
    std::vector<std::string> lines = log();
    auto over = std::find(lines.begin(), lines.end(), "GameOver");
    if (over == lines.end())
        return ::testing::AssertionFailure() << "the log has no \"GameOver\" line";
    std::vector<std::string> shutdownLines(over + 1, lines.end());
    if (shutdownLines.empty() || shutdownLines[0] != DISPLAY_SHUTDOWN_LINE)
        return ::testing::AssertionFailure() << "\"GameOver\" is not followed by \"" << DISPLAY_SHUTDOWN_LINE << "\"";
    for (const std::string& line : shutdownLines) {
        if (line != DISPLAY_SHUTDOWN_LINE && line != APPLE_DESTROYED_LINE)
            return ::testing::AssertionFailure() << "after \"GameOver\" the log goes on with \"" << line << "\"";
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::string> GameScenario::log()
{
    return run->logLines();
}

bool GameScenario::soundIsRecorded()
{
    return E2E_RECORDS_SOUND != 0;
}

std::vector<SoundMatch> GameScenario::heard(const std::string& soundFile)
{
    WaveFile reference;
    WaveFile recording;
    std::string error;
    if (!reference.load(gameFolder() + "/" + soundFile, error) || !run->loadRecording(recording, error)) {
        ADD_FAILURE() << error;
        return std::vector<SoundMatch>();
    }
    SoundMatcher matcher(reference.resampledTo(recording.getSampleRate()));
    return matcher.findIn(recording.getSamples(), recording.getSampleRate(), SOUND_MATCH_THRESHOLD);
}

bool GameScenario::letSoundPlayOut(double seconds)
{
    if (!soundIsRecorded())
        return true;
    return run->waitForRecording(run->recordedSeconds() + seconds, SOUND_WAIT_TIMEOUT_SECONDS);
}

SpriteArt GameScenario::art(const std::string& spriteFile)
{
    SpriteArt sprite;
    if (!sprite.load(gameFolder() + "/" + spriteFile))
        ADD_FAILURE() << "cannot read " << spriteFile;
    return sprite;
}

Cell GameScenario::headOf(const ScreenGrid& grid)
{
    SpriteArt head = art("sprites/snake-head.txt");
    for (int r = 0; r < GRID_ROWS; ++r) {
        for (int c = 0; c < GRID_COLUMNS; ++c) {
            char ch = grid.charAt(c, r);
            if (ch != ' ' && head.uses(ch) && grid.colorAt(c, r) == head.getColor())
                return Cell{c, r};
        }
    }
    return Cell{-1, -1};
}

SpriteArt GameScenario::segmentArt(int index)
{
    if (index % SEGMENTS_PER_SECOND_SPRITE == 0)
        return art("sprites/snake-body-2.txt");
    return art("sprites/snake-body-1.txt");
}

std::vector<Cell> GameScenario::hazardsOf(const ScreenGrid& grid)
{
    std::vector<Cell> cells = grid.cellsWith('X', lu::RED);
    std::vector<Cell> moving = grid.cellsWith('#', lu::RED);
    std::vector<Cell> ice = grid.cellsWith('/', lu::BLUE);
    cells.insert(cells.end(), moving.begin(), moving.end());
    cells.insert(cells.end(), ice.begin(), ice.end());
    return cells;
}

bool GameScenario::showsTitleScreen(const ScreenGrid& grid)
{
    return grid.find(TITLE_SCREEN_LINE).row >= 0;
}

void GameScenario::saveScreenshotAs(const std::string& name)
{
    const char* directory = std::getenv(SCREENSHOT_DIRECTORY_VARIABLE);
    if (directory == nullptr || *directory == '\0')
        return;
    std::string path = std::string(directory) + "/" + name + ".ppm";
    EXPECT_TRUE(run->capture().writePpm(path)) << "cannot write " << path;
}

std::string describeCells(const std::vector<Cell>& cells)
{
    std::string text;
    for (const Cell& cell : cells)
        text += "(" + std::to_string(cell.column) + ", " + std::to_string(cell.row) + ") ";
    return text;
}
