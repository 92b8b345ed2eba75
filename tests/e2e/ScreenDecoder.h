#pragma once

#include "Image.h"
#include "ScreenGrid.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

const int CELL_WIDTH = lu::WINDOW_HORIZONTAL_PIXELS_DEFAULT / lu::WINDOW_HORIZONTAL_CELLS_DEFAULT;
const int CELL_HEIGHT = lu::WINDOW_VERTICAL_PIXELS_DEFAULT / lu::WINDOW_VERTICAL_CELLS_DEFAULT;

/// One string to paint at a cell, left to right, one character per cell; a shift (in cells) places it
/// between cells, as the display draws a moving object.
struct PaintedText {
    int column;
    int row;
    lu::Color color;
    std::string text;
    float shiftX = 0;
    float shiftY = 0;
};

/// Reads a screenshot of the game's window back into a grid of characters and colours, by matching each
/// cell against reference glyphs that the display itself drew (a glyph sheet, see glyphSheet()).
class ScreenDecoder {
public:
    /// Makes a decoder that knows no glyphs yet.
    ScreenDecoder();

    /// Returns how many glyph sheets learn() needs.
    static int glyphSheetCount();

    /// Returns what to paint, in white, on one glyph sheet: printable characters on cells and shifted by
    /// the small steps a creeping object is drawn at, each with free cells to its right and below.
    static std::vector<PaintedText> glyphSheet(int sheet);

    /// Learns the reference glyphs from screenshots of the glyph sheets, in order; returns false, with the
    /// reason in error, when they cannot be drawn sheets (wrong size, too few glyphs, ink in a blank).
    bool learn(const std::vector<Image>& sheets, std::string& error);

    /// Returns true when ch can be told apart on the screen (a space always can).
    bool canRead(char ch) const;

    /// Returns true once the reference glyphs are learnt.
    bool isReady() const;

    /// Returns the leftmost pixel column of a cell's square on the screen.
    static int cellLeftPixel(int column);

    /// Returns the top pixel row of a cell's square on the screen.
    static int cellTopPixel(int row);

    /// Decodes a window screenshot into characters and colours. A comma whose tail a later-drawn cell
    /// below covers reads as a period: on the screen the two are then the same.
    ScreenGrid decode(const Image& screen) const;

private:
    // The lit pixels of a cell's square, a row of CELL_WIDTH bits in each 16-bit lane, four rows a word.
    static const int MASK_LANE_BITS = 16;
    static const int MASK_ROWS_PER_WORD = 4;
    static const int MASK_WORDS = (CELL_HEIGHT + MASK_ROWS_PER_WORD - 1) / MASK_ROWS_PER_WORD;
    typedef std::array<std::uint64_t, MASK_WORDS> CellMask;

    // A glyph as drawn at a cell: what lands inside its own cell, and what spills into the cell to
    // its right, the one below and the one diagonally below right.
    struct Glyph {
        char ch;
        bool shifted;
        CellMask own;
        CellMask right;
        CellMask below;
        CellMask diagonal;
    };

    static CellMask maskAt(const Image& image, int column, int row);
    static bool isLit(const CellMask& mask, int x, int y);
    static int countBits(const CellMask& mask);
    static CellMask below(const std::vector<CellMask>& observed, int column, int row);
    static int tailFit(const Glyph& glyph, const CellMask& observedBelow);
    int bestGlyph(const CellMask& observed, const CellMask& allowed, const CellMask& observedBelow) const;
    CellMask spillInto(const std::vector<int>& chosen, int column, int row) const;
    lu::Color colorOf(const Image& image, int column, int row, const CellMask& ink) const;

    std::vector<Glyph> glyphs;
    int spaceGlyph;
    // Glyphs on whole cells come first; the shifted ones are only tried when none fits exactly.
    std::size_t cellGlyphs;
};
