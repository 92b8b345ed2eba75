#include "Box.h"

#include "Object.h"

namespace lu {

Box::Box(Vector corner, float horizontal, float vertical) : corner(corner), horizontal(horizontal), vertical(vertical)
{
}

void Box::setCorner(Vector newCorner)
{
    corner = newCorner;
}

void Box::setHorizontal(float newHorizontal)
{
    horizontal = newHorizontal;
}

void Box::setVertical(float newVertical)
{
    vertical = newVertical;
}

Box worldBox(const Object* object, Vector where)
{
    // Without an object there is no extent: a point at where.
    if (object == nullptr) {
        return Box(where, 0, 0);
    }
    Box box = object->getBox();
    box.setCorner(box.getCorner() + where);
    return box;
}

// Equality counts as overlap, so ranges that only touch overlap.
static bool rangesOverlap(float startA, float lengthA, float startB, float lengthB)
{
    if (startA >= startB && startB + lengthB >= startA) {
        return true;
    }
    if (startB >= startA && startA + lengthA >= startB) {
        return true;
    }
    return false;
}

bool boxesIntersect(const Box& a, const Box& b)
{
    bool xOverlap = rangesOverlap(a.getCorner().getX(), a.getHorizontal(), b.getCorner().getX(), b.getHorizontal());
    bool yOverlap = rangesOverlap(a.getCorner().getY(), a.getVertical(), b.getCorner().getY(), b.getVertical());
    return xOverlap && yOverlap;
}

} // namespace lu
