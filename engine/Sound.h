#pragma once

#include <SFML/Audio/SoundBuffer.hpp>

#include <string>

namespace sf {
class Sound;
}

namespace lu {

/// A sound effect decoded into memory, replayable at any time.
class Sound {
public:
    /// Makes an empty sound with its player.
    Sound();

    ~Sound();

    /// Decodes the file; returns 0, or -1 when it cannot be read.
    int loadSound(std::string filename);

    /// Plays the sound from the start, looping or not.
    void play(bool loop = false);

    /// Returns the label the sound is found under.
    std::string getLabel() const;

    /// Sets the label the sound is found under.
    void setLabel(std::string label);

private:
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    sf::Sound* sound;
    sf::SoundBuffer soundBuffer;
    std::string label;
};

} // namespace lu
