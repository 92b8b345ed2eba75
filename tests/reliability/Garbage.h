#pragma once

#include <cstddef>
#include <random>
#include <string>

/// Makes the damaged file contents the hostile tests feed the game, from a generator with a fixed seed so
/// that every run writes the same bytes and a failure reproduces.
class Garbage {
public:
    /// Starts the generator at seed.
    explicit Garbage(unsigned seed);

    /// Returns a sprite file whose five header lines are random (numbers of any size or sign, words,
    /// blanks, colour names) followed by a few random rows.
    std::string randomHeaderSprite();

    /// Returns a sprite file with these counts in its header (slowdown 1), then rows rows of 'X's as wide
    /// as the header says, at most MAX_ROW_LENGTH: the header may promise far more than the file holds.
    static std::string sprite(long long frames, long long width, long long height, const std::string& color, int rows);

    /// Returns size bytes of noise, NULs and line ends included.
    std::string noise(std::size_t size);

    /// Returns a text that is plainly not a sound file.
    static std::string text();

    /// The longest row sprite() writes.
    static constexpr int MAX_ROW_LENGTH = 200;

private:
    int between(int low, int high);
    std::string randomLine();

    std::mt19937 generator;
};
