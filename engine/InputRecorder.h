#pragma once

#include "InputRecord.h"

#include <chrono>
#include <fstream>
#include <string>

namespace lu {

/// How often, at most a second apart, a recording being written reaches the disk.
const int RECORDING_FLUSH_MILLISECONDS = 1000;

/// Writes a recording (InputRecording) as the game runs: each input as it is handed out, on disk at
/// least once a second, so that a crash loses no more than the last second of it.
class InputRecorder {
public:
    /// Creates or replaces the file at path and writes the recording's first line; see isGood().
    explicit InputRecorder(const std::string& path);

    /// Returns true while every write so far has succeeded.
    bool isGood() const;

    /// Writes one input handed out on frame.
    void write(int frame, const InputRecord& record);

    /// Notes that frame's input is written; once a second this goes to disk with a line that says so.
    void reach(int frame);

    /// Writes the end of a run whose last frame was frame and puts everything on disk.
    void end(int frame);

private:
    InputRecorder(const InputRecorder&) = delete;
    InputRecorder& operator=(const InputRecorder&) = delete;

    std::ofstream out;
    std::chrono::steady_clock::time_point lastFlush;
};

} // namespace lu
