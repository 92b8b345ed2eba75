#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// A mono buffer of 32-bit samples that tones are mixed into, saved as 16-bit PCM WAV.
class SampleBuffer {
public:
    /// Makes a silent buffer of length samples at sampleRate Hz.
    SampleBuffer(int sampleRate, int length);

    /// Returns the sample rate in Hz.
    int getSampleRate() const;

    /// Returns the number of samples.
    int getLength() const;

    /// Adds value to the sample at index, wrapping indexes past the end to the start; returns nothing.
    void add(int index, int32_t value);

    /// Returns the sample at index (0 to length - 1).
    int32_t get(int index) const;

    /// Returns how many samples lie outside the 16-bit range.
    int countClipped() const;

    /// Smooths the buffer, taken as a loop, with a one-pole low-pass; amount is 1 (strong) to 256 (none).
    void smooth(int amount);

    /// Writes the buffer as a 16-bit mono PCM WAV file, clamping each sample; returns true on success.
    bool saveWav(const std::string& path) const;

private:
    int sampleRate;
    std::vector<int32_t> samples;
};
