#pragma once

namespace lu {

/// Where a string drawn with DisplayManager::drawString() lies against its position's cell.
/// \code
/// const lu::DisplayManager& display = lu::DisplayManager::instance();
/// display.drawString(lu::Vector(1, 0), "Lives 3", lu::WHITE, lu::ALIGN_LEFT);   // columns 1 to 7
/// display.drawString(lu::Vector(73, 0), "Score 12", lu::WHITE, lu::ALIGN_RIGHT); // columns 66 to 73
/// \endcode
enum Alignment {
    ALIGN_LEFT = 0,   ///< the first character on the position's cell, the rest to its right
    ALIGN_CENTER = 1, ///< centred on the position, as drawString() without an alignment
    ALIGN_RIGHT = 2,  ///< the last character on the position's cell, the rest to its left
};

} // namespace lu
