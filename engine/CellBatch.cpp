#include "CellBatch.h"

#include "SfmlCompat.h"

#include <SFML/Config.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Glyph.hpp>
#include <SFML/Graphics/PrimitiveType.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/System/String.hpp>

#if LU_SFML_SHAPES_TEXT
#include <SFML/Graphics/Text.hpp>
#endif

#include <algorithm>
#include <iterator>

namespace lu {

namespace {

// The black cell reaches a tenth of a cell left of and a fifth of a cell below the text's
// position, where the glyph of a bold character actually lands.
const float BACKGROUND_LEFT_SHIFT_DIVISOR = 10.0f;
const float BACKGROUND_DOWN_SHIFT_DIVISOR = 5.0f;

// Characters are twice the smaller cell side, so a glyph fills its cell.
const int CHARACTER_SIZE_PER_CELL_SIDE = 2;

const sf::Color BACKGROUND_COLOR(0, 0, 0, 255);

// Every glyph page keeps a white square in its top-left corner: sampled at its middle it is plain
// white, so backgrounds share the glyphs' texture and the whole frame is one vertex array.
const sf::Vector2f WHITE_TEXEL(1.0f, 1.0f);

// A software renderer (llvmpipe) draws two triangles that make a rectangle as one rectangle, far
// faster, but only in the stretches of a draw call it does not split, and it splits calls past 4096
// vertices at a triangle's border. Each call therefore carries at most this many vertices, a whole
// number of rectangles.
const std::size_t MAX_VERTICES_PER_DRAW = 4092;

// Its matrix is the identity: the batch's vertices are already in clip space.
const sf::View CLIP_SPACE_VIEW(sf::Vector2f(0.0f, 0.0f), sf::Vector2f(2.0f, -2.0f));

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

} // namespace

CellBatch::CellBatch(const sf::Font& cellFont, sf::Vector2f size)
    : font(cellFont),
      cellSize(size),
      characterSize(static_cast<unsigned int>(CHARACTER_SIZE_PER_CELL_SIDE * std::min(size.x, size.y))),
      runCrossesEdge(false)
{
}

void CellBatch::addCell(sf::RenderTarget& target, sf::Vector2f position, char ch, sf::Color color)
{
    const sf::View& view = target.getView();
    // The waiting cells are drawn through one viewport.
    if (!vertices.empty() && view.getViewport() != viewport)
        drawInto(target);
    viewport = view.getViewport();
    const float* matrix = view.getTransform().getMatrix();

    std::size_t firstVertex = vertices.size();
    GlyphQuad background = {sf::Vector2f(0.0f, 0.0f), cellSize, WHITE_TEXEL, WHITE_TEXEL};
    bool crossesEdge = addQuad(matrix,
                               sf::Vector2f(position.x - cellSize.x / BACKGROUND_LEFT_SHIFT_DIVISOR,
                                            position.y + cellSize.y / BACKGROUND_DOWN_SHIFT_DIVISOR),
                               background, BACKGROUND_COLOR);
    // The same conversion a text makes, through the global locale.
    for (const GlyphQuad& glyph : layOut(sf::String(ch)[0]))
        crossesEdge = addQuad(matrix, position, glyph, color) || crossesEdge;

    // The renderer clips cells that reach past the target's edge on a much slower path, so they go in
    // draw calls of their own.
    if (vertices.size() > firstVertex && (runStarts.empty() || crossesEdge != runCrossesEdge)) {
        runStarts.push_back(firstVertex);
        runCrossesEdge = crossesEdge;
    }
}

void CellBatch::drawInto(sf::RenderTarget& target)
{
    if (vertices.empty())
        return;
    sf::View view = target.getView();
    sf::View clipSpace = CLIP_SPACE_VIEW;
    clipSpace.setViewport(viewport);
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
}

// How sf::Text lays out a single character, which differs between SFML versions. In both, a glyph's
// quad is its bounds around the baseline, one character size below the text's position, widened by a
// pixel on every side and stretched over its texture rectangle widened alike. A bold glyph's bitmap is
// one pixel wider and taller than those bounds, so the stretch (with the page's smooth filtering) is
// part of what the text draws.
const std::vector<CellBatch::GlyphQuad>& CellBatch::layOut(std::uint32_t codePoint)
{
    auto known = layouts.find(codePoint);
    if (known != layouts.end())
        return known->second;
    std::vector<GlyphQuad>& quads = layouts[codePoint];

    const float padding = 1.0f;
    auto add = [&quads, padding](const sf::Glyph& glyph, sf::Vector2f pen) {
        RectEdges<float> bounds = rectEdges(glyph.bounds);
        RectEdges<int> texture = rectEdges(glyph.textureRect);
        quads.push_back(GlyphQuad{
            sf::Vector2f(pen.x + (bounds.left - padding), pen.y + (bounds.top - padding)),
            sf::Vector2f(pen.x + (bounds.left + bounds.width + padding),
                         pen.y + (bounds.top + bounds.height + padding)),
            sf::Vector2f(static_cast<float>(texture.left) - padding, static_cast<float>(texture.top) - padding),
            sf::Vector2f(static_cast<float>(texture.left + texture.width) + padding,
                         static_cast<float>(texture.top + texture.height) + padding)});
    };
#if LU_SFML_SHAPES_TEXT
    // SFML 3.1 shapes the text: control characters, whitespace and invisible marks draw nothing, and a
    // character may become several glyphs, each at its own place. So the text itself is asked. A font
    // that never opened cannot be shaped (SFML stops the program) and has no glyphs anyway.
    if (font.getInfo().id == 0)
        return quads;
    sf::Text text(font, sf::String(static_cast<char32_t>(codePoint)), characterSize);
    text.setStyle(sf::Text::Bold);
    for (const sf::Text::ShapedGlyph& shaped : text.getShapedGlyphs())
        if (shaped.vertexCount > 0)
            add(shaped.glyph, shaped.position);
#else
    // SFML 2.5 and 3.0 draw one glyph for every character but these, on the first line's baseline.
    if (codePoint != ' ' && codePoint != '\t' && codePoint != '\n' && codePoint != '\r')
        add(font.getGlyph(codePoint, characterSize, true), sf::Vector2f(0.0f, static_cast<float>(characterSize)));
#endif
    return quads;
}

// Appends the quad's two triangles and returns whether it reaches past the edge of clip space.
bool CellBatch::addQuad(const float* view, sf::Vector2f offset, const GlyphQuad& quad, sf::Color color)
{
    const sf::Vertex corners[CORNERS] = {
        sf::Vertex{toClipSpace(view, offset, quad.topLeft), color, quad.texTopLeft},
        sf::Vertex{toClipSpace(view, offset, sf::Vector2f(quad.bottomRight.x, quad.topLeft.y)), color,
                   sf::Vector2f(quad.texBottomRight.x, quad.texTopLeft.y)},
        sf::Vertex{toClipSpace(view, offset, sf::Vector2f(quad.topLeft.x, quad.bottomRight.y)), color,
                   sf::Vector2f(quad.texTopLeft.x, quad.texBottomRight.y)},
        sf::Vertex{toClipSpace(view, offset, quad.bottomRight), color, quad.texBottomRight},
    };
    sf::Vector2f low = corners[0].position;
    sf::Vector2f high = low;
    for (const sf::Vertex& corner : corners) {
        low = sf::Vector2f(std::min(low.x, corner.position.x), std::min(low.y, corner.position.y));
        high = sf::Vector2f(std::max(high.x, corner.position.x), std::max(high.y, corner.position.y));
    }
    // Clip space runs from -1 to 1; every pixel's centre lies strictly inside, so a quad wholly
    // outside (a parked hazard), or nowhere at all, has nothing to draw.
    if (!(high.x > -1.0f && low.x < 1.0f && high.y > -1.0f && low.y < 1.0f))
        return false;

    // Top-left, top-right, bottom-left, bottom-right as two triangles split along the same diagonal,
    // in the same vertex order, as a text's glyph quad: the interpolated texture coordinates then
    // round the same way.
    const int order[] = {0, 1, 2, 2, 1, 3};
    std::transform(std::begin(order), std::end(order), std::back_inserter(vertices),
                   [&corners](int corner) { return corners[corner]; });
    return low.x < -1.0f || high.x > 1.0f || low.y < -1.0f || high.y > 1.0f;
}

} // namespace lu
