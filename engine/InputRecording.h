#pragma once

#include "InputRecord.h"

#include <string>
#include <vector>

namespace lu {

/// The first line of every recording, which names the format and its version.
const std::string RECORDING_HEADER = "lu-recording 1";

/// One input handed out, with the frame on which it was: frame 0 is the first frame of the recording.
struct RecordedInput {
    int frame = 0;
    InputRecord record;
};

/// A recording of a game's input as text (docs/recordings.dox): writes its lines, and reads and
/// checks a whole recording before anything of it is used.
class InputRecording {
public:
    /// Reads and checks the whole file at path; returns 0, or -1 with the reason, naming the file,
    /// in getError() (the recording is then empty).
    int load(const std::string& path);

    /// Reads and checks a recording's whole text; returns 0, or -1 with the reason in getError().
    int parse(const std::string& text);

    /// Returns the inputs in the order they were handed out.
    const std::vector<RecordedInput>& getInputs() const;

    /// Returns true when the recording ends with its end line: the recorded run finished.
    bool isFinished() const;

    /// Returns the last frame the recorded run ran (finished), or the last frame the recording
    /// reached before it was cut off.
    int getLastFrame() const;

    /// Returns why the last load or parse failed; empty after a success.
    const std::string& getError() const;

    /// Returns the line, line feed included, that stands for one input on its frame.
    static std::string inputLine(int frame, const InputRecord& record);

    /// Returns the line saying that every input up to frame is written.
    static std::string reachedLine(int frame);

    /// Returns the line that ends the recording of a run whose last frame was frame.
    static std::string endLine(int frame);

private:
    // Reads one line without its line feed; returns false with error set when it is not well formed.
    bool parseLine(const std::string& line);
    int fail(const std::string& reason);

    std::vector<RecordedInput> inputs;
    bool finished = false;
    int lastFrame = -1;
    std::string error;
};

} // namespace lu
