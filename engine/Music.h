#pragma once

#include <SFML/Audio/Music.hpp>

#include <string>

namespace lu {

/// Music streamed from its file while it plays.
class Music {
public:
    Music();

    /// Opens the file for streaming; returns 0, or -1 when it cannot be opened.
    int loadMusic(std::string filename);

    /// Starts the stream, looping by default.
    void play(bool loop = true);

    /// Stops the stream.
    void stop();

    /// Returns the label the music is found under.
    std::string getLabel() const;

    /// Sets the label the music is found under.
    void setLabel(std::string label);

private:
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    sf::Music music;
    std::string label;
};

} // namespace lu
