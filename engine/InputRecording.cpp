#include "InputRecording.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace lu {

namespace {

const std::string FORMAT_NAME = "lu-recording ";
const std::string FORMAT_VERSION = "1";
// How much of a line that is not understood the error message quotes.
const std::size_t QUOTED_LENGTH = 40;
const int MAX_DIGITS = 10;
const int FLOAT_HEX_DIGITS = 8;

const char* const KEY_ACTIONS[] = {"pressed", "released"};
const char* const MOUSE_ACTIONS[] = {"clicked", "moved", "released", "wheel"};
const char* const MOUSE_BUTTONS[] = {"left", "right", "middle"};
const char* const UNDEFINED_WORD = "undefined";
const char* const NO_BUTTON_WORD = "none";

// The word for an enumeration's value, counted from 0 in names; anything else is undefined.
template <std::size_t N>
std::string wordFor(int value, const char* const (&names)[N], const char* undefinedWord)
{
    if (value >= 0 && value < static_cast<int>(N))
        return names[value];
    return undefinedWord;
}

// The value of a word; false when it is none of them.
template <std::size_t N>
bool valueOf(const std::string& word, const char* const (&names)[N], const char* undefinedWord, int& value)
{
    for (std::size_t i = 0; i < N; i++) {
        if (word == names[i]) {
            value = static_cast<int>(i);
            return true;
        }
    }
    value = -1;
    return word == undefinedWord;
}

std::vector<std::string> splitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    while (true) {
        std::size_t space = line.find(' ', start);
        words.push_back(line.substr(start, space - start));
        if (space == std::string::npos)
            return words;
        start = space + 1;
    }
}

// An optional minus sign and up to ten decimal digits that fit an int.
bool parseInt(const std::string& word, bool allowNegative, int& value)
{
    bool negative = allowNegative && !word.empty() && word[0] == '-';
    std::size_t first = negative ? 1 : 0;
    if (word.size() <= first || word.size() - first > static_cast<std::size_t>(MAX_DIGITS))
        return false;
    std::int64_t magnitude = 0;
    for (std::size_t i = first; i < word.size(); i++) {
        if (word[i] < '0' || word[i] > '9')
            return false;
        magnitude = magnitude * 10 + (word[i] - '0');
    }
    std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX || signedValue < INT_MIN)
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

// A float kept as its eight hexadecimal digits of IEEE 754 bits: exact, and the same in every locale.
std::string floatWord(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    char text[FLOAT_HEX_DIGITS + 1];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned int>(bits));
    return text;
}

bool parseFloat(const std::string& word, float& value)
{
    if (word.size() != static_cast<std::size_t>(FLOAT_HEX_DIGITS))
        return false;
    std::uint32_t bits = 0;
    for (char c : word) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return false;
        bits = bits * 16 + static_cast<std::uint32_t>(digit);
    }
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

// The words after the frame and "mouse"; false when they are not a mouse input's.
bool parseMouse(const std::vector<std::string>& words, InputRecord& record)
{
    int action = 0;
    int button = 0;
    float x = 0;
    float y = 0;
    if (!valueOf(words[2], MOUSE_ACTIONS, UNDEFINED_WORD, action) ||
        !valueOf(words[3], MOUSE_BUTTONS, NO_BUTTON_WORD, button) || !parseFloat(words[4], x) ||
        !parseFloat(words[5], y) || !parseFloat(words[6], record.wheelDelta))
        return false;
    record.kind = INPUT_MOUSE;
    record.mouseAction = static_cast<MouseAction>(action);
    record.mouseButton = static_cast<MouseButton>(button);
    record.position = Vector(x, y);
    return true;
}

// The start of a line that is not understood, with anything unprintable shown as '?'.
std::string quoted(const std::string& line)
{
    std::string shown = line.substr(0, QUOTED_LENGTH);
    std::replace_if(
        shown.begin(), shown.end(), [](char c) { return c < ' ' || c > '~'; }, '?');
    return "\"" + shown + (line.size() > QUOTED_LENGTH ? "...\"" : "\"");
}

} // namespace

int InputRecording::load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        fail("cannot open " + path);
        return -1;
    }
    // A foreign file is told by its first bytes, without reading the whole of it.
    std::string head(FORMAT_NAME.size(), '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    std::string text = head;
    if (head == FORMAT_NAME)
        text.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        fail("cannot read " + path);
        return -1;
    }
    if (parse(text) != 0) {
        error = path + ": " + error;
        return -1;
    }
    return 0;
}

int InputRecording::parse(const std::string& text)
{
    inputs.clear();
    finished = false;
    lastFrame = -1;
    error.clear();

    std::size_t firstEnd = text.find('\n');
    std::string header = text.substr(0, firstEnd);
    if (header.compare(0, FORMAT_NAME.size(), FORMAT_NAME) != 0)
        return fail("not a recording: it does not begin with \"" + RECORDING_HEADER + "\"");
    if (header != RECORDING_HEADER) {
        int version = 0;
        if (parseInt(header.substr(FORMAT_NAME.size()), false, version))
            return fail("a recording of version " + std::to_string(version) +
                        ", which this engine cannot read (it reads version " + FORMAT_VERSION + ")");
        return fail("not a recording: it does not begin with \"" + RECORDING_HEADER + "\"");
    }
    if (firstEnd == std::string::npos)
        return fail("line 1 is cut short");

    int lineNumber = 1;
    std::size_t start = firstEnd + 1;
    while (start < text.size()) {
        lineNumber++;
        std::size_t end = text.find('\n', start);
        // Every line is written whole with its line feed: one without it was cut off mid-write.
        if (end == std::string::npos)
            return fail("line " + std::to_string(lineNumber) + " is cut short");
        std::string line = text.substr(start, end - start);
        if (finished)
            return fail("line " + std::to_string(lineNumber) + " comes after the end");
        if (!parseLine(line))
            return fail("line " + std::to_string(lineNumber) + " " + error);
        start = end + 1;
    }
    if (lastFrame < 0)
        return fail("no frame was recorded: the run stopped before writing any");
    return 0;
}

bool InputRecording::parseLine(const std::string& line)
{
    std::vector<std::string> words = splitWords(line);
    error = "is not a recorded input: " + quoted(line);
    int frame = 0;
    if (words.size() < 2 || !parseInt(words[0], false, frame))
        return false;

    RecordedInput input;
    input.frame = frame;
    InputRecord& record = input.record;
    const std::string& kind = words[1];
    bool isInput = true;
    if (kind == "key" && words.size() == 4) {
        record.kind = INPUT_KEY;
        int value = 0;
        if (!parseInt(words[2], true, record.key) || !valueOf(words[3], KEY_ACTIONS, UNDEFINED_WORD, value))
            return false;
        record.keyAction = static_cast<KeyAction>(value);
    } else if (kind == "mouse" && words.size() == 7) {
        if (!parseMouse(words, record))
            return false;
    } else if (kind == "focus-lost" && words.size() == 2) {
        record.kind = INPUT_FOCUS_LOST;
    } else if (kind == "closed" && words.size() == 2) {
        record.kind = INPUT_CLOSED;
    } else if ((kind == "reached" || kind == "end") && words.size() == 2) {
        isInput = false;
        finished = kind == "end";
    } else {
        return false;
    }

    if (frame < lastFrame) {
        error = "goes back from frame " + std::to_string(lastFrame) + " to frame " + std::to_string(frame);
        return false;
    }
    lastFrame = frame;
    if (isInput)
        inputs.push_back(input);
    error.clear();
    return true;
}

int InputRecording::fail(const std::string& reason)
{
    inputs.clear();
    finished = false;
    lastFrame = -1;
    error = reason;
    return -1;
}

const std::vector<RecordedInput>& InputRecording::getInputs() const
{
    return inputs;
}

bool InputRecording::isFinished() const
{
    return finished;
}

int InputRecording::getLastFrame() const
{
    return lastFrame;
}

const std::string& InputRecording::getError() const
{
    return error;
}

std::string InputRecording::inputLine(int frame, const InputRecord& record)
{
    // std::to_string, unlike a stream, writes numbers the same whatever locale the game chose.
    std::string line = std::to_string(frame) + " ";
    switch (record.kind) {
    case INPUT_KEY:
        line += "key " + std::to_string(record.key) + " " + wordFor(record.keyAction, KEY_ACTIONS, UNDEFINED_WORD);
        break;
    case INPUT_MOUSE:
        line += "mouse " + wordFor(record.mouseAction, MOUSE_ACTIONS, UNDEFINED_WORD) + " " +
                wordFor(record.mouseButton, MOUSE_BUTTONS, NO_BUTTON_WORD) + " " + floatWord(record.position.getX()) +
                " " + floatWord(record.position.getY()) + " " + floatWord(record.wheelDelta);
        break;
    case INPUT_FOCUS_LOST:
        line += "focus-lost";
        break;
    case INPUT_CLOSED:
        line += "closed";
        break;
    }
    return line + "\n";
}

std::string InputRecording::reachedLine(int frame)
{
    return std::to_string(frame) + " reached\n";
}

std::string InputRecording::endLine(int frame)
{
    return std::to_string(frame) + " end\n";
}

} // namespace lu
