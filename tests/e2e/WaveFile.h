#pragma once

#include <string>
#include <vector>

/// A WAV file read into one channel of float samples (channels averaged), as the game's sounds and the
/// audio library's wave-file output are written: integer PCM or float, plain or extensible headers.
class WaveFile {
public:
    /// Makes an empty recording.
    WaveFile();

    /// Reads a WAV file; a data chunk whose size was never filled in (a recording still being written or
    /// cut short) is read up to the end of the file. Returns false, with the reason in error, on failure.
    bool load(const std::string& path, std::string& error);

    /// Returns how many seconds of sound a WAV file holds so far, from its header and its size alone
    /// (0 when it cannot be read); cheap enough to poll a recording in progress.
    static double secondsIn(const std::string& path);

    /// Returns the sample rate in Hz.
    int getSampleRate() const;

    /// Returns the samples, between -1 and 1.
    const std::vector<float>& getSamples() const;

    /// Returns the length in seconds.
    double getDuration() const;

    /// Returns the loudest absolute sample value.
    float peak() const;

    /// Returns the samples converted to another rate by linear interpolation.
    std::vector<float> resampledTo(int rate) const;

private:
    int sampleRate;
    std::vector<float> samples;
};
