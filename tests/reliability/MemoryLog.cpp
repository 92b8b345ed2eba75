#include "MemoryLog.h"

#include <algorithm>
#include <fstream>
#include <sstream>

MemoryLog::MemoryLog(double warmUpSeconds) : warmUpSeconds(warmUpSeconds)
{
}

void MemoryLog::add(const MemorySample& sample)
{
    samples.push_back(sample);
}

const std::vector<MemorySample>& MemoryLog::getSamples() const
{
    return samples;
}

long MemoryLog::baselineKb() const
{
    std::size_t first = 0;
    while (first < samples.size() && samples[first].seconds < warmUpSeconds)
        ++first;
    // The baseline and the final samples must not overlap, or growth between them could not show.
    if (samples.size() < first + 2 * JUDGED_SAMPLES)
        return -1;
    return medianOf(first);
}

long MemoryLog::finalKb() const
{
    if (baselineKb() < 0)
        return -1;
    return medianOf(samples.size() - JUDGED_SAMPLES);
}

bool MemoryLog::holdsSteady(std::string& verdict) const
{
    long baseline = baselineKb();
    if (baseline < 0) {
        verdict = "too few samples after the warm-up to judge the memory";
        return false;
    }
    long end = finalKb();
    std::ostringstream text;
    text << "resident size after warm-up " << baseline << " kB, at the end " << end << " kB (growth " << end - baseline
         << " kB, allowed " << ALLOWED_GROWTH_KB << " kB)";
    verdict = text.str();
    return end - baseline <= ALLOWED_GROWTH_KB;
}

bool MemoryLog::sample(int pid, double seconds, MemorySample& result)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    if (!status)
        return false;
    result = MemorySample{seconds, -1, -1};
    std::string line;
    while (std::getline(status, line)) {
        std::istringstream fields(line);
        std::string name;
        long kb = -1;
        fields >> name >> kb;
        if (name == "VmRSS:")
            result.residentKb = kb;
        else if (name == "VmSize:")
            result.virtualKb = kb;
    }
    // A zombie has no memory lines left: it is gone for our purposes.
    return result.residentKb >= 0 && result.virtualKb >= 0;
}

long MemoryLog::medianOf(std::size_t first) const
{
    std::vector<long> sizes;
    for (std::size_t i = first; i < first + JUDGED_SAMPLES; ++i)
        sizes.push_back(samples[i].residentKb);
    std::sort(sizes.begin(), sizes.end());
    return sizes[sizes.size() / 2];
}
