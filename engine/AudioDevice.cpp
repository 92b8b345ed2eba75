#include "AudioDevice.h"

#include "LogManager.h"
#include "Music.h"
#include "Sound.h"

#include <SFML/Audio/Music.hpp>
#include <SFML/Config.hpp>
#include <SFML/System/Err.hpp>
#if SFML_VERSION_MAJOR >= 3
#include <SFML/Audio/PlaybackDevice.hpp>
#endif

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>

namespace lu {

namespace {

// Registered once the audio library has set itself up, so it runs while the library is still whole.
void closeAtExit()
{
    AudioDevice::instance().close();
}

#if SFML_VERSION_MAJOR >= 3
// The device SFML 3 falls back to where the system lists none (a Windows machine without a sound
// card, say): it takes every sound and plays nothing, which is no device to a player.
const char* const NULL_DEVICE_NAME = "NULL Playback Device";
#endif

// Returns true when the stream just made has a device to play on. SFML 2 tells of a device it cannot
// open only on its error stream, so anything it reported while making the stream counts.
bool deviceOpened(const std::string& report)
{
#if SFML_VERSION_MAJOR >= 3
    static_cast<void>(report);
    std::optional<std::string> device = sf::PlaybackDevice::getDevice();
    return device.has_value() && *device != NULL_DEVICE_NAME;
#else
    return report.empty();
#endif
}

template <typename Item>
void forget(std::vector<Item*>& items, Item* item)
{
    items.erase(std::remove(items.begin(), items.end(), item), items.end());
}

} // namespace

AudioDevice& AudioDevice::instance()
{
    static AudioDevice device;
    return device;
}

AudioDevice::AudioDevice() : state(State::UNKNOWN), silent(false), soundPlayers(0), musicPlayers(0)
{
}

AudioDevice::~AudioDevice() = default;

bool AudioDevice::isOn()
{
    if (silent && state != State::ON) {
        return false;
    }
    if (state == State::UNKNOWN) {
        open();
    }
    return state == State::ON;
}

void AudioDevice::open()
{
    std::ostringstream report;
    std::streambuf* errors = sf::err().rdbuf(report.rdbuf());
    hold = std::make_unique<sf::Music>();
    bool opened = deviceOpened(report.str());
    std::string said = report.str();
    if (!opened) {
        // Without a device every later SFML call fails and says so: only the first line, the cause, is passed on.
        hold.reset();
        std::size_t firstLineEnd = said.find('\n');
        if (firstLineEnd != std::string::npos) {
            said.resize(firstLineEnd + 1);
        }
    }
    sf::err().rdbuf(errors);
    sf::err() << said;

    if (!opened) {
        state = State::OFF;
        LogManager::instance().writeMessage("Sound is off: no audio device could be opened");
        return;
    }
    state = State::ON;
    std::atexit(closeAtExit);
}

void AudioDevice::setSilent(bool on)
{
    silent = on;
}

void AudioDevice::addSound(Sound* sound)
{
    sounds.push_back(sound);
}

void AudioDevice::removeSound(Sound* sound)
{
    forget(sounds, sound);
}

void AudioDevice::addMusic(Music* music)
{
    musics.push_back(music);
}

void AudioDevice::removeMusic(Music* music)
{
    forget(musics, music);
}

// Takes one of limit places, of which inUse are taken. With every place taken, the first item found
// finished gives its player, and its place, back.
template <typename Item>
bool AudioDevice::takePlayer(int& inUse, int limit, const std::vector<Item*>& items)
{
    bool free = inUse < limit ||
                std::any_of(items.begin(), items.end(), [](Item* item) { return item->releaseFinishedPlayer(); });
    if (free) {
        inUse++;
    }
    return free;
}

bool AudioDevice::takeSoundPlayer()
{
    return takePlayer(soundPlayers, MAX_SOUND_PLAYERS, sounds);
}

void AudioDevice::giveBackSoundPlayer()
{
    soundPlayers--;
}

bool AudioDevice::takeMusicPlayer()
{
    return takePlayer(musicPlayers, MAX_MUSIC_PLAYERS, musics);
}

void AudioDevice::giveBackMusicPlayer()
{
    musicPlayers--;
}

float AudioDevice::clampVolume(float volume, float current)
{
    if (std::isnan(volume)) {
        return current;
    }
    return std::clamp(volume, 0.0f, MAX_VOLUME);
}

void AudioDevice::close()
{
    for (Music* music : musics) {
        music->release();
    }
    for (Sound* sound : sounds) {
        sound->release();
    }
    hold.reset();
    state = State::OFF;
}

} // namespace lu
