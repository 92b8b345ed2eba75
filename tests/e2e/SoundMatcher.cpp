#include "SoundMatcher.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

typedef std::complex<double> Complex;

const std::size_t MIN_BLOCK = 4096;
const int BLOCK_TO_REFERENCE = 4;

// Windows quieter than this (RMS) are silence: nothing can be recognised in them.
const double SILENCE_RMS = 1e-3;

void fft(std::vector<Complex>& data, bool inverse)
{
    std::size_t n = data.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(data[i], data[j]);
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        double angle = 2 * M_PI / static_cast<double>(length) * (inverse ? 1 : -1);
        Complex step(std::cos(angle), std::sin(angle));
        for (std::size_t start = 0; start < n; start += length) {
            Complex w(1);
            for (std::size_t k = 0; k < length / 2; ++k) {
                Complex even = data[start + k];
                Complex odd = data[start + k + length / 2] * w;
                data[start + k] = even + odd;
                data[start + k + length / 2] = even - odd;
                w *= step;
            }
        }
    }
    if (inverse) {
        for (Complex& value : data)
            value /= static_cast<double>(n);
    }
}

} // namespace

SoundMatcher::SoundMatcher(const std::vector<float>& reference) : reference(reference), referenceNorm(0)
{
    double energy = 0;
    for (float s : reference)
        energy += static_cast<double>(s) * s;
    referenceNorm = std::sqrt(energy);
}

std::vector<float> SoundMatcher::similarities(const std::vector<float>& recording) const
{
    std::size_t m = reference.size();
    if (m == 0 || recording.size() < m || referenceNorm == 0)
        return std::vector<float>();
    std::size_t offsets = recording.size() - m + 1;
    std::vector<float> result(offsets, 0.0f);

    // Correlation block by block (overlap-save): each block of n samples yields n - m + 1 offsets.
    std::size_t n = MIN_BLOCK;
    while (n < BLOCK_TO_REFERENCE * m)
        n <<= 1;
    std::vector<Complex> referenceSpectrum(n);
    for (std::size_t i = 0; i < m; ++i)
        referenceSpectrum[i] = reference[i];
    fft(referenceSpectrum, false);

    std::vector<double> energyPrefix(recording.size() + 1, 0.0);
    for (std::size_t i = 0; i < recording.size(); ++i)
        energyPrefix[i + 1] = energyPrefix[i] + static_cast<double>(recording[i]) * recording[i];

    std::size_t step = n - m + 1;
    std::vector<Complex> block(n);
    for (std::size_t start = 0; start < offsets; start += step) {
        for (std::size_t i = 0; i < n; ++i)
            block[i] = start + i < recording.size() ? recording[start + i] : 0.0f;
        fft(block, false);
        for (std::size_t i = 0; i < n; ++i)
            block[i] *= std::conj(referenceSpectrum[i]);
        fft(block, true);
        for (std::size_t k = 0; k < step && start + k < offsets; ++k) {
            std::size_t at = start + k;
            double energy = energyPrefix[at + m] - energyPrefix[at];
            if (energy < SILENCE_RMS * SILENCE_RMS * static_cast<double>(m))
                continue;
            result[at] = static_cast<float>(block[k].real() / (referenceNorm * std::sqrt(energy)));
        }
    }
    return result;
}

std::vector<SoundMatch> SoundMatcher::findIn(const std::vector<float>& recording, int sampleRate,
                                             double threshold) const
{
    std::vector<float> scores = similarities(recording);
    std::vector<SoundMatch> matches;
    std::size_t i = 0;
    while (i < scores.size()) {
        if (scores[i] < threshold) {
            ++i;
            continue;
        }
        // The best offset within one reference length of the first one above the threshold.
        std::size_t best = i;
        std::size_t end = std::min(scores.size(), i + reference.size());
        for (std::size_t k = i; k < end; ++k) {
            if (scores[k] > scores[best])
                best = k;
        }
        matches.push_back(SoundMatch{static_cast<double>(best) / sampleRate, scores[best]});
        i = best + reference.size();
    }
    return matches;
}
