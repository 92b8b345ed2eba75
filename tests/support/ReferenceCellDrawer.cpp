#include "ReferenceCellDrawer.h"

#include "DisplayManager.h"
#include "SfmlCompat.h"

#include <SFML/Config.hpp>

#include <algorithm>

namespace lutest {

ReferenceCellDrawer::ReferenceCellDrawer(const sf::Font& font, sf::Vector2f size)
    : cellSize(size),
      background(sf::Vector2f(0, 0)),
#if SFML_VERSION_MAJOR >= 3
      text(font, "")
#else
      text("", font)
#endif
{
}

void ReferenceCellDrawer::draw(sf::RenderTarget& target, sf::Vector2f position, char ch, sf::Color color)
{
    background.setSize(cellSize);
    background.setFillColor(sf::Color(0, 0, 0, 255));
    background.setPosition(sf::Vector2f(position.x - cellSize.x / 10, position.y + cellSize.y / 5));
    target.draw(background);

    text.setString(sf::String(ch));
    text.setStyle(sf::Text::Bold);
    text.setCharacterSize(static_cast<unsigned int>(2 * std::min(cellSize.x, cellSize.y)));
    text.setFillColor(color);
    text.setPosition(position);
    target.draw(text);
}

bool openDisplayFont(sf::Font& font)
{
    return lu::openFontFile(font, lu::FONT_FILE_DEFAULT);
}

} // namespace lutest
