#pragma once

#include "Alignment.h"
#include "Color.h"
#include "Manager.h"
#include "Vector.h"

#include <memory>
#include <string>

namespace sf {
class Color;
class Font;
class RenderWindow;
} // namespace sf

namespace lu {

class CellBatch;
class CellListener;

/// Window width in pixels.
const int WINDOW_HORIZONTAL_PIXELS_DEFAULT = 1024;
/// Window height in pixels.
const int WINDOW_VERTICAL_PIXELS_DEFAULT = 768;
/// Grid columns: the world's width in cells.
const int WINDOW_HORIZONTAL_CELLS_DEFAULT = 75;
/// Grid rows: the world's height in cells.
const int WINDOW_VERTICAL_CELLS_DEFAULT = 36;
/// SFML window style: a title bar, a resizable border and a close button.
const int WINDOW_STYLE_DEFAULT = 7;
/// The colour the window is cleared to after every frame: opaque black.
extern const sf::Color WINDOW_BACKGROUND_COLOR_DEFAULT;
/// The window's title.
const std::string WINDOW_TITLE_DEFAULT = "Coilwander";
/// The TrueType font every character is drawn with, opened from the working directory.
const std::string FONT_FILE_DEFAULT = "lu-font.ttf";

/// Owns the window and draws the world as coloured characters on a grid of cells.
class DisplayManager : public Manager {
public:
    /// Returns the single display manager.
    static DisplayManager& instance();

    ~DisplayManager() override;

    /// Opens the window and loads the font, or headless neither; returns 0 on success or when already open,
    /// else -1.
    int startUp() override;

    /// Closes the window.
    void shutDown() override;

    /// Draws one character on its black cell at a world position; returns -1 without a window (or, headless,
    /// before startUp()).
    /// It lands in the view at the world position less the camera (WorldManager::getCamera()).
    /// Cells reach the window in batches, each pixel as if in drawing order, by getWindow() or swapBuffers().
    int drawCharacter(Vector worldPosition, char ch, Color color) const;

    /// Draws text centred on a world position, one cell per character; returns -1 if any failed.
    int drawString(Vector worldPosition, std::string text, Color color) const;

    /// Draws text one cell per character, its first character (ALIGN_LEFT), middle (ALIGN_CENTER, as the
    /// form without an alignment) or last character (ALIGN_RIGHT) on the world position; returns -1 if any
    /// character failed or the alignment is none of the three, which draws nothing.
    /// \code
    /// // "Score 12" ends on column 73: the right edge of the view less a margin of one.
    /// lu::DisplayManager::instance().drawString(lu::Vector(73, 0), "Score 12", lu::WHITE, lu::ALIGN_RIGHT);
    /// \endcode
    int drawString(Vector worldPosition, std::string text, Color color, Alignment alignment) const;

    /// Shows the frame drawn so far and clears the window to black for the next one.
    void swapBuffers();

    /// Sets the window's title, at once when the window is open, else when it opens; WINDOW_TITLE_DEFAULT
    /// until set.
    /// \code
    /// lu::DisplayManager::instance().setTitle("Cavern");
    /// \endcode
    void setTitle(std::string title);

    /// Returns the number of grid columns.
    int getHorizontalCells() const;

    /// Returns the number of grid rows.
    int getVerticalCells() const;

    /// Returns the window width in pixels.
    int getHorizontalPixels() const;

    /// Returns the window height in pixels.
    int getVerticalPixels() const;

    /// Returns a cell's width in pixels.
    float cellWidth() const;

    /// Returns a cell's height in pixels.
    float cellHeight() const;

    /// Returns the window, or null before a successful window creation. Every cell drawn so far is
    /// in it, so what the caller draws there directly lands on top of them.
    sf::RenderWindow* getWindow() const;

    /// Reports every later drawCharacter call to listener (null to stop), window or not.
    void setCellListener(CellListener* listener);

    /// Returns true when the display keeps its cells in memory only, with no window
    /// (GameManager::setHeadless()).
    bool isHeadless() const;

    /// Returns the last frame shown (by swapBuffers(), up to shutDown()), window or not, as text: one line
    /// per row, each of getHorizontalCells() characters and a line feed. A character lands on the cell
    /// nearest its position; cells drawn with nothing, or with a control character, are blanks.
    std::string getScreenText() const;

private:
    // The input manager refits the picture when the window reports a new size; the game manager makes
    // the display headless.
    friend class InputManager;
    friend class GameManager;

    DisplayManager();
    DisplayManager(const DisplayManager&) = delete;
    DisplayManager& operator=(const DisplayManager&) = delete;

    // Scales the picture to the largest that fits a window of this many pixels, keeping its proportions,
    // and centres it; the rest stays black. At the window's first size it fills the window, unscaled.
    void fitToWindow(unsigned int width, unsigned int height);

    std::unique_ptr<sf::Font> font;
    sf::RenderWindow* window;
    int horizontalPixels;
    int verticalPixels;
    int horizontalCells;
    int verticalCells;
    CellListener* cellListener;
    std::string title;
    // Made with the window; filled by the const drawing calls, emptied into the window by getWindow()
    // and swapBuffers().
    std::unique_ptr<CellBatch> batch;
    // Set before startUp(): keep the cells in memory and open no window.
    bool headless;
    // The headless counterpart of a window made by startUp(): true from then on.
    bool headlessStarted;
    // True from a successful startUp() to shutDown(): drawing reaches the cells, and showing them counts.
    bool showing;
    // The cells drawn since the last frame was shown, row after row; then those of the frame shown.
    // Filled by the const drawing calls, as the batch is.
    mutable std::string drawnCells;
    std::string shownCells;
};

} // namespace lu
