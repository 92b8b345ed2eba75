#include "DisplayManager.h"

#include "CellBatch.h"
#include "CellListener.h"
#include "LogManager.h"
#include "SfmlCompat.h"
#include "WorldManager.h"

#include <SFML/Config.hpp>
#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/System/String.hpp>

#include <algorithm>
#include <cmath>

#include <filesystem>
#include <system_error>

// Included last: Xlib defines macros (None, Status, Bool) that would clash with SFML's names.
#if defined(__unix__) && !defined(__APPLE__)
#include <X11/Xlib.h>
#endif

namespace lu {

const sf::Color WINDOW_BACKGROUND_COLOR_DEFAULT(0, 0, 0, 255);

namespace {

const unsigned int WINDOW_BITS_PER_PIXEL = 32;

// Indexed by lu::Color.
const sf::Color CELL_COLORS[] = {
    sf::Color(0, 0, 0, 255),   sf::Color(255, 0, 0, 255),   sf::Color(0, 255, 0, 255),   sf::Color(255, 255, 0, 255),
    sf::Color(0, 0, 255, 255), sf::Color(255, 0, 255, 255), sf::Color(0, 255, 255, 255), sf::Color(255, 255, 255, 255),
};
const int CELL_COLOR_COUNT = sizeof(CELL_COLORS) / sizeof(CELL_COLORS[0]);

// SFML aborts the whole process when it cannot reach the display, so the display is tried first.
// The trial connection stays open until the window has its own: closing a server's only
// connection makes it reset, and a window connecting during the reset fails.
#if defined(__unix__) && !defined(__APPLE__)
class DisplayProbe {
public:
    DisplayProbe() : display(XOpenDisplay(nullptr))
    {
    }

    ~DisplayProbe()
    {
        if (display != nullptr)
            XCloseDisplay(display);
    }

    bool reachable() const
    {
        return display != nullptr;
    }

private:
    DisplayProbe(const DisplayProbe&) = delete;
    DisplayProbe& operator=(const DisplayProbe&) = delete;

    Display* display;
};
#else
class DisplayProbe {
public:
    bool reachable() const
    {
        return true;
    }
};
#endif

// Titles are taken as UTF-8, as a game's source files usually are.
sf::String titleText(const std::string& title)
{
    return sf::String::fromUtf8(title.begin(), title.end());
}

sf::RenderWindow* createWindow(int width, int height, const std::string& title)
{
#if SFML_VERSION_MAJOR >= 3
    sf::VideoMode mode({static_cast<unsigned int>(width), static_cast<unsigned int>(height)}, WINDOW_BITS_PER_PIXEL);
    auto* window =
        new sf::RenderWindow(mode, titleText(title), WINDOW_STYLE_DEFAULT, sf::State::Windowed, sf::ContextSettings());
#if SFML_VERSION_MAJOR == 3 && SFML_VERSION_MINOR == 0
    // SFML 3.0 puts a new window's centre near the screen's bottom-right corner on X11, mostly off the
    // screen: it is centred instead, where other versions put it.
    sf::Vector2i screen(sf::VideoMode::getDesktopMode().size);
    window->setPosition((screen - sf::Vector2i(width, height)) / 2);
#endif
    return window;
#else
    sf::VideoMode mode(static_cast<unsigned int>(width), static_cast<unsigned int>(height), WINDOW_BITS_PER_PIXEL);
    return new sf::RenderWindow(mode, titleText(title), WINDOW_STYLE_DEFAULT, sf::ContextSettings());
#endif
}

} // namespace

DisplayManager::DisplayManager()
    : font(std::make_unique<sf::Font>()),
      window(nullptr),
      horizontalPixels(WINDOW_HORIZONTAL_PIXELS_DEFAULT),
      verticalPixels(WINDOW_VERTICAL_PIXELS_DEFAULT),
      horizontalCells(WINDOW_HORIZONTAL_CELLS_DEFAULT),
      verticalCells(WINDOW_VERTICAL_CELLS_DEFAULT),
      cellListener(nullptr),
      title(WINDOW_TITLE_DEFAULT),
      headless(false),
      headlessStarted(false),
      showing(false),
      drawnCells(static_cast<std::size_t>(horizontalCells * verticalCells), ' '),
      shownCells(drawnCells)
{
}

DisplayManager::~DisplayManager()
{
    delete window;
}

DisplayManager& DisplayManager::instance()
{
    static DisplayManager displayManager;
    return displayManager;
}

int DisplayManager::startUp()
{
    LogManager& log = LogManager::instance();
    if (window != nullptr || headlessStarted) {
        log.writeMessage("Already started up");
        return 0;
    }
    // Without a window there is no font to draw with either: the cells are all there is.
    if (headless) {
        headlessStarted = true;
        showing = true;
        started = true;
        setType("DisplayManager");
        return 0;
    }

    DisplayProbe probe;
    if (!probe.reachable()) {
        log.writeMessage("Issue creating window");
        return -1;
    }
    window = createWindow(horizontalPixels, verticalPixels, title);
    window->setMouseCursorVisible(false);
    window->setVerticalSyncEnabled(true);
    if (!window->isOpen()) {
        delete window;
        window = nullptr;
        log.writeMessage("Issue creating window");
        return -1;
    }

    // Drawing works whether or not the font opens (without it, cells have no glyphs).
    showing = true;
    bool fontOpened = openFontFile(*font, FONT_FILE_DEFAULT);
    batch = std::make_unique<CellBatch>(*font, sf::Vector2f(cellWidth(), cellHeight()));
    if (!fontOpened) {
        log.writeMessage("Issue loading font");
        std::error_code unknown;
        std::string directory = std::filesystem::current_path(unknown).string();
        log.writeWarning("cannot load the font \"%s\" from the working directory \"%s\"", FONT_FILE_DEFAULT.c_str(),
                         directory.c_str());
        return -1;
    }

    started = true;
    setType("DisplayManager");
    return 0;
}

void DisplayManager::shutDown()
{
    LogManager::instance().writeMessage("Display shutting down");
    showing = false;
    if (started && window != nullptr)
        window->close();
}

int DisplayManager::drawCharacter(Vector worldPosition, char ch, Color color) const
{
    Vector viewPosition = worldPosition - WorldManager::instance().getCamera();
    if (cellListener != nullptr)
        cellListener->onCharacter(viewPosition, ch, color);
    if (window == nullptr && !headlessStarted)
        return -1;
    // Told headless too, so that a headless run logs what a windowed one does.
    int colorIndex = color;
    if (colorIndex < 0 || colorIndex >= CELL_COLOR_COUNT) {
        LogManager::instance().writeMessage("Unknown color. Using default");
        colorIndex = COLOR_DEFAULT;
    }
    if (showing) {
        float column = std::floor(viewPosition.getX() + 0.5f);
        float row = std::floor(viewPosition.getY() + 0.5f);
        if (column >= 0 && column < horizontalCells && row >= 0 && row < verticalCells) {
            bool control = static_cast<unsigned char>(ch) < ' ' || ch == '\x7f';
            int cell = static_cast<int>(row) * horizontalCells + static_cast<int>(column);
            drawnCells[static_cast<std::size_t>(cell)] = control ? ' ' : ch;
        }
    }
    if (window == nullptr)
        return 0;

    float pixelX = cellWidth() * viewPosition.getX();
    float pixelY = cellHeight() * viewPosition.getY();
    batch->addCell(*window, sf::Vector2f(pixelX, pixelY), ch, CELL_COLORS[colorIndex]);
    return 0;
}

int DisplayManager::drawString(Vector worldPosition, std::string text, Color color) const
{
    return drawString(worldPosition, text, color, ALIGN_CENTER);
}

int DisplayManager::drawString(Vector worldPosition, std::string text, Color color, Alignment alignment) const
{
    float startX = worldPosition.getX();
    if (alignment == ALIGN_CENTER)
        startX -= static_cast<int>(text.size() / 2);
    else if (alignment == ALIGN_RIGHT)
        startX -= static_cast<float>(text.size()) - 1;
    else if (alignment != ALIGN_LEFT)
        return -1;
    int sum = 0;
    for (std::size_t i = 0; i < text.size(); i++) {
        Vector cell(startX + static_cast<float>(i), worldPosition.getY());
        sum += drawCharacter(cell, text[i], color);
    }
    if (sum < 0)
        return -1;
    return 0;
}

void DisplayManager::swapBuffers()
{
    if (showing) {
        shownCells.swap(drawnCells);
        std::fill(drawnCells.begin(), drawnCells.end(), ' ');
    }
    if (window == nullptr)
        return;
    batch->drawInto(*window);
    window->display();
    window->clear(WINDOW_BACKGROUND_COLOR_DEFAULT);
}

void DisplayManager::setTitle(std::string newTitle)
{
    title = newTitle;
    if (window != nullptr)
        window->setTitle(titleText(title));
}

void DisplayManager::fitToWindow(unsigned int width, unsigned int height)
{
    if (window == nullptr || width == 0 || height == 0)
        return;
    float pictureWidth = static_cast<float>(horizontalPixels);
    float pictureHeight = static_cast<float>(verticalPixels);
    float scale = std::min(static_cast<float>(width) / pictureWidth, static_cast<float>(height) / pictureHeight);
    // Fractions of the window, as a view's viewport is given.
    float shownWidth = pictureWidth * scale / static_cast<float>(width);
    float shownHeight = pictureHeight * scale / static_cast<float>(height);
    sf::View view(sf::FloatRect(sf::Vector2f(0, 0), sf::Vector2f(pictureWidth, pictureHeight)));
    view.setViewport(sf::FloatRect(sf::Vector2f((1 - shownWidth) / 2, (1 - shownHeight) / 2),
                                   sf::Vector2f(shownWidth, shownHeight)));
    // What was drawn under the old view goes there first.
    batch->drawInto(*window);
    window->setView(view);
}

int DisplayManager::getHorizontalCells() const
{
    return horizontalCells;
}

int DisplayManager::getVerticalCells() const
{
    return verticalCells;
}

int DisplayManager::getHorizontalPixels() const
{
    return horizontalPixels;
}

int DisplayManager::getVerticalPixels() const
{
    return verticalPixels;
}

float DisplayManager::cellWidth() const
{
    return static_cast<float>(horizontalPixels / horizontalCells);
}

float DisplayManager::cellHeight() const
{
    return static_cast<float>(verticalPixels / verticalCells);
}

sf::RenderWindow* DisplayManager::getWindow() const
{
    // Whoever reaches the window may read it back or draw into it. At the start of a frame, where the
    // input manager polls it, nothing waits and this costs nothing.
    if (window != nullptr)
        batch->drawInto(*window);
    return window;
}

void DisplayManager::setCellListener(CellListener* listener)
{
    cellListener = listener;
}

bool DisplayManager::isHeadless() const
{
    return headless;
}

std::string DisplayManager::getScreenText() const
{
    std::string text;
    for (int row = 0; row < verticalCells; row++)
        text += shownCells.substr(static_cast<std::size_t>(row) * horizontalCells, horizontalCells) + "\n";
    return text;
}

} // namespace lu
