#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/System/Vector2.hpp>

namespace lutest {

/// Opens the font the display draws with from the working folder; returns false when it cannot.
bool openDisplayFont(sf::Font& font);

/// Draws cells the plain way, one shared rectangle and one shared text per cell, each drawn on its
/// own: what the display's batch must match pixel for pixel, and the baseline its speed is measured against.
class ReferenceCellDrawer {
public:
    /// Makes a drawer for cells of cellSize pixels, drawn with font (which must outlive the drawer).
    ReferenceCellDrawer(const sf::Font& font, sf::Vector2f cellSize);

    /// Draws into target a black cell-sized rectangle a tenth of a cell left of and a fifth below
    /// position, then ch in bold at position, twice the smaller cell side high, in color.
    void draw(sf::RenderTarget& target, sf::Vector2f position, char ch, sf::Color color);

private:
    sf::Vector2f cellSize;
    sf::RectangleShape background;
    sf::Text text;
};

} // namespace lutest
