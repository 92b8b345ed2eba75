#pragma once

#include "Color.h"
#include "Frame.h"

#include <string>
#include <vector>

namespace lu {

/// A labelled sequence of same-sized frames in one colour, played at a slowdown.
class Sprite {
public:
    /// Makes an empty sprite with room for maxFrameCount frames.
    explicit Sprite(int maxFrameCount);

    ~Sprite();

    /// Appends a copy of the frame; returns -1 when the sprite is full, else 0.
    int addFrame(Frame frame);

    /// Returns a copy of frame index (0 to frame count - 1).
    Frame getFrame(int index) const;

    /// Returns the frame width in characters.
    int getWidth() const;

    /// Sets the frame width in characters.
    void setWidth(int width);

    /// Returns the frame height in rows.
    int getHeight() const;

    /// Sets the frame height in rows.
    void setHeight(int height);

    /// Returns the colour of every character.
    Color getColor() const;

    /// Sets the colour of every character.
    void setColor(Color color);

    /// Returns how many loop frames each animation frame is shown.
    int getSlowdown() const;

    /// Sets how many loop frames each animation frame is shown.
    void setSlowdown(int slowdown);

    /// Returns the number of frames added.
    int getFrameCount() const;

    /// Returns the label the sprite is found under.
    std::string getLabel() const;

    /// Sets the label the sprite is found under.
    void setLabel(std::string label);

private:
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    int width;
    int height;
    int maxFrameCount;
    int frameCount;
    Color color;
    int slowdown;
    std::vector<Frame> frames;
    std::string label;
};

} // namespace lu
