#include "GameFixture.h"

#include "MovingSpike.h"

class MovingSpikeTest : public GameFixture {
protected:
    MovingSpikeTest()
    {
        spike->setPosition(lu::Vector(40, 10));
    }

    static lu::Object* block(float x, float y)
    {
        lu::Object* blocker = new lu::Object();
        blocker->setPosition(lu::Vector(x, y));
        return blocker;
    }

    // Runs frames until the spike leaves (40, 10), at most count.
    void framesUntilMoved(int count)
    {
        for (int i = 0; i < count && cell(spike->getPosition()) == "(40,10)"; i++) {
            frames(1);
        }
    }

    MovingSpike* spike = new MovingSpike();
};

TEST_F(MovingSpikeTest, MovesOneCellOnItsTwentyFirstStepThenEveryTwentyOneSteps)
{
    for (int move = 1; move <= 2; move++) {
        lu::Vector before = spike->getPosition();
        frames(MOVING_SPIKE_PERIOD);
        EXPECT_EQ(cell(spike->getPosition()), cell(before));
        frames(1);
        float dx = spike->getPosition().getX() - before.getX();
        float dy = spike->getPosition().getY() - before.getY();
        EXPECT_FLOAT_EQ(dx * dx + dy * dy, 1) << move;
    }
    EXPECT_EQ(key(lu::Keyboard::W), 0); // steps are all it handles
}

TEST_F(MovingSpikeTest, NeverMovesIntoOrNextToASolidObject)
{
    block(39, 9); // only the cell to the right touches none of these
    block(39, 10);
    block(39, 11);
    for (int seed = 1; seed <= 8; seed++) {
        srand(seed);
        spike->setPosition(lu::Vector(40, 10));
        framesUntilMoved(40);
        EXPECT_EQ(cell(spike->getPosition()), "(41,10)") << seed;
    }
}

TEST_F(MovingSpikeTest, KeepsTryingEveryStepWhileBoxedIn)
{
    block(40, 8);
    block(40, 12);
    block(38, 10);
    lu::Object* right = block(42, 10);
    frames(30);
    EXPECT_EQ(cell(spike->getPosition()), "(40,10)");
    EXPECT_EQ(spike->getMoveCounter(), MOVING_SPIKE_PERIOD);
    lu::WorldManager::instance().markForDeletion(right);
    framesUntilMoved(10);
    EXPECT_EQ(cell(spike->getPosition()), "(41,10)");
}
