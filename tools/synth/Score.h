#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// One note of a score: its pitch and where it lies on the grid of steps.
struct ScoreNote {
    int64_t milliHz; ///< pitch
    int firstStep;   ///< steps before the note, from the start of the score
    int steps;       ///< length in steps
};

/// A single line of music written as "NAME:STEPS" words, e.g. "A4:2 C#5:4 -:2" ("-" is a rest).
class Score {
public:
    /// Appends the notes of text after those already read; returns false (and keeps nothing of text) on a malformed
    /// word.
    bool parse(const std::string& text);

    /// Returns the notes read so far, rests left out, in order.
    const std::vector<ScoreNote>& getNotes() const;

    /// Returns the number of steps read so far, rests included.
    int getStepCount() const;

    /// Returns the pitch of a note name such as "A4", "G#3" or "Bb2" in milli-Hertz, or -1 if malformed.
    static int64_t noteMilliHz(const std::string& name);

private:
    std::vector<ScoreNote> notes;
    int stepCount = 0;
};
