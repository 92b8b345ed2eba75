#include "SampleBuffer.h"

#include <cstdio>

namespace {

const int32_t SAMPLE_MAX = 32767;
const int32_t SAMPLE_MIN = -32768;
const int SMOOTH_SCALE = 256;
const int BITS_PER_SAMPLE = 16;
const int BYTES_PER_SAMPLE = 2;
const int CHANNELS = 1;
const int PCM_FORMAT = 1;
const int FMT_CHUNK_SIZE = 16;
const int HEADER_BYTES_AFTER_RIFF_SIZE = 36;

// WAV is little-endian whatever the host is, so every field is written byte by byte.
void putU16(std::vector<unsigned char>& out, uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value & 0xff));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xff));
}

void putU32(std::vector<unsigned char>& out, uint32_t value)
{
    putU16(out, value & 0xffff);
    putU16(out, (value >> 16) & 0xffff);
}

void putTag(std::vector<unsigned char>& out, const char* tag)
{
    for (int i = 0; i < 4; i++)
        out.push_back(static_cast<unsigned char>(tag[i]));
}

} // namespace

SampleBuffer::SampleBuffer(int sampleRate, int length) : sampleRate(sampleRate), samples(length > 0 ? length : 0, 0)
{
}

int SampleBuffer::getSampleRate() const
{
    return sampleRate;
}

int SampleBuffer::getLength() const
{
    return static_cast<int>(samples.size());
}

void SampleBuffer::add(int index, int32_t value)
{
    if (samples.empty() || index < 0)
        return;
    // Wrapping lets a looping piece carry its last notes' tails into its start.
    samples[index % samples.size()] += value;
}

int32_t SampleBuffer::get(int index) const
{
    return samples[index];
}

int SampleBuffer::countClipped() const
{
    int clipped = 0;
    for (int32_t s : samples) {
        if (s > SAMPLE_MAX || s < SAMPLE_MIN)
            clipped++;
    }
    return clipped;
}

void SampleBuffer::smooth(int amount)
{
    // A first pass only settles the filter on the buffer's end, so that a looping buffer
    // is smoothed across its seam as if it had already played once.
    int32_t previous = 0;
    for (int32_t s : samples)
        previous += (s - previous) * amount / SMOOTH_SCALE;
    for (int32_t& s : samples) {
        previous += (s - previous) * amount / SMOOTH_SCALE;
        s = previous;
    }
}

bool SampleBuffer::saveWav(const std::string& path) const
{
    uint32_t dataBytes = static_cast<uint32_t>(samples.size()) * BYTES_PER_SAMPLE;
    std::vector<unsigned char> out;
    out.reserve(HEADER_BYTES_AFTER_RIFF_SIZE + 8 + dataBytes);

    putTag(out, "RIFF");
    putU32(out, HEADER_BYTES_AFTER_RIFF_SIZE + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putU32(out, FMT_CHUNK_SIZE);
    putU16(out, PCM_FORMAT);
    putU16(out, CHANNELS);
    putU32(out, static_cast<uint32_t>(sampleRate));
    putU32(out, static_cast<uint32_t>(sampleRate) * CHANNELS * BYTES_PER_SAMPLE);
    putU16(out, CHANNELS * BYTES_PER_SAMPLE);
    putU16(out, BITS_PER_SAMPLE);
    putTag(out, "data");
    putU32(out, dataBytes);
    for (int32_t s : samples) {
        int32_t clamped = s > SAMPLE_MAX ? SAMPLE_MAX : (s < SAMPLE_MIN ? SAMPLE_MIN : s);
        putU16(out, static_cast<uint32_t>(clamped) & 0xffff);
    }

    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    size_t written = std::fwrite(out.data(), 1, out.size(), file);
    bool closed = std::fclose(file) == 0;
    return written == out.size() && closed;
}
