#pragma once

#include <string>

namespace lu {

/// One picture of a sprite: width x height characters, row by row in one string.
class Frame {
public:
    /// Makes an empty 0 x 0 frame.
    Frame();

    /// Makes a frame from its size and its rows concatenated.
    Frame(int width, int height, std::string frameString);

    /// Returns the characters per row.
    int getWidth() const;

    /// Sets the characters per row.
    void setWidth(int width);

    /// Returns the number of rows.
    int getHeight() const;

    /// Sets the number of rows.
    void setHeight(int height);

    /// Returns the rows concatenated.
    std::string getString() const;

    /// Sets the rows concatenated.
    void setString(std::string frameString);

private:
    int width;
    int height;
    std::string frameString;
};

} // namespace lu
