#include "Music.h"

#include "AudioDevice.h"
#include "LogManager.h"
#include "SfmlCompat.h"
#include "Sound.h"

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/Music.hpp>

namespace lu {

// Asking for the device here makes it before any music, so that at exit it is destroyed after every one.
Music::Music() : volume(MAX_VOLUME), refusalLogged(false)
{
    AudioDevice::instance().addMusic(this);
}

Music::~Music()
{
    release();
    AudioDevice::instance().removeMusic(this);
}

int Music::loadMusic(std::string filename)
{
    // Loading is where a game starts with sound: find out now whether it can play.
    AudioDevice::instance().isOn();
    // The file is opened as the stream would open it, without taking a player for it yet.
    sf::InputSoundFile file;
    if (!file.openFromFile(filename)) {
        return -1;
    }
    // A stream of the previous file stops; the next play opens this one.
    release();
    this->filename = filename;
    return 0;
}

void Music::play(bool loop)
{
    AudioDevice& device = AudioDevice::instance();
    if (filename.empty() || !device.isOn()) {
        return;
    }
    if (player == nullptr) {
        if (!device.takeMusicPlayer()) {
            if (!refusalLogged) {
                LogManager::instance().writeMessage("Music %s not played: all %d music players are busy", label.c_str(),
                                                    MAX_MUSIC_PLAYERS);
                refusalLogged = true;
            }
            return;
        }
        player = std::make_unique<sf::Music>();
        // The file was readable when loaded but may have gone since.
        if (!player->openFromFile(filename)) {
            release();
            return;
        }
        player->setVolume(volume);
    }
    setSourceLooping(*player, loop);
    player->play();
}

void Music::stop()
{
    if (player != nullptr) {
        player->stop();
    }
}

void Music::pause()
{
    if (player != nullptr) {
        player->pause();
    }
}

void Music::setVolume(float volume)
{
    this->volume = AudioDevice::clampVolume(volume, this->volume);
    if (player != nullptr) {
        player->setVolume(this->volume);
    }
}

float Music::getVolume() const
{
    return volume;
}

bool Music::isPlaying() const
{
    return player != nullptr && player->getStatus() == sf::SoundSource::Status::Playing;
}

bool Music::isLooping() const
{
    return player != nullptr && isSourceLooping(*player);
}

std::string Music::getLabel() const
{
    return label;
}

void Music::setLabel(std::string label)
{
    this->label = label;
}

bool Music::releaseFinishedPlayer()
{
    if (player == nullptr || player->getStatus() != sf::SoundSource::Status::Stopped) {
        return false;
    }
    release();
    return true;
}

void Music::release()
{
    if (player != nullptr) {
        player.reset();
        AudioDevice::instance().giveBackMusicPlayer();
    }
}

} // namespace lu
