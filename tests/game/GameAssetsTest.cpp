#include "Animation.h"
#include "GameResource.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "TestSupport.h"

#include <SFML/Audio/SoundBuffer.hpp>
#include <gtest/gtest.h>

#include <string>

namespace {

// Where the title screen puts its art and its text lines.
const lu::Vector TITLE_POSITION(37, 6), START_TEXT_POSITION(37, 24);
const int FIRST_INSTRUCTION_ROW = 12, LAST_INSTRUCTION_ROW = 18, QUIT_LINE_ROW = 26, LAST_ROW = 35;

class GameSpritesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const GameResource& file : GAME_RESOURCES)
            ASSERT_EQ(0, loadResource(file)) << file.file;
    }

    void TearDown() override
    {
        lu::ResourceManager::instance().shutDown();
    }

    static lu::Sprite* sprite(const std::string& label)
    {
        return lu::ResourceManager::instance().getSprite(label);
    }

    // Draws each frame of the sprite at position in turn; fails the test when a frame
    // reaches a cell outside the window or on one of the rows in [firstFreeRow, lastFreeRow].
    void expectEveryFrameClearOf(const std::string& label, lu::Vector position, int firstFreeRow, int lastFreeRow)
    {
        lu::Sprite* art = sprite(label);
        ASSERT_GE(art->getFrameCount(), 1) << label;
        lu::Animation animation;
        animation.setSprite(art);
        lutest::ScreenText screen;
        for (int frame = 0; frame < art->getFrameCount(); frame++) {
            screen.clear();
            animation.setIndex(frame);
            animation.setSlowdownCount(lu::ANIMATION_FROZEN);
            animation.draw(position);
            EXPECT_EQ(art->getWidth() * art->getHeight(), screen.drawCount()) << label << " frame " << frame;
            EXPECT_EQ(0, screen.outsideCount()) << label << " frame " << frame;
            for (int row = firstFreeRow; row <= lastFreeRow; row++)
                EXPECT_EQ("", screen.trimmedRow(row)) << label << " frame " << frame << " covers row " << row;
        }
    }
};

TEST_F(GameSpritesTest, EveryFrameIsFullAndTheTitleScreenArtLeavesItsTextLinesFree)
{
    for (const GameResource& file : GAME_RESOURCES) {
        lu::Sprite* art = sprite(file.label);
        for (int i = 0; art != nullptr && i < art->getFrameCount(); i++)
            EXPECT_EQ(static_cast<size_t>(art->getWidth() * art->getHeight()), art->getFrame(i).getString().size())
                << file.label << " frame " << i;
    }
    expectEveryFrameClearOf("title", TITLE_POSITION, FIRST_INSTRUCTION_ROW, LAST_ROW);
    expectEveryFrameClearOf("start-text", START_TEXT_POSITION, 0, LAST_INSTRUCTION_ROW);
    expectEveryFrameClearOf("start-text", START_TEXT_POSITION, QUIT_LINE_ROW, LAST_ROW);
}

// Effects are short mono clips; the music streams for at least twenty seconds.
TEST(GameSoundsTest, EffectsAreShortMonoClipsAndTheMusicLastsTwentySeconds)
{
    struct Clip {
        const char* path;
        float minSeconds, maxSeconds;
    };
    const Clip clips[] = {
        {"sounds/eat.wav", 0.1f, 0.2f}, {"sounds/hit.wav", 0.4f, 0.6f}, {"sounds/gamemusic.wav", 20, 600}};
    for (const Clip& clip : clips) {
        sf::SoundBuffer buffer;
        ASSERT_TRUE(buffer.loadFromFile(clip.path)) << clip.path;
        EXPECT_GE(buffer.getDuration().asSeconds(), clip.minSeconds) << clip.path;
        EXPECT_LE(buffer.getDuration().asSeconds(), clip.maxSeconds) << clip.path;
        EXPECT_EQ(1u, buffer.getChannelCount()) << clip.path;
    }
}

} // namespace
