#pragma once

#include "GameCopy.h"
#include "GameScenario.h"
#include "LogFormats.h"

#include <functional>
#include <string>

/// The title screen's instruction lines; art over one of them still leaves the others readable.
extern const std::vector<std::string> TITLE_SCREEN_LINES;

/// Base of the hostile scenarios: runs the real game from a copy of its folder that the test has damaged,
/// and plays it from the title screen into a level and out again.
class HostileScenario : public GameScenario {
protected:
    typedef std::function<bool(GameCopy&)> Damage;

    /// Keeps the damaged copy after a failure, then stops the game as the harness does.
    void TearDown() override;

    /// Copies the game, lets damage spoil the copy and starts the game from it; the reason on failure.
    ::testing::AssertionResult startDamaged(const Damage& damage);

    /// Waits for the title screen (any of its instruction lines), presses P, waits for a level (the score
    /// line without the title screen); the reason on failure.
    ::testing::AssertionResult playIntoALevel();

    /// Waits until the game's log holds a line that starts with start; the reason on failure.
    ::testing::AssertionResult waitForLogLine(const std::string& start, double timeoutSeconds);

    /// Presses Q and checks that the game ends by itself with status 0 and a log of nothing but the
    /// program's messages; the reason on failure.
    ::testing::AssertionResult quitsCleanly();

    /// Returns true when the grid shows any of the title screen's instruction lines.
    static bool showsTitleLines(const ScreenGrid& grid);

    GameCopy copy;
    LogFormats formats;
};
