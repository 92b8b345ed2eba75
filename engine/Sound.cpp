#include "Sound.h"

#include "SfmlCompat.h"

#include <SFML/Audio/Sound.hpp>

namespace lu {

namespace {

int livePlayers = 0;

} // namespace

Sound::Sound() : sound(nullptr)
{
    // Past the cap the sound keeps its samples but gets no player (see MAX_SOUND_PLAYERS).
    if (livePlayers < MAX_SOUND_PLAYERS) {
        sound = new sf::Sound(soundBuffer);
        livePlayers++;
    }
}

Sound::~Sound()
{
    // The player goes first: it must not outlive the buffer it plays.
    if (sound != nullptr) {
        delete sound;
        livePlayers--;
    }
}

int Sound::loadSound(std::string filename)
{
    if (!soundBuffer.loadFromFile(filename))
        return -1;
    // Rebinding makes the player take the new samples' length and format.
    if (sound != nullptr)
        sound->setBuffer(soundBuffer);
    return 0;
}

void Sound::play(bool loop)
{
    if (sound == nullptr)
        return;
    setSourceLooping(*sound, loop);
    // SFML 3.0 leaves a sound started again just after it ended silent, and playing for ever, unless it
    // is stopped first. Stopping changes nothing else: play restarts a playing sound from its start.
    sound->stop();
    sound->play();
}

bool Sound::hasPlayer() const
{
    return sound != nullptr;
}

bool Sound::isPlaying() const
{
    return sound != nullptr && sound->getStatus() == sf::SoundSource::Status::Playing;
}

bool Sound::isLooping() const
{
    return sound != nullptr && isSourceLooping(*sound);
}

std::string Sound::getLabel() const
{
    return label;
}

void Sound::setLabel(std::string label)
{
    this->label = label;
}

} // namespace lu
