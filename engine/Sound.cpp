#include "Sound.h"

#include "AudioDevice.h"
#include "LogManager.h"
#include "SfmlCompat.h"

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace lu {

namespace {

const std::uint64_t SAMPLES_PER_READ = 65536;

// Decodes every sample, as loading into a sound buffer does, but without the audio device: a file
// is refused exactly when it would be with one.
bool decodes(const std::string& filename)
{
    sf::InputSoundFile file;
    if (!file.openFromFile(filename) || file.getChannelCount() == 0 || file.getSampleRate() == 0) {
        return false;
    }
    std::uint64_t left = file.getSampleCount();
    if (left == 0) {
        return false;
    }
    std::vector<std::int16_t> chunk(SAMPLES_PER_READ);
    while (left > 0) {
        std::uint64_t read = file.read(chunk.data(), std::min(left, SAMPLES_PER_READ));
        if (read == 0) {
            return false;
        }
        left -= read;
    }
    return true;
}

} // namespace

// Asking for the device here makes it before any sound, so that at exit it is destroyed after every one.
Sound::Sound() : volume(MAX_VOLUME), refusalLogged(false)
{
    AudioDevice::instance().addSound(this);
}

Sound::~Sound()
{
    release();
    AudioDevice::instance().removeSound(this);
}

int Sound::loadSound(std::string filename)
{
    AudioDevice& device = AudioDevice::instance();
    if (!device.isOn()) {
        return decodes(filename) ? 0 : -1;
    }
    if (samples == nullptr) {
        samples = std::make_unique<sf::SoundBuffer>();
    }
    if (!samples->loadFromFile(filename)) {
        return -1;
    }
    // Rebinding makes the player take the new samples' length and format.
    if (player != nullptr) {
        player->setBuffer(*samples);
    }
    return 0;
}

void Sound::play(bool loop)
{
    // No samples: nothing was loaded, or sound is off.
    if (samples == nullptr) {
        return;
    }
    if (player == nullptr) {
        if (!AudioDevice::instance().takeSoundPlayer()) {
            if (!refusalLogged) {
                LogManager::instance().writeMessage("Sound %s not played: all %d sound players are busy", label.c_str(),
                                                    MAX_SOUND_PLAYERS);
                refusalLogged = true;
            }
            return;
        }
        player = std::make_unique<sf::Sound>(*samples);
        player->setVolume(volume);
    }
    setSourceLooping(*player, loop);
    // SFML 3.0 leaves a sound started again just after it ended silent, and playing for ever, unless it
    // is stopped first. Stopping changes nothing else: play restarts a playing sound from its start.
    player->stop();
    player->play();
}

void Sound::stop()
{
    if (player != nullptr) {
        player->stop();
    }
}

void Sound::setVolume(float volume)
{
    this->volume = AudioDevice::clampVolume(volume, this->volume);
    if (player != nullptr) {
        player->setVolume(this->volume);
    }
}

float Sound::getVolume() const
{
    return volume;
}

bool Sound::isPlaying() const
{
    return player != nullptr && player->getStatus() == sf::SoundSource::Status::Playing;
}

bool Sound::isLooping() const
{
    return player != nullptr && isSourceLooping(*player);
}

std::string Sound::getLabel() const
{
    return label;
}

void Sound::setLabel(std::string label)
{
    this->label = label;
}

bool Sound::releaseFinishedPlayer()
{
    if (player == nullptr || player->getStatus() != sf::SoundSource::Status::Stopped) {
        return false;
    }
    player.reset();
    AudioDevice::instance().giveBackSoundPlayer();
    return true;
}

// The player goes first: it must not outlive the samples it plays.
void Sound::release()
{
    if (player != nullptr) {
        player.reset();
        AudioDevice::instance().giveBackSoundPlayer();
    }
    samples.reset();
}

} // namespace lu
