#include "GridPainter.h"

#include "DisplayManager.h"

#include <fstream>
#include <sstream>

namespace {

// The painter must stay out of the way of the world's collisions.
const lu::Solidity PAINTER_SOLIDITY = lu::INTANGIBLE;

} // namespace

GridPainter::GridPainter()
{
    setType("GridPainter");
    setSolidity(PAINTER_SOLIDITY);
}

bool GridPainter::load(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        return false;
    std::string text;
    while (std::getline(file, text)) {
        std::istringstream fields(text);
        Line line;
        if (!(fields >> line.x >> line.y >> line.color))
            return false;
        // Exactly one blank separates the colour from the text, which may itself start with blanks.
        fields.get();
        std::getline(fields, line.text);
        lines.push_back(line);
    }
    return true;
}

int GridPainter::draw()
{
    lu::DisplayManager& display = lu::DisplayManager::instance();
    for (const Line& line : lines) {
        for (std::size_t i = 0; i < line.text.size(); ++i) {
            lu::Vector cell(line.x + static_cast<float>(i), line.y);
            display.drawCharacter(cell, line.text[i], static_cast<lu::Color>(line.color));
        }
    }
    return 0;
}
