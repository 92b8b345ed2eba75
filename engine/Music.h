#pragma once

#include <memory>
#include <string>

namespace sf {
class Music;
}

namespace lu {

/// How many pieces of music may play (or pause) at once; each takes a stream with one of the audio
/// device's sources, as MAX_SOUND_PLAYERS says.
const int MAX_MUSIC_PLAYERS = 32;

/// Music streamed from its file while it plays. Without an audio device it loads as it would with
/// one and every other call does nothing.
class Music {
public:
    /// Makes a music entry with no file.
    Music();

    ~Music();

    /// Checks that the file can be streamed and keeps its name; returns 0, or -1 when it cannot be opened.
    int loadMusic(std::string filename);

    /// Starts the stream, looping by default, or carries on after pause. It opens the file and takes a
    /// player while it plays; when all MAX_MUSIC_PLAYERS are taken, it stays silent and the log says so once.
    void play(bool loop = true);

    /// Stops the stream; the next play starts from the beginning.
    void stop();

    /// Pauses the stream; play carries on from there.
    /// \code
    /// lu::Music* song = lu::ResourceManager::instance().getMusic("song");
    /// if (song != nullptr)
    ///     song->pause(); // the game is paused: so is its music, until song->play()
    /// \endcode
    void pause();

    /// Sets the volume from 0 (silent) to MAX_VOLUME, kept for every later play; values outside are clamped.
    /// \code
    /// lu::Music* song = lu::ResourceManager::instance().getMusic("song");
    /// if (song != nullptr)
    ///     song->setVolume(40); // quieter under the dialogue
    /// \endcode
    void setVolume(float volume);

    /// Returns the volume, 0 to MAX_VOLUME.
    float getVolume() const;

    /// Returns true while the music is playing.
    bool isPlaying() const;

    /// Returns true when the music restarts each time it ends.
    bool isLooping() const;

    /// Returns the label the music is found under.
    std::string getLabel() const;

    /// Sets the label the music is found under.
    void setLabel(std::string label);

private:
    friend class AudioDevice;

    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    // Gives the player back if the music has stopped or ended; returns true when it did.
    bool releaseFinishedPlayer();

    // Lets go of the player.
    void release();

    std::unique_ptr<sf::Music> player;
    std::string filename;
    std::string label;
    float volume;
    bool refusalLogged;
};

} // namespace lu
