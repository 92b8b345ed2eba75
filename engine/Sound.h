#pragma once

#include <SFML/Audio/SoundBuffer.hpp>

#include <string>

namespace sf {
class Sound;
}

namespace lu {

/// How many sounds may hold an SFML player at once. Every player takes one of the audio
/// device's sources (OpenAL Soft gives a process 256), and SFML 2 misbehaves past the last one.
const int MAX_SOUND_PLAYERS = 192;

/// A sound effect decoded into memory, replayable at any time.
class Sound {
public:
    /// Makes an empty sound with its player; beyond MAX_SOUND_PLAYERS live ones, without (it then plays nothing).
    Sound();

    ~Sound();

    /// Decodes the file; returns 0, or -1 when it cannot be read.
    int loadSound(std::string filename);

    /// Plays the sound from the start, looping or not; does nothing for a sound without a player.
    void play(bool loop = false);

    /// Returns true when the sound got a player, so that play can be heard.
    bool hasPlayer() const;

    /// Returns true while the sound is playing.
    bool isPlaying() const;

    /// Returns true when the sound restarts each time it ends.
    bool isLooping() const;

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
