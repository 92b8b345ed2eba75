#pragma once

#include <memory>
#include <string>

namespace sf {
class Sound;
class SoundBuffer;
} // namespace sf

namespace lu {

/// How many sounds may play at once. Each playing sound takes a player, and every player one of the
/// audio device's sources (OpenAL Soft gives a process 256, shared with MAX_MUSIC_PLAYERS streams).
const int MAX_SOUND_PLAYERS = 192;

/// The loudest volume, the one a sound or music starts with; 0 is silent.
const float MAX_VOLUME = 100.0f;

/// A sound effect decoded into memory, replayable at any time. Without an audio device it loads as
/// it would with one and every other call does nothing.
class Sound {
public:
    /// Makes an empty sound.
    Sound();

    ~Sound();

    /// Decodes the file; returns 0, or -1 when it cannot be read.
    int loadSound(std::string filename);

    /// Plays the sound from the start, looping or not. It takes a player while it plays; when all
    /// MAX_SOUND_PLAYERS are playing other sounds, it stays silent and the log says so once.
    void play(bool loop = false);

    /// Stops the sound if it is playing; the next play starts it from the beginning.
    /// \code
    /// lu::Sound* engine = lu::ResourceManager::instance().getSound("engine");
    /// if (engine != nullptr)
    ///     engine->stop(); // the ship has landed: silence its looping hum
    /// \endcode
    void stop();

    /// Sets the volume from 0 (silent) to MAX_VOLUME, kept for every later play; values outside are clamped.
    /// \code
    /// lu::Sound* step = lu::ResourceManager::instance().getSound("step");
    /// if (step != nullptr) {
    ///     step->setVolume(30); // footsteps stay in the background
    ///     step->play();
    /// }
    /// \endcode
    void setVolume(float volume);

    /// Returns the volume, 0 to MAX_VOLUME.
    float getVolume() const;

    /// Returns true while the sound is playing.
    bool isPlaying() const;

    /// Returns true when the sound restarts each time it ends.
    bool isLooping() const;

    /// Returns the label the sound is found under.
    std::string getLabel() const;

    /// Sets the label the sound is found under.
    void setLabel(std::string label);

private:
    friend class AudioDevice;

    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Gives the player back if the sound has finished with it; returns true when it did.
    bool releaseFinishedPlayer();

    // Lets go of the player and the samples: the sound stays silent from then on.
    void release();

    std::unique_ptr<sf::Sound> player;
    std::unique_ptr<sf::SoundBuffer> samples;
    std::string label;
    float volume;
    bool refusalLogged;
};

} // namespace lu
