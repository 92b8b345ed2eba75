#include "Pixels.h"

#include <SFML/Config.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <algorithm>

namespace lutest {

namespace {

sf::Color pixel(const sf::Image& image, std::size_t i)
{
    const std::uint8_t* p = image.getPixelsPtr() + 4 * i;
    return sf::Color(p[0], p[1], p[2], p[3]);
}

} // namespace

sf::Image windowImage(const sf::RenderWindow& window)
{
    sf::Texture texture;
#if SFML_VERSION_MAJOR >= 3
    if (!texture.resize(window.getSize()))
#else
    if (!texture.create(window.getSize().x, window.getSize().y))
#endif
        return sf::Image();
    texture.update(window);
    return texture.copyToImage();
}

std::string pixelDifferences(const sf::Image& expected, const sf::Image& actual)
{
    if (expected.getSize() != actual.getSize())
        return "sizes differ";
    std::size_t width = expected.getSize().x;
    std::size_t differing = 0;
    std::string first;
    for (std::size_t i = 0; i < width * expected.getSize().y; i++) {
        if (pixel(expected, i) != pixel(actual, i) && differing++ == 0)
            first = " first at (" + std::to_string(i % width) + ", " + std::to_string(i / width) +
                    "): " + std::to_string(pixel(expected, i).toInteger()) + " expected, " +
                    std::to_string(pixel(actual, i).toInteger()) + " drawn";
    }
    return differing == 0 ? "" : std::to_string(differing) + " pixels differ," + first;
}

int countPixels(const sf::Image& image, const std::function<bool(sf::Color)>& match, std::string* box)
{
    int count = 0;
    int width = static_cast<int>(image.getSize().x);
    int left = width, top = 0, right = 0, bottom = 0;
    for (int i = 0; i < width * static_cast<int>(image.getSize().y); i++) {
        if (!match(pixel(image, static_cast<std::size_t>(i))))
            continue;
        top = count++ == 0 ? i / width : top;
        left = std::min(left, i % width);
        right = std::max(right, i % width);
        bottom = i / width;
    }
    if (box != nullptr)
        *box = count == 0 ? "none"
                          : "x " + std::to_string(left) + ".." + std::to_string(right) + " y " + std::to_string(top) +
                                ".." + std::to_string(bottom);
    return count;
}

} // namespace lutest
