#include "GameFixture.h"

#include "Keyboard.h"
#include "MovingSpike.h"
#include "Platform.h"
#include "SnakeHead.h"
#include "Sound.h"
#include "Spike.h"

#include <map>

using namespace lu::Keyboard;

class DeathTest : public GameFixture {
protected:
    // Exact positions of the head and the body.
    static std::string snakePositions()
    {
        std::string all;
        for (const char* type : {"SnakeHead", "SnakeBody"}) {
            for (lu::Object* object : objectsOfType(type)) {
                all += std::to_string(object->getPosition().getX()) + "," +
                       std::to_string(object->getPosition().getY()) + " ";
            }
        }
        return all;
    }
};

TEST_F(DeathTest, EachDeathGivesOneGameOverAndOneHitAndFreezesTheSnakeWhileQStillQuits)
{
    struct {
        const char* name;
        lu::Vector start;        // where the head is put before the first frame
        std::map<int, int> keys; // key pressed before the given frame
        const char* hazard;      // at (17, 18): "spikes" (two on one cell), "moving" or ""
        int deathFrame;
    } deaths[] = {
        // Right, down, left and up again: the head meets segment 4 on its old cell.
        {"own body", SNAKE_START_POSITION, {{4, S}, {7, A}, {10, W}}, "", 12},
        {"two spikes", SNAKE_START_POSITION, {}, "spikes", 6},
        {"moving spike", SNAKE_START_POSITION, {}, "moving", 6},
        // Off the window the head lives up to column 78 and row 36 and dies one cell further.
        {"column 79", lu::Vector(77, 18), {}, "", 6},
        {"row 37", lu::Vector(20, 35), {{1, S}}, "", 6},
        {"row -1", lu::Vector(20, 1), {{1, W}}, "", 6},
        {"spikes below", lu::Vector(17, 16), {{1, S}}, "spikes", 6},
    };
    lu::Sound* hit = lu::ResourceManager::instance().getSound("hit");
    ASSERT_NE(hit, nullptr);
    for (const auto& death : deaths) {
        SCOPED_TRACE(death.name);
        lu::WorldManager::instance().shutDown();
        for (int i = 0; i < 300 && hit->isPlaying(); i++) { // the last death may still sound
            lu::sleepMilliseconds(10);
        }
        SnakeHead* head = new SnakeHead();
        head->setPosition(death.start);
        if (std::string(death.hazard) == "spikes") {
            (new Spike())->setPosition(lu::Vector(17, 18));
            (new Spike())->setPosition(lu::Vector(17, 18));
        } else if (std::string(death.hazard) == "moving") {
            (new MovingSpike())->setPosition(lu::Vector(17, 18));
        }
        for (int frame = 1; frame < death.deathFrame; frame++) {
            if (death.keys.count(frame) > 0) {
                key(death.keys.at(frame));
            }
            frames(1);
        }
        EXPECT_FALSE(head->isDead() || hit->isPlaying());

        frames(1);
        EXPECT_TRUE(head->isDead() && hit->isPlaying() && !hit->isLooping());
        std::string frozen = snakePositions();
        frames(10);
        EXPECT_EQ(snakePositions(), frozen);
        EXPECT_EQ(objectsOfType("GameOver").size(), 1u);
        key(Q);
        EXPECT_TRUE(lu::GameManager::instance().isGameOver());
        lu::GameManager::instance().setGameOver(false);
    }
}
