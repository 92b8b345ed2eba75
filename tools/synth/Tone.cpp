#include "Tone.h"

#include "SampleBuffer.h"

namespace {

const int64_t FULL_SCALE = 32767;
const int FULL_SCALE_BITS = 15;
const int64_t MILLI = 1000;
const int FRACTION_BITS = 16;
const int64_t FRACTION_ONE = int64_t(1) << FRACTION_BITS;
const int64_t PHASE_STEPS = int64_t(1) << 32;
const int64_t PERCENT = 100;

// Everything is integer arithmetic so that every compiler and machine writes identical bytes.
uint32_t nextNoise(uint32_t state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

int64_t phaseIncrement(int64_t milliHz, int sampleRate)
{
    return milliHz * PHASE_STEPS / (int64_t(sampleRate) * MILLI);
}

int64_t triangleAt(uint32_t phase)
{
    int64_t p = phase >> FRACTION_BITS;
    int64_t half = FRACTION_ONE / 2;
    if (p < half)
        return (p * 2 - half) * FULL_SCALE / half;
    return (3 * half - p * 2) * FULL_SCALE / half;
}

} // namespace

int64_t Tone::envelopeAt(int i) const
{
    int64_t peak = level;
    int64_t sustain = peak * sustainPercent / PERCENT;
    int decaySamples = decay > 0 ? decay : length - attack;
    int64_t amplitude = sustain;

    if (i < attack) {
        amplitude = peak * i / attack;
    } else if (i < attack + decaySamples) {
        int64_t fraction = int64_t(attack + decaySamples - i) * FRACTION_ONE / decaySamples;
        if (curved)
            fraction = fraction * fraction >> FRACTION_BITS;
        amplitude = sustain + ((peak - sustain) * fraction >> FRACTION_BITS);
    }
    if (release > 0 && length - i < release)
        amplitude = amplitude * (length - i) / release;
    return amplitude;
}

void Tone::render(SampleBuffer& buffer) const
{
    int rate = buffer.getSampleRate();
    int64_t startIncrement = phaseIncrement(startMilliHz, rate);
    int64_t endIncrement = phaseIncrement(endMilliHz, rate);
    uint32_t dutyThreshold = static_cast<uint32_t>(PHASE_STEPS * dutyPercent / PERCENT - 1);
    uint32_t phase = 0;
    uint32_t noise = seed;
    int64_t noiseValue = 0;

    for (int i = 0; i < length; i++) {
        int64_t value = noiseValue;
        if (wave == Wave::PULSE)
            value = phase <= dutyThreshold ? FULL_SCALE : -FULL_SCALE;
        else if (wave == Wave::TRIANGLE)
            value = triangleAt(phase);

        buffer.add(start + i, static_cast<int32_t>(value * envelopeAt(i) >> FULL_SCALE_BITS));

        int64_t increment = startIncrement + (endIncrement - startIncrement) * i / length;
        uint32_t next = static_cast<uint32_t>(phase + increment);
        // Noise holds one random value per period of its pitch, so a falling pitch sounds duller.
        if (next < phase || increment >= PHASE_STEPS) {
            noise = nextNoise(noise);
            noiseValue = int64_t(noise >> FRACTION_BITS) - FRACTION_ONE / 2;
        }
        phase = next;
    }
}
