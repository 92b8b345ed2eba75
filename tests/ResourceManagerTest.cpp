#include "Animation.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class SpriteFileTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        lu::ResourceManager::instance().shutDown();
    }

    // Writes content to a file of its own and loads it under label.
    int load(const std::string& content, const std::string& label = "art")
    {
        std::string path = dir.file("sprite" + std::to_string(files++) + ".txt");
        EXPECT_TRUE(lutest::writeFile(path, content));
        return lu::ResourceManager::instance().loadSprite(path, label);
    }

    lu::Sprite* get(const std::string& label = "art")
    {
        return lu::ResourceManager::instance().getSprite(label);
    }

    // The concatenated rows of every frame of the sprite, separated by '|'.
    std::string frames(const std::string& label = "art")
    {
        std::string all;
        lu::Sprite* sprite = get(label);
        for (int i = 0; sprite != nullptr && i < sprite->getFrameCount(); i++) {
            all += (i > 0 ? "|" : "") + sprite->getFrame(i).getString();
        }
        return all;
    }

    lutest::TempDir dir;
    int files = 0;
};

TEST_F(SpriteFileTest, HeaderColourAndFramesAreReadInOrder)
{
    ASSERT_EQ(0, load("2\n3\n1\n4\ngreen\nabc\ndef\nignored\n"));
    lu::Sprite* sprite = get();
    ASSERT_NE(nullptr, sprite);
    EXPECT_EQ(3, sprite->getWidth());
    EXPECT_EQ(1, sprite->getHeight());
    EXPECT_EQ(4, sprite->getSlowdown());
    EXPECT_EQ(lu::GREEN, sprite->getColor());
    EXPECT_EQ("art", sprite->getLabel());
    EXPECT_EQ("abc|def", frames());
    EXPECT_EQ(3, sprite->getFrame(1).getWidth());
}

TEST_F(SpriteFileTest, HeaderNumbersAreReadLikeAtoi)
{
    ASSERT_EQ(0, load("1 frame\n  +2x\n1\n\nred\nab\n"));
    EXPECT_EQ(2, get()->getWidth());
    EXPECT_EQ(0, get()->getSlowdown());
    EXPECT_EQ("ab", frames());
}

TEST_F(SpriteFileTest, LineEndingsAndWhitespaceBelongWhereTheyShould)
{
    ASSERT_EQ(0, load("1\r\n3\r\n2\r\n1\r\nred\r\n a \r\nbc\r"));
    EXPECT_EQ(lu::RED, get()->getColor());
    EXPECT_EQ(" a bc\r", frames());

    ASSERT_EQ(0, load("1\n3\n1\n1\nblue\nxyz", "noFinalNewline"));
    EXPECT_EQ("xyz", frames("noFinalNewline"));
}

TEST_F(SpriteFileTest, OnlyExactLowerCaseColourNamesCount)
{
    const char* names[] = {"black", "red", "green", "yellow", "blue", "magenta", "cyan", "white"};
    for (int i = 0; i < 8; i++) {
        std::string label = names[i];
        ASSERT_EQ(0, load(std::string("0\n1\n1\n1\n") + names[i] + "\n", label));
        EXPECT_EQ(i, get(label)->getColor()) << label;
    }
    const char* misspelt[] = {"Red", "red ", " red", "reds", ""};
    for (const char* name : misspelt) {
        std::string label = std::string("misspelt ") + name;
        ASSERT_EQ(0, load(std::string("0\n1\n1\n1\n") + name + "\n", label));
        EXPECT_EQ(lu::WHITE, get(label)->getColor()) << label;
    }
}

TEST_F(SpriteFileTest, NoFramesOrNoRowsNeedOnlyAFourthLineEndedByLineFeed)
{
    EXPECT_EQ(0, load("0\n3\n1\n2\n"));
    EXPECT_EQ(0, get()->getFrameCount());
    EXPECT_EQ(lu::WHITE, get()->getColor());
    ASSERT_EQ(0, load("5\n3\n0\n1\nred", "noRows"));
    EXPECT_EQ("||||", frames("noRows"));
    EXPECT_EQ(-1, load("0\n3\n1\n2", "noLineFeed"));
    EXPECT_EQ(-1, load("0\n3\n1\n", "threeLines"));
    EXPECT_EQ(nullptr, get("noLineFeed"));
    EXPECT_EQ(nullptr, get("threeLines"));
}

TEST_F(SpriteFileTest, MissingFrameLinesFailUnlessOnlyAnEmptyLastRowIsMissing)
{
    EXPECT_EQ(0, load("2\n2\n2\n1\nred\nab\ncd\nef\n"));
    EXPECT_EQ("abcd|ef", frames());
    EXPECT_EQ(-1, load("2\n2\n2\n1\nred\nab\ncd\nef", "lastUnended"));
    EXPECT_EQ(-1, load("2\n2\n2\n1\nred\nab\ncd\n", "twoMissing"));
    EXPECT_EQ(-1, load("", "empty"));
    EXPECT_EQ(-1, lu::ResourceManager::instance().loadSprite(dir.file("absent.txt"), "absent"));
    EXPECT_EQ(nullptr, get("lastUnended"));
    EXPECT_EQ(nullptr, get("twoMissing"));
}

// A header may not make the loader allocate or read beyond what the file can hold.
TEST_F(SpriteFileTest, HugeOrNegativeHeaderNumbersAreRejected)
{
    const char* headers[] = {
        "2000000000\n1\n1\n", "2000000000\n1\n0\n", "99999999999999\n1\n1\n", "1\n1\n2000000000\n", "-1\n1\n1\n",
        "1\n-1\n1\n",         "1\n1\n-1\n",
    };
    for (const char* header : headers) {
        EXPECT_EQ(-1, load(std::string(header) + "1\nred\nab\n")) << header;
    }
    EXPECT_EQ(nullptr, get());
}

TEST_F(SpriteFileTest, LineLengthsAreNotCheckedAndRowsFollowTheFrameWidth)
{
    ASSERT_EQ(0, load("1\n3\n3\n1\nwhite\nabcd\nef\nghi\n", "long"));
    ASSERT_EQ(0, load("1\n3\n3\n1\nwhite\na\nb\nc\n", "short"));
    lutest::ScreenText screen;
    lu::Animation animation;
    animation.setSprite(get("long"));
    animation.draw(lu::Vector(10, 10));
    EXPECT_EQ("abc\ndef\nghi", screen.trimmedRow(9) + "\n" + screen.trimmedRow(10) + "\n" + screen.trimmedRow(11));

    screen.clear();
    animation.setSprite(get("short"));
    animation.draw(lu::Vector(10, 10));
    EXPECT_EQ("abc", screen.trimmedRow(9));
    EXPECT_EQ(3, screen.drawCount());
}

TEST_F(SpriteFileTest, TableHoldsFiveHundredSpritesFirstLabelWinsAndShutDownEmptiesIt)
{
    ASSERT_EQ(0, load("1\n1\n1\n1\nred\na\n", "twin"));
    ASSERT_EQ(0, load("1\n1\n1\n1\nred\nb\n", "twin"));
    EXPECT_EQ("a", frames("twin"));
    EXPECT_EQ(nullptr, get("Twin"));
    EXPECT_EQ(nullptr, get("twi"));

    std::string path = dir.file("one.txt");
    ASSERT_TRUE(lutest::writeFile(path, "1\n1\n1\n1\nred\nx\n"));
    lu::ResourceManager& resources = lu::ResourceManager::instance();
    for (int i = 2; i < lu::MAX_SPRITES; i++) {
        ASSERT_EQ(0, resources.loadSprite(path, "filler"));
    }
    EXPECT_EQ(-1, resources.loadSprite(path, "overflow"));
    EXPECT_EQ(nullptr, get("overflow"));

    resources.shutDown();
    EXPECT_EQ(nullptr, get("twin"));
    EXPECT_EQ(nullptr, get("filler"));
    EXPECT_EQ(0, resources.loadSprite(path, "again"));
    EXPECT_NE(nullptr, get("again"));
}

} // namespace
