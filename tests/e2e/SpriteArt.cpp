#include "SpriteArt.h"

#include <cstdlib>
#include <fstream>

namespace {

const int HEADER_NUMBERS = 4;

bool readLine(std::ifstream& file, std::string& line)
{
    if (!std::getline(file, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

lu::Color colorNamed(const std::string& name)
{
    for (int value = lu::BLACK; value <= lu::WHITE; ++value) {
        if (colorName(static_cast<lu::Color>(value)) == name)
            return static_cast<lu::Color>(value);
    }
    return lu::COLOR_DEFAULT;
}

} // namespace

SpriteArt::SpriteArt() : width(0), height(0), color(lu::COLOR_DEFAULT)
{
}

bool SpriteArt::load(const std::string& path)
{
    std::ifstream file(path);
    int header[HEADER_NUMBERS] = {0, 0, 0, 0};
    std::string line;
    for (int i = 0; i < HEADER_NUMBERS; ++i) {
        if (!readLine(file, line))
            return false;
        header[i] = std::atoi(line.c_str());
    }
    if (!readLine(file, line))
        return false;
    color = colorNamed(line);
    width = header[1];
    height = header[2];
    frames.clear();
    for (int f = 0; f < header[0]; ++f) {
        std::vector<std::string> rows;
        for (int r = 0; r < height; ++r) {
            if (!readLine(file, line))
                return false;
            rows.push_back(line);
        }
        frames.push_back(rows);
    }
    return true;
}

int SpriteArt::getFrameCount() const
{
    return static_cast<int>(frames.size());
}

int SpriteArt::getWidth() const
{
    return width;
}

int SpriteArt::getHeight() const
{
    return height;
}

lu::Color SpriteArt::getColor() const
{
    return color;
}

std::string SpriteArt::rowOf(int frame, int r) const
{
    std::string row = frames.at(frame).at(r);
    row.resize(static_cast<std::size_t>(width), ' ');
    return row;
}

bool SpriteArt::uses(char ch) const
{
    for (int f = 0; f < getFrameCount(); ++f) {
        for (int r = 0; r < height; ++r) {
            if (rowOf(f, r).find(ch) != std::string::npos)
                return true;
        }
    }
    return false;
}

int SpriteArt::frameShownAt(const ScreenGrid& grid, int centreColumn, int centreRow) const
{
    int left = centreColumn - width / 2;
    int top = centreRow - height / 2;
    for (int f = 0; f < getFrameCount(); ++f) {
        bool same = true;
        for (int r = 0; r < height && same; ++r) {
            std::string expected = rowOf(f, r);
            same = grid.text(left, top + r, width) == expected && grid.hasColor(left, top + r, width, color);
        }
        if (same)
            return f;
    }
    return -1;
}
