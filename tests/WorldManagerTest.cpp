#include "EventCollision.h"
#include "ObjectList.h"
#include "WorldManager.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using lu::Object;
using lu::Vector;
using lu::WorldManager;

using lutest::heard;
using lutest::Probe;
using lutest::worldTypes;

class WorldManagerTest : public ::testing::Test {
protected:
    static Probe* probe(const std::string& name, float x, float y, lu::Solidity solidity = lu::BLOCKING)
    {
        return new Probe(name, Vector(x, y), solidity);
    }

    lutest::EngineScope scope;
};

TEST_F(WorldManagerTest, MovesBelowAHundredthOfACellNeverHappen)
{
    const Vector velocities[] = {Vector(0.005f, 0), Vector(0.009f, -0.009f), Vector(0.02f, 0)};
    const float expectedX[] = {10, 10, 10.06f}; // small steps are not accumulated either
    for (int i = 0; i < 3; i++) {
        probe("P", 10, 5.0f * i)->setVelocity(velocities[i]);
        for (int frame = 0; frame < 3; frame++)
            WorldManager::instance().update();
        Object* moved = WorldManager::instance().getAllObjects().at(i);
        EXPECT_NEAR(expectedX[i], moved->getPosition().getX(), 1e-4) << i;
        EXPECT_EQ(5.0f * i, moved->getPosition().getY()) << i;
    }
}

TEST_F(WorldManagerTest, BlockingMoverIsRefusedButEveryHitSeesTheCollision)
{
    Probe* mover = probe("M", 10, 5);
    mover->setVelocity(Vector(0.5f, 0));
    probe("B", 11.5f, 5); // edges touch after the move
    probe("C", 11.5f, 6); // corners touch after the move

    WorldManager::instance().update();
    EXPECT_EQ("M collision M->B; B collision M->B; M collision M->C; C collision M->C", heard());
    EXPECT_EQ(10.0f, mover->getPosition().getX());
    EXPECT_FLOAT_EQ(0.5f, mover->getVelocity().getX()) << "it keeps trying";
}

TEST_F(WorldManagerTest, SolidityDecidesWhoHearsOfAContactAndWhetherTheMoveHappens)
{
    const char* contact = "M collision M->O; O collision M->O";
    struct Case {
        lu::Solidity mover, other;
        int result;
        const char* expected;
    };
    const Case cases[] = {
        {lu::BLOCKING, lu::BLOCKING, -1, contact}, {lu::BLOCKING, lu::PASSABLE, 0, contact},
        {lu::PASSABLE, lu::BLOCKING, 0, contact},  {lu::PASSABLE, lu::PASSABLE, 0, contact},
        {lu::INTANGIBLE, lu::BLOCKING, 0, ""},     {lu::BLOCKING, lu::INTANGIBLE, 0, ""},
    };
    for (const Case& c : cases) {
        Probe* mover = probe("M", 10, 5, c.mover);
        probe("O", 11, 5, c.other);
        EXPECT_EQ(c.result, WorldManager::instance().moveObjectTo(mover, Vector(10.5f, 5)));
        EXPECT_EQ(c.result == 0 ? 10.5f : 10.0f, mover->getPosition().getX());
        EXPECT_EQ(c.expected, heard()) << "solidities " << c.mover << " onto " << c.other;
        WorldManager::instance().shutDown();
        heard();
    }
}

TEST_F(WorldManagerTest, HandlerSwitchingTheMoverToPassableLetsItMove)
{
    Probe* mover = probe("M", 10, 5);
    Probe* door = probe("D", 11, 5);
    door->onEvent = [](const lu::Event* event) {
        static_cast<const lu::EventCollision*>(event)->getMovingObject()->setSolidity(lu::PASSABLE);
    };
    EXPECT_EQ(0, WorldManager::instance().moveObjectTo(mover, Vector(10.5f, 5)));
    EXPECT_EQ(10.5f, mover->getPosition().getX());
    EXPECT_EQ("M collision M->D; D collision M->D", heard());
}

TEST_F(WorldManagerTest, CollisionsAtFindsTouchingSolidObjectsButNotItselfOrIntangibles)
{
    Probe* asker = probe("A", 10, 5, lu::INTANGIBLE);
    probe("B", 11, 5);
    probe("C", 10, 6, lu::PASSABLE);
    probe("D", 10, 5, lu::INTANGIBLE);
    probe("E", 11.5f, 5);

    lu::ObjectList hits = WorldManager::instance().collisionsAt(asker, Vector(10, 5));
    ASSERT_EQ(2, hits.getCount());
    EXPECT_EQ("B", hits.at(0)->getType());
    EXPECT_EQ("C", hits.at(1)->getType());
}

TEST_F(WorldManagerTest, OutEventOnlyWhenAMoveLeavesTheWindowArea)
{
    Probe* mover = probe("M", 74, 5);
    probe("far", 40, 30);
    WorldManager& world = WorldManager::instance();
    struct Case {
        Vector from, to;
        const char* expected;
    };
    const Case cases[] = {
        {Vector(74, 5), Vector(75, 5), ""}, // the right edge is still inside
        {Vector(75, 5), Vector(75.02f, 5), "M out"},
        {Vector(-1, 5), Vector(-2, 5), ""}, // already outside
        {Vector(-1, 5), Vector(0, 5), ""},  // coming back in
        {Vector(10, 36), Vector(10, 36.5f), "M out"},
        {Vector(10, 0), Vector(10, -0.01f), "M out"},
        {Vector(0, 0), Vector(-0.5f, -0.5f), "M out"},
    };
    for (const Case& c : cases) {
        mover->setPosition(c.from);
        EXPECT_EQ(0, world.moveObjectTo(mover, c.to));
        EXPECT_EQ(c.to.getX(), mover->getPosition().getX());
        EXPECT_EQ(c.to.getY(), mover->getPosition().getY());
        EXPECT_EQ(c.expected, heard()) << "from (" << c.from.getX() << ", " << c.from.getY() << ") to (" << c.to.getX()
                                       << ", " << c.to.getY() << ")";
    }

    // Intangible objects still learn that they left.
    mover->setSolidity(lu::INTANGIBLE);
    mover->setPosition(Vector(75, 5));
    world.moveObjectTo(mover, Vector(76, 5));
    EXPECT_EQ("M out", heard());

    // A refused move goes nowhere, so it cannot leave.
    mover->setSolidity(lu::BLOCKING);
    mover->setPosition(Vector(75, 5));
    probe("W", 76, 5);
    EXPECT_EQ(-1, world.moveObjectTo(mover, Vector(75.5f, 5)));
    EXPECT_EQ("M collision M->W; W collision M->W", heard());
}

TEST_F(WorldManagerTest, MarkedObjectsLiveUntilTheNextUpdateAndAreDeletedOnce)
{
    WorldManager& world = WorldManager::instance();
    Probe* mover = probe("M", 10, 5);
    mover->setVelocity(Vector(0.5f, 0));
    Probe* apple = probe("A", 11.5f, 5, lu::PASSABLE);
    apple->onEvent = [apple](const lu::Event*) {
        WorldManager::instance().markForDeletion(apple);
        EXPECT_EQ(0, WorldManager::instance().markForDeletion(apple));
    };
    world.update();
    EXPECT_EQ("M collision M->A; A collision M->A", heard());
    EXPECT_EQ("M A", worldTypes());
    EXPECT_EQ(1, lutest::countLogMessages("A is already marked for deletion"));

    // Moved away by now, so the next update only deletes, and the one after that nothing.
    world.update();
    EXPECT_EQ("A deleted", heard());
    EXPECT_EQ("M", worldTypes());
    world.update();
    EXPECT_EQ("", heard());
}

TEST_F(WorldManagerTest, DestructorsThatMarkMoreObjectsAreDeletedInTheSamePass)
{
    WorldManager& world = WorldManager::instance();
    Probe* screen = probe("S", 1, 1);
    probe("B", 2, 2);
    probe("C", 3, 3);
    // Like a screen that clears the world as it goes, itself included, then brings in a new one.
    screen->onDestroy = [] {
        lu::ObjectList all = WorldManager::instance().getAllObjects();
        for (int i = 0; i < all.getCount(); i++)
            WorldManager::instance().markForDeletion(all.at(i));
        probe("N", 4, 4);
    };
    world.markForDeletion(screen);
    world.update();

    EXPECT_EQ("S deleted; B deleted; C deleted", heard());
    EXPECT_EQ("N", worldTypes());
    EXPECT_EQ(1, lutest::countLogMessages("S is already marked for deletion"));
}

// The queue forgets an object however it is destroyed, so it never deletes or compares a freed one.
TEST_F(WorldManagerTest, DeletionQueueHoldsOnlyLiveObjects)
{
    WorldManager& world = WorldManager::instance();
    Probe* direct = probe("D", 1, 1);
    world.markForDeletion(direct);
    delete direct;
    world.update();
    EXPECT_EQ("D deleted", heard());

    // The newborn is likely to take the plain object's freed address.
    Probe* newborn = nullptr;
    Probe* plain = probe("P", 1, 1);
    Probe* parent = probe("Q", 2, 2);
    Probe* marker = probe("R", 3, 3);
    parent->onDestroy = [&newborn] { newborn = probe("N", 4, 4); };
    marker->onDestroy = [&newborn] { WorldManager::instance().markForDeletion(newborn); };
    for (Probe* p : {plain, parent, marker})
        world.markForDeletion(p);
    world.update();
    EXPECT_EQ("P deleted; Q deleted; R deleted; N deleted", heard());
    EXPECT_EQ("", worldTypes());
}

TEST_F(WorldManagerTest, ObjectsThatLeaveTheWorldDuringACollisionHearNothingMore)
{
    Probe* mover = probe("M", 10, 5);
    mover->setVelocity(Vector(0.5f, 0));
    probe("B", 11.5f, 5)->onEvent = [](const lu::Event*) { WorldManager::instance().shutDown(); };
    probe("C", 11.5f, 6);
    WorldManager::instance().update();
    EXPECT_EQ("M collision M->B; B collision M->B; M deleted; B deleted; C deleted", heard());
}

// The mover deletes a bystander, then the wall deletes itself: the wall still hears of the contact,
// and once gone it blocks nothing.
TEST_F(WorldManagerTest, HitsInTheWorldHearOfTheContactAfterADeletionAndAHitGoneBlocksNothing)
{
    Probe* mover = probe("M", 10, 5);
    Probe* bystander = probe("X", 40, 30);
    mover->onEvent = [&bystander](const lu::Event*) {
        delete bystander;
        bystander = nullptr;
    };
    Probe* wall = probe("W", 11, 5);
    wall->onEvent = [wall](const lu::Event*) { delete wall; };
    EXPECT_EQ(0, WorldManager::instance().moveObjectTo(mover, Vector(10.5f, 5)));
    EXPECT_EQ("M collision M->W; X deleted; W collision M->W; W deleted", heard());

    // A door the mover's own handler deletes hears nothing, and blocks nothing either.
    Probe* door = probe("D", 11.5f, 5);
    mover->onEvent = [&door](const lu::Event*) { delete door; };
    EXPECT_EQ(0, WorldManager::instance().moveObjectTo(mover, Vector(11, 5)));
    EXPECT_EQ("M collision M->D; D deleted", heard());
}

// Each wall's handler broadcasts, and the broadcast moves the next mover into its wall: five contacts
// nested in one another's handlers fit in 1 MB, the stack of a program's main thread on Windows.
TEST_F(WorldManagerTest, FiveContactsNestedInOneAnothersHandlersFitInAOneMegabyteStack)
{
    lu::Event next;
    next.setType("next");
    int depth = 0;
    std::vector<Probe*> movers;
    for (int level = 0; level < 5; level++) {
        Probe* mover = probe("M", 10, 2.0f * level);
        movers.push_back(mover);
        mover->onEvent = [&depth, level, mover](const lu::Event* event) {
            if (event->getType() == "next" && depth == level)
                WorldManager::instance().moveObjectTo(mover, Vector(10.5f, 2.0f * level));
        };
        probe("W", 11, 2.0f * level)->onEvent = [&depth, &next, level](const lu::Event* event) {
            if (event->getType() == lu::COLLISION_EVENT) {
                depth = level + 1;
                WorldManager::instance().broadcastEvent(&next);
            }
        };
    }
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 1024 * 1024);
    pthread_t thread;
    auto firstMove = [](void* first) -> void* {
        WorldManager::instance().moveObjectTo(static_cast<Probe*>(first), Vector(10.5f, 0));
        return nullptr;
    };
    ASSERT_EQ(0, pthread_create(&thread, &attributes, firstMove, movers[0]));
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_EQ(5, depth);
}

TEST_F(WorldManagerTest, ObjectsCreatedByCollisionHandlersMoveInTheSamePass)
{
    Probe* mover = probe("M", 10, 5);
    mover->setVelocity(Vector(0.5f, 0));
    Probe* spawner = probe("P", 11.5f, 5, lu::PASSABLE);
    Probe* spawned = nullptr;
    spawner->onEvent = [&spawned](const lu::Event*) {
        if (spawned == nullptr) {
            spawned = probe("N", 40, 20);
            spawned->setVelocity(Vector(1, 0));
        }
    };
    WorldManager::instance().update();
    ASSERT_NE(nullptr, spawned);
    EXPECT_EQ(41.0f, spawned->getPosition().getX());
}

TEST_F(WorldManagerTest, DrawsAltitudeZeroFirstAndFourLastAndNothingOutside)
{
    const int altitudes[] = {4, 0, 5, 2, -1, 2, 0};
    const char* names[] = {"a4", "a0", "a5", "a2", "minus", "b2", "b0"};
    for (int i = 0; i < 7; i++)
        probe(names[i], 1, 1)->setAltitude(altitudes[i]);

    WorldManager::instance().draw();
    EXPECT_EQ("a0 drawn; b0 drawn; a2 drawn; b2 drawn; a4 drawn", heard());
}

TEST_F(WorldManagerTest, WorldAndDeletionQueueHoldTenThousandObjects)
{
    WorldManager& world = WorldManager::instance();
    std::vector<Object*> created;
    for (int i = 0; i < lu::MAX_OBJECTS; i++)
        created.push_back(new Object);
    Object* extra = new Object;

    lu::ObjectList all = world.getAllObjects();
    ASSERT_EQ(lu::MAX_OBJECTS, all.getCount());
    EXPECT_EQ(created.back(), all.at(lu::MAX_OBJECTS - 1)) << "the extra one is not registered";
    EXPECT_THROW(all.at(lu::MAX_OBJECTS), std::out_of_range);
    // Removing from a full list reads nothing past its last entry (the sanitizers watch this copy's edge).
    auto full = std::make_unique<lu::ObjectList>(all);
    ASSERT_EQ(0, full->remove(created.front()));
    EXPECT_EQ(created.back(), full->at(lu::MAX_OBJECTS - 2));

    for (Object* object : created)
        ASSERT_EQ(0, world.markForDeletion(object));
    EXPECT_EQ(-1, world.markForDeletion(extra)) << "the queue is full";

    world.update();
    EXPECT_EQ(0, lutest::worldObjectCount());
    // Never registered, never queued: the world does not own it.
    delete extra;
}

TEST_F(WorldManagerTest, ShutDownLeavesNothingBehind)
{
    WorldManager& world = WorldManager::instance();
    Probe* screen = probe("S", 1, 1);
    screen->onDestroy = [] { WorldManager::instance().markForDeletion(probe("N", 2, 2)); };
    Probe* marked = probe("M", 3, 3);
    world.markForDeletion(marked);

    world.shutDown();
    EXPECT_EQ("S deleted; M deleted; N deleted", heard());
    EXPECT_EQ(0, lutest::worldObjectCount());

    // The queue went with the objects: a newcomer, perhaps at a freed address, is not deleted.
    probe("A", 4, 4);
    world.update();
    EXPECT_EQ("A", worldTypes());
    EXPECT_EQ("", heard());
}

TEST_F(WorldManagerTest, ShutDownEndsEvenWhenEveryDestructorBringsItsObjectBack)
{
    Probe* last = nullptr;
    int deleted = 0;
    std::function<void()> respawn = [&] {
        deleted++;
        last = probe("R", 1, 1);
        last->onDestroy = respawn;
    };
    probe("R", 1, 1)->onDestroy = respawn;
    WorldManager::instance().shutDown();
    EXPECT_EQ(0, lutest::worldObjectCount());
    EXPECT_EQ(lu::MAX_OBJECTS + 1, deleted) << "the first and the registered newborns";

    // The newborn past the bound never joined the world; whoever made it deletes it.
    last->onDestroy = nullptr;
    delete last;
    probe("A", 1, 1);
    EXPECT_EQ("A", worldTypes()) << "objects join the world again once it has shut down";
}

TEST_F(WorldManagerTest, ObjectsOfTypeListsThoseOfExactlyThatTypeInWorldOrder)
{
    probe("Gem", 1, 1);
    probe("Rock", 2, 2);
    probe("Gem", 3, 3);
    lu::ObjectList gems = WorldManager::instance().objectsOfType("Gem");
    ASSERT_EQ(2, gems.getCount());
    EXPECT_EQ(3.0f, gems.at(1)->getPosition().getX());
    EXPECT_TRUE(WorldManager::instance().objectsOfType("gem").isEmpty());
}

TEST_F(WorldManagerTest, NullObjectsAreRefused)
{
    WorldManager& world = WorldManager::instance();
    EXPECT_EQ(-1, world.markForDeletion(nullptr));
    EXPECT_EQ(-1, world.insertObject(nullptr));
    EXPECT_EQ(-1, world.moveObjectTo(nullptr, Vector(1, 1)));
    probe("B", 1, 1);
    EXPECT_EQ(0, world.collisionsAt(nullptr, Vector(1, 1)).getCount());
    world.update();
    EXPECT_EQ("B", worldTypes());
}
