#pragma once

#include <string>
#include <vector>

/// One place where a recording contains the reference sound.
struct SoundMatch {
    double seconds;
    double similarity;
};

/// Finds a known sound in a recording by normalised cross-correlation, so that it is recognised also
/// under music playing at the same time and at whatever level the mixer gave it.
class SoundMatcher {
public:
    /// Prepares matching of reference, already at the recording's sample rate.
    explicit SoundMatcher(const std::vector<float>& reference);

    /// Returns the similarity (-1 to 1) of the reference with the recording at every start offset that
    /// leaves room for the whole reference; quiet stretches score 0.
    std::vector<float> similarities(const std::vector<float>& recording) const;

    /// Returns the places where the similarity reaches threshold, at most one per reference length, in
    /// order, each at its best offset.
    std::vector<SoundMatch> findIn(const std::vector<float>& recording, int sampleRate, double threshold) const;

private:
    std::vector<float> reference;
    double referenceNorm;
};
