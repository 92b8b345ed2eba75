#include "Animation.h"
#include "Box.h"
#include "Object.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "WorldManager.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using lu::Object;
using lu::Vector;

class ObjectTest : public ::testing::Test {
protected:
    // Returns the box's extent as "x 8.5..11.5 y 4.5..5.5".
    static std::string extent(const lu::Box& box)
    {
        char text[80];
        std::snprintf(text, sizeof text, "x %g..%g y %g..%g", box.getCorner().getX(),
                      box.getCorner().getX() + box.getHorizontal(), box.getCorner().getY(),
                      box.getCorner().getY() + box.getVertical());
        return text;
    }

    lutest::EngineScope scope{lutest::EngineScope::LOG | lutest::EngineScope::WORLD | lutest::EngineScope::RESOURCES};
};

TEST_F(ObjectTest, IdsCountUpAndAreNotHandedOutAgainAfterTheWorldEmpties)
{
    int first = (new Object)->getId();
    EXPECT_EQ(first + 1, (new Object)->getId());
    lu::WorldManager::instance().shutDown();
    EXPECT_EQ(first + 2, (new Object)->getId());
}

TEST_F(ObjectTest, VelocityIsAUnitDirectionTimesTheSpeedAndTheWorldMovesByIt)
{
    struct Case {
        Vector velocity;
        float speed, directionX, directionY;
    };
    const Case cases[] = {{Vector(3, 4), 5, 0.6f, 0.8f}, {Vector(0.02f, 0), 0.02f, 1, 0}, {Vector(0, 0), 0, 0, 0}};
    Object* object = new Object;
    for (const Case& c : cases) {
        object->setVelocity(c.velocity);
        EXPECT_FLOAT_EQ(c.speed, object->getSpeed());
        EXPECT_FLOAT_EQ(c.directionX, object->getDirection().getX());
        EXPECT_FLOAT_EQ(c.directionY, object->getDirection().getY());
        EXPECT_FLOAT_EQ(c.velocity.getX(), object->getVelocity().getX());
        EXPECT_FLOAT_EQ(c.velocity.getY(), object->getVelocity().getY());
    }

    // Direction and speed set apart move the object just the same.
    object->setPosition(Vector(10, 10));
    object->setDirection(Vector(0, -1));
    object->setSpeed(0.5f);
    lu::WorldManager::instance().update();
    EXPECT_FLOAT_EQ(9.5f, object->getPosition().getY());
    EXPECT_FLOAT_EQ(10.0f, object->getPosition().getX());
}

TEST_F(ObjectTest, SetSpriteFitsTheBoxAndRestartsTheAnimationButAnUnknownLabelChangesNothing)
{
    std::string path = scope.directory() + "/block.txt";
    ASSERT_TRUE(lutest::writeFile(path, "2\n4\n2\n3\nred\nabcd\nefgh\nijkl\nmnop\n"));
    ASSERT_EQ(0, lu::ResourceManager::instance().loadSprite(path, "block"));

    Object* object = new Object;
    lu::Animation animation = object->getAnimation();
    animation.setIndex(1);
    animation.setSlowdownCount(2);
    object->setAnimation(animation);

    ASSERT_EQ(0, object->setSprite("block"));
    EXPECT_EQ("x -2..2 y -1..1", extent(object->getBox()));
    EXPECT_EQ(0, object->getAnimation().getIndex());
    EXPECT_EQ(2, object->getAnimation().getSlowdownCount()) << "the count is kept";

    object->setBox(lu::Box(Vector(-1, -1), 2, 2));
    EXPECT_EQ(-1, object->setSprite("missing"));
    EXPECT_EQ("block", object->getAnimation().getSprite()->getLabel());
    EXPECT_EQ("x -1..1 y -1..1", extent(object->getBox()));
}

TEST_F(ObjectTest, DestroyingAnObjectInTheMiddleKeepsTheOthersInOrder)
{
    new lutest::Probe("A");
    Object* b = new lutest::Probe("B");
    new lutest::Probe("C");
    new lutest::Probe("D");
    delete b;
    EXPECT_EQ("A C D", lutest::worldTypes());
}

TEST(VectorTest, NormalizeMakesAUnitVectorButLeavesZeroAlone)
{
    Vector v;
    v.setX(3);
    v.setY(4);
    EXPECT_FLOAT_EQ(5.0f, v.magnitude());
    v.normalize();
    EXPECT_FLOAT_EQ(0.6f, v.getX());
    EXPECT_FLOAT_EQ(0.8f, v.getY());
    Vector zero;
    zero.normalize();
    EXPECT_EQ(0.0f, zero.getX());
    EXPECT_EQ(0.0f, zero.getY());
}

TEST(VectorTest, DifferenceScaleEqualityAndDistanceWorkComponentByComponent)
{
    Vector from(1, 2);
    Vector to(4, -2);
    EXPECT_TRUE(to - from == Vector(3, -4));
    EXPECT_TRUE(from - to != to - from);
    EXPECT_TRUE((to - from) * 0.5f == Vector(1.5f, -2));
    EXPECT_FALSE(from == Vector(1, 2.0001f));
    EXPECT_FLOAT_EQ(5, from.distanceTo(to));
    EXPECT_FLOAT_EQ(5, to.distanceTo(from));
}

TEST(BoxTest, TouchingBoxesIntersectAlongEdgesAndAtCorners)
{
    // The box every object has until it shows a sprite: the unit cell centred on the position.
    auto unitBoxAt = [](float x, float y) { return lu::Box(Vector(x - 0.5f, y - 0.5f), 1, 1); };
    struct Case {
        float x, y;
        bool intersects;
    };
    const Case cases[] = {
        {10, 5, true},     {11, 5, true},     {9, 5, true},
        {10, 6, true},     {11, 6, true},     {9, 4, true},      // same, edges, corners
        {11.5f, 5, false}, {10, 3.9f, false}, {11.5f, 6, false}, // gaps
    };
    lu::Box a = unitBoxAt(10, 5);
    for (const Case& c : cases) {
        lu::Box b = unitBoxAt(c.x, c.y);
        EXPECT_EQ(c.intersects, lu::boxesIntersect(a, b)) << "at (" << c.x << ", " << c.y << ")";
        EXPECT_EQ(c.intersects, lu::boxesIntersect(b, a)) << "reversed, at (" << c.x << ", " << c.y << ")";
    }
}

TEST_F(ObjectTest, WorldBoxIsTheObjectsBoxPlacedWhereAskedNotWhereTheObjectIs)
{
    Object* object = new Object;
    object->setPosition(Vector(3, 3));
    object->setBox(lu::Box(Vector(-1.5f, -0.5f), 3, 1));
    EXPECT_EQ("x 8.5..11.5 y 4.5..5.5", extent(lu::worldBox(object, Vector(10, 5))));
}
