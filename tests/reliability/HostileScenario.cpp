#include "HostileScenario.h"

#include "PainterRun.h"

#include <chrono>
#include <iostream>
#include <thread>

namespace {

const char* const GAME_PROGRAM = "coilwander";
const int LOG_POLL_MS = 20;

} // namespace

const std::vector<std::string> TITLE_SCREEN_LINES = {
    "Use WASD to move",          "Collect the green apple to complete the level",
    "XXX Avoid red hazards ###", "/// You cannot turn while on blue ice ///",
    "Press 'Q' to quit",
};

void HostileScenario::TearDown()
{
    if (HasFailure()) {
        copy.keep();
        std::cout << "The damaged copy is kept at " << copy.getFolder() << "\n";
    }
    GameScenario::TearDown();
}

::testing::AssertionResult HostileScenario::startDamaged(const Damage& damage)
{
    std::string error;
    if (!copy.make(gameFolder(), error))
        return ::testing::AssertionFailure() << error;
    if (!damage(copy))
        return ::testing::AssertionFailure() << "cannot damage the copy at " << copy.getFolder();
    run.reset(new ProgramRun(copy.getFolder(), GAME_PROGRAM, {}, {}));
    if (!run->start(error))
        return ::testing::AssertionFailure() << "the game did not start: " << error;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult HostileScenario::playIntoALevel()
{
    ScreenGrid shown;
    ::testing::AssertionResult title = waitForScreen(showsTitleLines, "the title screen", START_TIMEOUT_SECONDS, shown);
    if (!title)
        return title;
    ::testing::AssertionResult pressed = press("p");
    if (!pressed)
        return pressed;
    return waitForScreen([](const ScreenGrid& g) { return !showsTitleLines(g) && g.find("Score: ").row == SCORE_ROW; },
                         "a level", SCREEN_TIMEOUT_SECONDS, shown);
}

::testing::AssertionResult HostileScenario::waitForLogLine(const std::string& start, double timeoutSeconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    do {
        for (const std::string& line : log()) {
            if (line.compare(0, start.size(), start) == 0)
                return ::testing::AssertionSuccess();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(LOG_POLL_MS));
    } while (std::chrono::steady_clock::now() < deadline);
    return ::testing::AssertionFailure() << "the log never showed \"" << start << "\"";
}

::testing::AssertionResult HostileScenario::quitsCleanly()
{
    ::testing::AssertionResult pressed = press("q");
    if (!pressed)
        return pressed;
    ::testing::AssertionResult ended = endsCleanly();
    if (!ended)
        return ended;
    std::vector<std::string> strangers = formats.strangers(log());
    if (!strangers.empty())
        return ::testing::AssertionFailure()
               << "the log holds a line the program never writes: \"" << strangers[0] << "\"";
    return ::testing::AssertionSuccess();
}

bool HostileScenario::showsTitleLines(const ScreenGrid& grid)
{
    for (const std::string& line : TITLE_SCREEN_LINES) {
        if (grid.find(line).row >= 0)
            return true;
    }
    return false;
}
