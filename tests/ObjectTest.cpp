#include "Animation.h"
#include "Object.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "WorldManager.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using lu::Object;
using lu::Vector;

class ObjectTest : public ::testing::Test {
protected:
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
    EXPECT_FLOAT_EQ(4.0f, object->getBox().getHorizontal());
    EXPECT_FLOAT_EQ(-2.0f, object->getBox().getCorner().getX());
    EXPECT_FLOAT_EQ(-1.0f, object->getBox().getCorner().getY());
    EXPECT_FLOAT_EQ(2.0f, object->getBox().getVertical());
    EXPECT_EQ(0, object->getAnimation().getIndex());
    EXPECT_EQ(2, object->getAnimation().getSlowdownCount()) << "the count is kept";

    object->setBox(lu::Box(Vector(-1, -1), 2, 2));
    EXPECT_EQ(-1, object->setSprite("missing"));
    EXPECT_EQ("block", object->getAnimation().getSprite()->getLabel());
    EXPECT_FLOAT_EQ(2.0f, object->getBox().getHorizontal());
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
