#include "GameFixture.h"

#include "EventKillScreen.h"
#include "Level.h"
#include "LogManager.h"
#include "ScoreDisplay.h"
#include "SnakeHead.h"

#include <map>

class LevelTest : public GameFixture {
protected:
    LevelTest()
    {
        newGame();
    }

    // Starts a game as the title screen does, with a head that stays where it is put.
    void newGame()
    {
        head = new SnakeHead();
        head->setSpeed(0);
        score = new ScoreDisplay();
        level = new Level(head, score);
        head->setLevel(level);
    }

    lu::Object* apple() const
    {
        lu::ObjectList objects = level->getLevelObjects();
        return objects.at(objects.getCount() - 1);
    }

    SnakeHead* head;
    ScoreDisplay* score;
    Level* level;
};

TEST_F(LevelTest, HazardsStayOutOfTheSafeZoneAndTheAppleFarFromTheHeadInsideItsMargins)
{
    const lu::Vector heads[] = {SNAKE_START_POSITION, lu::Vector(60, 30), lu::Vector(37, 4)};
    for (int build = 0; build < 30; build++) {
        lu::Vector at = heads[build % 3];
        head->setPosition(at);
        srand(build);
        level->nextLevel();
        EXPECT_EQ(score->getScore(), level->getLevelCounter() - 2);
        lu::ObjectList objects = level->getLevelObjects();
        for (int i = 0; i + 1 < objects.getCount(); i++) {
            float dx = std::fabs(objects.at(i)->getPosition().getX() - at.getX());
            float dy = std::fabs(objects.at(i)->getPosition().getY() - at.getY());
            EXPECT_FALSE(dx <= 15 && dy <= 10) << cell(objects.at(i)->getPosition());
        }
        lu::Vector goal = apple()->getPosition();
        EXPECT_TRUE(goal.getX() >= 4 && goal.getX() <= 70 && goal.getY() >= 4 && goal.getY() <= 31);
        EXPECT_GE(std::fabs(goal.getX() - at.getX()), 15);
        EXPECT_GE(std::fabs(goal.getY() - at.getY()), 10);
        lu::WorldManager::instance().update();
    }
}

TEST_F(LevelTest, TouchingTheAppleBuildsTheNextLevelAndTheOldOneGoesAtTheNextUpdate)
{
    head->setSpeed(CREEP_SPEED);
    lutest::ScreenText screen;
    level->nextLevel();
    lu::ObjectList first = level->getLevelObjects();
    apple()->setPosition(lu::Vector(17, 19)); // diagonal to the head's first jump
    frames(2);
    EXPECT_EQ(score->getScore(), 0);
    frames(1);
    EXPECT_EQ(score->getScore(), 1);
    EXPECT_TRUE(alive(first.at(0)->getId()));
    // Ids, not pointers: the old level's objects are freed by the next frame.
    std::vector<int> firstIds;
    for (int i = 0; i < first.getCount(); i++) {
        firstIds.push_back(first.at(i)->getId());
    }
    screen.clear();
    frames(1);
    for (int id : firstIds) {
        EXPECT_FALSE(alive(id));
    }
    EXPECT_EQ(screen.row(SCORE_ROW).substr(34, 9), "Score: 1 ");
    EXPECT_EQ(lutest::countLogMessages("Destroying Apple") + lutest::countLogMessages("Score = 3"), 2);
}

TEST_F(LevelTest, AnAppleCellTouchedByThreeSolidObjectsIsClearedButFourRefuseIt)
{
    level->nextLevel();
    lu::Vector spot = apple()->getPosition();
    ASSERT_TRUE(lu::WorldManager::instance().collisionsAt(apple(), spot).isEmpty());
    // The same first level again, with blockers under, diagonal to and beside that cell.
    const lu::Vector around[] = {lu::Vector(0, 0), lu::Vector(1, 1), lu::Vector(-1, 0), lu::Vector(0, -1)};
    for (int count = 3; count <= 4; count++) {
        lu::WorldManager::instance().shutDown();
        std::vector<int> blockers;
        for (int i = 0; i < count; i++) {
            lu::Object* blocker = new lu::Object();
            blocker->setPosition(spot + around[i]);
            blockers.push_back(blocker->getId());
        }
        newGame();
        srand(1);
        level->nextLevel();
        EXPECT_EQ(cell(apple()->getPosition()) == cell(spot), count == 3) << count;
        lu::WorldManager::instance().update();
        for (int id : blockers) {
            EXPECT_EQ(alive(id), count == 4) << count;
        }
    }
}

// Many first levels, since each C library has a rand() sequence of its own.
TEST_F(LevelTest, ACorneredWalkLogsOnceParksItsHazardAndEndsTheGroup)
{
    int cornered = 0;
    for (int seed = 1; seed <= 300; seed++) {
        lu::WorldManager::instance().shutDown();
        lu::LogManager::instance().startUp();
        newGame();
        srand(seed);
        level->nextLevel();
        lu::ObjectList objects = level->getLevelObjects();
        int parked = 0;
        for (int i = 1; i + 1 < objects.getCount(); i++) {
            if (cell(objects.at(i)->getPosition()) != cell(PARKING_POSITION))
                continue;
            parked++;
            // What follows starts a group of its own: it does not walk on from the hazard before.
            lu::Vector before = objects.at(i - 1)->getPosition();
            lu::Vector after = objects.at(i + 1)->getPosition();
            EXPECT_NE(std::fabs(after.getX() - before.getX()) + std::fabs(after.getY() - before.getY()), 1.0f) << seed;
            EXPECT_NE(cell(after), cell(PARKING_POSITION)) << seed;
        }
        EXPECT_EQ(lutest::countLogMessages("Can't place obsticle"), parked) << seed;
        cornered += parked;
    }
    EXPECT_GT(cornered, 0);
}

TEST_F(LevelTest, GroupsStopGrowingAt45AndTheKillScreenComesOnceAt77)
{
    (new lutest::Probe("P", lu::Vector(), lu::INTANGIBLE))->answer = 0;
    std::map<int, std::string> hazards; // what each build created, apple aside
    for (int next = 2; next <= 78; next++) {
        srand(next == 46 ? 45 : next);
        int newest = objectsOfType("").back()->getId();
        level->nextLevel();
        for (lu::Object* object : objectsOfType("hazard")) {
            hazards[next] += object->getId() > newest ? cell(object->getPosition()) : "";
        }
        for (lu::Object* object : objectsOfType("ice")) {
            hazards[next] += object->getId() > newest ? cell(object->getPosition()) : "";
        }
        EXPECT_EQ(lutest::heard(), next == KILL_SCREEN_LEVEL ? "P " + KILL_SCREEN_EVENT : "") << next;
        lu::WorldManager::instance().update();
    }
    EXPECT_FALSE(hazards[45].empty());
    EXPECT_EQ(hazards[45], hazards[46]);
    EXPECT_TRUE(head->isKillScreen());
}

// Wherever apple art wider and higher than the field goes, it covers the snake, the score and every hazard.
TEST_F(LevelTest, AnAppleCoveringTheFieldIsStillPlacedFarFromTheHeadAndClearsOnlyTheHazards)
{
    lu::WorldManager::instance().shutDown();
    lu::ResourceManager::instance().shutDown();
    std::string art = "1\n200\n100\n1\ngreen\n";
    for (int r = 0; r < 100; r++)
        art += std::string(200, '@') + "\n";
    ASSERT_TRUE(lutest::writeFile("huge-apple.txt", art));
    ASSERT_EQ(lu::ResourceManager::instance().loadSprite("huge-apple.txt", "apple"), 0);
    loadResources();
    newGame();

    level->nextLevel();
    lu::Vector at = apple()->getPosition();
    EXPECT_TRUE(at.getX() >= APPLE_MARGIN && at.getX() < 75 - APPLE_MARGIN) << at.getX();
    EXPECT_TRUE(at.getY() >= APPLE_MARGIN && at.getY() < 36 - APPLE_MARGIN) << at.getY();
    EXPECT_GE(std::fabs(at.getX() - head->getPosition().getX()), SAFE_ZONE_HALF_WIDTH);
    EXPECT_GE(std::fabs(at.getY() - head->getPosition().getY()), SAFE_ZONE_HALF_HEIGHT);

    lutest::ScreenText screen;
    frames(1);
    EXPECT_EQ(objectsOfType("SnakeHead").size() + objectsOfType("SnakeBody").size(), 1u + SNAKE_LENGTH);
    EXPECT_EQ(screen.row(18).substr(0, 17), "@ooOooOooOooOooQ@") << "the snake is drawn over the apple";
    EXPECT_TRUE(alive(score->getId()));
    EXPECT_EQ(level->getLevelObjects().getCount(), 1) << "only the apple is left of the level";
    EXPECT_EQ(objectsOfType("hazard").size() + objectsOfType("ice").size(), 0u);
}
