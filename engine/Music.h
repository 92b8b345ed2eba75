#pragma once

#include <string>

namespace sf {
class Music;
}

namespace lu {

/// How many music entries may hold an SFML player (a stream with an audio source) at once;
/// see MAX_SOUND_PLAYERS, with which it shares the audio device's sources.
const int MAX_MUSIC_PLAYERS = 32;

/// Music streamed from its file while it plays.
class Music {
public:
    /// Makes a music entry with no file open and its player; beyond MAX_MUSIC_PLAYERS live ones, without.
    Music();

    ~Music();

    /// Opens the file for streaming (only checks it without a player); returns 0, or -1 when it cannot be opened.
    int loadMusic(std::string filename);

    /// Starts the stream, looping by default; does nothing without a player.
    void play(bool loop = true);

    /// Stops the stream.
    void stop();

    /// Returns true when the music got a player, so that play can be heard.
    bool hasPlayer() const;

    /// Returns true while the music is playing.
    bool isPlaying() const;

    /// Returns true when the music restarts each time it ends.
    bool isLooping() const;

    /// Returns the label the music is found under.
    std::string getLabel() const;

    /// Sets the label the music is found under.
    void setLabel(std::string label);

private:
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    sf::Music* music;
    std::string label;
};

} // namespace lu
