#include "InputRecorder.h"

#include "InputRecording.h"

namespace lu {

// Binary, so that a recording made on Windows has the same line feeds as one made elsewhere.
InputRecorder::InputRecorder(const std::string& path)
    : out(path, std::ios::binary | std::ios::trunc), lastFlush(std::chrono::steady_clock::now())
{
    out << RECORDING_HEADER << '\n';
    out.flush();
}

bool InputRecorder::isGood() const
{
    return out.good();
}

void InputRecorder::write(int frame, const InputRecord& record)
{
    out << InputRecording::inputLine(frame, record);
}

void InputRecorder::reach(int frame)
{
    std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now();
    if (now - lastFlush < std::chrono::milliseconds(RECORDING_FLUSH_MILLISECONDS))
        return;
    out << InputRecording::reachedLine(frame);
    out.flush();
    lastFlush = now;
}

void InputRecorder::end(int frame)
{
    out << InputRecording::endLine(frame);
    out.flush();
}

} // namespace lu
