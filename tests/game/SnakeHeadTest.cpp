#include "GameFixture.h"

#include "EventKillScreen.h"
#include "Ice.h"
#include "Keyboard.h"
#include "SnakeBody.h"
#include "SnakeHead.h"

using namespace lu::Keyboard;

class SnakeHeadTest : public GameFixture {
protected:
    // Runs count frames and returns the head's cell after each.
    std::string path(int count)
    {
        std::string cells;
        for (int i = 0; i < count; i++) {
            frames(1);
            cells += cell(head->getPosition());
        }
        return cells;
    }

    SnakeHead* head = new SnakeHead();
};

TEST_F(SnakeHeadTest, FirstJumpComesOnTheThirdStepAndTheWholeBodyFollows)
{
    EXPECT_EQ(path(3), "(15,18)(15,18)(16,18)");
    EXPECT_FLOAT_EQ(head->getPosition().getX(), 16.02f);
    std::vector<lu::Object*> body = objectsOfType("SnakeBody");
    ASSERT_EQ(body.size(), static_cast<size_t>(SNAKE_LENGTH));
    for (lu::Object* segment : body) {
        int index = static_cast<SnakeBody*>(segment)->getSegmentIndex();
        EXPECT_EQ(cell(segment->getPosition()), cell(lu::Vector(16 - index, 18))) << index;
    }
}

TEST_F(SnakeHeadTest, TurnsAreQuarterTurnsFromTheLastJumpAndTheLastAcceptedKeyWins)
{
    key(A);
    EXPECT_EQ(path(3), "(15,18)(15,18)(16,18)");
    key(W);
    key(A); // still judged against the jump to the right
    EXPECT_EQ(path(3), "(16,18)(16,18)(16,17)");
    key(D);
    key(A);
    EXPECT_EQ(path(3), "(16,17)(16,17)(15,17)");
    key(W, lu::KEY_RELEASED);
    EXPECT_EQ(path(3), "(15,17)(15,17)(14,17)");
}

TEST_F(SnakeHeadTest, OnIceTheHeadKeepsItsHeadingAndJumpsEveryTwoSteps)
{
    for (int x = 16; x <= 19; x++) {
        (new Ice())->setPosition(lu::Vector(x, 18));
    }
    std::string cells = path(3);
    key(W);
    EXPECT_EQ(cells + path(11), "(15,18)(15,18)(16,18)(16,18)(17,18)(17,18)(18,18)(18,18)"
                                "(19,18)(19,18)(20,18)(20,18)(20,18)(20,17)");
}

TEST_F(SnakeHeadTest, AfterTheKillScreenTheHeadJumpsEveryStep)
{
    EventKillScreen killScreen;
    EXPECT_EQ(lu::WorldManager::instance().broadcastEvent(&killScreen), 0);
    EXPECT_EQ(path(4), "(16,18)(17,18)(18,18)(19,18)");
}
