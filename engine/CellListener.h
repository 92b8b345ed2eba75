#pragma once

#include "Color.h"
#include "Vector.h"

namespace lu {

/// Receives each character the display is asked to draw, for tools that read the screen as text.
class CellListener {
public:
    virtual ~CellListener() = default;

    /// Called once per drawCharacter call, with its arguments, the position taken into the view (less the
    /// camera, WorldManager::getCamera()).
    virtual void onCharacter(Vector viewPosition, char ch, Color color) = 0;
};

} // namespace lu
