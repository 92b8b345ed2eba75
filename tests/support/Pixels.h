#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include <functional>
#include <string>

namespace lutest {

/// Returns what the window holds before it is shown, or an empty image when it cannot be read.
sf::Image windowImage(const sf::RenderWindow& window);

/// Returns "" when the images are equal, else how many pixels differ and the first of them.
std::string pixelDifferences(const sf::Image& expected, const sf::Image& actual);

/// Returns how many pixels match; box, when given, receives the smallest rectangle around them
/// as "x 129..141 y 109..129" ("none" when no pixel matches).
int countPixels(const sf::Image& image, const std::function<bool(sf::Color)>& match, std::string* box = nullptr);

} // namespace lutest
