#pragma once

#include "ScreenGrid.h"

#include <string>
#include <vector>

/// The frames of one of the game's sprite files, so tests can look for the art on the screen.
class SpriteArt {
public:
    /// Makes an empty sprite without frames.
    SpriteArt();

    /// Reads a sprite file (frames, width, height, slowdown and colour lines, then the rows);
    /// returns false when it cannot be read whole.
    bool load(const std::string& path);

    /// Returns the number of frames read.
    int getFrameCount() const;

    /// Returns the frame width in characters.
    int getWidth() const;

    /// Returns the frame height in rows.
    int getHeight() const;

    /// Returns the colour every character is drawn in.
    lu::Color getColor() const;

    /// Returns row r of a frame, padded or cut to the width.
    std::string rowOf(int frame, int r) const;

    /// Returns true when some frame uses ch.
    bool uses(char ch) const;

    /// Returns the first frame that the grid shows centred on the cell the way the display draws sprites
    /// (every character, blanks included, non-blank ones in the sprite's colour); -1 when none does.
    int frameShownAt(const ScreenGrid& grid, int centreColumn, int centreRow) const;

private:
    int width;
    int height;
    lu::Color color;
    std::vector<std::vector<std::string>> frames;
};
