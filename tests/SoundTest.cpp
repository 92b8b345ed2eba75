#include "Music.h"
#include "ResourceManager.h"
#include "Sound.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Half a second of the game's own sound: still playing when a test asks right after starting it.
const std::string TONE = LU_TEST_SOUND;

class AudioTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lutest::writeFile(dir.file("notes.wav"), "not a sound at all"));
    }

    lutest::TempDir dir;
    lutest::EngineScope scope{lutest::EngineScope::LOG | lutest::EngineScope::RESOURCES};
};

TEST_F(AudioTest, SoundPlaysOnceUnlessAskedToLoopAndMusicLoopsUnlessAskedNotTo)
{
    lu::Sound sound;
    ASSERT_EQ(sound.loadSound(TONE), 0);
    sound.play();
    EXPECT_TRUE(sound.isPlaying() && !sound.isLooping());
    sound.play(true);
    EXPECT_TRUE(sound.isPlaying() && sound.isLooping());

    lu::Music music;
    ASSERT_EQ(music.loadMusic(TONE), 0);
    music.play();
    EXPECT_TRUE(music.isPlaying() && music.isLooping());
    music.stop();
    EXPECT_FALSE(music.isPlaying());
    music.play(false);
    EXPECT_TRUE(music.isPlaying() && !music.isLooping());
    music.stop();
}

TEST_F(AudioTest, MissingOrUndecodableFilesAreRefused)
{
    lu::Sound sound;
    lu::Music music;
    for (const std::string& file : {dir.file("missing.wav"), dir.file("notes.wav")}) {
        EXPECT_EQ(sound.loadSound(file), -1) << file;
        EXPECT_EQ(music.loadMusic(file), -1) << file;
    }

    // The resource manager's log lines for such files are checked end to end, with the game's own files.
}

TEST_F(AudioTest, SoundPlayersStopAtTheirCapAndFreedPlayersAreReused)
{
    std::vector<std::unique_ptr<lu::Sound>> sounds;
    for (int i = 0; i <= lu::MAX_SOUND_PLAYERS; i++) {
        sounds.emplace_back(new lu::Sound());
        ASSERT_EQ(sounds.back()->loadSound(TONE), 0);
    }
    sounds.back()->play();
    EXPECT_FALSE(sounds.back()->isPlaying());
    sounds.front()->play();
    EXPECT_TRUE(sounds.front()->isPlaying());
    sounds.front().reset();
    lu::Sound again;
    ASSERT_EQ(again.loadSound(TONE), 0);
    again.play();
    EXPECT_TRUE(again.isPlaying());
}

// The tables keep what they hold until the process ends; each test has a process of its own.
TEST(AudioTableTest, FiveHundredFirstSoundAndMusicAreRefusedAndOnlyThoseWithAPlayerPlay)
{
    lutest::EngineScope scope(lutest::EngineScope::LOG | lutest::EngineScope::RESOURCES);
    lu::ResourceManager& resources = lu::ResourceManager::instance();
    for (int i = 0; i < lu::MAX_SOUNDS; i++)
        ASSERT_EQ(resources.loadSound(TONE, "sound" + std::to_string(i)), 0);
    EXPECT_EQ(resources.loadSound(TONE, "one too many"), -1);
    for (int i = 0; i < lu::MAX_MUSIC; i++)
        ASSERT_EQ(resources.loadMusic(TONE, "music" + std::to_string(i)), 0);
    EXPECT_EQ(resources.loadMusic(TONE, "one too many"), -1);
    EXPECT_EQ(lu::Music().loadMusic(TONE + ".missing"), -1) << "without a player the file is still checked";
    EXPECT_EQ(resources.getSound("one too many"), nullptr);
    EXPECT_EQ(resources.getMusic("one too many"), nullptr);

    // Each entry past the players' cap says once that it will stay silent, then the full table speaks.
    std::vector<std::string> log = lutest::readLogMessages();
    EXPECT_EQ(log.size(), static_cast<std::size_t>(lu::MAX_SOUNDS - lu::MAX_SOUND_PLAYERS + 1 + lu::MAX_MUSIC -
                                                   lu::MAX_MUSIC_PLAYERS + 1));
    EXPECT_EQ(log[lu::MAX_SOUNDS - lu::MAX_SOUND_PLAYERS - 1],
              "Sound sound499 will not play: all 192 sound players are in use");
    EXPECT_EQ(log[lu::MAX_SOUNDS - lu::MAX_SOUND_PLAYERS], "Sound array full");
    EXPECT_EQ(log[log.size() - 2], "Music music499 will not play: all 32 music players are in use");
    EXPECT_EQ(log.back(), "Music array full");

    // Kept, but past the players' cap: silent rather than fighting over audio sources.
    resources.getSound("sound0")->play();
    resources.getSound("sound499")->play();
    resources.getMusic("music0")->play();
    resources.getMusic("music499")->play();
    EXPECT_TRUE(resources.getSound("sound0")->isPlaying());
    EXPECT_FALSE(resources.getSound("sound499")->isPlaying());
    EXPECT_TRUE(resources.getMusic("music0")->isPlaying());
    EXPECT_FALSE(resources.getMusic("music499")->isPlaying());
    resources.getMusic("music0")->stop();
}

} // namespace
