#include "Pixels.h"

#include <SFML/Config.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <algorithm>

namespace lutest {

sf::Image windowImage(const sf::RenderWindow& window)
{
    sf::Texture texture;
#if SFML_VERSION_MAJOR >= 3
    if (!texture.resize(window.getSize()))
        return sf::Image();
#else
    if (!texture.create(window.getSize().x, window.getSize().y))
        return sf::Image();
#endif
    texture.update(window);
    return texture.copyToImage();
}

std::string pixelDifferences(const sf::Image& expected, const sf::Image& actual)
{
    if (expected.getSize() != actual.getSize())
        return "sizes differ";
    unsigned int width = expected.getSize().x;
    unsigned int height = expected.getSize().y;
    int differing = 0;
    std::string first;
    for (unsigned int y = 0; y < height; y++) {
        for (unsigned int x = 0; x < width; x++) {
#if SFML_VERSION_MAJOR >= 3
            sf::Color a = expected.getPixel({x, y});
            sf::Color b = actual.getPixel({x, y});
#else
            sf::Color a = expected.getPixel(x, y);
            sf::Color b = actual.getPixel(x, y);
#endif
            if (a == b)
                continue;
            if (differing++ == 0)
                first = " first at (" + std::to_string(x) + ", " + std::to_string(y) +
                        "): " + std::to_string(a.toInteger()) + " expected, " + std::to_string(b.toInteger()) +
                        " drawn";
        }
    }
    return differing == 0 ? "" : std::to_string(differing) + " pixels differ," + first;
}

int countPixels(const sf::Image& image, const std::function<bool(sf::Color)>& match, std::string* box)
{
    int count = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    for (unsigned int y = 0; y < image.getSize().y; y++) {
        for (unsigned int x = 0; x < image.getSize().x; x++) {
#if SFML_VERSION_MAJOR >= 3
            if (!match(image.getPixel({x, y})))
#else
            if (!match(image.getPixel(x, y)))
#endif
                continue;
            int ix = static_cast<int>(x), iy = static_cast<int>(y);
            left = count == 0 ? ix : std::min(left, ix);
            top = count == 0 ? iy : top;
            right = std::max(right, ix);
            bottom = iy;
            count++;
        }
    }
    if (box != nullptr)
        *box = count == 0 ? "none"
                          : "x " + std::to_string(left) + ".." + std::to_string(right) + " y " + std::to_string(top) +
                                ".." + std::to_string(bottom);
    return count;
}

} // namespace lutest
