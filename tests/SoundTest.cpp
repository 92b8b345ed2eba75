#include "LogManager.h"
#include "Music.h"
#include "ResourceManager.h"
#include "Sound.h"
#include "TestSupport.h"

#include <SFML/System/Err.hpp>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

const int WAV_SAMPLE_RATE = 22050;
const int WAV_SAMPLE_COUNT = WAV_SAMPLE_RATE; // one second: long enough to be still playing when asked
const int WAV_HALF_PERIOD = 50;
const int WAV_AMPLITUDE = 8000;

void appendLittleEndian(std::string& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; i++)
        bytes += static_cast<char>((value >> (8 * i)) & 0xff);
}

// A mono 16-bit PCM WAV of a square wave, built byte by byte so the test depends on no encoder.
std::string squareWaveWav()
{
    const std::uint32_t dataSize = WAV_SAMPLE_COUNT * 2;
    std::string bytes = "RIFF";
    appendLittleEndian(bytes, 36 + dataSize, 4);
    bytes += "WAVEfmt ";
    appendLittleEndian(bytes, 16, 4); // format chunk size
    appendLittleEndian(bytes, 1, 2);  // PCM
    appendLittleEndian(bytes, 1, 2);  // mono
    appendLittleEndian(bytes, WAV_SAMPLE_RATE, 4);
    appendLittleEndian(bytes, WAV_SAMPLE_RATE * 2, 4); // bytes per second
    appendLittleEndian(bytes, 2, 2);                   // bytes per frame
    appendLittleEndian(bytes, 16, 2);                  // bits per sample
    bytes += "data";
    appendLittleEndian(bytes, dataSize, 4);
    for (int i = 0; i < WAV_SAMPLE_COUNT; i++) {
        std::int16_t sample = (i / WAV_HALF_PERIOD) % 2 == 0 ? WAV_AMPLITUDE : -WAV_AMPLITUDE;
        appendLittleEndian(bytes, static_cast<std::uint16_t>(sample), 2);
    }
    return bytes;
}

// Keeps SFML's error stream quiet while failures are provoked on purpose.
class QuietSfml {
public:
    QuietSfml() : saved(sf::err().rdbuf(nullptr))
    {
    }

    ~QuietSfml()
    {
        sf::err().rdbuf(saved);
        sf::err().clear();
    }

private:
    std::streambuf* saved;
};

// A directory holding the test sound, and a private log.
class AudioTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lutest::writeFile(dir.file("tone.wav"), squareWaveWav()));
        ASSERT_TRUE(lutest::writeFile(dir.file("notes.wav"), "not a sound at all"));
    }

    lutest::TempDir dir;
    lutest::EngineScope scope{lutest::EngineScope::LOG | lutest::EngineScope::RESOURCES};
};

TEST_F(AudioTest, SoundPlaysOnceUnlessAskedToLoopAndMusicLoopsUnlessAskedNotTo)
{
    lu::Sound sound;
    ASSERT_EQ(sound.loadSound(dir.file("tone.wav")), 0);
    EXPECT_FALSE(sound.isPlaying());
    sound.play();
    EXPECT_TRUE(sound.isPlaying() && !sound.isLooping());
    sound.play(true);
    EXPECT_TRUE(sound.isPlaying() && sound.isLooping());

    lu::Music music;
    ASSERT_EQ(music.loadMusic(dir.file("tone.wav")), 0);
    music.play();
    EXPECT_TRUE(music.isPlaying() && music.isLooping());
    music.stop();
    EXPECT_FALSE(music.isPlaying());
    music.play(false);
    EXPECT_TRUE(music.isPlaying() && !music.isLooping());
    music.stop();
}

TEST_F(AudioTest, MissingOrUndecodableFilesAreLoggedAndLeaveNoEntry)
{
    QuietSfml quiet;
    lu::Sound sound;
    lu::Music music;
    EXPECT_EQ(sound.loadSound(dir.file("missing.wav")), -1);
    EXPECT_EQ(sound.loadSound(dir.file("notes.wav")), -1);
    EXPECT_EQ(music.loadMusic(dir.file("missing.wav")), -1);
    EXPECT_EQ(music.loadMusic(dir.file("notes.wav")), -1);

    lu::ResourceManager& resources = lu::ResourceManager::instance();
    EXPECT_EQ(resources.loadSound("sounds/none.wav", "none"), -1);
    EXPECT_EQ(resources.loadMusic("sounds/none.wav", "none"), -1);
    EXPECT_EQ(resources.getSound("none"), nullptr);
    EXPECT_EQ(resources.getMusic("none"), nullptr);
    std::vector<std::string> expected = {"Unable to load sound from sounds/none.wav",
                                         "Unable to load music from sounds/none.wav"};
    EXPECT_EQ(lutest::readLogMessages(), expected);
}

TEST_F(AudioTest, PlayersStopAtTheirCapAndFreedPlayersAreReused)
{
    std::vector<std::unique_ptr<lu::Sound>> sounds;
    for (int i = 0; i <= lu::MAX_SOUND_PLAYERS; i++) {
        sounds.emplace_back(new lu::Sound());
        ASSERT_EQ(sounds.back()->loadSound(dir.file("tone.wav")), 0);
    }
    sounds.back()->play();
    EXPECT_FALSE(sounds.back()->isPlaying());
    sounds.front()->play();
    EXPECT_TRUE(sounds.front()->isPlaying());
    sounds.front().reset();
    lu::Sound again;
    ASSERT_EQ(again.loadSound(dir.file("tone.wav")), 0);
    again.play();
    EXPECT_TRUE(again.isPlaying());

    std::vector<std::unique_ptr<lu::Music>> musics;
    for (int i = 0; i <= lu::MAX_MUSIC_PLAYERS; i++) {
        musics.emplace_back(new lu::Music());
        ASSERT_EQ(musics.back()->loadMusic(dir.file("tone.wav")), 0);
    }
    {
        // Without a player a file is still checked.
        QuietSfml quiet;
        EXPECT_EQ(musics.back()->loadMusic(dir.file("notes.wav")), -1);
    }
    musics.back()->play();
    EXPECT_FALSE(musics.back()->isPlaying());
    musics.front().reset();
    lu::Music another;
    ASSERT_EQ(another.loadMusic(dir.file("tone.wav")), 0);
    another.play();
    EXPECT_TRUE(another.isPlaying());
    another.stop();
}

// The tables keep what they hold until the process ends; each test has a process of its own.
TEST(AudioTableTest, FiveHundredFirstSoundOrMusicIsRefusedAndTheFirstStillPlays)
{
    lutest::TempDir dir;
    std::string tone = dir.file("tone.wav");
    ASSERT_TRUE(lutest::writeFile(tone, squareWaveWav()));
    lutest::EngineScope scope(lutest::EngineScope::LOG | lutest::EngineScope::RESOURCES);
    lu::ResourceManager& resources = lu::ResourceManager::instance();
    struct Table {
        std::string name;
        int size, players;
        std::function<int(const std::string&)> load;
        std::function<lu::Sound*(const std::string&)> getSound;
        std::function<lu::Music*(const std::string&)> getMusic;
    };
    const Table tables[] = {
        {"sound", lu::MAX_SOUNDS, lu::MAX_SOUND_PLAYERS,
         [&](const std::string& label) { return resources.loadSound(tone, label); },
         [&](const std::string& label) { return resources.getSound(label); }, nullptr},
        {"music", lu::MAX_MUSIC, lu::MAX_MUSIC_PLAYERS,
         [&](const std::string& label) { return resources.loadMusic(tone, label); }, nullptr,
         [&](const std::string& label) { return resources.getMusic(label); }},
    };
    std::size_t logged = 0;
    for (const Table& table : tables) {
        SCOPED_TRACE(table.name);
        int loaded = 0;
        {
            QuietSfml quiet;
            for (int i = 0; i < table.size; i++)
                loaded += table.load(table.name + std::to_string(i)) == 0 ? 1 : 0;
        }
        EXPECT_EQ(loaded, table.size);
        EXPECT_EQ(table.load("one too many"), -1);
        // Each entry past the players' cap says once that it will stay silent, then the full table speaks.
        std::vector<std::string> log = lutest::readLogMessages();
        EXPECT_EQ(log.size() - logged, static_cast<std::size_t>(table.size - table.players + 1));
        logged = log.size();
        std::string kind = table.name == "sound" ? "Sound" : "Music";
        std::string last = table.name + std::to_string(table.size - 1);
        EXPECT_EQ(lutest::countLogMessages(kind + " " + last + " will not play: all " + std::to_string(table.players) +
                                           " " + table.name + " players are in use"),
                  1);
        EXPECT_EQ(log.back(), kind + " array full");

        // Kept, but past the players' cap: silent rather than fighting over audio sources.
        for (const char* label : {"0", "499"}) {
            bool shouldPlay = std::string(label) == "0";
            if (table.getSound) {
                lu::Sound* sound = table.getSound(table.name + label);
                ASSERT_NE(sound, nullptr);
                sound->play();
                EXPECT_EQ(sound->isPlaying(), shouldPlay) << label;
                EXPECT_EQ(table.getSound("one too many"), nullptr);
            } else {
                lu::Music* music = table.getMusic(table.name + label);
                ASSERT_NE(music, nullptr);
                music->play();
                EXPECT_EQ(music->isPlaying(), shouldPlay) << label;
                music->stop();
                EXPECT_EQ(table.getMusic("one too many"), nullptr);
            }
        }
    }
}

} // namespace
