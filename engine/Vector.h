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

    /// Returns the component-wise difference: the step from other to this vector.
    /// \code
    /// lu::Vector step = target->getPosition() - getPosition(); // from here to the target
    /// \endcode
    Vector operator-(const Vector& other) const;

    /// Returns the vector with both components multiplied by s.
    /// \code
    /// setVelocity(heading * 0.5f); // half a cell per frame along heading
    /// \endcode
    Vector operator*(float s) const;

    /// Returns true when both components are exactly equal.
    /// \code
    /// if (heading == lu::Vector()) // no key held: stand still
    ///     setVelocity(lu::Vector());
    /// \endcode
    bool operator==(const Vector& other) const;

    /// Returns true when either component differs.
    /// \code
    /// if (getPosition() != lastPosition)
    ///     moved++;
    /// \endcode
    bool operator!=(const Vector& other) const;

    /// Returns the straight-line distance to other, in cells.
    /// \code
    /// if (getPosition().distanceTo(player->getPosition()) < 5)
    ///     setAltitude(3); // near the player: shown over the rest
    /// \endcode
    float distanceTo(const Vector& other) const;

private:
    float x;
    float y;
};

} // namespace lu
