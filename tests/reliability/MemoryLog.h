#pragma once

#include <string>
#include <vector>

/// One reading of a process's memory.
struct MemorySample {
    double seconds;
    long residentKb;
    long virtualKb;
};

/// The memory samples of a long run, and the judgement whether the process kept growing after its warm-up.
class MemoryLog {
public:
    /// Makes an empty log that ignores, when judging, what was sampled during the first warmUpSeconds.
    explicit MemoryLog(double warmUpSeconds);

    /// Adds a sample; samples come in time order.
    void add(const MemorySample& sample);

    /// Returns every sample, in order.
    const std::vector<MemorySample>& getSamples() const;

    /// Returns the resident size after warm-up, the median of its first JUDGED_SAMPLES samples; -1 when
    /// there are too few samples after warm-up to judge.
    long baselineKb() const;

    /// Returns the resident size at the end, the median of the last JUDGED_SAMPLES samples; -1 when too few.
    long finalKb() const;

    /// Returns true when there are enough samples after warm-up and the final size exceeds the baseline by
    /// no more than ALLOWED_GROWTH_KB; why in verdict either way.
    bool holdsSteady(std::string& verdict) const;

    /// Reads VmRSS and VmSize of a process from /proc; false when the process is gone.
    static bool sample(int pid, double seconds, MemorySample& result);

    /// Medians of this many samples make the baseline and the final size: one odd reading does not count.
    static constexpr int JUDGED_SAMPLES = 3;
    /// Growth forgiven as noise (allocator caches, audio and font buffers filled on first use). After its
    /// warm-up the game holds steady within about 100 kB, so a leak of 7 kB a second fails a 10-minute soak.
    static constexpr long ALLOWED_GROWTH_KB = 4 * 1024;

private:
    long medianOf(std::size_t first) const;

    double warmUpSeconds;
    std::vector<MemorySample> samples;
};
