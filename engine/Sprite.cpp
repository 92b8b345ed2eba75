#include "Sprite.h"

#include <utility>

namespace lu {

// A negative capacity would make the frame vector throw; such a sprite simply holds no frames.
Sprite::Sprite(int maxFrameCount)
    : width(0),
      height(0),
      maxFrameCount(maxFrameCount > 0 ? maxFrameCount : 0),
      frameCount(0),
      color(COLOR_DEFAULT),
      slowdown(0),
      frames(static_cast<std::size_t>(this->maxFrameCount)),
      label()
{
}

Sprite::~Sprite() = default;

int Sprite::addFrame(Frame frame)
{
    if (frameCount >= maxFrameCount) {
        return -1;
    }
    frames[static_cast<std::size_t>(frameCount)] = std::move(frame);
    frameCount++;
    return 0;
}

// An index outside the added frames yields an empty frame, which is never drawn, rather than
// reading a slot that holds nothing or lies outside the vector.
Frame Sprite::getFrame(int index) const
{
    if (index < 0 || index >= frameCount) {
        return Frame();
    }
    return frames[static_cast<std::size_t>(index)];
}

int Sprite::getWidth() const
{
    return width;
}

void Sprite::setWidth(int width)
{
    this->width = width;
}

int Sprite::getHeight() const
{
    return height;
}

void Sprite::setHeight(int height)
{
    this->height = height;
}

Color Sprite::getColor() const
{
    return color;
}

void Sprite::setColor(Color color)
{
    this->color = color;
}

int Sprite::getSlowdown() const
{
    return slowdown;
}

void Sprite::setSlowdown(int slowdown)
{
    this->slowdown = slowdown;
}

int Sprite::getFrameCount() const
{
    return frameCount;
}

std::string Sprite::getLabel() const
{
    return label;
}

void Sprite::setLabel(std::string label)
{
    this->label = std::move(label);
}

} // namespace lu
