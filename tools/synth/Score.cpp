#include "Score.h"

#include <sstream>

namespace {

// Equal temperament from C4 to B4, in milli-Hertz; other octaves double or halve these.
const int64_t OCTAVE_FOUR_MILLI_HZ[12] = {
    261626, 277183, 293665, 311127, 329628, 349228, 369994, 391995, 415305, 440000, 466164, 493883,
};
const int REFERENCE_OCTAVE = 4;
const int SEMITONES_PER_OCTAVE = 12;
const char* const LETTERS = "CDEFGAB";
const int LETTER_SEMITONES[7] = {0, 2, 4, 5, 7, 9, 11};
const char* const REST = "-";

int letterSemitone(char letter)
{
    for (int i = 0; LETTERS[i] != '\0'; i++) {
        if (LETTERS[i] == letter)
            return LETTER_SEMITONES[i];
    }
    return -1;
}

// Reads a whole positive number; returns -1 if text is anything else.
int positiveNumber(const std::string& text)
{
    if (text.empty() || text.size() > 4)
        return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value > 0 ? value : -1;
}

} // namespace

int64_t Score::noteMilliHz(const std::string& name)
{
    if (name.size() < 2 || name.size() > 3)
        return -1;
    int semitone = letterSemitone(name[0]);
    if (semitone < 0)
        return -1;
    size_t octaveAt = 1;
    if (name.size() == 3) {
        if (name[1] == '#')
            semitone++;
        else if (name[1] == 'b')
            semitone--;
        else
            return -1;
        octaveAt = 2;
    }
    char digit = name[octaveAt];
    if (digit < '0' || digit > '8')
        return -1;
    int octave = digit - '0';

    // C flat and B sharp step into the neighbouring octave.
    if (semitone < 0) {
        semitone += SEMITONES_PER_OCTAVE;
        octave--;
    } else if (semitone >= SEMITONES_PER_OCTAVE) {
        semitone -= SEMITONES_PER_OCTAVE;
        octave++;
    }
    if (octave < 0)
        return -1;

    int64_t milliHz = OCTAVE_FOUR_MILLI_HZ[semitone];
    for (int o = REFERENCE_OCTAVE; o < octave; o++)
        milliHz *= 2;
    for (int o = octave; o < REFERENCE_OCTAVE; o++)
        milliHz = (milliHz + 1) / 2;
    return milliHz;
}

bool Score::parse(const std::string& text)
{
    std::vector<ScoreNote> read;
    int step = stepCount;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        size_t colon = word.find(':');
        if (colon == std::string::npos)
            return false;
        std::string name = word.substr(0, colon);
        int steps = positiveNumber(word.substr(colon + 1));
        if (steps < 0)
            return false;
        if (name != REST) {
            int64_t milliHz = noteMilliHz(name);
            if (milliHz < 0)
                return false;
            read.push_back(ScoreNote{milliHz, step, steps});
        }
        step += steps;
    }
    notes.insert(notes.end(), read.begin(), read.end());
    stepCount = step;
    return true;
}

const std::vector<ScoreNote>& Score::getNotes() const
{
    return notes;
}

int Score::getStepCount() const
{
    return stepCount;
}
