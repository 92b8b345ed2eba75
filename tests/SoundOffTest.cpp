#include "Music.h"
#include "ResourceManager.h"
#include "Sound.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Run where no audio device can be opened (tests/CMakeLists.txt).
TEST(SoundOffTest, WithoutADeviceLoadsAnswerAsWithOneEveryOtherCallIsQuietAndTheLogSaysSoOnce)
{
    lutest::TempDir dir;
    std::string tone = lutest::readFile(LU_TEST_SOUND);
    ASSERT_TRUE(lutest::writeFile(dir.file("notes.wav"), "not a sound at all"));
    ASSERT_TRUE(lutest::writeFile(dir.file("cut.wav"), tone.substr(0, tone.size() / 2)));
    lutest::EngineScope scope(lutest::EngineScope::LOG | lutest::EngineScope::RESOURCES);
    lu::ResourceManager& resources = lu::ResourceManager::instance();

    // Music is only opened, from its header: a stream cut short plays what there is.
    struct {
        std::string file;
        int sound;
        int music;
    } loads[] = {{LU_TEST_SOUND, 0, 0},
                 {dir.file("cut.wav"), -1, 0},
                 {dir.file("notes.wav"), -1, -1},
                 {dir.file("missing.wav"), -1, -1}};
    std::vector<std::string> log = {"Sound is off: no audio device could be opened"};
    for (const auto& load : loads) {
        EXPECT_EQ(resources.loadSound(load.file, "tone"), load.sound) << load.file;
        EXPECT_EQ(resources.loadMusic(load.file, "tone"), load.music) << load.file;
        if (load.sound != 0)
            log.push_back("Unable to load sound from " + load.file);
        if (load.music != 0)
            log.push_back("Unable to load music from " + load.file);
    }

    lu::Sound* sound = resources.getSound("tone");
    lu::Music* music = resources.getMusic("tone");
    ASSERT_TRUE(sound != nullptr && music != nullptr);
    sound->setVolume(50);
    sound->play(true);
    music->setVolume(50);
    music->play();
    music->pause();
    music->play();
    EXPECT_FALSE(sound->isPlaying() || sound->isLooping() || music->isPlaying() || music->isLooping());
    sound->stop();
    music->stop();
    EXPECT_EQ(lutest::readLogMessages(), log);
}

} // namespace
