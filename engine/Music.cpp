#include "Music.h"

#include "SfmlCompat.h"

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/Music.hpp>

namespace lu {

namespace {

int livePlayers = 0;

} // namespace

Music::Music() : music(nullptr)
{
    if (livePlayers < MAX_MUSIC_PLAYERS) {
        music = new sf::Music();
        livePlayers++;
    }
}

Music::~Music()
{
    if (music != nullptr) {
        delete music;
        livePlayers--;
    }
}

int Music::loadMusic(std::string filename)
{
    if (music != nullptr)
        return music->openFromFile(filename) ? 0 : -1;
    // Without a player the file is only checked, so the entry is refused exactly when it would be with one.
    sf::InputSoundFile file;
    return file.openFromFile(filename) ? 0 : -1;
}

void Music::play(bool loop)
{
    if (music == nullptr)
        return;
    setSourceLooping(*music, loop);
    music->play();
}

void Music::stop()
{
    if (music != nullptr)
        music->stop();
}

bool Music::hasPlayer() const
{
    return music != nullptr;
}

bool Music::isPlaying() const
{
    return music != nullptr && music->getStatus() == sf::SoundSource::Status::Playing;
}

bool Music::isLooping() const
{
    return music != nullptr && isSourceLooping(*music);
}

std::string Music::getLabel() const
{
    return label;
}

void Music::setLabel(std::string label)
{
    this->label = label;
}

} // namespace lu
