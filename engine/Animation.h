#pragma once

#include "Vector.h"

#include <string>

namespace lu {

class Sprite;

/// A slowdown count that keeps the animation on its current frame.
const int ANIMATION_FROZEN = -1;

/// An object's view of a shared sprite: which frame it shows and for how long.
class Animation {
public:
    /// Makes an animation without a sprite at frame 0.
    Animation();

    /// Sets the sprite shown (null shows nothing); the index and count are kept.
    void setSprite(Sprite* sprite);

    /// Returns the sprite shown.
    Sprite* getSprite() const;

    /// Sets the frame shown.
    void setIndex(int index);

    /// Returns the frame shown.
    int getIndex() const;

    /// Sets how long the frame has been shown; ANIMATION_FROZEN stops the animation.
    void setSlowdownCount(int slowdownCount);

    /// Returns how long the frame has been shown.
    int getSlowdownCount() const;

    /// Draws the current frame centred on position and advances; returns -1 without a sprite.
    int draw(Vector position);

private:
    Sprite* sprite;
    std::string name;
    int index;
    int slowdownCount;
};

} // namespace lu
