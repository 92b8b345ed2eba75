#include "LogManager.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

namespace {

class LogManagerTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        log.shutDown();
        log.setFlushEachMessage(false);
    }

    lutest::EngineScope scope{0};
    lu::LogManager& log = lu::LogManager::instance();
};

TEST_F(LogManagerTest, EachMessageIsAPrefixedLineAndTheResultIsTheTextLength)
{
    ASSERT_EQ(0, log.startUp());
    const char* empty = "";
    EXPECT_EQ(7, log.writeMessage("Running"));
    EXPECT_EQ(37, log.writeMessage("%s is already marked for deletion", "hazard"));
    EXPECT_EQ(0, log.writeMessage(empty, 0));
    EXPECT_EQ(37, log.writeMessage("Placing apple at (%f,%f)", 3.5f, -1.0f));
    log.shutDown();
    EXPECT_EQ("Message: Running\nMessage: hazard is already marked for deletion\nMessage: \n"
              "Message: Placing apple at (3.500000,-1.000000)\n",
              lutest::readTextFile(lu::LOG_FILE_NAME));

    // Flushing puts each text on disk at once, and its line feed with the next message.
    ASSERT_EQ(0, log.startUp());
    log.setFlushEachMessage(true);
    log.writeMessage("Running");
    EXPECT_EQ("Message: Running", lutest::readTextFile(lu::LOG_FILE_NAME));
    log.writeMessage("GameOver");
    EXPECT_EQ("Message: Running\nMessage: GameOver", lutest::readTextFile(lu::LOG_FILE_NAME));
}

TEST_F(LogManagerTest, StartingAgainTruncatesAndReleasesTheOldFile)
{
    // Linux lists the open files; Windows refuses to remove a file that is still open.
    auto openFiles = [] {
        std::error_code ignored;
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd", ignored), {});
    };
    auto filesBefore = openFiles();
    ASSERT_EQ(0, log.startUp());
    log.writeMessage("first run");
    log.shutDown();
    ASSERT_EQ(0, log.startUp());
    log.writeMessage("second run");
    // A start without a shut-down in between must not keep the previous stream open.
    ASSERT_EQ(0, log.startUp());
    log.writeMessage("third run");
    log.shutDown();
    log.shutDown();
    EXPECT_EQ("Message: third run\n", lutest::readTextFile(lu::LOG_FILE_NAME));
    EXPECT_EQ(filesBefore, openFiles());
    std::error_code error;
    EXPECT_TRUE(std::filesystem::remove(lu::LOG_FILE_NAME, error)) << error.message();
}

} // namespace
