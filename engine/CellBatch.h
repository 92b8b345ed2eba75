#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Vertex.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sf {
class RenderTarget;
}

namespace lu {

/// A frame's cells gathered into one vertex array over the font's glyph page and drawn in a few large
/// calls. Each cell is a black background rectangle with one bold character on top, and lands on exactly
/// the pixels it would cover if its rectangle and its text were drawn on their own.
///
/// On a target known to be black, the part of a background over pixels no glyph has touched since
/// would change nothing, and is left out.
class CellBatch {
public:
    /// Makes an empty batch for cells of cellSize pixels, drawn with font (which must outlive the batch).
    CellBatch(const sf::Font& font, sf::Vector2f cellSize);

    /// Appends a cell whose character starts at pixel position of target (in its current view): its
    /// black background, then ch in color (whitespace has no glyph).
    void addCell(const sf::RenderTarget& target, sf::Vector2f position, char ch, sf::Color color);

    /// Draws the cells appended so far into target in the order they came and empties the batch: a draw
    /// call per run of cells that all stay inside the target or all reach past its edge, split into
    /// calls a software renderer keeps whole.
    void drawInto(sf::RenderTarget& target);

    /// Draws the cells appended so far into target, as drawInto() does, once they are many enough to be
    /// worth starting on before the frame is complete; otherwise leaves them waiting.
    void drawIfFull(sf::RenderTarget& target);

    /// Tells the batch, with no cells waiting, that target has just been cleared to opaque black and that
    /// nothing but the batch draws into it until forgetSurface(): backgrounds that change nothing are left out.
    void assumeBlackSurface(const sf::RenderTarget& target);

    /// Tells the batch that its target may hold anything: every background is drawn from now on.
    void forgetSurface();

    /// Returns the number of cells waiting to be drawn.
    int getCellCount() const;

    /// Returns the number of rectangles (backgrounds and glyphs) waiting to be drawn.
    int getRectangleCount() const;

private:
    // A rectangle of pixels; right and bottom are exclusive.
    struct PixelArea {
        int left;
        int top;
        int right;
        int bottom;
    };

    // The words of a row that a run of pixels spans, and the bits it takes in the first and last.
    struct ColumnMasks {
        int firstWord;
        int lastWord;
        std::uint64_t firstMask;
        std::uint64_t lastMask;

        std::uint64_t maskOf(int word) const;
    };

    void addBackground(const float* view, sf::Vector2f offset, bool upright);
    void addRectangle(const float* view, sf::Vector2f offset, sf::Vector2f topLeft, sf::Vector2f bottomRight,
                      sf::Vector2f texTopLeft, sf::Vector2f texBottomRight, sf::Color color);
    void appendQuad(const sf::Vertex* corners);
    sf::Vector2f clipSpaceToPixels(sf::Vector2f clip) const;
    sf::Vector2f pixelsToClipSpace(sf::Vector2f pixels) const;
    PixelArea pixelsUnder(sf::Vector2f topLeft, sf::Vector2f bottomRight) const;
    PixelArea touchedWithin(const PixelArea& pixels) const;
    void markTouched(const PixelArea& pixels);
    static ColumnMasks columnMasks(const PixelArea& pixels);
    static bool sameBlockColumns(const PixelArea& a, const PixelArea& b);
    void fitCoverage(const sf::RenderTarget& target);

    void appendCell(const sf::RenderTarget& target, sf::Vector2f position, char ch, sf::Color color);
    void sortIntoRun(std::size_t firstVertex);

    const sf::Font& font;
    sf::Vector2f cellSize;
    unsigned int characterSize;
    std::vector<sf::Vertex> vertices;
    int cellCount;

    // Cells that reach past the edge of clip space are drawn in draw calls of their own: the renderer
    // clips such calls on a much slower path. Each run of cells alike starts at one of these vertices.
    std::vector<std::size_t> runStarts;
    bool lastCellCrossesEdge;

    // Whether the target is black wherever no glyph has touched it, and which pixels a glyph may
    // have touched since it was: one bit per pixel, rows of wordsPerRow words.
    bool blackSurface;
    std::vector<std::uint64_t> touched;
    // Scratch for cutting a background into bands, kept so that no cell allocates.
    std::vector<PixelArea> bands;
    sf::Vector2u coverageSize;
    int wordsPerRow;
    PixelArea viewport;
};

} // namespace lu
