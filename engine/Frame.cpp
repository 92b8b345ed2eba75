#include "Frame.h"

#include <utility>

namespace lu {

Frame::Frame() : width(0), height(0), frameString()
{
}

Frame::Frame(int width, int height, std::string frameString)
    : width(width), height(height), frameString(std::move(frameString))
{
}

int Frame::getWidth() const
{
    return width;
}

void Frame::setWidth(int width)
{
    this->width = width;
}

int Frame::getHeight() const
{
    return height;
}

void Frame::setHeight(int height)
{
    this->height = height;
}

std::string Frame::getString() const
{
    return frameString;
}

void Frame::setString(std::string frameString)
{
    this->frameString = std::move(frameString);
}

} // namespace lu
