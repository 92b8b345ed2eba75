#pragma once

#include "CellListener.h"
#include "ReferenceCellDrawer.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

namespace lubench {

/// The per-cell baseline: a window of the display's size that draws every cell the display is asked
/// for right away, one shared rectangle and one shared text per cell. It listens to a display
/// without a window of its own, so the engine's frame runs unchanged while the cells go this way.
class PerCellScreen : public lu::CellListener {
public:
    /// Opens the window and the font; check isOpen().
    PerCellScreen();

    /// Stops listening and closes the window.
    ~PerCellScreen() override;

    /// Returns true when the window and the font are ready.
    bool isOpen() const;

    /// Draws the cell into the window at once (called by the display).
    void onCharacter(lu::Vector worldPosition, char ch, lu::Color color) override;

    /// Shows the frame and clears the window to black, as the display's swap does.
    void show();

    /// Returns the window, to draw into it directly.
    sf::RenderWindow& getWindow();

private:
    PerCellScreen(const PerCellScreen&) = delete;
    PerCellScreen& operator=(const PerCellScreen&) = delete;

    sf::RenderWindow window;
    sf::Font font;
    bool fontLoaded;
    lutest::ReferenceCellDrawer drawer;
};

/// Returns the colour the display draws lu::Color in (white for unknown values).
sf::Color cellColor(lu::Color color);

} // namespace lubench
