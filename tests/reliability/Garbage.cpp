#include "Garbage.h"

#include <climits>

namespace {

const char* const COLOR_WORDS[] = {"red", "green", "Blue", "white ", "magenta", "", "cyan\t", "black"};
const int COLOR_WORD_COUNT = 8;
// Frames, width, height and slowdown come before the colour line.
const int HEADER_COUNTS = 4;
const int MAX_RANDOM_ROWS = 4;
const int MAX_RANDOM_LINE = 60;
const int FIRST_PRINTABLE = 32;
const int LAST_PRINTABLE = 126;
const int BYTE_VALUES = 256;

} // namespace

Garbage::Garbage(unsigned seed) : generator(seed)
{
}

std::string Garbage::randomHeaderSprite()
{
    std::string file;
    for (int i = 0; i < HEADER_COUNTS; ++i) {
        // Each count is a small number, a number of any size and sign, or no number at all.
        switch (between(0, 3)) {
        case 0:
            file += std::to_string(between(-3, 12));
            break;
        case 1:
            file += std::to_string(between(INT_MIN, INT_MAX));
            break;
        case 2:
            file += std::to_string(between(0, 9)) + randomLine();
            break;
        default:
            file += randomLine();
            break;
        }
        file += "\n";
    }
    file += COLOR_WORDS[between(0, COLOR_WORD_COUNT - 1)];
    file += "\n";
    // Few rows, so a header that happens to load makes a small sprite, never one covering the screen.
    int rows = between(0, MAX_RANDOM_ROWS);
    for (int r = 0; r < rows; ++r)
        file += randomLine() + "\n";
    return file;
}

std::string Garbage::sprite(long long frames, long long width, long long height, const std::string& color, int rows)
{
    std::string file =
        std::to_string(frames) + "\n" + std::to_string(width) + "\n" + std::to_string(height) + "\n1\n" + color + "\n";
    long long rowLength = width < MAX_ROW_LENGTH ? width : MAX_ROW_LENGTH;
    std::string row(static_cast<std::size_t>(rowLength > 0 ? rowLength : 0), 'X');
    for (int r = 0; r < rows; ++r)
        file += row + "\n";
    return file;
}

std::string Garbage::noise(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(between(0, BYTE_VALUES - 1));
    return bytes;
}

std::string Garbage::text()
{
    return "This is a plain text file, not a sound.\nIt has two lines.\n";
}

int Garbage::between(int low, int high)
{
    std::uniform_int_distribution<int> pick(low, high);
    return pick(generator);
}

std::string Garbage::randomLine()
{
    std::string line;
    int length = between(0, MAX_RANDOM_LINE);
    for (int i = 0; i < length; ++i)
        line += static_cast<char>(between(FIRST_PRINTABLE, LAST_PRINTABLE));
    return line;
}
