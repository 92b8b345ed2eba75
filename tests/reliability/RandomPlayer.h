#pragma once

#include <random>
#include <string>
#include <vector>

/// A player who presses keys and moves the mouse at random (never Q, which quits), from a generator with a
/// fixed seed; each move is an xdotool command line.
class RandomPlayer {
public:
    /// Starts the generator at seed.
    explicit RandomPlayer(unsigned seed);

    /// Returns the arguments of xdotool for the next move (after the program name) in the window of that
    /// id and size in pixels; a held key comes as two moves, "keydown" and then "keyup".
    std::vector<std::string> nextMove(unsigned long window, int windowWidth, int windowHeight);

    /// Returns how long to wait before the next move, in milliseconds.
    int nextPauseMs();

    /// Returns the key still held down, or an empty string.
    std::string heldKey() const;

private:
    int between(int low, int high);
    const std::string& pick(const std::vector<std::string>& names);

    std::mt19937 generator;
    std::string held;
};
