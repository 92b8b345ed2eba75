#include "Soak.h"

#include "ChildProcess.h"
#include "DisplayManager.h"
#include "GameCopy.h"
#include "LogManager.h"
#include "PainterRun.h"
#include "ProgramRun.h"
#include "RandomPlayer.h"
#include "WindowClient.h"
#include "XServer.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iomanip>
#include <thread>

namespace {

const char* const GAME_PROGRAM = "coilwander";
const char* const OUTPUT_FILE = "output.txt";
const char* const XDOTOOL_PROGRAM = "/usr/bin/xdotool";
const char* const QUIT_KEY = "q";
const double WINDOW_TIMEOUT_SECONDS = 30.0;
const double XDOTOOL_TIMEOUT_SECONDS = 10.0;
const double EXIT_TIMEOUT_SECONDS = 20.0;
const int QUIT_ATTEMPTS = 5;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void writeSample(std::ostream& report, const MemorySample& sample)
{
    report << "  " << std::setw(6) << std::fixed << std::setprecision(1) << sample.seconds << " s   VmRSS "
           << std::setw(8) << sample.residentKb << " kB   VmSize " << std::setw(8) << sample.virtualKb << " kB\n";
}

int countStartingWith(const std::vector<std::string>& lines, const std::string& start)
{
    int count = 0;
    for (const std::string& line : lines) {
        if (line.compare(0, start.size(), start) == 0)
            ++count;
    }
    return count;
}

} // namespace

Soak::Soak(double seconds, unsigned seed) : seconds(seconds), seed(seed), memory(WARM_UP_SECONDS)
{
}

bool Soak::run(std::ostream& report)
{
    report << "Soak of " << seconds << " s with seed " << seed << "\n";
    GameCopy copy;
    std::string error;
    if (!copy.make(gameFolder(), error)) {
        report << "FAILED: " << error << "\n";
        return false;
    }
    XServer server;
    if (!server.start()) {
        report << "FAILED: the X server did not come up\n";
        return false;
    }
    const std::string displaySetting = "DISPLAY=" + server.getDisplayName();
    ChildProcess game;
    // No sound card: OpenAL's null output still runs the mixing and the music's streaming.
    if (!game.start({copy.getFolder() + "/" + GAME_PROGRAM}, copy.getFolder(), {displaySetting, "ALSOFT_DRIVERS=null"},
                    copy.getFolder() + "/" + OUTPUT_FILE)) {
        report << "FAILED: cannot start the game\n";
        return false;
    }
    WindowClient client(server.getDisplayName());
    unsigned long window = client.findWindow(lu::WINDOW_TITLE_DEFAULT, WINDOW_TIMEOUT_SECONDS);
    if (window == 0 || !client.focus(window)) {
        report << "FAILED: no window to play in (" << game.describeExit() << ")\n";
        copy.keep();
        return false;
    }

    RandomPlayer player(seed);
    auto start = std::chrono::steady_clock::now();
    double nextSample = 0;
    int moves = 0;
    int failedMoves = 0;
    bool alive = true;
    report << "Memory of the game:\n";
    while (alive && secondsSince(start) < seconds) {
        if (secondsSince(start) >= nextSample) {
            MemorySample sample;
            alive = MemoryLog::sample(game.getPid(), secondsSince(start), sample) && game.isRunning();
            if (alive) {
                memory.add(sample);
                writeSample(report, sample);
                report.flush();
            }
            nextSample += SAMPLE_INTERVAL_SECONDS;
            continue;
        }
        std::vector<std::string> argv = {XDOTOOL_PROGRAM};
        std::vector<std::string> move =
            player.nextMove(window, lu::WINDOW_HORIZONTAL_PIXELS_DEFAULT, lu::WINDOW_VERTICAL_PIXELS_DEFAULT);
        argv.insert(argv.end(), move.begin(), move.end());
        ++moves;
        if (ChildProcess::run(argv, {displaySetting}, XDOTOOL_TIMEOUT_SECONDS) != 0)
            ++failedMoves;
        std::this_thread::sleep_for(std::chrono::milliseconds(player.nextPauseMs()));
    }
    if (!player.heldKey().empty())
        ChildProcess::run({XDOTOOL_PROGRAM, "keyup", player.heldKey()}, {displaySetting}, XDOTOOL_TIMEOUT_SECONDS);

    bool passed = true;
    MemorySample last;
    if (!alive || !MemoryLog::sample(game.getPid(), secondsSince(start), last) || !game.isRunning()) {
        game.waitForExit(0);
        report << "FAILED: the game ended during the soak: " << game.describeExit() << "\n";
        copy.keep();
        report << "Its folder is kept at " << copy.getFolder() << "\n";
        return false;
    }
    memory.add(last);
    writeSample(report, last);
    report << moves << " moves played, " << failedMoves << " of them not delivered\n";

    for (int attempt = 0; attempt < QUIT_ATTEMPTS && game.isRunning(); ++attempt) {
        ChildProcess::run({XDOTOOL_PROGRAM, "key", QUIT_KEY}, {displaySetting}, XDOTOOL_TIMEOUT_SECONDS);
        game.waitForExit(EXIT_TIMEOUT_SECONDS / QUIT_ATTEMPTS);
    }
    if (game.isRunning()) {
        game.kill();
        report << "FAILED: the game did not quit on Q\n";
        passed = false;
    } else if (game.exitCode() != 0) {
        report << "FAILED: the game ended with " << game.describeExit() << "\n";
        passed = false;
    }

    std::vector<std::string> lines = readLogLines(copy.getFolder());
    if (!checkLog(lines, report))
        passed = false;
    const std::vector<MemorySample>& samples = memory.getSamples();
    report << "First sample:\n";
    writeSample(report, samples.front());
    report << "Last sample:\n";
    writeSample(report, samples.back());
    std::string verdict;
    if (memory.holdsSteady(verdict)) {
        report << "Memory steady: " << verdict << "\n";
    } else {
        report << "FAILED: memory " << verdict << "\n";
        passed = false;
    }
    if (!passed) {
        copy.keep();
        report << "The game's folder is kept at " << copy.getFolder() << "\n";
    }
    report << (passed ? "PASSED" : "FAILED") << "\n";
    return passed;
}

bool Soak::checkLog(const std::vector<std::string>& lines, std::ostream& report) const
{
    report << "Log: " << lines.size() << " lines; " << countStartingWith(lines, "Score = 2") << " games started, "
           << countStartingWith(lines, "Placing apple at") << " levels built, "
           << countStartingWith(lines, "Frame time over target") << " frames over time\n";
    bool clean = true;
    std::vector<std::string> strangers = formats.strangers(lines);
    for (const std::string& line : strangers) {
        report << "FAILED: the log holds a line the program never writes: \"" << line << "\"\n";
        clean = false;
    }
    // With every file in place nothing fails to load or start.
    for (const std::string& line : lines) {
        if (line.find("Unable to") == 0 || line.find("Issue") == 0 || line.find("Error") == 0) {
            report << "FAILED: the log reports a failure: \"" << line << "\"\n";
            clean = false;
        }
    }
    if (lines.size() < 2 || lines[0] != "Game Manager Starting up!" || lines[1] != "Running") {
        report << "FAILED: the log does not begin with the engine's start-up and \"Running\"\n";
        clean = false;
    }
    if (std::count(lines.begin(), lines.end(), "GameOver") != 1) {
        report << "FAILED: the log does not hold \"GameOver\" exactly once\n";
        clean = false;
    }
    return clean;
}
