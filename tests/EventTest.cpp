#include "Event.h"
#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventOut.h"
#include "EventStep.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(EventTest, EachEventStartsWithItsTypeAndUnsetFields)
{
    EXPECT_EQ("lu::undefined", lu::Event().getType());
    EXPECT_EQ("lu::out", lu::EventOut().getType());

    lu::EventStep step(7);
    EXPECT_EQ("lu::step", step.getType());
    EXPECT_EQ(7, step.getStepCount());

    lu::EventCollision collision;
    EXPECT_EQ("lu::collision", collision.getType());
    EXPECT_EQ(nullptr, collision.getMovingObject());
    EXPECT_EQ(nullptr, collision.getOtherObject());
    EXPECT_EQ(0, collision.getPosition().getX());
    EXPECT_EQ(0, collision.getPosition().getY());

    lu::EventKeyboard keyboard;
    EXPECT_EQ("lu::keyboard", keyboard.getType());
    EXPECT_EQ(-1, keyboard.getKey());
    EXPECT_EQ(-1, static_cast<int>(keyboard.getKeyAction()));

    lu::EventMouse mouse;
    EXPECT_EQ("lu::mouse", mouse.getType());
    EXPECT_EQ(-1, static_cast<int>(mouse.getMouseAction()));
    EXPECT_EQ(-1, static_cast<int>(mouse.getMouseButton()));
    EXPECT_EQ(0, mouse.getMousePosition().getX());
    EXPECT_EQ(0, mouse.getMousePosition().getY());
}

TEST(EventTest, CollisionKeepsItsObjectsApartAndAnyEventCanTakeAGameType)
{
    // Distinct addresses stand in for objects; the event never dereferences them.
    int first = 0;
    int second = 0;
    lu::Object* moving = reinterpret_cast<lu::Object*>(&first);
    lu::Object* other = reinterpret_cast<lu::Object*>(&second);
    lu::EventCollision collision(moving, other, lu::Vector(4.5f, 2));
    EXPECT_EQ("lu::collision", collision.getType());
    EXPECT_EQ(moving, collision.getMovingObject());
    EXPECT_EQ(other, collision.getOtherObject());
    EXPECT_EQ(4.5f, collision.getPosition().getX());
    EXPECT_EQ(2.0f, collision.getPosition().getY());

    std::unique_ptr<lu::Event> event(new lu::EventStep(1));
    event->setType("head_move");
    EXPECT_EQ("head_move", event->getType());
}

} // namespace
