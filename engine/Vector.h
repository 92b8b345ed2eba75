#pragma once

namespace lu {

/// A pair of floats in cells: x to the right, y downward.
class Vector {
public:
    /// Makes the vector (x, y).
    Vector(float x = 0, float y = 0);

    /// Returns x.
    float getX() const
    {
        return x;
    }

    /// Sets x.
    void setX(float x);

    /// Returns y.
    float getY() const
    {
        return y;
    }

    /// Sets y.
    void setY(float y);

    /// Returns the length, in single precision.
    float magnitude() const;

    /// Scales the vector to length 1; the zero vector stays zero.
    void normalize();

    /// Multiplies both components by s.
    void scale(float s);

    /// Returns the component-wise sum.
    Vector operator+(const Vector& other) const;

private:
    float x;
    float y;
};

} // namespace lu
