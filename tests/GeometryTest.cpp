#include "Box.h"
#include "Object.h"
#include "ResourceManager.h"
#include "Vector.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using lu::Box;
using lu::Vector;

TEST(VectorTest, NormalizeMakesAUnitVectorButLeavesZeroAlone)
{
    Vector v(3, 4);
    EXPECT_FLOAT_EQ(5.0f, v.magnitude());
    v.normalize();
    EXPECT_FLOAT_EQ(0.6f, v.getX());
    EXPECT_FLOAT_EQ(0.8f, v.getY());
    Vector zero;
    zero.normalize();
    EXPECT_EQ(0.0f, zero.getX());
    EXPECT_EQ(0.0f, zero.getY());
}

TEST(BoxTest, TouchingBoxesIntersectAlongEdgesAndAtCorners)
{
    // The box every object has until it shows a sprite: the unit cell centred on the position.
    auto unitBoxAt = [](float x, float y) { return Box(Vector(x - 0.5f, y - 0.5f), 1, 1); };
    struct Case {
        float x, y;
        bool intersects;
    };
    const Case cases[] = {
        {10, 5, true},     {11, 5, true},     {9, 5, true},
        {10, 6, true},     {11, 6, true},     {9, 4, true},      // same, edges, corners
        {11.5f, 5, false}, {10, 3.9f, false}, {11.5f, 6, false}, // gaps
    };
    Box a = unitBoxAt(10, 5);
    for (const Case& c : cases) {
        Box b = unitBoxAt(c.x, c.y);
        EXPECT_EQ(c.intersects, lu::boxesIntersect(a, b)) << "at (" << c.x << ", " << c.y << ")";
        EXPECT_EQ(c.intersects, lu::boxesIntersect(b, a)) << "reversed, at (" << c.x << ", " << c.y << ")";
    }
}

TEST(BoxTest, SpriteBoxOfThreeByOnePlacedAtTenFiveSpansExactHalves)
{
    lutest::EngineScope scope(lutest::EngineScope::LOG | lutest::EngineScope::WORLD | lutest::EngineScope::RESOURCES);
    ASSERT_TRUE(lutest::writeFile("bar.txt", "1\n3\n1\n1\nwhite\nabc\n"));
    ASSERT_EQ(0, lu::ResourceManager::instance().loadSprite("bar.txt", "bar"));
    lu::Object* object = new lu::Object;
    ASSERT_EQ(0, object->setSprite("bar"));
    // The object's own position, (0, 0), does not enter: the box is placed where asked.
    Box placed = lu::worldBox(object, Vector(10, 5));
    EXPECT_FLOAT_EQ(8.5f, placed.getCorner().getX());
    EXPECT_FLOAT_EQ(11.5f, placed.getCorner().getX() + placed.getHorizontal());
    EXPECT_FLOAT_EQ(4.5f, placed.getCorner().getY());
    EXPECT_FLOAT_EQ(5.5f, placed.getCorner().getY() + placed.getVertical());
}
