#include "CellBatch.h"

#include "SfmlCompat.h"

#include <SFML/Graphics/PrimitiveType.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/OpenGL.hpp>
#include <SFML/System/String.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace lu {

namespace {

// The black cell reaches a tenth of a cell left of and a fifth of a cell below the text's
// position, where the glyph of a bold character actually lands.
const float BACKGROUND_LEFT_SHIFT_DIVISOR = 10.0f;
const float BACKGROUND_DOWN_SHIFT_DIVISOR = 5.0f;

// Characters are twice the smaller cell side, so a glyph fills its cell.
const int CHARACTER_SIZE_PER_CELL_SIDE = 2;

const sf::Color BACKGROUND_COLOR(0, 0, 0, 255);

// A text widens each glyph's quad and texture rectangle by this much on every side.
const float GLYPH_PADDING = 1.0f;

// Every glyph page keeps a white square in its top-left corner: sampled at its middle it is plain
// white, so backgrounds share the glyphs' texture and the whole frame is one draw call.
const sf::Vector2f WHITE_TEXEL(1.0f, 1.0f);

const int VERTICES_PER_RECTANGLE = 6;

// A software renderer (llvmpipe) draws two triangles that make a rectangle as one rectangle, far
// faster, but only in the stretches of a draw call it does not split, and it splits calls past 4096
// vertices at a triangle's border. Each call therefore carries at most this many vertices, a whole
// number of rectangles.
const std::size_t MAX_VERTICES_PER_DRAW = 4092;

// Cells are handed to the renderer as soon as this many of their vertices are drawn, so that its
// threads work on them while the rest of the frame is gathered.
const std::size_t VERTICES_DRAWN_EARLY = 2 * MAX_VERTICES_PER_DRAW;

// Past this many strips (cells off the grid's columns), a drawing costs more in draw calls than the
// clipping saves, and the target is drawn as one strip.
const std::size_t MAX_STRIPS = 160;

// A change of clipping costs the renderer about as much as shading this many hidden glyph parts
// would (it copies its whole shading state); fewer per strip, and the target is drawn as one strip.
const int MIN_HIDDEN_PARTS_PER_STRIP = 4;

// Which parts of a glyph are hidden is kept for the first this many strips it reaches.
const int MAX_HIDDEN_PARTS = 32;

// Renderers shade blocks of this many pixels square: a background over touched pixels is cut into
// bands of block rows, each as wide as what was touched in it.
const int SHADING_BLOCK = 4;

// Its matrix is the identity: the batch's vertices are already in clip space.
const sf::View CLIP_SPACE_VIEW(sf::Vector2f(0.0f, 0.0f), sf::Vector2f(2.0f, -2.0f));

const float PIXEL_CENTRE = 0.5f;
const float PIXEL_TOLERANCE = 1.0f / 64.0f;

const int BITS_PER_WORD = 64;
const std::uint64_t ALL_BITS = ~std::uint64_t(0);

// Where the corner of a rectangle drawn with a translation lands in clip space under a view's
// matrix (4 x 4, column-major). A rectangle or text drawn on its own has its translation folded
// into the view's matrix first and its corners transformed after, every product and sum rounded
// on its own; doing the same here puts each vertex on the same float, so the coverage and the
// texture samples match those of the separate draw exactly. This file is therefore built without
// floating-point contraction.
sf::Vector2f toClipSpace(const float* view, sf::Vector2f offset, sf::Vector2f corner)
{
    float offsetX = view[0] * offset.x;
    offsetX += view[4] * offset.y;
    offsetX += view[12];
    float offsetY = view[1] * offset.x;
    offsetY += view[5] * offset.y;
    offsetY += view[13];

    float x = view[0] * corner.x;
    x += view[4] * corner.y;
    x += offsetX;
    float y = view[1] * corner.x;
    y += view[5] * corner.y;
    y += offsetY;
    return sf::Vector2f(x, y);
}

// Returns value limited to 0 to limit (0 for a value that is not a number).
float clampTo(float value, float limit)
{
    if (!(value > 0.0f))
        return 0.0f;
    return std::min(value, limit);
}

// The indices of the lowest and highest bits set in a word that is not 0.
int lowestBit(std::uint64_t word)
{
#if defined(__GNUC__)
    return __builtin_ctzll(word);
#else
    int bit = 0;
    while ((word & 1) == 0) {
        word >>= 1;
        bit++;
    }
    return bit;
#endif
}

int highestBit(std::uint64_t word)
{
#if defined(__GNUC__)
    return BITS_PER_WORD - 1 - __builtin_clzll(word);
#else
    int bit = 0;
    while (word > 1) {
        word >>= 1;
        bit++;
    }
    return bit;
#endif
}

bool isWhitespace(std::uint32_t codePoint)
{
    return codePoint == ' ' || codePoint == '\t' || codePoint == '\n' || codePoint == '\r';
}

} // namespace

CellBatch::CellBatch(const sf::Font& cellFont, sf::Vector2f size)
    : font(cellFont),
      cellSize(size),
      characterSize(static_cast<unsigned int>(CHARACTER_SIZE_PER_CELL_SIDE * std::min(size.x, size.y))),
      cellCount(0),
      rectanglesDrawn(0),
      blackSurface(false),
      coverageSize(0, 0),
      wordsPerRow(0),
      viewport{0, 0, 0, 0}
{
}

void CellBatch::addCell(const sf::RenderTarget& target, sf::Vector2f position, char ch, sf::Color color)
{
    const float* matrix = target.getView().getTransform().getMatrix();
    fitCoverage(target);
    cellCount++;
    // What was touched is kept in pixels, for views that keep rectangles upright, x right and y down.
    bool upright = matrix[1] == 0.0f && matrix[4] == 0.0f && matrix[0] > 0.0f && matrix[5] < 0.0f;
    if (!upright)
        leaveBlackSurface();

    sf::Vertex background[CORNERS];
    rectangleCorners(matrix,
                     sf::Vector2f(position.x - cellSize.x / BACKGROUND_LEFT_SHIFT_DIVISOR,
                                  position.y + cellSize.y / BACKGROUND_DOWN_SHIFT_DIVISOR),
                     sf::Vector2f(0.0f, 0.0f), cellSize, WHITE_TEXEL, WHITE_TEXEL, BACKGROUND_COLOR, background);
    sf::Vertex glyph[CORNERS];
    bool hasGlyph = layOutGlyph(matrix, position, ch, color, glyph);

    if (blackSurface) {
        addWaitingCell(background, hasGlyph ? glyph : nullptr);
        return;
    }
    // Upright, a rectangle wholly off the target (a parked hazard) has no pixel to draw.
    bool drawBackground = !upright || !isEmpty(pixelsUnder(background[0].position, background[CORNERS - 1].position));
    bool drawGlyph = hasGlyph && (!upright || !isEmpty(pixelsUnder(glyph[0].position, glyph[CORNERS - 1].position)));
    std::size_t firstVertex = runs.vertices.size();
    if (drawBackground)
        appendQuad(runs.vertices, background);
    if (drawGlyph)
        appendQuad(runs.vertices, glyph);
    runs.endCell(firstVertex, (drawBackground && crossesEdge(background)) || (drawGlyph && crossesEdge(glyph)));
}

bool CellBatch::layOutGlyph(const float* view, sf::Vector2f position, char ch, sf::Color color, sf::Vertex* corners)
{
    // The same conversion a text makes, through the global locale.
    std::uint32_t codePoint = sf::String(ch)[0];
    if (isWhitespace(codePoint))
        return false;

    // The glyph's quad as a text lays it out: its bounds around the baseline, one character size
    // below the text's position, stretched over its texture rectangle.
    const sf::Glyph& glyph = font.getGlyph(codePoint, characterSize, true);
    RectEdges<float> bounds = rectEdges(glyph.bounds);
    RectEdges<int> texture = rectEdges(glyph.textureRect);
    float baseline = static_cast<float>(characterSize);

    sf::Vector2f topLeft(bounds.left - GLYPH_PADDING, baseline + (bounds.top - GLYPH_PADDING));
    sf::Vector2f bottomRight(bounds.left + bounds.width + GLYPH_PADDING,
                             baseline + (bounds.top + bounds.height + GLYPH_PADDING));
    sf::Vector2f texTopLeft(static_cast<float>(texture.left) - GLYPH_PADDING,
                            static_cast<float>(texture.top) - GLYPH_PADDING);
    sf::Vector2f texBottomRight(static_cast<float>(texture.left + texture.width) + GLYPH_PADDING,
                                static_cast<float>(texture.top + texture.height) + GLYPH_PADDING);
    rectangleCorners(view, position, topLeft, bottomRight, texTopLeft, texBottomRight, color, corners);
    return true;
}

void CellBatch::addWaitingCell(const sf::Vertex* background, const sf::Vertex* glyph)
{
    WaitingCell cell;
    cell.backgroundTopLeft = background[0].position;
    cell.backgroundBottomRight = background[CORNERS - 1].position;
    cell.background = pixelsUnder(cell.backgroundTopLeft, cell.backgroundBottomRight);
    cell.glyph = PixelArea{0, 0, 0, 0};
    if (glyph != nullptr) {
        std::copy(glyph, glyph + CORNERS, cell.glyphCorners);
        cell.glyph = pixelsUnder(glyph[0].position, glyph[CORNERS - 1].position);
    }
    // A cell wholly off the target (a parked hazard) has no pixel to draw.
    if (isEmpty(cell.background) && isEmpty(cell.glyph))
        return;
    cell.crossesEdge = (!isEmpty(cell.background) && crossesEdge(background)) ||
                       (!isEmpty(cell.glyph) && crossesEdge(cell.glyphCorners));
    waiting.push_back(cell);
}

void CellBatch::drawInto(sf::RenderTarget& target)
{
    if (waiting.empty() && runs.vertices.empty()) {
        cellCount = 0;
        return;
    }

    sf::View view = target.getView();
    sf::View clipSpace = CLIP_SPACE_VIEW;
    clipSpace.setViewport(view.getViewport());
    target.setView(clipSpace);

    sf::RenderStates states;
    states.texture = &font.getTexture(characterSize);
    // Cells drawn whole come first: on black, every cell waits until the batch is drawn.
    drawRuns(target, states, runs);
    if (!waiting.empty())
        drawWaitingCells(target, clipSpace, states);

    target.setView(view);
    cellCount = 0;
}

void CellBatch::drawIfFull(sf::RenderTarget& target)
{
    // On black, cells wait for the whole frame: later cells decide what of them is hidden.
    if (runs.vertices.size() < VERTICES_DRAWN_EARLY)
        return;
    drawInto(target);
    // Hands what was drawn to the renderer now rather than at the end of the frame.
    glFlush();
}

void CellBatch::assumeBlackSurface(const sf::RenderTarget& target)
{
    fitCoverage(target);
    blackSurface = true;
    std::fill(touched.begin(), touched.end(), 0);
}

void CellBatch::forgetSurface()
{
    leaveBlackSurface();
}

int CellBatch::getCellCount() const
{
    return cellCount;
}

int CellBatch::getRectanglesDrawn() const
{
    return rectanglesDrawn;
}

void CellBatch::leaveBlackSurface()
{
    // Cells still waiting go first, drawn whole, as on any target.
    addWaitingCellsToRuns();
    blackSurface = false;
}

void CellBatch::addWaitingCellsToRuns()
{
    for (const WaitingCell& cell : waiting) {
        std::size_t firstVertex = runs.vertices.size();
        sf::Vertex background[CORNERS];
        backgroundCorners(cell.backgroundTopLeft, cell.backgroundBottomRight, background);
        appendQuad(runs.vertices, background);
        if (!isEmpty(cell.glyph))
            appendQuad(runs.vertices, cell.glyphCorners);
        runs.endCell(firstVertex, cell.crossesEdge || crossesEdge(background));
    }
    waiting.clear();
}

void CellBatch::drawWaitingCells(sf::RenderTarget& target, sf::View& clipSpace, const sf::RenderStates& states)
{
    findStrips();
    int strips = static_cast<int>(stripEdges.size()) - 1;
    // Each strip costs the renderer a change of clipping, worth it only where enough glyph parts
    // are hidden; otherwise the target is one strip, and only glyphs hidden whole are left out.
    if (findHiddenParts() < MIN_HIDDEN_PARTS_PER_STRIP * strips) {
        makeOneStrip();
        findHiddenParts();
        strips = 1;
    }
    sortIntoStrips();

    // Strips share no pixel, and each strip takes its cells in the order they came, so every pixel
    // is drawn as if the cells came one by one.
    if (strips > 1)
        setClipping(target, true);
    std::size_t drawnSinceFlush = 0;
    for (int strip = 0; strip < strips; strip++) {
        for (int i = stripStarts[strip]; i < stripStarts[strip + 1]; i++)
            addCellInStrip(waiting[stripCells[i]], strip);
        if (stripRuns.vertices.empty())
            continue;
        if (strips > 1)
            clipToStrip(target, clipSpace, strip);
        drawnSinceFlush += stripRuns.vertices.size();
        drawRuns(target, states, stripRuns);
        // Hands the strips drawn so far to the renderer's threads while the rest are gathered.
        if (drawnSinceFlush >= VERTICES_DRAWN_EARLY) {
            glFlush();
            drawnSinceFlush = 0;
        }
    }
    if (strips > 1)
        setClipping(target, false);
    waiting.clear();
}

void CellBatch::findStrips()
{
    // A strip starts where a background does, so that a glyph reaching into the next cell is cut
    // where that cell's background starts.
    int width = static_cast<int>(coverageSize.x);
    stripOfColumn.assign(width, 0);
    for (const WaitingCell& cell : waiting)
        if (!isEmpty(cell.background))
            stripOfColumn[cell.background.left] = 1;

    stripEdges.assign(1, 0);
    for (int x = 1; x < width; x++)
        if (stripOfColumn[x] != 0)
            stripEdges.push_back(x);
    stripEdges.push_back(width);
    if (stripEdges.size() - 1 > MAX_STRIPS) {
        makeOneStrip();
        return;
    }

    int strip = 0;
    for (int x = 0; x < width; x++) {
        if (x == stripEdges[strip + 1])
            strip++;
        stripOfColumn[x] = strip;
    }
}

void CellBatch::makeOneStrip()
{
    int width = static_cast<int>(coverageSize.x);
    stripEdges.assign(1, 0);
    stripEdges.push_back(width);
    stripOfColumn.assign(width, 0);
}

int CellBatch::findHiddenParts()
{
    int hidden = 0;
    // Backwards through the cells, so that covered holds the pixels that later backgrounds cover.
    // A background replaces its pixels whole, so nothing drawn there before it shows.
    std::fill(covered.begin(), covered.end(), 0);
    for (std::size_t i = waiting.size(); i-- > 0;) {
        WaitingCell& cell = waiting[i];
        cell.hiddenParts = 0;
        cell.firstStrip = static_cast<int>(stripEdges.size());
        cell.lastStrip = -1;
        if (!isEmpty(cell.glyph)) {
            int first = stripOfColumn[cell.glyph.left];
            int last = stripOfColumn[cell.glyph.right - 1];
            for (int strip = first; strip <= std::min(last, first + MAX_HIDDEN_PARTS - 1); strip++)
                if (allMarked(covered, intersection(cell.glyph, stripArea(strip)))) {
                    cell.hiddenParts |= std::uint32_t(1) << (strip - first);
                    hidden++;
                }
            cell.firstStrip = first;
            cell.lastStrip = last;
        }
        if (!isEmpty(cell.background)) {
            cell.firstStrip = std::min(cell.firstStrip, stripOfColumn[cell.background.left]);
            cell.lastStrip = std::max(cell.lastStrip, stripOfColumn[cell.background.right - 1]);
            mark(covered, cell.background);
        }
    }
    return hidden;
}

void CellBatch::sortIntoStrips()
{
    // A counting sort: how many cells each strip takes, where each strip's cells start, then the
    // cells, each strip's in the order they came.
    int strips = static_cast<int>(stripEdges.size()) - 1;
    stripStarts.assign(strips + 1, 0);
    for (const WaitingCell& cell : waiting)
        for (int strip = cell.firstStrip; strip <= cell.lastStrip; strip++)
            stripStarts[strip + 1]++;
    for (int strip = 0; strip < strips; strip++)
        stripStarts[strip + 1] += stripStarts[strip];

    stripCells.resize(stripStarts[strips]);
    stripNext.assign(stripStarts.begin(), stripStarts.end() - 1);
    for (std::size_t i = 0; i < waiting.size(); i++)
        for (int strip = waiting[i].firstStrip; strip <= waiting[i].lastStrip; strip++)
            stripCells[stripNext[strip]++] = static_cast<int>(i);
}

void CellBatch::addCellInStrip(const WaitingCell& cell, int strip)
{
    std::size_t firstVertex = stripRuns.vertices.size();
    PixelArea area = stripArea(strip);
    PixelArea background = intersection(cell.background, area);
    if (!isEmpty(background))
        addBands(background, cell.backgroundTopLeft, cell.backgroundBottomRight);

    PixelArea glyph = intersection(cell.glyph, area);
    if (!isEmpty(glyph)) {
        // The glyph reaches this strip, so it is one of the strips from the glyph's first on.
        int part = strip - stripOfColumn[cell.glyph.left];
        bool hidden = part < MAX_HIDDEN_PARTS && ((cell.hiddenParts >> part) & 1) != 0;
        if (!hidden) {
            appendQuad(stripRuns.vertices, cell.glyphCorners);
            mark(touched, glyph);
        }
    }
    if (stripRuns.vertices.size() > firstVertex)
        stripRuns.endCell(firstVertex, cell.crossesEdge);
}

void CellBatch::addBands(const PixelArea& pixels, sf::Vector2f topLeft, sf::Vector2f bottomRight)
{
    // On black only the pixels a glyph touched can change, and the background is cut down to them,
    // band by band. Cut edges lie on pixel borders, half a pixel from any pixel's centre, so the
    // pixels inside are drawn exactly as by the whole background.
    bands.clear();
    bool touchedAbove = false;
    for (int top = pixels.top; top < pixels.bottom;) {
        int bottom = std::min(pixels.bottom, (top / SHADING_BLOCK + 1) * SHADING_BLOCK);
        PixelArea box = touchedWithin(PixelArea{pixels.left, top, pixels.right, bottom});
        bool touchedHere = !isEmpty(box);
        // A band over the same blocks across as the band above joins it: one rectangle fewer, and
        // the renderer shades no block more.
        if (touchedHere && touchedAbove && sameBlockColumns(bands.back(), box)) {
            bands.back().left = std::min(bands.back().left, box.left);
            bands.back().right = std::max(bands.back().right, box.right);
            bands.back().bottom = box.bottom;
        } else if (touchedHere) {
            bands.push_back(box);
        }
        touchedAbove = touchedHere;
        top = bottom;
    }

    sf::Vector2f pixelTopLeft = clipSpaceToPixels(topLeft);
    sf::Vector2f pixelBottomRight = clipSpaceToPixels(bottomRight);
    for (const PixelArea& band : bands) {
        sf::Vector2f bandTopLeft = topLeft;
        sf::Vector2f bandBottomRight = bottomRight;
        if (band.left > pixelTopLeft.x)
            bandTopLeft.x = pixelsToClipSpace(sf::Vector2f(static_cast<float>(band.left), 0.0f)).x;
        if (band.right < pixelBottomRight.x)
            bandBottomRight.x = pixelsToClipSpace(sf::Vector2f(static_cast<float>(band.right), 0.0f)).x;
        if (band.top > pixelTopLeft.y)
            bandTopLeft.y = pixelsToClipSpace(sf::Vector2f(0.0f, static_cast<float>(band.top))).y;
        if (band.bottom < pixelBottomRight.y)
            bandBottomRight.y = pixelsToClipSpace(sf::Vector2f(0.0f, static_cast<float>(band.bottom))).y;

        sf::Vertex corners[CORNERS];
        backgroundCorners(bandTopLeft, bandBottomRight, corners);
        appendQuad(stripRuns.vertices, corners);
    }
}

void CellBatch::drawRuns(sf::RenderTarget& target, const sf::RenderStates& states, VertexRuns& toDraw)
{
    for (std::size_t run = 0; run < toDraw.starts.size(); run++) {
        std::size_t end = run + 1 < toDraw.starts.size() ? toDraw.starts[run + 1] : toDraw.vertices.size();
        for (std::size_t first = toDraw.starts[run]; first < end; first += MAX_VERTICES_PER_DRAW) {
            std::size_t count = std::min(MAX_VERTICES_PER_DRAW, end - first);
            target.draw(toDraw.vertices.data() + first, count, sf::PrimitiveType::Triangles, states);
        }
    }
    rectanglesDrawn += static_cast<int>(toDraw.vertices.size()) / VERTICES_PER_RECTANGLE;
    // The capacity stays, so later frames allocate nothing.
    toDraw.clear();
}

void CellBatch::setClipping(sf::RenderTarget& target, bool on) const
{
#if SFML_VERSION_MAJOR >= 3
    // SFML 3 clips to the scissor of the target's view, which drawInto() replaces when it ends.
    (void)target;
    (void)on;
#else
    // The scissor belongs to the target's context, which may not be the current one yet.
    if (!target.setActive(true))
        return;
    if (on)
        glEnable(GL_SCISSOR_TEST);
    else
        glDisable(GL_SCISSOR_TEST);
#endif
}

// A scissor leaves the coverage and the texture samples of every pixel inside it as they were.
void CellBatch::clipToStrip(sf::RenderTarget& target, sf::View& clipSpace, int strip) const
{
    int left = stripEdges[strip];
    int right = stripEdges[strip + 1];
#if SFML_VERSION_MAJOR >= 3
    float width = static_cast<float>(coverageSize.x);
    clipSpace.setScissor(sf::FloatRect(sf::Vector2f(left / width, 0.0f), sf::Vector2f((right - left) / width, 1.0f)));
    target.setView(clipSpace);
#else
    (void)clipSpace;
    (void)target;
    glScissor(left, 0, right - left, static_cast<GLsizei>(coverageSize.y));
#endif
}

void CellBatch::VertexRuns::endCell(std::size_t firstVertex, bool crossesEdge)
{
    if (firstVertex == vertices.size())
        return;
    if (starts.empty() || crossesEdge != lastCellCrossesEdge)
        starts.push_back(firstVertex);
    lastCellCrossesEdge = crossesEdge;
}

void CellBatch::VertexRuns::clear()
{
    vertices.clear();
    starts.clear();
}

void CellBatch::rectangleCorners(const float* view, sf::Vector2f offset, sf::Vector2f topLeft, sf::Vector2f bottomRight,
                                 sf::Vector2f texTopLeft, sf::Vector2f texBottomRight, sf::Color color,
                                 sf::Vertex* corners) const
{
    corners[0] = sf::Vertex{toClipSpace(view, offset, topLeft), color, texTopLeft};
    corners[1] = sf::Vertex{toClipSpace(view, offset, sf::Vector2f(bottomRight.x, topLeft.y)), color,
                            sf::Vector2f(texBottomRight.x, texTopLeft.y)};
    corners[2] = sf::Vertex{toClipSpace(view, offset, sf::Vector2f(topLeft.x, bottomRight.y)), color,
                            sf::Vector2f(texTopLeft.x, texBottomRight.y)};
    corners[3] = sf::Vertex{toClipSpace(view, offset, bottomRight), color, texBottomRight};
}

// The view is upright, so each corner's x depends on the corner's x alone, and y on y.
void CellBatch::backgroundCorners(sf::Vector2f topLeft, sf::Vector2f bottomRight, sf::Vertex* corners)
{
    corners[0] = sf::Vertex{topLeft, BACKGROUND_COLOR, WHITE_TEXEL};
    corners[1] = sf::Vertex{sf::Vector2f(bottomRight.x, topLeft.y), BACKGROUND_COLOR, WHITE_TEXEL};
    corners[2] = sf::Vertex{sf::Vector2f(topLeft.x, bottomRight.y), BACKGROUND_COLOR, WHITE_TEXEL};
    corners[3] = sf::Vertex{bottomRight, BACKGROUND_COLOR, WHITE_TEXEL};
}

void CellBatch::appendQuad(std::vector<sf::Vertex>& vertices, const sf::Vertex* corners)
{
    // Corners top-left, top-right, bottom-left, bottom-right, as two triangles split along the same
    // diagonal, in the same vertex order, as a text's glyph quad: the interpolated texture
    // coordinates then round the same way.
    const int order[VERTICES_PER_RECTANGLE] = {0, 1, 2, 2, 1, 3};
    for (int i = 0; i < VERTICES_PER_RECTANGLE; i++)
        vertices.push_back(corners[order[i]]);
}

bool CellBatch::crossesEdge(const sf::Vertex* corners)
{
    for (int i = 0; i < CORNERS; i++) {
        sf::Vector2f p = corners[i].position;
        if (p.x < -1.0f || p.x > 1.0f || p.y < -1.0f || p.y > 1.0f)
            return true;
    }
    return false;
}

CellBatch::PixelArea CellBatch::pixelsUnder(sf::Vector2f topLeft, sf::Vector2f bottomRight) const
{
    // A pixel is drawn when its centre is inside; the area takes in pixels whose centres are within
    // PIXEL_TOLERANCE of an edge too, far more than the rounding of the way back from clip space.
    sf::Vector2f first = clipSpaceToPixels(topLeft);
    sf::Vector2f last = clipSpaceToPixels(bottomRight);

    // Clamped before the conversion, as a cell may lie anywhere.
    float columns = static_cast<float>(coverageSize.x);
    float rows = static_cast<float>(coverageSize.y);
    int left = static_cast<int>(clampTo(std::ceil(first.x - PIXEL_CENTRE - PIXEL_TOLERANCE), columns));
    int top = static_cast<int>(clampTo(std::ceil(first.y - PIXEL_CENTRE - PIXEL_TOLERANCE), rows));
    int right = static_cast<int>(clampTo(std::ceil(last.x - PIXEL_CENTRE + PIXEL_TOLERANCE), columns));
    int bottom = static_cast<int>(clampTo(std::ceil(last.y - PIXEL_CENTRE + PIXEL_TOLERANCE), rows));
    if (right <= left || bottom <= top)
        return PixelArea{0, 0, 0, 0};
    return PixelArea{left, top, right, bottom};
}

// Clip space runs from -1 to 1 across the viewport, with y upwards.
sf::Vector2f CellBatch::clipSpaceToPixels(sf::Vector2f clip) const
{
    float width = static_cast<float>(viewport.right - viewport.left);
    float height = static_cast<float>(viewport.bottom - viewport.top);
    return sf::Vector2f(viewport.left + (clip.x + 1.0f) * width / 2.0f, viewport.top + (1.0f - clip.y) * height / 2.0f);
}

sf::Vector2f CellBatch::pixelsToClipSpace(sf::Vector2f pixels) const
{
    float width = static_cast<float>(viewport.right - viewport.left);
    float height = static_cast<float>(viewport.bottom - viewport.top);
    return sf::Vector2f((pixels.x - viewport.left) * 2.0f / width - 1.0f,
                        1.0f - (pixels.y - viewport.top) * 2.0f / height);
}

bool CellBatch::sameBlockColumns(const PixelArea& a, const PixelArea& b)
{
    return a.left / SHADING_BLOCK == b.left / SHADING_BLOCK &&
           (a.right - 1) / SHADING_BLOCK == (b.right - 1) / SHADING_BLOCK;
}

CellBatch::PixelArea CellBatch::touchedWithin(const PixelArea& pixels) const
{
    PixelArea box = {pixels.right, pixels.bottom, pixels.left, pixels.top};
    ColumnMasks columns = columnMasks(pixels);
    for (int y = pixels.top; y < pixels.bottom; y++) {
        const std::uint64_t* row = &touched[static_cast<std::size_t>(y) * wordsPerRow];
        for (int word = columns.firstWord; word <= columns.lastWord; word++) {
            std::uint64_t hits = row[word] & columns.maskOf(word);
            if (hits == 0)
                continue;
            int wordStart = word * BITS_PER_WORD;
            box.left = std::min(box.left, wordStart + lowestBit(hits));
            box.right = std::max(box.right, wordStart + highestBit(hits) + 1);
            box.top = std::min(box.top, y);
            box.bottom = y + 1;
        }
    }
    if (box.right <= box.left)
        return PixelArea{0, 0, 0, 0};
    return box;
}

void CellBatch::mark(std::vector<std::uint64_t>& bits, const PixelArea& pixels) const
{
    ColumnMasks columns = columnMasks(pixels);
    for (int y = pixels.top; y < pixels.bottom; y++) {
        std::uint64_t* row = &bits[static_cast<std::size_t>(y) * wordsPerRow];
        for (int word = columns.firstWord; word <= columns.lastWord; word++)
            row[word] |= columns.maskOf(word);
    }
}

bool CellBatch::allMarked(const std::vector<std::uint64_t>& bits, const PixelArea& pixels) const
{
    if (isEmpty(pixels))
        return false;
    ColumnMasks columns = columnMasks(pixels);
    for (int y = pixels.top; y < pixels.bottom; y++) {
        const std::uint64_t* row = &bits[static_cast<std::size_t>(y) * wordsPerRow];
        for (int word = columns.firstWord; word <= columns.lastWord; word++) {
            std::uint64_t mask = columns.maskOf(word);
            if ((row[word] & mask) != mask)
                return false;
        }
    }
    return true;
}

CellBatch::PixelArea CellBatch::stripArea(int strip) const
{
    return PixelArea{stripEdges[strip], 0, stripEdges[strip + 1], static_cast<int>(coverageSize.y)};
}

CellBatch::PixelArea CellBatch::intersection(const PixelArea& a, const PixelArea& b)
{
    PixelArea both = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                      std::min(a.bottom, b.bottom)};
    if (isEmpty(both))
        return PixelArea{0, 0, 0, 0};
    return both;
}

bool CellBatch::isEmpty(const PixelArea& pixels)
{
    return pixels.right <= pixels.left || pixels.bottom <= pixels.top;
}

CellBatch::ColumnMasks CellBatch::columnMasks(const PixelArea& pixels)
{
    // The same in every row, so worked out once.
    // Pixel columns are never negative; masking the bit index keeps each shift in range regardless.
    ColumnMasks columns;
    columns.firstWord = pixels.left / BITS_PER_WORD;
    columns.lastWord = (pixels.right - 1) / BITS_PER_WORD;
    columns.firstMask = ALL_BITS << (pixels.left & (BITS_PER_WORD - 1));
    columns.lastMask = ALL_BITS >> (BITS_PER_WORD - 1 - ((pixels.right - 1) & (BITS_PER_WORD - 1)));
    return columns;
}

std::uint64_t CellBatch::ColumnMasks::maskOf(int word) const
{
    std::uint64_t mask = ALL_BITS;
    if (word == firstWord)
        mask &= firstMask;
    if (word == lastWord)
        mask &= lastMask;
    return mask;
}

void CellBatch::fitCoverage(const sf::RenderTarget& target)
{
    RectEdges<int> area = rectEdges(target.getViewport(target.getView()));
    PixelArea pixels = {area.left, area.top, area.left + area.width, area.top + area.height};
    sf::Vector2u size = target.getSize();
    if (size == coverageSize && pixels.left == viewport.left && pixels.top == viewport.top &&
        pixels.right == viewport.right && pixels.bottom == viewport.bottom)
        return;

    // A new size or view: what was known about the surface no longer applies.
    leaveBlackSurface();
    coverageSize = size;
    viewport = pixels;
    wordsPerRow = (static_cast<int>(size.x) + BITS_PER_WORD - 1) / BITS_PER_WORD;
    touched.assign(static_cast<std::size_t>(wordsPerRow) * size.y, 0);
    covered.assign(touched.size(), 0);
}

} // namespace lu
