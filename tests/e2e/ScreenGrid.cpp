#include "ScreenGrid.h"

namespace {

bool inside(int column, int row)
{
    return column >= 0 && row >= 0 && column < GRID_COLUMNS && row < GRID_ROWS;
}

} // namespace

ScreenGrid::ScreenGrid() : chars(GRID_COLUMNS * GRID_ROWS, ' '), colors(GRID_COLUMNS * GRID_ROWS, lu::BLACK)
{
}

void ScreenGrid::set(int column, int row, char ch, lu::Color color)
{
    if (!inside(column, row))
        return;
    chars[row * GRID_COLUMNS + column] = ch;
    colors[row * GRID_COLUMNS + column] = color;
}

char ScreenGrid::charAt(int column, int row) const
{
    if (!inside(column, row))
        return ' ';
    return chars[row * GRID_COLUMNS + column];
}

lu::Color ScreenGrid::colorAt(int column, int row) const
{
    if (!inside(column, row))
        return lu::BLACK;
    return colors[row * GRID_COLUMNS + column];
}

std::string ScreenGrid::row(int row) const
{
    return text(0, row, GRID_COLUMNS);
}

std::string ScreenGrid::text(int column, int row, int length) const
{
    std::string result;
    for (int i = 0; i < length; ++i)
        result += charAt(column + i, row);
    return result;
}

bool ScreenGrid::hasColor(int column, int row, int length, lu::Color color) const
{
    for (int i = 0; i < length; ++i) {
        if (charAt(column + i, row) != ' ' && colorAt(column + i, row) != color)
            return false;
    }
    return true;
}

Cell ScreenGrid::find(const std::string& text) const
{
    for (int r = 0; r < GRID_ROWS; ++r) {
        std::string line = row(r);
        std::size_t at = line.find(text);
        if (at != std::string::npos)
            return Cell{static_cast<int>(at), r};
    }
    return Cell{-1, -1};
}

std::vector<Cell> ScreenGrid::cellsWith(char ch, lu::Color color) const
{
    std::vector<Cell> found;
    for (int r = 0; r < GRID_ROWS; ++r) {
        for (int c = 0; c < GRID_COLUMNS; ++c) {
            if (charAt(c, r) == ch && colorAt(c, r) == color)
                found.push_back(Cell{c, r});
        }
    }
    return found;
}

std::string ScreenGrid::describe() const
{
    std::string result;
    for (int r = 0; r < GRID_ROWS; ++r) {
        std::string number = std::to_string(r);
        result += std::string(2 - number.size(), ' ') + number + " |" + row(r) + "|\n";
    }
    return result;
}

std::string colorName(lu::Color color)
{
    switch (color) {
    case lu::BLACK:
        return "black";
    case lu::RED:
        return "red";
    case lu::GREEN:
        return "green";
    case lu::YELLOW:
        return "yellow";
    case lu::BLUE:
        return "blue";
    case lu::MAGENTA:
        return "magenta";
    case lu::CYAN:
        return "cyan";
    case lu::WHITE:
        return "white";
    }
    return "unknown";
}
