#pragma once

#include "ProgramRun.h"
#include "ScreenDecoder.h"
#include "SoundMatcher.h"
#include "SpriteArt.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

/// What the display logs when the engine shuts down.
const std::string DISPLAY_SHUTDOWN_LINE = "Display shutting down";

/// What the level's apple logs when it is destroyed.
const std::string APPLE_DESTROYED_LINE = "Destroying Apple";

/// The row of the score line, and the snake head's first cell.
const int SCORE_ROW = 2;
const Cell SNAKE_START = {15, 18};

/// The snake's body segments; every third one, counted from the head's own, shows the second body sprite.
const int SNAKE_SEGMENTS = 15;
const int SEGMENTS_PER_SECOND_SPRITE = 3;

/// How far, in columns and rows, levels keep hazards and the apple from the snake's head.
const int SAFE_COLUMNS = 15;
const int SAFE_ROWS = 10;

/// Generous limits for the program to come up and for a screen to appear.
const double START_TIMEOUT_SECONDS = 30.0;
const double SCREEN_TIMEOUT_SECONDS = 10.0;

/// Base of the scenarios: runs the real game from a copy of its staged folder under an X server of
/// its own, and reads its screen, its log, its sound and its exit status back.
class GameScenario : public ::testing::Test {
protected:
    typedef std::function<bool(const ScreenGrid&)> ScreenCondition;

    /// Learns the glyphs the display draws, once per test process.
    void SetUp() override;

    /// Stops the game; after a failure keeps its folder and prints where it is.
    void TearDown() override;

    /// Starts the game without removedFiles (paths inside its folder); the reason on failure.
    ::testing::AssertionResult startGame(const std::vector<std::string>& removedFiles = {});

    /// Starts the game and waits for its title screen; the reason on failure.
    ::testing::AssertionResult startAtTitleScreen(const std::vector<std::string>& removedFiles = {});

    /// Presses P on the title screen and freezes the game at the first frame that shows the score line;
    /// the frozen screen in shown. The game stays frozen.
    ::testing::AssertionResult pressPAndFreezeFirstFrame(ScreenGrid& shown);

    /// Lets the game go on and waits for a frame of the level without the title screen; the game runs on.
    ::testing::AssertionResult waitForLevel(ScreenGrid& shown);

    /// Returns the running game.
    ProgramRun& game();

    /// Reads the screen now.
    ScreenGrid screen();

    /// Reads the screen until condition holds; the screen that met it, or a failure showing the last one.
    ::testing::AssertionResult waitForScreen(const ScreenCondition& condition, const std::string& what,
                                             double timeoutSeconds, ScreenGrid& shown);

    /// Polls one row of the screen as pixels and freezes the game at the first frame that draws anything
    /// on it; false when no such frame came in time.
    bool freezeWhenRowLights(int row, double timeoutSeconds);

    /// Presses a key in the game's window; the reason on failure.
    ::testing::AssertionResult press(const std::string& keyName);

    /// Waits for the game to end by itself and checks it ended with status 0 and "GameOver" as its loop's
    /// last log line, followed only by what shutting the engine down logs.
    ::testing::AssertionResult endsCleanly();

    /// Returns the game's log lines without their prefix.
    std::vector<std::string> log();

    /// Returns true when this build's audio goes through OpenAL Soft, whose wave-file output the harness
    /// records (SFML 2); builds with other audio leave the sound checks out.
    static bool soundIsRecorded();

    /// Returns where the game's recording holds the game's sound file (e.g. "sounds/hit.wav"); the game
    /// must have ended.
    std::vector<SoundMatch> heard(const std::string& soundFile);

    /// Waits until the recording also holds seconds of sound after what it holds now, so that a sound
    /// that just started is recorded whole before the game is ended.
    bool letSoundPlayOut(double seconds);

    /// Reads one of the game's sprite files (e.g. "sprites/snake-head.txt").
    SpriteArt art(const std::string& spriteFile);

    /// Returns the cell of the snake's head (the head sprite's characters in its colour); (-1, -1) when
    /// it is not on the screen.
    Cell headOf(const ScreenGrid& grid);

    /// Returns the sprite body segment index shows.
    SpriteArt segmentArt(int index);

    /// Returns the cells of hazards and ice: red 'X' and '#', blue '/'.
    static std::vector<Cell> hazardsOf(const ScreenGrid& grid);

    /// Returns the title screen's line "Use WASD to move" found on the screen.
    static bool showsTitleScreen(const ScreenGrid& grid);

    /// Saves a screenshot of the window as name.ppm when E2E_SCREENSHOT_DIR is set.
    void saveScreenshotAs(const std::string& name);

    static ScreenDecoder decoder;
    std::unique_ptr<ProgramRun> run;
    ScreenGrid lastScreen;
};

/// Returns cells as "(column, row)" text for messages.
std::string describeCells(const std::vector<Cell>& cells);
