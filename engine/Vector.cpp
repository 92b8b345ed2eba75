#include "Vector.h"

#include <cmath>

namespace lu {

Vector::Vector(float x, float y) : x(x), y(y)
{
}

void Vector::setX(float newX)
{
    x = newX;
}

void Vector::setY(float newY)
{
    y = newY;
}

float Vector::magnitude() const
{
    return std::sqrt(x * x + y * y);
}

void Vector::normalize()
{
    float length = magnitude();
    if (length > 0) {
        x = x / length;
        y = y / length;
    }
}

void Vector::scale(float s)
{
    x = x * s;
    y = y * s;
}

Vector Vector::operator+(const Vector& other) const
{
    return Vector(x + other.x, y + other.y);
}

Vector Vector::operator-(const Vector& other) const
{
    return Vector(x - other.x, y - other.y);
}

Vector Vector::operator*(float s) const
{
    return Vector(x * s, y * s);
}

bool Vector::operator==(const Vector& other) const
{
    return x == other.x && y == other.y;
}

bool Vector::operator!=(const Vector& other) const
{
    return !(*this == other);
}

float Vector::distanceTo(const Vector& other) const
{
    return (other - *this).magnitude();
}

} // namespace lu
