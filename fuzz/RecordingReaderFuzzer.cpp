// Feeds arbitrary bytes to the recording reader. Whatever it accepts must be written back by the
// recording's own lines to a text that reads the same: the inputs field for field and bit for bit,
// whether the run finished, and its last frame.

#include "InputRecording.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool same(const lu::RecordedInput& a, const lu::RecordedInput& b)
{
    const lu::InputRecord& x = a.record;
    const lu::InputRecord& y = b.record;
    float xs[] = {x.position.getX(), x.position.getY(), x.wheelDelta};
    float ys[] = {y.position.getX(), y.position.getY(), y.wheelDelta};
    return a.frame == b.frame && x.kind == y.kind && x.key == y.key && x.keyAction == y.keyAction &&
           x.mouseAction == y.mouseAction && x.mouseButton == y.mouseButton && std::memcmp(xs, ys, sizeof xs) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    lu::InputRecording read;
    int result = read.parse(std::string(reinterpret_cast<const char*>(data), size));
    if (result == -1) {
        // A refusal says why and keeps nothing.
        if (read.getError().empty() || !read.getInputs().empty() || read.getLastFrame() != -1) {
            std::abort();
        }
        return 0;
    }
    if (result != 0 || !read.getError().empty() || read.getLastFrame() < 0) {
        std::abort();
    }

    std::string text = lu::RECORDING_HEADER + "\n";
    for (const lu::RecordedInput& input : read.getInputs()) {
        // Frames never go back, and none passes the last.
        if (input.frame > read.getLastFrame()) {
            std::abort();
        }
        text += lu::InputRecording::inputLine(input.frame, input.record);
    }
    text += read.isFinished() ? lu::InputRecording::endLine(read.getLastFrame())
                              : lu::InputRecording::reachedLine(read.getLastFrame());
    lu::InputRecording again;
    if (again.parse(text) != 0 || again.isFinished() != read.isFinished() ||
        again.getLastFrame() != read.getLastFrame() || again.getInputs().size() != read.getInputs().size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < read.getInputs().size(); i++) {
        if (!same(read.getInputs()[i], again.getInputs()[i])) {
            std::abort();
        }
    }
    return 0;
}
