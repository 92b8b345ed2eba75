#include "LogFormats.h"

#include <gtest/gtest.h>

class LogFormatsTest : public ::testing::Test {
protected:
    LogFormats formats;
};

TEST_F(LogFormatsTest, FilledInMessagesMatchTheirFormats)
{
    EXPECT_TRUE(formats.matches("Running"));
    EXPECT_TRUE(formats.matches("Frame time over target time by 12 milliseconds"));
    EXPECT_TRUE(formats.matches("GameOver is already marked for deletion"));
    EXPECT_TRUE(formats.matches("Unable to load sound from sounds/eat.wav"));
    EXPECT_TRUE(formats.matches("Score = 2"));
    EXPECT_TRUE(formats.matches("Placing apple at (58.000000,7.000000)"));
    EXPECT_TRUE(formats.matches("Placing apple at (-1.500000,30.250000)"));
}

TEST_F(LogFormatsTest, AnythingElseIsAStranger)
{
    EXPECT_FALSE(formats.matches(""));
    EXPECT_FALSE(formats.matches("Running "));
    EXPECT_FALSE(formats.matches("Message: Running"));
    EXPECT_FALSE(formats.matches("Score = two"));
    EXPECT_FALSE(formats.matches("Score = "));
    EXPECT_FALSE(formats.matches("Placing apple at (nan,7.000000)"));
    EXPECT_FALSE(formats.matches("Placing apple at (58,7)"));
    EXPECT_FALSE(formats.matches(" is already marked for deletion"));
    EXPECT_FALSE(formats.matches("Segmentation fault"));
}

TEST_F(LogFormatsTest, RegexCharactersInAFormatAreTakenLiterally)
{
    // The parentheses and the point must not act as a group and a wildcard.
    EXPECT_FALSE(formats.matches("Placing apple at 58.000000,7.000000"));
    EXPECT_FALSE(formats.matches("Unknown colorX Using default"));
    EXPECT_EQ(LogFormats::patternOf("a (b) %d."), "a \\(b\\) -?[0-9]+\\.");
}

TEST_F(LogFormatsTest, StrangersAreReturnedInOrder)
{
    std::vector<std::string> lines = {"Running", "oops", "GameOver", "Score = x"};
    std::vector<std::string> expected = {"oops", "Score = x"};
    EXPECT_EQ(formats.strangers(lines), expected);
}
