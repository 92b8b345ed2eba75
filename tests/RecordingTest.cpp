#include "InputRecording.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>

namespace {

const std::string HEADER = lu::RECORDING_HEADER + "\n";

lu::InputRecord key(int code, lu::KeyAction action)
{
    lu::InputRecord record;
    record.key = code;
    record.keyAction = action;
    return record;
}

lu::InputRecord mouse(lu::MouseAction action, lu::MouseButton button, float x, float y, float wheel)
{
    lu::InputRecord record;
    record.kind = lu::INPUT_MOUSE;
    record.mouseAction = action;
    record.mouseButton = button;
    record.position = lu::Vector(x, y);
    record.wheelDelta = wheel;
    return record;
}

lu::InputRecord other(lu::InputKind kind)
{
    lu::InputRecord record;
    record.kind = kind;
    return record;
}

std::uint32_t bits(float value)
{
    std::uint32_t word = 0;
    std::memcpy(&word, &value, sizeof word);
    return word;
}

// Every field, floats by their bits so that -0 and NaN compare too.
std::string fields(const lu::RecordedInput& input)
{
    const lu::InputRecord& r = input.record;
    return std::to_string(input.frame) + " " + std::to_string(r.kind) + " " + std::to_string(r.key) + " " +
           std::to_string(r.keyAction) + " " + std::to_string(r.mouseAction) + " " + std::to_string(r.mouseButton) +
           " " + std::to_string(bits(r.position.getX())) + " " + std::to_string(bits(r.position.getY())) + " " +
           std::to_string(bits(r.wheelDelta));
}

// What reading the text gives, in a few words.
std::string readAs(const std::string& text)
{
    lu::InputRecording recording;
    if (recording.parse(text) != 0)
        return "refused: " + recording.getError();
    return std::to_string(recording.getInputs().size()) + " inputs, " +
           (recording.isFinished() ? "finished" : "unfinished") + " at frame " +
           std::to_string(recording.getLastFrame());
}

} // namespace

TEST(RecordingTest, EveryKindOfInputReadsBackFieldForFieldAndBitForBit)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const std::vector<lu::RecordedInput> written = {
        {0, key(lu::Keyboard::W, lu::KEY_PRESSED)},
        {0, key(lu::Keyboard::UNDEFINED_KEY, lu::KEY_RELEASED)},
        {2, key(INT_MIN, lu::UNDEFINED_KEY_ACTION)},
        {2, mouse(lu::MOUSE_MOVED, lu::UNDEFINED_MOUSE_BUTTON, 130.0f / 13, -0.0f, 0)},
        {7, mouse(lu::MOUSE_WHEEL, lu::UNDEFINED_MOUSE_BUTTON, 1e-45f, infinity, -1.5f)},
        {7, mouse(lu::MOUSE_CLICKED, lu::MIDDLE, nan, -infinity, 0)},
        {7, mouse(lu::MOUSE_RELEASED, lu::RIGHT, 74.99f, 35.5f, 0)},
        {7, mouse(lu::UNDEFINED_MOUSE_ACTION, lu::LEFT, 1, 2, 3)},
        {9, other(lu::INPUT_FOCUS_LOST)},
        {INT_MAX, other(lu::INPUT_CLOSED)},
    };
    std::string text = HEADER;
    for (const lu::RecordedInput& input : written) {
        text += lu::InputRecording::inputLine(input.frame, input.record);
        if (input.frame == 2)
            text += lu::InputRecording::reachedLine(2);
    }
    text += lu::InputRecording::endLine(INT_MAX);

    lu::InputRecording recording;
    ASSERT_EQ(0, recording.parse(text)) << recording.getError();
    ASSERT_EQ(written.size(), recording.getInputs().size());
    for (std::size_t i = 0; i < written.size(); i++)
        EXPECT_EQ(fields(written[i]), fields(recording.getInputs()[i]));
    EXPECT_TRUE(recording.isFinished());
    EXPECT_EQ(INT_MAX, recording.getLastFrame());
}

TEST(RecordingTest, ARunThatNeverFinishedReadsAsFarAsItGotAndAnythingSpoiltIsRefusedSayingWhy)
{
    const std::pair<std::string, std::string> cases[] = {
        {HEADER + "0 key 46 pressed\n30 reached\n", "1 inputs, unfinished at frame 30"},
        {HEADER + "3 key 46 pressed\n", "1 inputs, unfinished at frame 3"},
        {HEADER + "0 end\n", "0 inputs, finished at frame 0"},
        {"", "refused: not a recording: it does not begin with \"lu-recording 1\""},
        {"GIF89a\n", "refused: not a recording: it does not begin with \"lu-recording 1\""},
        {"lu-recording 2\n0 end\n",
         "refused: a recording of version 2, which this engine cannot read (it reads version 1)"},
        {lu::RECORDING_HEADER, "refused: line 1 is cut short"},
        {HEADER, "refused: no frame was recorded: the run stopped before writing any"},
        {HEADER + "0 key 46 pressed\n3 key 4", "refused: line 3 is cut short"},
        {HEADER + "0 key 46 pushed\n", "refused: line 2 is not a recorded input: \"0 key 46 pushed\""},
        {HEADER + "0 end\r\n", "refused: line 2 is not a recorded input: \"0 end?\""},
        {HEADER + "0 end \n", "refused: line 2 is not a recorded input: \"0 end \""},
        {HEADER + "-1 closed\n", "refused: line 2 is not a recorded input: \"-1 closed\""},
        {HEADER + "2147483648 closed\n", "refused: line 2 is not a recorded input: \"2147483648 closed\""},
        {HEADER + "0 mouse moved none 4120000 0 0\n",
         "refused: line 2 is not a recorded input: \"0 mouse moved none 4120000 0 0\""},
        {HEADER + "5 closed\n4 end\n", "refused: line 3 goes back from frame 5 to frame 4"},
        {HEADER + "0 end\n1 closed\n", "refused: line 3 comes after the end"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(expected, readAs(text)) << text;
}

TEST(RecordingTest, KeptFuzzInputsAreReadOrRefusedAsTheirNamesSayAndAFileIsNamedInItsError)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(LU_FUZZ_REGRESSIONS_DIR "/recordings"))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());
    for (const std::filesystem::path& file : files) {
        std::string name = file.filename().string();
        bool replays = name.rfind("replay-", 0) == 0;
        ASSERT_TRUE(replays || name.rfind("refuse-", 0) == 0) << name << ": name it replay-* or refuse-*";
        lu::InputRecording recording;
        EXPECT_EQ(replays ? 0 : -1, recording.load(file.string())) << name << ": " << recording.getError();
        if (!replays) {
            EXPECT_EQ(0u, recording.getError().rfind(file.string() + ": ", 0)) << recording.getError();
        }
    }
    lu::InputRecording missing;
    EXPECT_EQ(-1, missing.load("no-such.rec"));
    EXPECT_EQ("cannot open no-such.rec", missing.getError());
}
