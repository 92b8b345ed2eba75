#include "Animation.h"
#include "Object.h"
#include "ObjectList.h"
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

    // Returns the ids of the world's objects, in list order, as "3 4 5".
    static std::string worldIds()
    {
        lu::ObjectList all = lu::WorldManager::instance().getAllObjects();
        std::string ids;
        for (int i = 0; i < all.getCount(); i++) {
            if (i > 0)
                ids += " ";
            ids += std::to_string(all.at(i)->getId());
        }
        return ids;
    }
};

TEST_F(ObjectTest, IdsCountUpAndANewObjectHasTheDefaults)
{
    Object* first = new Object;
    Object* second = new Object;
    EXPECT_EQ(first->getId() + 1, second->getId());

    EXPECT_EQ("Object", second->getType());
    EXPECT_EQ(0.0f, second->getPosition().getX());
    EXPECT_EQ(0.0f, second->getPosition().getY());
    EXPECT_EQ(2, second->getAltitude());
    EXPECT_EQ(0.0f, second->getSpeed());
    EXPECT_EQ(lu::BLOCKING, second->getSolidity());
    EXPECT_TRUE(second->isSolid());
    EXPECT_FLOAT_EQ(-0.5f, second->getBox().getCorner().getX());
    EXPECT_FLOAT_EQ(-0.5f, second->getBox().getCorner().getY());
    EXPECT_FLOAT_EQ(1.0f, second->getBox().getHorizontal());
    EXPECT_FLOAT_EQ(1.0f, second->getBox().getVertical());
    EXPECT_EQ(-1, second->draw()) << "no sprite, nothing to draw";
    EXPECT_EQ(2, lutest::worldObjectCount());

    // A deleted object's id is not handed out again.
    int lastId = second->getId();
    lu::WorldManager::instance().shutDown();
    Object* third = new Object;
    EXPECT_EQ(lastId + 1, third->getId());
}

TEST_F(ObjectTest, SetVelocitySplitsIntoUnitDirectionAndSpeed)
{
    Object* object = new Object;

    object->setVelocity(Vector(3, 4));
    EXPECT_FLOAT_EQ(5.0f, object->getSpeed());
    EXPECT_FLOAT_EQ(0.6f, object->getDirection().getX());
    EXPECT_FLOAT_EQ(0.8f, object->getDirection().getY());

    object->setVelocity(Vector(0.02f, 0));
    EXPECT_FLOAT_EQ(0.02f, object->getSpeed());
    EXPECT_FLOAT_EQ(1.0f, object->getDirection().getX());
    EXPECT_FLOAT_EQ(0.02f, object->getVelocity().getX());
    EXPECT_FLOAT_EQ(0.0f, object->getVelocity().getY());

    object->setVelocity(Vector(0, -0.5f));
    EXPECT_FLOAT_EQ(-0.5f, object->getVelocity().getY());

    object->setVelocity(Vector(0, 0));
    EXPECT_EQ(0.0f, object->getSpeed());
    EXPECT_EQ(0.0f, object->getDirection().getX());
    EXPECT_EQ(0.0f, object->getDirection().getY());
    EXPECT_EQ(0.0f, object->getVelocity().getX());
}

TEST_F(ObjectTest, SetSpriteFitsTheBoxAndRestartsTheAnimation)
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
    EXPECT_FLOAT_EQ(-2.0f, object->getBox().getCorner().getX());
    EXPECT_FLOAT_EQ(-1.0f, object->getBox().getCorner().getY());
    EXPECT_FLOAT_EQ(4.0f, object->getBox().getHorizontal());
    EXPECT_FLOAT_EQ(2.0f, object->getBox().getVertical());
    EXPECT_EQ(0, object->getAnimation().getIndex());
    EXPECT_EQ(2, object->getAnimation().getSlowdownCount()) << "the count is kept";
    EXPECT_EQ("block", object->getAnimation().getSprite()->getLabel());

    // An unknown label changes nothing, not even the box.
    object->setBox(lu::Box(Vector(-1, -1), 2, 2));
    EXPECT_EQ(-1, object->setSprite("missing"));
    EXPECT_EQ("block", object->getAnimation().getSprite()->getLabel());
    EXPECT_FLOAT_EQ(2.0f, object->getBox().getHorizontal());
}

TEST_F(ObjectTest, DestroyingAnObjectInTheMiddleKeepsTheOthersInOrder)
{
    Object* a = new Object;
    Object* b = new Object;
    Object* c = new Object;
    Object* d = new Object;
    std::string expected =
        std::to_string(a->getId()) + " " + std::to_string(c->getId()) + " " + std::to_string(d->getId());
    delete b;
    EXPECT_EQ(expected, worldIds());
}
