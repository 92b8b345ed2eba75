// Apple art of any size: the level is still built, and the apple never clears the snake or the score.
#include "TestSupport.h"

#include "DisplayManager.h"
#include "Level.h"
#include "ResourceManager.h"
#include "ScoreDisplay.h"
#include "SnakeHead.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Wider and higher than the field: wherever it goes it covers the snake, the score and every hazard.
const int HUGE_APPLE_WIDTH = 200;
const int HUGE_APPLE_HEIGHT = 100;
const char* const APPLE_FILE = "huge-apple.txt";

int countOfType(const std::string& type)
{
    int count = 0;
    lu::ObjectList all = lu::WorldManager::instance().getAllObjects();
    for (int i = 0; i < all.getCount(); i++) {
        if (all.at(i)->getType() == type) {
            count++;
        }
    }
    return count;
}

bool alive(const lu::Object* object)
{
    lu::ObjectList all = lu::WorldManager::instance().getAllObjects();
    for (int i = 0; i < all.getCount(); i++) {
        if (all.at(i) == object) {
            return true;
        }
    }
    return false;
}

} // namespace

class ApplePlacementTest : public ::testing::Test {
protected:
    ApplePlacementTest()
        : engine(lutest::EngineScope::LOG | lutest::EngineScope::WORLD | lutest::EngineScope::RESOURCES)
    {
        lu::ResourceManager& resources = lu::ResourceManager::instance();
        resources.loadSprite("sprites/snake-head.txt", "snake-head");
        resources.loadSprite("sprites/snake-body-1.txt", "snake-body-1");
        resources.loadSprite("sprites/snake-body-2.txt", "snake-body-2");
        std::string art =
            "1\n" + std::to_string(HUGE_APPLE_WIDTH) + "\n" + std::to_string(HUGE_APPLE_HEIGHT) + "\n1\ngreen\n";
        for (int r = 0; r < HUGE_APPLE_HEIGHT; r++) {
            art += std::string(HUGE_APPLE_WIDTH, '@') + "\n";
        }
        std::string path = engine.directory() + "/" + APPLE_FILE;
        lutest::writeFile(path, art);
        appleLoaded = resources.loadSprite(path, "apple") == 0;
        srand(1);
        head = new SnakeHead();
        // A head that stays put: the world's update below only deletes, it does not eat the apple.
        head->setSpeed(0);
        score = new ScoreDisplay();
        level = new Level(head, score);
        head->setLevel(level);
    }

    // The head owns the level and deletes it with itself when the world shuts down.
    ~ApplePlacementTest() override
    {
        srand(1);
    }

    lu::Object* apple() const
    {
        lu::ObjectList objects = level->getLevelObjects();
        return objects.at(objects.getCount() - 1);
    }

    lutest::EngineScope engine;
    bool appleLoaded;
    SnakeHead* head;
    ScoreDisplay* score;
    Level* level;
};

TEST_F(ApplePlacementTest, AnAppleThatCoversTooMuchEverywhereIsStillPlacedFarFromTheHead)
{
    ASSERT_TRUE(appleLoaded);
    level->nextLevel();
    lu::Vector at = apple()->getPosition();
    lu::Vector from = head->getPosition();
    EXPECT_EQ(apple()->getType(), "apple");
    EXPECT_TRUE(at.getX() >= APPLE_MARGIN && at.getX() < lu::WINDOW_HORIZONTAL_CELLS_DEFAULT - APPLE_MARGIN)
        << at.getX();
    EXPECT_TRUE(at.getY() >= APPLE_MARGIN && at.getY() < lu::WINDOW_VERTICAL_CELLS_DEFAULT - APPLE_MARGIN) << at.getY();
    EXPECT_GE(std::fabs(at.getX() - from.getX()), SAFE_ZONE_HALF_WIDTH);
    EXPECT_GE(std::fabs(at.getY() - from.getY()), SAFE_ZONE_HALF_HEIGHT);
}

TEST_F(ApplePlacementTest, TheSnakeAndTheScoreUnderTheAppleStayWhileTheHazardsThereGo)
{
    ASSERT_TRUE(appleLoaded);
    level->nextLevel();
    lu::WorldManager::instance().update();
    EXPECT_TRUE(alive(head));
    EXPECT_TRUE(alive(score));
    EXPECT_EQ(countOfType("SnakeBody"), SNAKE_LENGTH);
    // Every hazard lay under the apple: only the apple is left of the level.
    EXPECT_EQ(level->getLevelObjects().getCount(), 1);
    EXPECT_EQ(countOfType("hazard") + countOfType("ice"), 0);
}
