#include "ScreenDecoder.h"

#include <cmath>

namespace {

const char FIRST_PRINTABLE = ' ';
const char LAST_PRINTABLE = '~';
const int PRINTABLE_COUNT = LAST_PRINTABLE - FIRST_PRINTABLE + 1;
// Nearly every printable character must come out of the sheets distinct, or they were not drawn.
const std::size_t MIN_READABLE_GLYPHS = PRINTABLE_COUNT * 9 / 10;

// A glyph spills into the next cell right and below, so sheet glyphs stand on every other cell; the last
// row is left free for the spill of the row above it.
const int SHEET_FIRST_CELL = 1;
const int SHEET_SPACING = 2;
const int SHEET_COLUMNS = (GRID_COLUMNS - SHEET_FIRST_CELL) / SHEET_SPACING;
const int SHEET_ROWS = (GRID_ROWS - 1 - SHEET_FIRST_CELL) / SHEET_SPACING;
const int SHEET_SLOTS = SHEET_COLUMNS * SHEET_ROWS;

// A creeping object is drawn up to two creep steps of 0.02 cells off its cell, along one axis.
struct Shift {
    float x;
    float y;
};
const Shift SHIFTS[] = {{0, 0},     {0.02f, 0}, {0.04f, 0},  {-0.02f, 0}, {-0.04f, 0},
                        {0, 0.02f}, {0, 0.04f}, {0, -0.02f}, {0, -0.04f}};
const int SHIFT_COUNT = sizeof(SHIFTS) / sizeof(SHIFTS[0]);
const int VARIANT_COUNT = SHIFT_COUNT * PRINTABLE_COUNT;

// Variant v is character v % PRINTABLE_COUNT with shift v / PRINTABLE_COUNT, on slot v of all sheets.
PaintedText variantCell(int variant)
{
    int slot = variant % SHEET_SLOTS;
    const Shift& shift = SHIFTS[variant / PRINTABLE_COUNT];
    return PaintedText{SHEET_FIRST_CELL + SHEET_SPACING * (slot % SHEET_COLUMNS),
                       SHEET_FIRST_CELL + SHEET_SPACING * (slot / SHEET_COLUMNS),
                       lu::WHITE,
                       std::string(1, static_cast<char>(FIRST_PRINTABLE + variant % PRINTABLE_COUNT)),
                       shift.x,
                       shift.y};
}

// The display paints a cell's black background a tenth of a cell left of and a fifth of a cell below the
// character's position, and pixels belong to the shape that covers their centre; that square of pixels is
// the part of the screen one cell owns.
const float BACKGROUND_LEFT_SHIFT = CELL_WIDTH / 10.0f;
const float BACKGROUND_DOWN_SHIFT = CELL_HEIGHT / 5.0f;
const float PIXEL_CENTRE = 0.5f;

// Anti-aliased edges are counted as ink from half brightness up; channels above half of a pixel's
// brightest channel make up its colour.
const int LIT_THRESHOLD = 128;
const int MAX_DECODE_PASSES = 4;

int brightness(const std::uint8_t* p)
{
    int value = p[0];
    if (p[1] > value)
        value = p[1];
    if (p[2] > value)
        value = p[2];
    return value;
}

lu::Color pixelColor(const std::uint8_t* p)
{
    int half = brightness(p) / 2;
    bool red = p[0] > half;
    bool green = p[1] > half;
    bool blue = p[2] > half;
    if (red && green && blue)
        return lu::WHITE;
    if (red && green)
        return lu::YELLOW;
    if (red && blue)
        return lu::MAGENTA;
    if (green && blue)
        return lu::CYAN;
    if (red)
        return lu::RED;
    if (green)
        return lu::GREEN;
    return lu::BLUE;
}

// Bits set in a word, without relying on a processor instruction.
int bitsIn(std::uint64_t word)
{
    word = word - ((word >> 1) & 0x5555555555555555ull);
    word = (word & 0x3333333333333333ull) + ((word >> 2) & 0x3333333333333333ull);
    word = (word + (word >> 4)) & 0x0f0f0f0f0f0f0f0full;
    return static_cast<int>((word * 0x0101010101010101ull) >> 56);
}

} // namespace

ScreenDecoder::ScreenDecoder() : spaceGlyph(0), cellGlyphs(0)
{
}

int ScreenDecoder::cellLeftPixel(int column)
{
    return static_cast<int>(std::ceil(CELL_WIDTH * column - BACKGROUND_LEFT_SHIFT - PIXEL_CENTRE));
}

int ScreenDecoder::cellTopPixel(int row)
{
    return static_cast<int>(std::ceil(CELL_HEIGHT * row + BACKGROUND_DOWN_SHIFT - PIXEL_CENTRE));
}

int ScreenDecoder::glyphSheetCount()
{
    return (VARIANT_COUNT + SHEET_SLOTS - 1) / SHEET_SLOTS;
}

std::vector<PaintedText> ScreenDecoder::glyphSheet(int sheet)
{
    std::vector<PaintedText> cells;
    for (int variant = sheet * SHEET_SLOTS; variant < VARIANT_COUNT && variant < (sheet + 1) * SHEET_SLOTS; ++variant)
        cells.push_back(variantCell(variant));
    return cells;
}

bool ScreenDecoder::learn(const std::vector<Image>& sheets, std::string& error)
{
    glyphs.clear();
    cellGlyphs = 0;
    if (static_cast<int>(sheets.size()) != glyphSheetCount()) {
        error = "learning needs " + std::to_string(glyphSheetCount()) + " glyph sheets";
        return false;
    }
    for (const Image& sheet : sheets) {
        if (sheet.getWidth() < lu::WINDOW_HORIZONTAL_PIXELS_DEFAULT ||
            sheet.getHeight() < lu::WINDOW_VERTICAL_PIXELS_DEFAULT) {
            error = "a glyph sheet screenshot is " + std::to_string(sheet.getWidth()) + " x " +
                    std::to_string(sheet.getHeight()) + " pixels";
            return false;
        }
    }
    for (int variant = 0; variant < VARIANT_COUNT; ++variant) {
        PaintedText cell = variantCell(variant);
        const Image& sheet = sheets[variant / SHEET_SLOTS];
        Glyph glyph;
        glyph.ch = cell.text[0];
        glyph.shifted = variant >= PRINTABLE_COUNT;
        glyph.own = maskAt(sheet, cell.column, cell.row);
        glyph.right = maskAt(sheet, cell.column + 1, cell.row);
        glyph.below = maskAt(sheet, cell.column, cell.row + 1);
        glyph.diagonal = maskAt(sheet, cell.column + 1, cell.row + 1);
        bool blank = countBits(glyph.own) == 0;
        if (glyph.ch == ' ' && !glyph.shifted && !blank) {
            error = "the glyph sheet shows ink where a space was drawn";
            glyphs.clear();
            return false;
        }
        // A glyph drawn wholly below its own cell (the underscore) looks blank there: it cannot be read.
        if ((glyph.ch != ' ' || glyph.shifted) && blank)
            continue;
        if (glyph.shifted && !canRead(glyph.ch))
            continue;
        if (glyph.ch == ' ')
            spaceGlyph = static_cast<int>(glyphs.size());
        glyphs.push_back(glyph);
        if (!glyph.shifted)
            cellGlyphs = glyphs.size();
    }
    if (cellGlyphs < MIN_READABLE_GLYPHS) {
        error = "the glyph sheet shows only " + std::to_string(cellGlyphs) + " characters";
        glyphs.clear();
        return false;
    }
    return true;
}

bool ScreenDecoder::canRead(char ch) const
{
    for (const Glyph& glyph : glyphs) {
        if (glyph.ch == ch)
            return true;
    }
    return false;
}

bool ScreenDecoder::isReady() const
{
    return !glyphs.empty();
}

ScreenDecoder::CellMask ScreenDecoder::maskAt(const Image& image, int column, int row)
{
    CellMask mask = {};
    int left = cellLeftPixel(column);
    int top = cellTopPixel(row);
    for (int y = 0; y < CELL_HEIGHT; ++y) {
        for (int x = 0; x < CELL_WIDTH; ++x) {
            const std::uint8_t* p = image.pixel(left + x, top + y);
            if (p != nullptr && brightness(p) >= LIT_THRESHOLD)
                mask[y / MASK_ROWS_PER_WORD] |= std::uint64_t(1) << ((y % MASK_ROWS_PER_WORD) * MASK_LANE_BITS + x);
        }
    }
    return mask;
}

bool ScreenDecoder::isLit(const CellMask& mask, int x, int y)
{
    return (mask[y / MASK_ROWS_PER_WORD] >> ((y % MASK_ROWS_PER_WORD) * MASK_LANE_BITS + x) & 1) != 0;
}

int ScreenDecoder::countBits(const CellMask& mask)
{
    int count = 0;
    for (std::uint64_t word : mask)
        count += bitsIn(word);
    return count;
}

// The glyph closest to what the cell shows; lit pixels that a neighbour's spill explains do not count
// against a glyph, since a neighbour drawn later paints them over this cell. Glyphs that look the same
// in their own cell (',' and '.') differ only in what they spill into the cell below. Shifted glyphs
// are only looked at when no glyph on a whole cell fits exactly.
int ScreenDecoder::bestGlyph(const CellMask& observed, const CellMask& allowed, const CellMask& observedBelow) const
{
    int best = 0;
    int bestScore = -1;
    for (std::size_t g = 0; g < glyphs.size(); ++g) {
        if (g == cellGlyphs && bestScore == 0)
            break;
        const CellMask& own = glyphs[g].own;
        int score = 0;
        for (int w = 0; w < MASK_WORDS; ++w) {
            std::uint64_t differing = observed[w] ^ own[w];
            std::uint64_t excused = observed[w] & ~own[w] & allowed[w];
            score += bitsIn(differing & ~excused);
        }
        if (bestScore < 0 || score < bestScore) {
            best = static_cast<int>(g);
            bestScore = score;
        }
    }
    int bestFit = tailFit(glyphs[best], observedBelow);
    for (std::size_t g = 0; g < glyphs.size(); ++g) {
        if (static_cast<int>(g) == best || glyphs[g].own != glyphs[best].own)
            continue;
        int fit = tailFit(glyphs[g], observedBelow);
        if (fit > bestFit) {
            best = static_cast<int>(g);
            bestFit = fit;
        }
    }
    return best;
}

// How well the part of a glyph that reaches into the cell below matches that cell: lit tail pixels
// count for it, missing ones against it.
int ScreenDecoder::tailFit(const Glyph& glyph, const CellMask& observedBelow)
{
    int fit = 0;
    for (int w = 0; w < MASK_WORDS; ++w) {
        fit += bitsIn(glyph.below[w] & observedBelow[w]);
        fit -= bitsIn(glyph.below[w] & ~observedBelow[w]);
    }
    return fit;
}

ScreenDecoder::CellMask ScreenDecoder::spillInto(const std::vector<int>& chosen, int column, int row) const
{
    CellMask spill = {};
    for (int w = 0; w < MASK_WORDS; ++w) {
        if (column > 0)
            spill[w] |= glyphs[chosen[row * GRID_COLUMNS + column - 1]].right[w];
        if (row > 0)
            spill[w] |= glyphs[chosen[(row - 1) * GRID_COLUMNS + column]].below[w];
        if (column > 0 && row > 0)
            spill[w] |= glyphs[chosen[(row - 1) * GRID_COLUMNS + column - 1]].diagonal[w];
    }
    return spill;
}

ScreenDecoder::CellMask ScreenDecoder::below(const std::vector<CellMask>& observed, int column, int row)
{
    if (row + 1 >= GRID_ROWS)
        return CellMask{};
    return observed[(row + 1) * GRID_COLUMNS + column];
}

lu::Color ScreenDecoder::colorOf(const Image& image, int column, int row, const CellMask& ink) const
{
    int votes[lu::WHITE + 1] = {};
    int left = cellLeftPixel(column);
    int top = cellTopPixel(row);
    for (int y = 0; y < CELL_HEIGHT; ++y) {
        for (int x = 0; x < CELL_WIDTH; ++x) {
            if (!isLit(ink, x, y))
                continue;
            const std::uint8_t* p = image.pixel(left + x, top + y);
            if (p != nullptr && brightness(p) >= LIT_THRESHOLD)
                ++votes[pixelColor(p)];
        }
    }
    int best = lu::BLACK;
    for (int c = lu::BLACK; c <= lu::WHITE; ++c) {
        if (votes[c] > votes[best])
            best = c;
    }
    return static_cast<lu::Color>(best);
}

ScreenGrid ScreenDecoder::decode(const Image& screen) const
{
    ScreenGrid grid;
    if (!isReady())
        return grid;
    const int cells = GRID_COLUMNS * GRID_ROWS;
    std::vector<CellMask> observed(cells);
    std::vector<CellMask> allowed(cells);
    std::vector<int> chosen(cells, spaceGlyph);
    for (int r = 0; r < GRID_ROWS; ++r) {
        for (int c = 0; c < GRID_COLUMNS; ++c)
            observed[r * GRID_COLUMNS + c] = maskAt(screen, c, r);
    }
    // Spills depend on the neighbours' glyphs, which depend on their own neighbours: settle in a few
    // passes, each looking again only at the lit cells whose neighbours changed.
    for (int pass = 0; pass < MAX_DECODE_PASSES; ++pass) {
        bool changed = false;
        for (int r = 0; r < GRID_ROWS; ++r) {
            for (int c = 0; c < GRID_COLUMNS; ++c) {
                int at = r * GRID_COLUMNS + c;
                if (countBits(observed[at]) == 0)
                    continue;
                CellMask spill = spillInto(chosen, c, r);
                if (pass > 0 && spill == allowed[at])
                    continue;
                allowed[at] = spill;
                int g = bestGlyph(observed[at], spill, below(observed, c, r));
                if (g != chosen[at]) {
                    chosen[at] = g;
                    changed = true;
                }
            }
        }
        if (!changed)
            break;
    }
    for (int r = 0; r < GRID_ROWS; ++r) {
        for (int c = 0; c < GRID_COLUMNS; ++c) {
            int at = r * GRID_COLUMNS + c;
            const Glyph& glyph = glyphs[chosen[at]];
            if (glyph.ch == ' ')
                continue;
            CellMask spill = spillInto(chosen, c, r);
            CellMask ink = {};
            for (int w = 0; w < MASK_WORDS; ++w)
                ink[w] = observed[at][w] & glyph.own[w] & ~spill[w];
            lu::Color color = colorOf(screen, c, r, ink);
            if (color == lu::BLACK)
                color = colorOf(screen, c, r, observed[at]);
            grid.set(c, r, glyph.ch, color);
        }
    }
    return grid;
}
