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

/// The colour used when none, or an unknown one, is given.
const Color COLOR_DEFAULT = WHITE;

} // namespace lu
