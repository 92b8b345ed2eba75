#include "Animation.h"

#include "DisplayManager.h"
#include "Frame.h"
#include "Sprite.h"

#include <string>

namespace lu {

Animation::Animation() : sprite(nullptr), name(), index(0), slowdownCount(0)
{
}

void Animation::setSprite(Sprite* sprite)
{
    this->sprite = sprite;
}

Sprite* Animation::getSprite() const
{
    return sprite;
}

void Animation::setIndex(int index)
{
    this->index = index;
}

int Animation::getIndex() const
{
    return index;
}

void Animation::setSlowdownCount(int slowdownCount)
{
    this->slowdownCount = slowdownCount;
}

int Animation::getSlowdownCount() const
{
    return slowdownCount;
}

int Animation::draw(Vector position)
{
    if (sprite == nullptr) {
        return -1;
    }

    int frameCount = sprite->getFrameCount();
    if (index >= 0 && index < frameCount) {
        Frame frame = sprite->getFrame(index);
        const std::string text = frame.getString();
        int width = frame.getWidth();
        int height = frame.getHeight();
        int halfWidth = width / 2;
        int halfHeight = height / 2;
        Color color = sprite->getColor();
        const DisplayManager& display = DisplayManager::instance();

        // A string shorter than width x height (short lines in a sprite file) leaves the cells
        // past its end undrawn, so whatever lies beneath them stays visible; the loops stop at
        // the string's end, which also bounds the work for an absurdly large frame size.
        long long length = static_cast<long long>(text.size());
        bool drawing = !text.empty();
        for (int r = 0; drawing && r < height; r++) {
            for (int c = 0; c < width; c++) {
                long long at = static_cast<long long>(r) * width + c;
                if (at >= length) {
                    drawing = false;
                    break;
                }
                Vector cell(c + position.getX() - halfWidth, r + position.getY() - halfHeight);
                display.drawCharacter(cell, text[static_cast<std::size_t>(at)], color);
            }
        }
    }

    if (slowdownCount == ANIMATION_FROZEN) {
        return 0;
    }
    slowdownCount++;
    if (slowdownCount < sprite->getSlowdown()) {
        return 0;
    }
    index++;
    slowdownCount = 0;
    if (index >= frameCount) {
        index = 0;
    }
    return 0;
}

} // namespace lu
