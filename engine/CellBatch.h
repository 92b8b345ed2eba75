#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderStates.hpp>
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

/// A frame's cells gathered into vertex arrays over the font's glyph page and drawn in a few large
/// calls. Each cell is a black background rectangle with one bold character on top, and lands on exactly
/// the pixels it would cover if its rectangle and its text were drawn on their own.
///
/// On a target known to be black, the cells wait until they are drawn, and are then drawn strip by
/// strip across the target, a column of backgrounds to a strip, each strip clipped to itself (when
/// enough is hidden to pay for the clipping). The part of a glyph that a later background covers is
/// left out, and so is the part of a background over pixels no glyph has touched since the target
/// was cleared: neither would change a pixel.
class CellBatch {
public:
    /// Makes an empty batch for cells of cellSize pixels, drawn with font (which must outlive the batch).
    CellBatch(const sf::Font& font, sf::Vector2f cellSize);

    /// Appends a cell whose character starts at pixel position of target (in its current view): its
    /// black background, then ch in color (whitespace has no glyph).
    void addCell(const sf::RenderTarget& target, sf::Vector2f position, char ch, sf::Color color);

    /// Draws the cells appended so far into target, each pixel as if the cells were drawn in the order
    /// they came, and empties the batch: a draw call per run of cells that all stay inside the target or all
    /// reach past its edge (per strip on black), split into calls a software renderer keeps whole.
    void drawInto(sf::RenderTarget& target);

    /// Draws the cells appended so far into target, as drawInto() does, once they are many enough to be
    /// worth starting on before the frame is complete; otherwise, and always on black, leaves them waiting.
    void drawIfFull(sf::RenderTarget& target);

    /// Tells the batch, with no cells waiting, that target has just been cleared to opaque black and that
    /// nothing but the batch draws into it until forgetSurface(): backgrounds that change nothing are left out.
    void assumeBlackSurface(const sf::RenderTarget& target);

    /// Tells the batch that its target may hold anything: every background is drawn from now on.
    void forgetSurface();

    /// Returns the number of cells waiting to be drawn.
    int getCellCount() const;

    /// Returns the number of rectangles (backgrounds, parts of them, and glyphs, once per strip they are
    /// drawn in) the batch has drawn since it was made.
    int getRectanglesDrawn() const;

private:
    static const int CORNERS = 4;

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

    // Vertices waiting for a draw call, in runs of cells that all stay inside clip space or all reach
    // past its edge: the renderer clips such cells on a much slower path, so they get calls of their own.
    struct VertexRuns {
        std::vector<sf::Vertex> vertices;
        std::vector<std::size_t> starts;
        bool lastCellCrossesEdge = false;

        void endCell(std::size_t firstVertex, bool crossesEdge);
        void clear();
    };

    // A cell on a black target, kept until the batch is drawn: where its background and glyph land,
    // in clip space and in pixels (areas with nothing in them when they land off the target).
    struct WaitingCell {
        sf::Vector2f backgroundTopLeft;
        sf::Vector2f backgroundBottomRight;
        PixelArea background;
        sf::Vertex glyphCorners[CORNERS];
        PixelArea glyph;
        bool crossesEdge;
        // The strips it reaches, and which parts of the glyph later backgrounds cover (bit k: the
        // part in the k-th strip from the glyph's first).
        int firstStrip = 0;
        int lastStrip = -1;
        std::uint32_t hiddenParts = 0;
    };

    bool layOutGlyph(const float* view, sf::Vector2f position, char ch, sf::Color color, sf::Vertex* corners);
    void addWaitingCell(const sf::Vertex* background, const sf::Vertex* glyph);
    void addWaitingCellsToRuns();
    void drawWaitingCells(sf::RenderTarget& target, sf::View& clipSpace, const sf::RenderStates& states);
    void findStrips();
    void makeOneStrip();
    int findHiddenParts();
    void sortIntoStrips();
    void addCellInStrip(const WaitingCell& cell, int strip);
    void addBands(const PixelArea& pixels, sf::Vector2f topLeft, sf::Vector2f bottomRight);
    void drawRuns(sf::RenderTarget& target, const sf::RenderStates& states, VertexRuns& toDraw);
    void setClipping(sf::RenderTarget& target, bool on) const;
    void clipToStrip(sf::RenderTarget& target, sf::View& clipSpace, int strip) const;

    void rectangleCorners(const float* view, sf::Vector2f offset, sf::Vector2f topLeft, sf::Vector2f bottomRight,
                          sf::Vector2f texTopLeft, sf::Vector2f texBottomRight, sf::Color color,
                          sf::Vertex* corners) const;
    static void backgroundCorners(sf::Vector2f topLeft, sf::Vector2f bottomRight, sf::Vertex* corners);
    static void appendQuad(std::vector<sf::Vertex>& vertices, const sf::Vertex* corners);
    static bool crossesEdge(const sf::Vertex* corners);
    sf::Vector2f clipSpaceToPixels(sf::Vector2f clip) const;
    sf::Vector2f pixelsToClipSpace(sf::Vector2f pixels) const;
    PixelArea pixelsUnder(sf::Vector2f topLeft, sf::Vector2f bottomRight) const;
    PixelArea touchedWithin(const PixelArea& pixels) const;
    void mark(std::vector<std::uint64_t>& bits, const PixelArea& pixels) const;
    bool allMarked(const std::vector<std::uint64_t>& bits, const PixelArea& pixels) const;
    PixelArea stripArea(int strip) const;
    static PixelArea intersection(const PixelArea& a, const PixelArea& b);
    static bool isEmpty(const PixelArea& pixels);
    static ColumnMasks columnMasks(const PixelArea& pixels);
    static bool sameBlockColumns(const PixelArea& a, const PixelArea& b);
    void fitCoverage(const sf::RenderTarget& target);
    void leaveBlackSurface();

    const sf::Font& font;
    sf::Vector2f cellSize;
    unsigned int characterSize;
    int cellCount;
    int rectanglesDrawn;

    // Cells on a target that may hold anything, drawn whole in the order they came.
    VertexRuns runs;

    // Whether the target is black wherever no glyph has touched it, and which pixels a glyph may
    // have touched since it was: one bit per pixel, rows of wordsPerRow words.
    bool blackSurface;
    std::vector<std::uint64_t> touched;
    std::vector<WaitingCell> waiting;

    // Scratch for drawing the waiting cells, kept so that no frame allocates: the pixels later
    // backgrounds cover, the strips (where each starts, then the target's width; the strip of each
    // pixel column), the waiting cells each strip takes in (stripCells from stripStarts[strip] on),
    // the strip's vertices, and a background's bands.
    std::vector<std::uint64_t> covered;
    std::vector<int> stripEdges;
    std::vector<int> stripOfColumn;
    std::vector<int> stripStarts;
    std::vector<int> stripCells;
    std::vector<int> stripNext;
    VertexRuns stripRuns;
    std::vector<PixelArea> bands;

    sf::Vector2u coverageSize;
    int wordsPerRow;
    PixelArea viewport;
};

} // namespace lu
