#pragma once

#include "Vector.h"

namespace lu {

class Object;

/// An axis-aligned rectangle: a top-left corner and two extents, in cells.
class Box {
public:
    /// Makes a box from its corner and extents (a 0 x 0 box at the origin by default).
    Box(Vector corner = Vector(), float horizontal = 0, float vertical = 0);

    /// Returns the top-left corner.
    Vector getCorner() const
    {
        return corner;
    }

    /// Sets the top-left corner.
    void setCorner(Vector corner);

    /// Returns the width in cells.
    float getHorizontal() const
    {
        return horizontal;
    }

    /// Sets the width in cells.
    void setHorizontal(float horizontal);

    /// Returns the height in cells.
    float getVertical() const
    {
        return vertical;
    }

    /// Sets the height in cells.
    void setVertical(float vertical);

private:
    Vector corner;
    float horizontal;
    float vertical;
};

/// Returns the object's box placed in the world as if the object stood at where.
Box worldBox(const Object* object, Vector where);

/// Returns true when the boxes overlap on both axes; touching edges and corners count.
bool boxesIntersect(const Box& a, const Box& b);

} // namespace lu
