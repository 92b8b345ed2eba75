#pragma once

namespace lu {

/// The eight colours characters are drawn in.
enum Color {
    BLACK = 0,
    RED,
    GREEN,
    YELLOW,
    BLUE,
    MAGENTA,
    CYAN,
    WHITE,
};

const Color COLOR_DEFAULT = WHITE;

} // namespace lu
