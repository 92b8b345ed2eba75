#include "Animation.h"
#include "Frame.h"
#include "Sprite.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

class AnimationTest : public ::testing::Test {
protected:
    // Draws n times at (5, 5) and returns the letter seen on each draw ('.' when none was drawn).
    std::string drawLetters(int n)
    {
        std::string seen;
        for (int i = 0; i < n; i++) {
            screen.clear();
            EXPECT_EQ(0, animation.draw(lu::Vector(5, 5)));
            seen += screen.drawCount() == 0 ? '.' : screen.row(5)[5];
        }
        return seen;
    }

    lutest::ScreenText screen;
    lu::Sprite sprite{8};
    lu::Animation animation;
};

TEST_F(AnimationTest, WithoutSpriteNothingIsDrawnOrAdvanced)
{
    animation.setIndex(1);
    EXPECT_EQ(-1, animation.draw(lu::Vector(5, 5)));
    EXPECT_EQ(0, screen.drawCount());
    EXPECT_EQ(1, animation.getIndex());
}

// Each frame shows for slowdown draws, then the next, wrapping; a frozen animation stays; an index out of
// range draws nothing but still advances; a sprite without frames never leaves frame 0.
TEST_F(AnimationTest, FramesFollowTheSlowdownAndWrap)
{
    struct Case {
        const char* letters;
        int slowdown, index, count;
        const char* seen;
    } cases[] = {
        {"abc", 2, 0, 0, "aabbccaa"}, {"abc", 0, 1, 0, "bcab"}, {"abc", 1, 1, lu::ANIMATION_FROZEN, "bbbb"},
        {"abc", 2, 7, 0, "..aab"},    {"abc", 2, -1, 0, "..a"}, {"", 1, 0, 0, "..."},
    };
    for (const Case& c : cases) {
        lu::Sprite letters(8);
        letters.setSlowdown(c.slowdown);
        for (const char* ch = c.letters; *ch != '\0'; ch++)
            letters.addFrame(lu::Frame(1, 1, std::string(1, *ch)));
        animation.setSprite(&letters);
        animation.setIndex(c.index);
        animation.setSlowdownCount(c.count);
        EXPECT_EQ(c.seen, drawLetters(static_cast<int>(std::string(c.seen).size()))) << c.seen;
    }
    EXPECT_EQ(0, animation.getIndex()) << "without frames";
    EXPECT_EQ(0, sprite.getSlowdown()) << "a new sprite";
}

TEST_F(AnimationTest, FrameIsCentredOnThePositionInTheSpriteColour)
{
    sprite.setColor(lu::CYAN);
    sprite.addFrame(lu::Frame(5, 3, "abcdefghijklmno"));
    sprite.addFrame(lu::Frame(4, 1, "wxyz"));
    animation.setSprite(&sprite);
    animation.draw(lu::Vector(10, 18));
    EXPECT_EQ("abcde", screen.row(17).substr(8, 5));
    EXPECT_EQ("fghij", screen.row(18).substr(8, 5));
    EXPECT_EQ("klmno", screen.row(19).substr(8, 5));
    EXPECT_EQ(".66666.", screen.colorRow(17).substr(7, 7));
    EXPECT_EQ(15, screen.drawCount());

    screen.clear();
    animation.draw(lu::Vector(10, 18));
    EXPECT_EQ("wxyz", screen.row(18).substr(8, 4));
}

// Cells past the end of a short string are left undrawn; a long string's excess is never shown.
TEST_F(AnimationTest, StringLengthOtherThanTheFrameSizeNeverReadsPastEitherEnd)
{
    sprite.addFrame(lu::Frame(3, 3, "abcde"));
    sprite.addFrame(lu::Frame(3, 1, "abcdef"));
    sprite.addFrame(lu::Frame(INT_MAX, INT_MAX, "xy"));
    sprite.addFrame(lu::Frame(-3, 2, "abcdef"));
    animation.setSprite(&sprite);

    for (int expected : {5, 3, 2, 0}) {
        screen.clear();
        animation.draw(lu::Vector(10, 10));
        EXPECT_EQ(expected, screen.drawCount());
        if (expected == 5) {
            EXPECT_EQ("abc|de", screen.trimmedRow(9) + "|" + screen.trimmedRow(10));
        }
    }
}

TEST(SpriteTest, FullSpriteRefusesAFrameAndKeepsItsOwn)
{
    lu::Sprite sprite(1);
    EXPECT_EQ(0, sprite.addFrame(lu::Frame(1, 1, "a")));
    EXPECT_EQ(-1, sprite.addFrame(lu::Frame(1, 1, "b")));
    EXPECT_EQ(1, sprite.getFrameCount());
    EXPECT_EQ("a", sprite.getFrame(0).getString());
    EXPECT_EQ("", sprite.getFrame(1).getString());

    lu::Sprite negative(-4);
    EXPECT_EQ(-1, negative.addFrame(lu::Frame(1, 1, "a")));
    EXPECT_EQ(0, negative.getFrameCount());
}

} // namespace
