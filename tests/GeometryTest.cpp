#include "Box.h"
#include "Object.h"
#include "ResourceManager.h"
#include "Vector.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using lu::Box;
using lu::Vector;

namespace {

// The box every object has until it shows a sprite: the unit cell centred on the position.
Box unitBoxAt(float x, float y)
{
    return Box(Vector(x - 0.5f, y - 0.5f), 1, 1);
}

} // namespace

TEST(VectorTest, MagnitudeAndNormalizeOfThreeFourAndOfZero)
{
    Vector v(3, 4);
    EXPECT_FLOAT_EQ(5.0f, v.magnitude());
    v.normalize();
    EXPECT_FLOAT_EQ(0.6f, v.getX());
    EXPECT_FLOAT_EQ(0.8f, v.getY());
    EXPECT_FLOAT_EQ(1.0f, v.magnitude());

    Vector zero;
    zero.normalize();
    EXPECT_EQ(0.0f, zero.getX());
    EXPECT_EQ(0.0f, zero.getY());
    EXPECT_EQ(0.0f, zero.magnitude());
}

TEST(BoxTest, TouchingBoxesIntersectAlongEdgesAndAtCorners)
{
    Box a = unitBoxAt(10, 5);
    struct Case {
        float x, y;
        bool intersects;
    };
    const Case cases[] = {
        {10, 5, true},     // same cell
        {11, 5, true},     // right edges touch
        {9, 5, true},      // left edges touch
        {10, 6, true},     // bottom edges touch
        {11, 6, true},     // corners touch
        {9, 4, true},      // corners touch
        {11.5f, 5, false}, // half a cell of gap
        {10, 3.9f, false}, // gap above
        {11.5f, 6, false}, // near on y only
    };
    for (const Case& c : cases) {
        Box b = unitBoxAt(c.x, c.y);
        EXPECT_EQ(c.intersects, lu::boxesIntersect(a, b)) << "at (" << c.x << ", " << c.y << ")";
        EXPECT_EQ(lu::boxesIntersect(a, b), lu::boxesIntersect(b, a))
            << "not symmetric at (" << c.x << ", " << c.y << ")";
    }
}

TEST(BoxTest, SpriteBoxOfThreeByOnePlacedAtTenFiveSpansExactHalves)
{
    lutest::EngineScope scope(lutest::EngineScope::LOG | lutest::EngineScope::WORLD | lutest::EngineScope::RESOURCES);
    std::string path = scope.directory() + "/bar.txt";
    ASSERT_TRUE(lutest::writeFile(path, "1\n3\n1\n1\nwhite\nabc\n"));
    ASSERT_EQ(0, lu::ResourceManager::instance().loadSprite(path, "bar"));

    lu::Object* object = new lu::Object;
    ASSERT_EQ(0, object->setSprite("bar"));
    Box placed = lu::worldBox(object, Vector(10, 5));
    EXPECT_FLOAT_EQ(8.5f, placed.getCorner().getX());
    EXPECT_FLOAT_EQ(11.5f, placed.getCorner().getX() + placed.getHorizontal());
    EXPECT_FLOAT_EQ(4.5f, placed.getCorner().getY());
    EXPECT_FLOAT_EQ(5.5f, placed.getCorner().getY() + placed.getVertical());
    // The object's own position does not enter: the box is placed at the position asked for.
    EXPECT_FLOAT_EQ(0.0f, object->getPosition().getX());
}
