#pragma once

#include <cstdint>

class SampleBuffer;

/// The waveforms a tone can have.
enum class Wave {
    PULSE,
    TRIANGLE,
    NOISE,
};

/// One sounding note: a waveform swept in pitch under an attack, decay, sustain and release envelope.
struct Tone {
    Wave wave = Wave::PULSE;
    int dutyPercent = 50;     ///< share of a pulse period spent high
    int64_t startMilliHz = 0; ///< pitch at the first sample; for noise, how often a new value is drawn
    int64_t endMilliHz = 0;   ///< pitch reached at the last sample, linearly
    int start = 0;            ///< first sample in the buffer
    int length = 0;           ///< samples
    int level = 0;            ///< peak amplitude, 0 to 32767
    int attack = 0;           ///< samples rising from silence to level
    int decay = 0;            ///< samples falling from level to sustain; 0 means the rest of the tone
    int sustainPercent = 0;   ///< share of level held after the decay
    bool curved = false;      ///< decay along the square of the remaining time, for a sharper fade
    int release = 0;          ///< last samples fading to silence
    uint32_t seed = 1;        ///< start of the noise generator; never 0

    /// Adds the tone into buffer at its start; returns nothing.
    void render(SampleBuffer& buffer) const;

    /// Returns the envelope's amplitude (0 to level) at sample i of the tone.
    int64_t envelopeAt(int i) const;
};
