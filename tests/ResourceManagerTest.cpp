#include "Animation.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class SpriteFileTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        lu::ResourceManager::instance().shutDown();
    }

    // Writes content to a file of its own and loads it under label.
    int load(const std::string& content, const std::string& label)
    {
        std::string path = dir.file("sprite" + std::to_string(files++) + ".txt");
        EXPECT_TRUE(lutest::writeFile(path, content));
        return lu::ResourceManager::instance().loadSprite(path, label);
    }

    // Describes the sprite under label as "3x1 slowdown 4 colour 2: abc|def" (frames separated by '|').
    static std::string describe(const std::string& label)
    {
        lu::Sprite* sprite = lu::ResourceManager::instance().getSprite(label);
        if (sprite == nullptr)
            return "none";
        std::string text = std::to_string(sprite->getWidth()) + "x" + std::to_string(sprite->getHeight()) +
                           " slowdown " + std::to_string(sprite->getSlowdown()) + " colour " +
                           std::to_string(sprite->getColor()) + ":";
        for (int i = 0; i < sprite->getFrameCount(); i++)
            text += (i > 0 ? "|" : " ") + sprite->getFrame(i).getString();
        return text;
    }

    lutest::TempDir dir;
    int files = 0;
};

TEST_F(SpriteFileTest, FilesLoadAsTheirHeaderSaysOrAreRefusedWhole)
{
    struct Case {
        const char* content;
        const char* expected; // "none" when refused
    } cases[] = {
        {"2\n3\n1\n4\ngreen\nabc\ndef\nignored\n", "3x1 slowdown 4 colour 2: abc|def"},
        // Numbers read like atoi; lines end in LF, and a CR before it stays in the text.
        {"1 frame\n  +2x\n1\n\nred\nab\n", "2x1 slowdown 0 colour 1: ab"},
        {"1\r\n3\r\n2\r\n1\r\nred\r\n a \r\nbc\r", "3x2 slowdown 1 colour 1:  a bc\r"},
        {"1\n3\n1\n1\nblue\nxyz", "3x1 slowdown 1 colour 4: xyz"},
        // The same bytes on every system: of two CRs only the last is the line end's, and ^Z is a character.
        {"1\n3\n2\n1\nred\nab\r\r\nc\x1a"
         "d\n",
         "3x2 slowdown 1 colour 1: ab\rc\x1a"
         "d"},
        // Line lengths are not checked: the rows' text is joined as it is (drawing keeps to the frame).
        {"1\n3\n3\n1\nwhite\nabcd\nef\nghij\n", "3x3 slowdown 1 colour 7: abcdefghij"},
        {"1\n3\n3\n1\nwhite\na\nb\nc\n", "3x3 slowdown 1 colour 7: abc"},
        // No frames, or frames of no rows, need only a fourth line ended by a line feed.
        {"0\n3\n1\n2\n", "3x1 slowdown 2 colour 7:"},
        {"5\n3\n0\n1\nred", "3x0 slowdown 1 colour 1: ||||"},
        {"0\n3\n1\n2", "none"},
        {"0\n3\n1\n", "none"},
        {"", "none"},
        // Only an empty last row may be missing.
        {"2\n2\n2\n1\nred\nab\ncd\nef\n", "2x2 slowdown 1 colour 1: abcd|ef"},
        {"2\n2\n2\n1\nred\nab\ncd\nef", "none"},
        {"2\n2\n2\n1\nred\nab\ncd\n", "none"},
        // A header may not make the loader allocate or read beyond what the file can hold.
        {"2000000000\n1\n1\n1\nred\nab\n", "none"},
        {"2000000000\n1\n0\n1\nred\nab\n", "none"},
        {"99999999999999\n1\n1\n1\nred\nab\n", "none"},
        {"1\n1\n2000000000\n1\nred\nab\n", "none"},
        {"-1\n1\n1\n1\nred\nab\n", "none"},
        {"1\n-1\n1\n1\nred\nab\n", "none"},
        {"1\n1\n-1\n1\nred\nab\n", "none"},
    };
    for (const Case& c : cases) {
        std::string label = "art" + std::to_string(files);
        EXPECT_EQ(load(c.content, label), std::string(c.expected) == "none" ? -1 : 0) << c.content;
        EXPECT_EQ(describe(label), c.expected) << c.content;
    }
    EXPECT_EQ(-1, lu::ResourceManager::instance().loadSprite(dir.file("absent.txt"), "absent"));
}

TEST_F(SpriteFileTest, OnlyExactLowerCaseColourNamesCount)
{
    const char* names[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan",
                           "white", "Red", "red ",  " red",   "reds", ""};
    for (int i = 0; i < 13; i++) {
        ASSERT_EQ(0, load(std::string("0\n1\n1\n1\n") + names[i] + "\n", names[i]));
        EXPECT_EQ(i < 8 ? i : lu::WHITE, lu::ResourceManager::instance().getSprite(names[i])->getColor()) << names[i];
    }
}

TEST_F(SpriteFileTest, TableHoldsFiveHundredSpritesFirstLabelWinsAndShutDownEmptiesIt)
{
    lu::ResourceManager& resources = lu::ResourceManager::instance();
    ASSERT_EQ(0, load("1\n1\n1\n1\nred\na\n", "twin"));
    ASSERT_EQ(0, load("1\n1\n1\n1\nred\nb\n", "twin"));
    EXPECT_EQ("1x1 slowdown 1 colour 1: a", describe("twin"));
    EXPECT_EQ("none", describe("Twin"));
    EXPECT_EQ("none", describe("twi"));

    std::string path = dir.file("one.txt");
    ASSERT_TRUE(lutest::writeFile(path, "1\n1\n1\n1\nred\nx\n"));
    for (int i = 2; i < lu::MAX_SPRITES; i++)
        ASSERT_EQ(0, resources.loadSprite(path, "filler"));
    EXPECT_EQ(-1, resources.loadSprite(path, "overflow"));
    EXPECT_EQ("none", describe("overflow"));

    resources.shutDown();
    EXPECT_EQ("none", describe("twin"));
    EXPECT_EQ("none", describe("filler"));
    EXPECT_EQ(0, resources.loadSprite(path, "again"));
    EXPECT_NE("none", describe("again"));
}

} // namespace

// Inputs that once broke the fuzzers, read in place: "load-*.txt" must load and "reject-*.txt" must
// be refused. Each loaded frame then draws as many characters as both its text and its rectangle
// hold, and nothing is drawn past the last frame.
TEST(SpriteFuzzRegressionTest, EveryKeptInputLoadsOrIsRefusedAsItsNameSaysAndDrawsWithinItsFrames)
{
    std::vector<std::filesystem::path> files;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(LU_FUZZ_REGRESSIONS_DIR))
        if (entry.path().extension() == ".txt")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << "no inputs in " << LU_FUZZ_REGRESSIONS_DIR;

    lu::ResourceManager& resources = lu::ResourceManager::instance();
    lutest::ScreenText screen;
    for (const std::filesystem::path& file : files) {
        std::string name = file.filename().string();
        bool loads = name.rfind("load-", 0) == 0;
        ASSERT_TRUE(loads || name.rfind("reject-", 0) == 0) << name << ": name it load-*.txt or reject-*.txt";
        EXPECT_EQ(loads ? 0 : -1, resources.loadSprite(file.string(), name)) << name;
        lu::Sprite* sprite = resources.getSprite(name);
        EXPECT_EQ(loads, sprite != nullptr) << name;
        lu::Animation animation;
        animation.setSprite(sprite);
        for (int i = 0; sprite != nullptr && i <= sprite->getFrameCount(); i++) {
            lu::Frame frame = sprite->getFrame(i);
            long long cells = static_cast<long long>(frame.getWidth()) * frame.getHeight();
            long long expected = std::min(static_cast<long long>(frame.getString().size()), cells);
            screen.clear();
            animation.setIndex(i);
            EXPECT_EQ(0, animation.draw(lu::Vector(37, 18))) << name;
            EXPECT_EQ(expected, screen.drawCount()) << name << ": frame " << i;
        }
    }
    resources.shutDown();
}
