#pragma once

#include "Color.h"
#include "DisplayManager.h"

#include <string>
#include <vector>

const int GRID_COLUMNS = lu::WINDOW_HORIZONTAL_CELLS_DEFAULT;
const int GRID_ROWS = lu::WINDOW_VERTICAL_CELLS_DEFAULT;

/// A column and row of the grid; (-1, -1) stands for "nowhere".
struct Cell {
    int column;
    int row;
};

/// What a screen shows, as characters and their colours on the 75 x 36 cell grid.
class ScreenGrid {
public:
    /// Makes a blank grid: spaces in black.
    ScreenGrid();

    /// Sets one cell; does nothing outside the grid.
    void set(int column, int row, char ch, lu::Color color);

    /// Returns the character of a cell, a space outside the grid.
    char charAt(int column, int row) const;

    /// Returns the colour of a cell (BLACK for blank cells and outside the grid).
    lu::Color colorAt(int column, int row) const;

    /// Returns a whole row as 75 characters.
    std::string row(int row) const;

    /// Returns length characters of a row from a column on.
    std::string text(int column, int row, int length) const;

    /// Returns true when every non-blank cell of the range has the colour.
    bool hasColor(int column, int row, int length, lu::Color color) const;

    /// Returns the first cell, scanning rows top down, where text starts; (-1, -1) when absent.
    Cell find(const std::string& text) const;

    /// Returns every cell holding ch in the colour, row by row.
    std::vector<Cell> cellsWith(char ch, lu::Color color) const;

    /// Returns the grid as 36 lines between bars, for failure messages.
    std::string describe() const;

private:
    std::vector<char> chars;
    std::vector<lu::Color> colors;
};

/// Returns the name of a colour as the sprite files write it ("red", ...).
std::string colorName(lu::Color color);
