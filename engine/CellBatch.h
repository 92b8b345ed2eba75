#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Vertex.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace sf {
class Font;
class RenderTarget;
} // namespace sf

namespace lu {

/// A frame's cells gathered into one vertex array over the font's glyph page and drawn in a few large
/// calls. Each cell is a black background rectangle with one bold character on top, and lands on exactly
/// the pixels its rectangle and its text would cover if each were drawn on its own, in the same order.
class CellBatch {
public:
    /// Makes an empty batch for cells of cellSize pixels, drawn with font (which must outlive the batch).
    CellBatch(const sf::Font& font, sf::Vector2f cellSize);

    /// Appends a cell whose character starts at pixel position of target (in its current view): its
    /// black background, then ch in color. Cells waiting under another viewport are drawn first.
    void addCell(sf::RenderTarget& target, sf::Vector2f position, char ch, sf::Color color);

    /// Draws the waiting cells into target in the order they came and empties the batch.
    void drawInto(sf::RenderTarget& target);

private:
    static const int CORNERS = 4;

    // A glyph's quad as a text lays it out, relative to the text's position, and its texture rectangle.
    struct GlyphQuad {
        sf::Vector2f topLeft;
        sf::Vector2f bottomRight;
        sf::Vector2f texTopLeft;
        sf::Vector2f texBottomRight;
    };

    const std::vector<GlyphQuad>& layOut(std::uint32_t codePoint);
    bool addQuad(const float* view, sf::Vector2f offset, const GlyphQuad& quad, sf::Color color);

    const sf::Font& font;
    sf::Vector2f cellSize;
    unsigned int characterSize;
    // Each character's glyphs, laid out on first use.
    std::map<std::uint32_t, std::vector<GlyphQuad>> layouts;

    // The waiting cells' vertices in clip space, in runs of cells that all stay inside the target or all
    // reach past its edge (where runs start), under the viewport they were added in.
    std::vector<sf::Vertex> vertices;
    std::vector<std::size_t> runStarts;
    bool runCrossesEdge;
    sf::FloatRect viewport;
};

} // namespace lu
