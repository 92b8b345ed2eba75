#include "PerCellScreen.h"

#include "DisplayManager.h"

#include <SFML/Config.hpp>

namespace lubench {

namespace {

const sf::Color CELL_COLORS[] = {
    sf::Color(0, 0, 0, 255),   sf::Color(255, 0, 0, 255),   sf::Color(0, 255, 0, 255),   sf::Color(255, 255, 0, 255),
    sf::Color(0, 0, 255, 255), sf::Color(255, 0, 255, 255), sf::Color(0, 255, 255, 255), sf::Color(255, 255, 255, 255),
};
const int CELL_COLOR_COUNT = sizeof(CELL_COLORS) / sizeof(CELL_COLORS[0]);

sf::Vector2f cellSize()
{
    const lu::DisplayManager& display = lu::DisplayManager::instance();
    return sf::Vector2f(display.cellWidth(), display.cellHeight());
}

#if SFML_VERSION_MAJOR >= 3
sf::VideoMode displayMode()
{
    const lu::DisplayManager& display = lu::DisplayManager::instance();
    return sf::VideoMode(sf::Vector2u(static_cast<unsigned int>(display.getHorizontalPixels()),
                                      static_cast<unsigned int>(display.getVerticalPixels())));
}
#else
sf::VideoMode displayMode()
{
    const lu::DisplayManager& display = lu::DisplayManager::instance();
    return sf::VideoMode(static_cast<unsigned int>(display.getHorizontalPixels()),
                         static_cast<unsigned int>(display.getVerticalPixels()));
}
#endif

} // namespace

sf::Color cellColor(lu::Color color)
{
    if (color < 0 || color >= CELL_COLOR_COUNT)
        return CELL_COLORS[lu::COLOR_DEFAULT];
    return CELL_COLORS[color];
}

PerCellScreen::PerCellScreen()
    : window(displayMode(), lu::WINDOW_TITLE_DEFAULT),
      fontLoaded(lutest::openDisplayFont(font)),
      drawer(font, cellSize())
{
    window.setVerticalSyncEnabled(true);
    window.clear(sf::Color::Black);
    lu::DisplayManager::instance().setCellListener(this);
}

PerCellScreen::~PerCellScreen()
{
    lu::DisplayManager::instance().setCellListener(nullptr);
    window.close();
}

bool PerCellScreen::isOpen() const
{
    return window.isOpen() && fontLoaded;
}

void PerCellScreen::onCharacter(lu::Vector worldPosition, char ch, lu::Color color)
{
    sf::Vector2f size = cellSize();
    drawer.draw(window, sf::Vector2f(size.x * worldPosition.getX(), size.y * worldPosition.getY()), ch,
                cellColor(color));
}

void PerCellScreen::show()
{
    window.display();
    window.clear(sf::Color::Black);
}

sf::RenderWindow& PerCellScreen::getWindow()
{
    return window;
}

} // namespace lubench
