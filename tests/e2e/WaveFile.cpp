#include "WaveFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const std::uint16_t FORMAT_PCM = 1;
const std::uint16_t FORMAT_FLOAT = 3;
const std::uint16_t FORMAT_EXTENSIBLE = 0xFFFE;
const std::size_t RIFF_HEADER_BYTES = 12;
const std::size_t CHUNK_HEADER_BYTES = 8;
const std::size_t FMT_BASIC_BYTES = 16;
const std::size_t FMT_SUBFORMAT_OFFSET = 24;
const int BITS_PER_BYTE = 8;
// Enough for the RIFF header, an extensible format chunk and the data chunk header.
const std::size_t HEADER_READ_BYTES = 256;

std::uint32_t readU32(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t readU16(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// One sample of the given encoding at a byte position, scaled to [-1, 1].
float decodeSample(const unsigned char* p, std::uint16_t format, int bits)
{
    if (format == FORMAT_FLOAT && bits == 32) {
        float value;
        std::memcpy(&value, p, sizeof value);
        return value;
    }
    if (format == FORMAT_FLOAT && bits == 64) {
        double value;
        std::memcpy(&value, p, sizeof value);
        return static_cast<float>(value);
    }
    if (bits == 8)
        return (static_cast<int>(p[0]) - 128) / 128.0f;
    // Signed little-endian integers of 16, 24 or 32 bits: assemble into the top of a 32-bit word.
    std::uint32_t word = 0;
    int bytes = bits / BITS_PER_BYTE;
    for (int i = 0; i < bytes; ++i)
        word |= static_cast<std::uint32_t>(p[i]) << (32 - bits + BITS_PER_BYTE * i);
    return static_cast<float>(static_cast<std::int32_t>(word) / 2147483648.0);
}

struct Layout {
    std::uint16_t format;
    int channels;
    int rate;
    int bits;
    std::size_t dataStart;
    std::size_t dataBytes;
};

// Reads a whole file, or only its first limit bytes when limit is not 0.
bool readFile(const std::string& path, std::vector<unsigned char>& bytes, std::size_t limit)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    if (limit == 0) {
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        return true;
    }
    bytes.resize(limit);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return true;
}

// Finds the format and the data chunk; a data chunk whose size was never filled in (a recording still
// being written, or cut short) reaches to the end of what was read.
bool readLayout(const std::vector<unsigned char>& bytes, Layout& layout, std::string& error)
{
    if (bytes.size() < RIFF_HEADER_BYTES || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        error = "not a WAV file";
        return false;
    }
    layout = Layout{0, 0, 0, 0, 0, 0};
    std::size_t at = RIFF_HEADER_BYTES;
    while (at + CHUNK_HEADER_BYTES <= bytes.size()) {
        std::size_t size = readU32(bytes, at + 4);
        std::size_t body = at + CHUNK_HEADER_BYTES;
        if (std::memcmp(&bytes[at], "fmt ", 4) == 0 && body + FMT_BASIC_BYTES <= bytes.size()) {
            layout.format = readU16(bytes, body);
            layout.channels = readU16(bytes, body + 2);
            layout.rate = static_cast<int>(readU32(bytes, body + 4));
            layout.bits = readU16(bytes, body + 14);
            if (layout.format == FORMAT_EXTENSIBLE && body + FMT_SUBFORMAT_OFFSET + 2 <= bytes.size())
                layout.format = readU16(bytes, body + FMT_SUBFORMAT_OFFSET);
        } else if (std::memcmp(&bytes[at], "data", 4) == 0) {
            if (layout.format != FORMAT_PCM && layout.format != FORMAT_FLOAT) {
                error = "unknown sample format";
                return false;
            }
            if (layout.channels <= 0 || layout.bits == 0 || layout.bits % BITS_PER_BYTE != 0 || layout.rate <= 0) {
                error = "malformed format chunk";
                return false;
            }
            layout.dataStart = body;
            layout.dataBytes = size;
            if (size == 0 || body + size > bytes.size())
                layout.dataBytes = bytes.size() - body;
            return true;
        }
        at = body + size + (size % 2);
    }
    error = "no data chunk";
    return false;
}

} // namespace

WaveFile::WaveFile() : sampleRate(0)
{
}

bool WaveFile::load(const std::string& path, std::string& error)
{
    samples.clear();
    std::vector<unsigned char> bytes;
    if (!readFile(path, bytes, 0)) {
        error = "cannot open " + path;
        return false;
    }
    Layout layout;
    if (!readLayout(bytes, layout, error)) {
        error = path + ": " + error;
        return false;
    }
    sampleRate = layout.rate;
    std::size_t frameBytes = static_cast<std::size_t>(layout.channels) * (layout.bits / BITS_PER_BYTE);
    std::size_t frames = layout.dataBytes / frameBytes;
    samples.reserve(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        const unsigned char* frame = &bytes[layout.dataStart + f * frameBytes];
        float sum = 0;
        for (int c = 0; c < layout.channels; ++c)
            sum += decodeSample(frame + c * (layout.bits / BITS_PER_BYTE), layout.format, layout.bits);
        samples.push_back(sum / layout.channels);
    }
    return true;
}

double WaveFile::secondsIn(const std::string& path)
{
    std::vector<unsigned char> header;
    std::error_code failure;
    std::uintmax_t size = std::filesystem::file_size(path, failure);
    if (failure || !readFile(path, header, HEADER_READ_BYTES))
        return 0;
    Layout layout;
    std::string error;
    // Only the header was read: the data reaches to the end of the file as it is now.
    if (!readLayout(header, layout, error))
        return 0;
    std::size_t frameBytes = static_cast<std::size_t>(layout.channels) * (layout.bits / BITS_PER_BYTE);
    return static_cast<double>((size - layout.dataStart) / frameBytes) / layout.rate;
}

int WaveFile::getSampleRate() const
{
    return sampleRate;
}

const std::vector<float>& WaveFile::getSamples() const
{
    return samples;
}

double WaveFile::getDuration() const
{
    if (sampleRate <= 0)
        return 0;
    return static_cast<double>(samples.size()) / sampleRate;
}

float WaveFile::peak() const
{
    float loudest = 0;
    for (float s : samples)
        loudest = std::max(loudest, std::fabs(s));
    return loudest;
}

std::vector<float> WaveFile::resampledTo(int rate) const
{
    if (rate == sampleRate || sampleRate <= 0 || samples.empty())
        return samples;
    std::size_t count = static_cast<std::size_t>(static_cast<double>(samples.size()) * rate / sampleRate);
    std::vector<float> result(count);
    for (std::size_t i = 0; i < count; ++i) {
        double position = static_cast<double>(i) * sampleRate / rate;
        std::size_t before = static_cast<std::size_t>(position);
        double fraction = position - static_cast<double>(before);
        float a = samples[std::min(before, samples.size() - 1)];
        float b = samples[std::min(before + 1, samples.size() - 1)];
        result[i] = static_cast<float>(a + (b - a) * fraction);
    }
    return result;
}
