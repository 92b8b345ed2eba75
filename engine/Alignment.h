#pragma once

namespace lu {

/// Where a string drawn with DisplayManager::drawString() lies against its position's cell.
enum Alignment {
    ALIGN_LEFT = 0,   ///< the first character on the position's cell, the rest to its right
    ALIGN_CENTER = 1, ///< centred on the position, as drawString() without an alignment
    ALIGN_RIGHT = 2,  ///< the last character on the position's cell, the rest to its left
};

} // namespace lu
