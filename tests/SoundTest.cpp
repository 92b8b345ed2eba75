#include "Music.h"
#include "ResourceManager.h"
#include "Sound.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
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

TEST_F(AudioTest, SoundPlaysOnceUnlessAskedToLoopMusicLoopsUnlessAskedNotToAndVolumesStayWithin0To100)
{
    lu::Sound sound;
    ASSERT_EQ(sound.loadSound(TONE), 0);
    sound.play();
    EXPECT_TRUE(sound.isPlaying() && !sound.isLooping());
    sound.play(true);
    EXPECT_TRUE(sound.isPlaying() && sound.isLooping());
    sound.stop();
    EXPECT_FALSE(sound.isPlaying());

    lu::Music music;
    ASSERT_EQ(music.loadMusic(TONE), 0);
    music.play();
    EXPECT_TRUE(music.isPlaying() && music.isLooping());
    music.pause();
    EXPECT_FALSE(music.isPlaying());
    music.play(false);
    EXPECT_TRUE(music.isPlaying() && !music.isLooping());
    music.stop();
    EXPECT_FALSE(music.isPlaying());

    // Not a number leaves the volume as it was.
    const std::pair<float, float> volumes[] = {{40, 40}, {-5, 0}, {250, 100}, {NAN, 100}};
    for (const auto& [asked, kept] : volumes) {
        sound.setVolume(asked);
        music.setVolume(asked);
        EXPECT_TRUE(sound.getVolume() == kept && music.getVolume() == kept) << asked;
    }
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

// A player is lent at play and taken back once its sound has stopped or ended, never from paused music.
TEST_F(AudioTest, WithEveryPlayerBusyAPlayWaitsForOneToStopAndTheLogSaysSoOnce)
{
    std::vector<std::unique_ptr<lu::Sound>> sounds(lu::MAX_SOUND_PLAYERS + 1);
    for (std::size_t i = 0; i < sounds.size(); i++) {
        sounds[i] = std::make_unique<lu::Sound>();
        ASSERT_EQ(sounds[i]->loadSound(TONE), 0);
        sounds[i]->setLabel("s" + std::to_string(i));
        sounds[i]->play(true);
    }
    lu::Sound& lastSound = *sounds.back();
    lastSound.play(true);
    EXPECT_FALSE(lastSound.isPlaying());
    sounds[0]->stop();
    lastSound.play(true);
    EXPECT_TRUE(lastSound.isPlaying());
    sounds[0]->play();
    EXPECT_FALSE(sounds[0]->isPlaying()) << "its player went to the last sound";

    std::vector<std::unique_ptr<lu::Music>> musics(lu::MAX_MUSIC_PLAYERS + 1);
    for (std::size_t i = 0; i < musics.size(); i++) {
        musics[i] = std::make_unique<lu::Music>();
        ASSERT_EQ(musics[i]->loadMusic(TONE), 0);
        musics[i]->setLabel("m" + std::to_string(i));
        musics[i]->play();
    }
    musics[0]->pause();
    musics[1]->stop();
    musics.back()->play();
    musics[0]->play();
    musics[1]->play();
    EXPECT_TRUE(musics.back()->isPlaying() && musics[0]->isPlaying());
    EXPECT_FALSE(musics[1]->isPlaying());

    EXPECT_EQ(lutest::readLogMessages(), (std::vector<std::string>{
                                             "Sound s192 not played: all 192 sound players are busy",
                                             "Sound s0 not played: all 192 sound players are busy",
                                             "Music m32 not played: all 32 music players are busy",
                                             "Music m1 not played: all 32 music players are busy",
                                         }));
}

// The tables keep what they hold until the process ends; each test has a process of its own.
TEST(AudioTableTest, FiveHundredFirstSoundAndMusicAreRefusedAndTheLastOnesLoadedPlay)
{
    lutest::EngineScope scope(lutest::EngineScope::LOG | lutest::EngineScope::RESOURCES);
    lu::ResourceManager& resources = lu::ResourceManager::instance();
    for (int i = 0; i < lu::MAX_SOUNDS; i++)
        ASSERT_EQ(resources.loadSound(TONE, "sound" + std::to_string(i)), 0);
    EXPECT_EQ(resources.loadSound(TONE, "one too many"), -1);
    for (int i = 0; i < lu::MAX_MUSIC; i++)
        ASSERT_EQ(resources.loadMusic(TONE, "music" + std::to_string(i)), 0);
    EXPECT_EQ(resources.loadMusic(TONE, "one too many"), -1);
    EXPECT_EQ(resources.getSound("one too many"), nullptr);
    EXPECT_EQ(resources.getMusic("one too many"), nullptr);
    EXPECT_EQ(lutest::readLogMessages(), (std::vector<std::string>{"Sound array full", "Music array full"}));

    lu::Sound* sound = resources.getSound("sound499");
    lu::Music* music = resources.getMusic("music499");
    sound->play();
    music->play();
    EXPECT_TRUE(sound->isPlaying() && music->isPlaying());
    music->stop();
}

} // namespace
