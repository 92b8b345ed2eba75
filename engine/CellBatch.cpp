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

const int CORNERS = 4;
const int VERTICES_PER_RECTANGLE = 6;

// A software renderer (llvmpipe) draws two triangles that make a rectangle as one rectangle, far
// faster, but only in the stretches of a draw call it does not split, and it splits calls past 4096
// vertices at a triangle's border. Each call therefore carries at most this many vertices, a whole
// number of rectangles.
const std::size_t MAX_VERTICES_PER_DRAW = 4092;

// The waiting cells are drawn as soon as they fill this many draw calls, so that the renderer's
// threads work on them while the rest of the frame is gathered.
const std::size_t VERTICES_DRAWN_EARLY = 2 * MAX_VERTICES_PER_DRAW;

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
      lastCellCrossesEdge(false),
      blackSurface(false),
      coverageSize(0, 0),
      wordsPerRow(0),
      viewport{0, 0, 0, 0}
{
}

void CellBatch::addCell(const sf::RenderTarget& target, sf::Vector2f position, char ch, sf::Color color)
{
    std::size_t firstVertex = vertices.size();
    appendCell(target, position, ch, color);
    sortIntoRun(firstVertex);
}

void CellBatch::appendCell(const sf::RenderTarget& target, sf::Vector2f position, char ch, sf::Color color)
{
    const float* matrix = target.getView().getTransform().getMatrix();
    fitCoverage(target);
    cellCount++;
    // What was touched is kept in pixels, for views that keep rectangles upright, x right and y down.
    bool upright = matrix[1] == 0.0f && matrix[4] == 0.0f && matrix[0] > 0.0f && matrix[5] < 0.0f;
    if (!upright)
        blackSurface = false;

    addBackground(matrix,
                  sf::Vector2f(position.x - cellSize.x / BACKGROUND_LEFT_SHIFT_DIVISOR,
                               position.y + cellSize.y / BACKGROUND_DOWN_SHIFT_DIVISOR),
                  upright);

    // The same conversion a text makes, through the global locale.
    std::uint32_t codePoint = sf::String(ch)[0];
    if (isWhitespace(codePoint))
        return;

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
    if (!upright) {
        addRectangle(matrix, position, topLeft, bottomRight, texTopLeft, texBottomRight, color);
        return;
    }
    // A glyph wholly off the target (a parked hazard) has no pixel to draw.
    PixelArea pixels = pixelsUnder(toClipSpace(matrix, position, topLeft), toClipSpace(matrix, position, bottomRight));
    if (pixels.right <= pixels.left)
        return;
    addRectangle(matrix, position, topLeft, bottomRight, texTopLeft, texBottomRight, color);
    markTouched(pixels);
}

void CellBatch::drawInto(sf::RenderTarget& target)
{
    if (vertices.empty()) {
        cellCount = 0;
        return;
    }

    sf::View view = target.getView();
    sf::View clipSpace = CLIP_SPACE_VIEW;
    clipSpace.setViewport(view.getViewport());
    target.setView(clipSpace);

    sf::RenderStates states;
    states.texture = &font.getTexture(characterSize);
    for (std::size_t run = 0; run < runStarts.size(); run++) {
        std::size_t end = run + 1 < runStarts.size() ? runStarts[run + 1] : vertices.size();
        for (std::size_t first = runStarts[run]; first < end; first += MAX_VERTICES_PER_DRAW) {
            std::size_t count = std::min(MAX_VERTICES_PER_DRAW, end - first);
            target.draw(vertices.data() + first, count, sf::PrimitiveType::Triangles, states);
        }
    }

    target.setView(view);
    // The capacity stays, so later frames allocate nothing.
    vertices.clear();
    runStarts.clear();
    cellCount = 0;
}

void CellBatch::drawIfFull(sf::RenderTarget& target)
{
    if (vertices.size() < VERTICES_DRAWN_EARLY)
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
    blackSurface = false;
}

int CellBatch::getCellCount() const
{
    return cellCount;
}

int CellBatch::getRectangleCount() const
{
    return static_cast<int>(vertices.size()) / VERTICES_PER_RECTANGLE;
}

void CellBatch::sortIntoRun(std::size_t firstVertex)
{
    if (firstVertex == vertices.size())
        return;
    bool crossesEdge = false;
    for (std::size_t i = firstVertex; i < vertices.size(); i++) {
        sf::Vector2f p = vertices[i].position;
        if (p.x < -1.0f || p.x > 1.0f || p.y < -1.0f || p.y > 1.0f)
            crossesEdge = true;
    }
    if (runStarts.empty() || crossesEdge != lastCellCrossesEdge)
        runStarts.push_back(firstVertex);
    lastCellCrossesEdge = crossesEdge;
}

void CellBatch::addBackground(const float* view, sf::Vector2f offset, bool upright)
{
    sf::Vector2f origin(0.0f, 0.0f);
    if (!upright) {
        addRectangle(view, offset, origin, cellSize, WHITE_TEXEL, WHITE_TEXEL, BACKGROUND_COLOR);
        return;
    }
    sf::Vector2f topLeft = toClipSpace(view, offset, origin);
    sf::Vector2f bottomRight = toClipSpace(view, offset, cellSize);
    PixelArea pixels = pixelsUnder(topLeft, bottomRight);
    if (pixels.right <= pixels.left)
        return;
    if (!blackSurface) {
        addRectangle(view, offset, origin, cellSize, WHITE_TEXEL, WHITE_TEXEL, BACKGROUND_COLOR);
        return;
    }

    // On black only the pixels a glyph touched can change, and the background is cut down to them,
    // band by band. Cut edges lie on pixel borders, half a pixel from any pixel's centre, so the
    // pixels inside are drawn exactly as by the whole background.
    bands.clear();
    bool touchedAbove = false;
    for (int top = pixels.top; top < pixels.bottom;) {
        int bottom = std::min(pixels.bottom, (top / SHADING_BLOCK + 1) * SHADING_BLOCK);
        PixelArea box = touchedWithin(PixelArea{pixels.left, top, pixels.right, bottom});
        bool touchedHere = box.right > box.left;
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

        sf::Vertex corners[CORNERS] = {
            sf::Vertex{bandTopLeft, BACKGROUND_COLOR, WHITE_TEXEL},
            sf::Vertex{sf::Vector2f(bandBottomRight.x, bandTopLeft.y), BACKGROUND_COLOR, WHITE_TEXEL},
            sf::Vertex{sf::Vector2f(bandTopLeft.x, bandBottomRight.y), BACKGROUND_COLOR, WHITE_TEXEL},
            sf::Vertex{bandBottomRight, BACKGROUND_COLOR, WHITE_TEXEL},
        };
        appendQuad(corners);
    }
}

void CellBatch::addRectangle(const float* view, sf::Vector2f offset, sf::Vector2f topLeft, sf::Vector2f bottomRight,
                             sf::Vector2f texTopLeft, sf::Vector2f texBottomRight, sf::Color color)
{
    sf::Vertex corners[CORNERS] = {
        sf::Vertex{toClipSpace(view, offset, topLeft), color, texTopLeft},
        sf::Vertex{toClipSpace(view, offset, sf::Vector2f(bottomRight.x, topLeft.y)), color,
                   sf::Vector2f(texBottomRight.x, texTopLeft.y)},
        sf::Vertex{toClipSpace(view, offset, sf::Vector2f(topLeft.x, bottomRight.y)), color,
                   sf::Vector2f(texTopLeft.x, texBottomRight.y)},
        sf::Vertex{toClipSpace(view, offset, bottomRight), color, texBottomRight},
    };
    appendQuad(corners);
}

void CellBatch::appendQuad(const sf::Vertex* corners)
{
    // Corners top-left, top-right, bottom-left, bottom-right, as two triangles split along the same
    // diagonal, in the same vertex order, as a text's glyph quad: the interpolated texture
    // coordinates then round the same way.
    const int order[VERTICES_PER_RECTANGLE] = {0, 1, 2, 2, 1, 3};
    for (int i = 0; i < VERTICES_PER_RECTANGLE; i++)
        vertices.push_back(corners[order[i]]);
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

void CellBatch::markTouched(const PixelArea& pixels)
{
    ColumnMasks columns = columnMasks(pixels);
    for (int y = pixels.top; y < pixels.bottom; y++) {
        std::uint64_t* row = &touched[static_cast<std::size_t>(y) * wordsPerRow];
        for (int word = columns.firstWord; word <= columns.lastWord; word++)
            row[word] |= columns.maskOf(word);
    }
}

CellBatch::ColumnMasks CellBatch::columnMasks(const PixelArea& pixels)
{
    // The same in every row, so worked out once.
    ColumnMasks columns;
    columns.firstWord = pixels.left / BITS_PER_WORD;
    columns.lastWord = (pixels.right - 1) / BITS_PER_WORD;
    columns.firstMask = ALL_BITS << (pixels.left % BITS_PER_WORD);
    columns.lastMask = ALL_BITS >> (BITS_PER_WORD - 1 - (pixels.right - 1) % BITS_PER_WORD);
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
    coverageSize = size;
    viewport = pixels;
    wordsPerRow = (static_cast<int>(size.x) + BITS_PER_WORD - 1) / BITS_PER_WORD;
    touched.assign(static_cast<std::size_t>(wordsPerRow) * size.y, 0);
    blackSurface = false;
}

} // namespace lu
