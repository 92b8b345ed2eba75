#include "Image.h"

#include <cstdio>

namespace {

const int CHANNELS = 3;

} // namespace

Image::Image() : width(0), height(0)
{
}

Image::Image(int width, int height)
    : width(width), height(height), rgb(static_cast<std::size_t>(width) * height * CHANNELS, 0)
{
}

int Image::getWidth() const
{
    return width;
}

int Image::getHeight() const
{
    return height;
}

bool Image::isEmpty() const
{
    return width == 0 || height == 0;
}

void Image::setPixel(int x, int y, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    std::size_t at = (static_cast<std::size_t>(y) * width + x) * CHANNELS;
    rgb[at] = red;
    rgb[at + 1] = green;
    rgb[at + 2] = blue;
}

const std::uint8_t* Image::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return nullptr;
    return &rgb[(static_cast<std::size_t>(y) * width + x) * CHANNELS];
}

bool Image::hasInk() const
{
    for (std::uint8_t channel : rgb) {
        if (channel != 0)
            return true;
    }
    return false;
}

bool Image::sameAs(const Image& other) const
{
    return width == other.width && height == other.height && rgb == other.rgb;
}

bool Image::writePpm(const std::string& path) const
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    std::size_t written = std::fwrite(rgb.data(), 1, rgb.size(), file);
    bool closed = std::fclose(file) == 0;
    return closed && written == rgb.size();
}
