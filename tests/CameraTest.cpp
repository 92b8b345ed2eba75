#include "DisplayManager.h"
#include "InputManager.h"
#include "InputRecord.h"
#include "WorldManager.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

namespace {

using lu::Vector;
using lutest::heard;
using lutest::Probe;

class CameraTest : public testing::Test {
protected:
    void TearDown() override
    {
        world.cameraFollows(nullptr);
        world.setWorldSize(lu::WINDOW_HORIZONTAL_CELLS_DEFAULT, lu::WINDOW_VERTICAL_CELLS_DEFAULT);
        world.setCamera(Vector());
    }

    std::string camera() const
    {
        std::ostringstream text;
        text << world.getCamera().getX() << " " << world.getCamera().getY();
        return text.str();
    }

    lutest::EngineScope scope;
    lu::WorldManager& world = lu::WorldManager::instance();
};

TEST_F(CameraTest, TheCameraStaysInsideTheWorldDrawingAndTheMouseFollowItAndOnlyLeavingTheWorldIsOut)
{
    EXPECT_EQ(-1, world.setWorldSize(74, 72));
    EXPECT_EQ(-1, world.setWorldSize(300, 35));
    ASSERT_EQ(0, world.setWorldSize(300, 72));
    const struct {
        float x, y;
        const char* camera;
    } asked[] = {{1000, -5, "225 0"}, {-3, 40, "0 36"}, {12.5f, 7, "12.5 7"}, {NAN, INFINITY, "0 36"}};
    for (const auto& ask : asked) {
        world.setCamera(Vector(ask.x, ask.y));
        EXPECT_EQ(ask.camera, camera()) << ask.x << " " << ask.y;
    }

    world.setCamera(Vector(200, 30));
    lutest::ScreenText screen;
    const lu::DisplayManager& display = lu::DisplayManager::instance();
    display.drawCharacter(Vector(230, 40), 'X', lu::WHITE);
    display.drawCharacter(Vector(10, 10), 'O', lu::WHITE);
    display.drawCharacter(world.getCamera() + Vector(1, 0), 'S', lu::WHITE); // fixed on the screen
    EXPECT_EQ(30u, screen.row(10).find('X'));
    EXPECT_EQ(" S", screen.row(0).substr(0, 2));
    EXPECT_EQ(1, screen.outsideCount());

    new Probe("P");
    lu::InputRecord wheel;
    wheel.kind = lu::INPUT_MOUSE;
    wheel.mouseAction = lu::MOUSE_WHEEL;
    wheel.position = Vector(10, 2);
    wheel.wheelDelta = -2;
    lu::InputManager::instance().applyInput(wheel);
    EXPECT_EQ("P mouse wheel 210.00 32.00 button -1 by -2", heard());

    // The out event comes on leaving the world, not the view.
    lutest::Probe* mover = new Probe("M", Vector(75, 5));
    for (float x : {80.0f, 300.0f, 300.02f})
        world.moveObjectTo(mover, Vector(x, 5));
    EXPECT_EQ("M out", heard());

    // A smaller world brings the camera back inside it.
    world.setWorldSize(100, 36);
    EXPECT_EQ("25 0", camera());
}

TEST_F(CameraTest, AFollowedObjectIsKeptInTheMiddleThirdByWholeCellsAndForgottenWhenItGoes)
{
    world.setWorldSize(300, 72);
    Probe* player = new Probe("P", Vector(10, 10));
    EXPECT_EQ(0, world.cameraFollows(player));
    EXPECT_EQ("0 0", camera());
    const struct {
        float x, y;
        const char* camera;
    } steps[] = {
        {100, 50, "50 26"},  // past the right and lower thirds: just far enough to bring it back
        {90, 40, "50 26"},   // inside the middle third
        {60.5f, 20, "35 8"}, // past the left and upper thirds
        {299, 71, "225 36"}, // at the world's far corner
    };
    for (const auto& step : steps) {
        player->setPosition(Vector(step.x, step.y));
        world.draw();
        EXPECT_EQ(step.camera, camera()) << step.x << " " << step.y;
    }

    world.markForDeletion(player);
    world.update();
    // Likely made in the freed object's place: followed only by mistake.
    new Probe("N", Vector(10, 10));
    world.draw();
    EXPECT_EQ("225 36", camera());

    lu::Object loose;
    world.removeObject(&loose);
    EXPECT_EQ(-1, world.cameraFollows(&loose));
}

} // namespace
