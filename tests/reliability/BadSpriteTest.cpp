// Each of the game's sprite files in turn spoilt in each of several ways: the game still comes up, plays a
// level and quits with status 0. A sprite that fails to load is left out silently, so nothing is logged.
// And art far too large, which loads: the game must not hang looking for a place for it.
#include "Garbage.h"
#include "HostileScenario.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <tuple>

namespace {

const char* const APPLE_SPRITE_FILE = "sprites/fruit-spr.txt";
const char* const SPRITE_FILES[] = {
    APPLE_SPRITE_FILE,          "sprites/snake-head.txt", "sprites/snake-body-1.txt",
    "sprites/snake-body-2.txt", "sprites/title.txt",      "sprites/start-text.txt",
};
const int SPRITE_FILE_COUNT = sizeof SPRITE_FILES / sizeof SPRITE_FILES[0];

enum SpriteDamage {
    RANDOM_HEADER,
    HUGE_FRAME_COUNT,
    NEGATIVE_FRAME_COUNT,
    HUGE_WIDTH,
    BINARY_NOISE,
    EMPTY_FILE,
    FOLDER_OF_THAT_NAME,
};

const char* const DAMAGE_NAMES[] = {
    "RandomHeader", "HugeFrameCount", "NegativeFrameCount", "HugeWidth", "BinaryNoise", "EmptyFile", "FolderOfThatName",
};

// The fixed seed of the random files: every run writes the same bytes, so a failure reproduces.
const unsigned GARBAGE_SEED = 20240611;
const std::size_t NOISE_BYTES = 4096;
// Larger than the field: wherever the apple goes it covers the snake, the score and every hazard.
const int HUGE_ART_WIDTH = 200;
const int HUGE_ART_HEIGHT = 100;
const int ABSURD_NEGATIVE_COUNT = -5;
const int SMALL_WIDTH = 3;
// A few rows: a header promising billions of them must not make the loader believe it.
const int ROWS_WRITTEN = 3;

bool spoil(GameCopy& copy, const std::string& file, SpriteDamage damage, unsigned seed)
{
    Garbage garbage(seed);
    switch (damage) {
    case RANDOM_HEADER:
        return copy.overwrite(file, garbage.randomHeaderSprite());
    case HUGE_FRAME_COUNT:
        return copy.overwrite(file, Garbage::sprite(INT_MAX, SMALL_WIDTH, 1, "red", ROWS_WRITTEN));
    case NEGATIVE_FRAME_COUNT:
        return copy.overwrite(file, Garbage::sprite(ABSURD_NEGATIVE_COUNT, SMALL_WIDTH, 1, "red", ROWS_WRITTEN));
    case HUGE_WIDTH:
        // This one loads: one frame of one row, as wide as an int goes, of which the file holds a little.
        return copy.overwrite(file, Garbage::sprite(1, INT_MAX, 1, "red", 1));
    case BINARY_NOISE:
        return copy.overwrite(file, garbage.noise(NOISE_BYTES));
    case EMPTY_FILE:
        return copy.overwrite(file, "");
    case FOLDER_OF_THAT_NAME:
        return copy.replaceWithFolder(file);
    }
    return false;
}

std::string testNameOf(const std::string& file, SpriteDamage damage)
{
    // "sprites/snake-body-1.txt" becomes "SnakeBody1".
    std::string name;
    bool upper = true;
    for (std::size_t i = file.find('/') + 1; i < file.size() && file[i] != '.'; ++i) {
        char ch = file[i];
        if (ch == '-') {
            upper = true;
            continue;
        }
        name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(ch))) : ch;
        upper = false;
    }
    return name + "As" + DAMAGE_NAMES[damage];
}

} // namespace

class BadSpriteTest : public HostileScenario, public ::testing::WithParamInterface<std::tuple<int, SpriteDamage>> {};

TEST_P(BadSpriteTest, GameComesUpPlaysALevelAndQuitsWithStatusZero)
{
    int fileIndex = std::get<0>(GetParam());
    SpriteDamage damage = std::get<1>(GetParam());
    std::string file = SPRITE_FILES[fileIndex];
    // One seed per file, so each file gets garbage of its own, the same on every run.
    unsigned seed = GARBAGE_SEED + static_cast<unsigned>(fileIndex);
    ASSERT_TRUE(startDamaged([&](GameCopy& c) { return spoil(c, file, damage, seed); }));
    ASSERT_TRUE(playIntoALevel());
    ASSERT_TRUE(quitsCleanly());
    std::vector<std::string> lines = log();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Running"), 1);
    for (const std::string& line : lines)
        EXPECT_EQ(line.find("Unable to load"), std::string::npos) << "a sprite problem was logged: " << line;
}

INSTANTIATE_TEST_SUITE_P(EverySpriteEveryDamage, BadSpriteTest,
                         ::testing::Combine(::testing::Range(0, SPRITE_FILE_COUNT),
                                            ::testing::Values(RANDOM_HEADER, HUGE_FRAME_COUNT, NEGATIVE_FRAME_COUNT,
                                                              HUGE_WIDTH, BINARY_NOISE, EMPTY_FILE,
                                                              FOLDER_OF_THAT_NAME)),
                         [](const ::testing::TestParamInfo<std::tuple<int, SpriteDamage>>& info) {
                             return testNameOf(SPRITE_FILES[std::get<0>(info.param)], std::get<1>(info.param));
                         });

class HugeSpriteTest : public HostileScenario {};

// The art covers the title screen's texts too, so the log tells when the title screen and the level are up.
TEST_F(HugeSpriteTest, AnAppleLargerThanTheFieldStillGetsItsLevelBuiltAndTheGameQuitsWithStatusZero)
{
    ASSERT_TRUE(startDamaged([](GameCopy& c) {
        return c.overwrite(APPLE_SPRITE_FILE,
                           Garbage::sprite(1, HUGE_ART_WIDTH, HUGE_ART_HEIGHT, "green", HUGE_ART_HEIGHT));
    }));
    ASSERT_TRUE(waitForLogLine("Running", START_TIMEOUT_SECONDS));
    ASSERT_TRUE(press("p"));
    ASSERT_TRUE(waitForLogLine("Placing apple at", SCREEN_TIMEOUT_SECONDS));
    ASSERT_TRUE(quitsCleanly());
}
