#pragma once

#include "Object.h"

#include <string>
#include <vector>

/// The harness's own drawing program: an object that draws a fixed list of texts through the engine's
/// display every frame, one character per cell from the given cell rightwards, in the listed order.
class GridPainter : public lu::Object {
public:
    /// Makes a painter with nothing to draw.
    GridPainter();

    /// Reads lines of "x y colour text" (x and y in cells, fractions allowed, the colour as its number);
    /// returns false on a malformed line or a file that cannot be read.
    bool load(const std::string& path);

    /// Draws every text; returns 0.
    int draw() override;

private:
    struct Line {
        float x;
        float y;
        int color;
        std::string text;
    };

    std::vector<Line> lines;
};
