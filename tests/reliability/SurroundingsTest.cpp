// The game in surroundings it cannot work in: no font, no X display, nowhere to write its log. Each time it
// gives up as the engine's start-up failure says, by itself, with status 0.
#include "ChildProcess.h"
#include "DisplayManager.h"
#include "GameCopy.h"
#include "LogManager.h"
#include "PainterRun.h"
#include "ProgramRun.h"
#include "XServer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const GAME_PROGRAM = "coilwander";
const char* const OUTPUT_FILE = "output.txt";
// No server listens there: the display's start-up must find out without the process being aborted.
const char* const DISPLAY_WITHOUT_SERVER = ":4711";
const double GIVE_UP_TIMEOUT_SECONDS = 20.0;

} // namespace

class SurroundingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(copy.make(gameFolder(), error)) << error;
        outputFile = copy.getFolder() + "-" + OUTPUT_FILE;
    }

    void TearDown() override
    {
        if (HasFailure()) {
            copy.keep();
            std::cout << "The copy is kept at " << copy.getFolder() << "; the program's output is in " << outputFile
                      << "\n";
        } else {
            std::remove(outputFile.c_str());
        }
    }

    // Runs the game in the copy on the given display and waits for it to end by itself; the reason on failure.
    ::testing::AssertionResult givesUpCleanly(const std::string& displayName)
    {
        ChildProcess game;
        std::vector<std::string> environment = {"DISPLAY=" + displayName, "ALSOFT_DRIVERS=null"};
        if (!game.start({copy.getFolder() + "/" + GAME_PROGRAM}, copy.getFolder(), environment, outputFile))
            return ::testing::AssertionFailure() << "cannot start the game";
        if (!game.waitForExit(GIVE_UP_TIMEOUT_SECONDS)) {
            game.kill();
            return ::testing::AssertionFailure()
                   << "the game was still running after " << GIVE_UP_TIMEOUT_SECONDS << " s";
        }
        if (game.exitCode() != 0)
            return ::testing::AssertionFailure() << "the game ended with " << game.describeExit();
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult givesUpCleanlyOnItsOwnServer()
    {
        XServer server;
        if (!server.start())
            return ::testing::AssertionFailure() << "the X server did not come up";
        return givesUpCleanly(server.getDisplayName());
    }

    std::vector<std::string> logLines() const
    {
        return readLogLines(copy.getFolder());
    }

    GameCopy copy;
    std::string outputFile;
};

TEST_F(SurroundingsTest, WithoutTheFontTheEngineDoesNotStartAndTheProgramSaysSo)
{
    ASSERT_TRUE(copy.remove(lu::FONT_FILE_DEFAULT));
    ASSERT_TRUE(givesUpCleanlyOnItsOwnServer());
    std::vector<std::string> expected = {"Issue loading font", "Game Manager Starting up!",
                                         "Error starting game manager!", "Display shutting down"};
    EXPECT_EQ(logLines(), expected);
}

TEST_F(SurroundingsTest, WithoutAnXDisplayTheEngineDoesNotStartAndTheProgramSaysSo)
{
    ASSERT_TRUE(givesUpCleanly(DISPLAY_WITHOUT_SERVER));
    std::vector<std::string> expected = {"Issue creating window", "Game Manager Starting up!",
                                         "Error starting game manager!", "Display shutting down"};
    EXPECT_EQ(logLines(), expected);
}

// Without its log the engine reports a failed start-up, and the program stops without a game; the failure
// has nowhere to be written, so the folder the log should have been is left as it was.
TEST_F(SurroundingsTest, WhenTheLogIsAFolderTheProgramStopsWithoutAGame)
{
    fs::path logPath = fs::path(copy.getFolder()) / lu::LOG_FILE_NAME;
    ASSERT_TRUE(fs::create_directory(logPath));
    ASSERT_TRUE(givesUpCleanlyOnItsOwnServer());
    EXPECT_TRUE(fs::is_directory(logPath));
    EXPECT_TRUE(fs::is_empty(logPath));
}

TEST_F(SurroundingsTest, InAReadOnlyFolderTheProgramStopsWithoutAGame)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders; the log-as-a-folder test covers this case";
    fs::permissions(copy.getFolder(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    ASSERT_TRUE(givesUpCleanlyOnItsOwnServer());
    EXPECT_FALSE(fs::exists(fs::path(copy.getFolder()) / lu::LOG_FILE_NAME));
}
