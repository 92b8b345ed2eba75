#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// An RGB picture read back from a window, 8 bits per channel, rows top to bottom.
class Image {
public:
    /// Makes an empty picture of 0 x 0 pixels.
    Image();

    /// Makes a black picture of the given size.
    Image(int width, int height);

    /// Returns the width in pixels.
    int getWidth() const;

    /// Returns the height in pixels.
    int getHeight() const;

    /// Returns true when the picture has no pixels.
    bool isEmpty() const;

    /// Sets one pixel; does nothing outside the picture.
    void setPixel(int x, int y, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

    /// Returns a pointer to the three channels of a pixel, or null outside the picture.
    const std::uint8_t* pixel(int x, int y) const;

    /// Returns true when some pixel is not black.
    bool hasInk() const;

    /// Returns true when other has the same size and pixels.
    bool sameAs(const Image& other) const;

    /// Writes the picture as a binary PPM file; returns false when the file cannot be written.
    bool writePpm(const std::string& path) const;

private:
    int width;
    int height;
    std::vector<std::uint8_t> rgb;
};
