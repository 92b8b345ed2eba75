#pragma once

#include "LogFormats.h"
#include "MemoryLog.h"

#include <ostream>
#include <string>
#include <vector>

/// A long run of the real game under an X server of its own, played by a random player (never Q), its
/// memory sampled every few seconds; at the end the game must still run, quit on Q with status 0, have
/// logged nothing but the program's messages and have kept its memory steady after its warm-up.
class Soak {
public:
    /// Prepares a soak of the given length, with the player's moves drawn from seed.
    Soak(double seconds, unsigned seed);

    /// Runs the soak, writing its progress and its findings to report; returns true when it passed.
    bool run(std::ostream& report);

    /// Memory is sampled this often.
    static constexpr double SAMPLE_INTERVAL_SECONDS = 5.0;
    /// Start-up (window, font, audio, first level) settles within this time; later growth counts.
    static constexpr double WARM_UP_SECONDS = 20.0;

private:
    bool checkLog(const std::vector<std::string>& lines, std::ostream& report) const;

    double seconds;
    unsigned seed;
    LogFormats formats;
    MemoryLog memory;
};
