#include "LogManager.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

int openDescriptorCount()
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        count++;
    }
    return count;
}

class LogManagerTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        lu::LogManager::instance().shutDown();
        lu::LogManager::instance().setFlushEachMessage(false);
    }

    lutest::TempDir dir;
    lutest::WorkingDirectory inDir{dir.path()};
};

TEST_F(LogManagerTest, EachMessageIsPrefixedLineAndResultIsTextLength)
{
    lu::LogManager& log = lu::LogManager::instance();
    ASSERT_EQ(0, log.startUp());
    EXPECT_EQ("LogManager", log.getType());

    const char* empty = "";
    EXPECT_EQ(7, log.writeMessage("Running"));
    EXPECT_EQ(37, log.writeMessage("%s is already marked for deletion", "hazard"));
    EXPECT_EQ(0, log.writeMessage(empty, 0));
    EXPECT_EQ(37, log.writeMessage("Placing apple at (%f,%f)", 3.5f, -1.0f));
    EXPECT_EQ(10, log.writeMessage("Score = %i", 12));
    log.shutDown();

    EXPECT_EQ("Message: Running\n"
              "Message: hazard is already marked for deletion\n"
              "Message: \n"
              "Message: Placing apple at (3.500000,-1.000000)\n"
              "Message: Score = 12\n",
              lutest::readFile(lu::LOG_FILE_NAME));
}

TEST_F(LogManagerTest, FlushingPutsEachTextOnDiskBeforeItsNewline)
{
    lu::LogManager& log = lu::LogManager::instance();
    ASSERT_EQ(0, log.startUp());
    log.setFlushEachMessage(true);

    log.writeMessage("Running");
    EXPECT_EQ("Message: Running", lutest::readFile(lu::LOG_FILE_NAME));

    log.writeMessage("GameOver");
    EXPECT_EQ("Message: Running\nMessage: GameOver", lutest::readFile(lu::LOG_FILE_NAME));
}

TEST_F(LogManagerTest, StartingAgainTruncatesAndReleasesTheOldFile)
{
    lu::LogManager& log = lu::LogManager::instance();
    int descriptorsBefore = openDescriptorCount();

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

    EXPECT_EQ("Message: third run\n", lutest::readFile(lu::LOG_FILE_NAME));
    EXPECT_EQ(descriptorsBefore, openDescriptorCount());
}

TEST_F(LogManagerTest, UnopenableFileFailsCountsAsStartedAndDropsMessages)
{
    lu::LogManager& log = lu::LogManager::instance();
    ASSERT_EQ(0, log.startUp());
    log.setFlushEachMessage(true);
    log.writeMessage("before");

    // A directory in the log file's place cannot be opened for writing, not even by root.
    lutest::TempDir blocked;
    std::filesystem::create_directory(blocked.file(lu::LOG_FILE_NAME));
    {
        lutest::WorkingDirectory inBlocked(blocked.path());
        EXPECT_EQ(-1, log.startUp());
        EXPECT_TRUE(log.isStarted());
        EXPECT_EQ(-1, log.writeMessage("dropped %d", 1));
        log.shutDown();
        EXPECT_TRUE(std::filesystem::is_directory(lu::LOG_FILE_NAME));
    }

    EXPECT_EQ(-1, log.writeMessage("dropped after shut-down"));
    // Closing the first file at the failed start completed its last line.
    EXPECT_EQ("Message: before\n", lutest::readFile(lu::LOG_FILE_NAME));
}

} // namespace
