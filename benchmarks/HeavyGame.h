#pragma once

class Level;
class SnakeHead;

namespace lu {
class Object;
}

namespace lubench {

/// Loads the game's six sprites under their labels, from the working directory; returns the file
/// that failed to load, or null.
const char* loadGameSprites();

/// Sends the key that keeps a snake whose head is head on a small square next to its start, when
/// the head reaches a corner. The square lies inside the zone the level builder keeps free of hazards.
void steerRoundSquare(const lu::Object* head);

/// The level counter the heaviest realistic frame is built at: from 45 on the hazard groups stop
/// growing, and with the seed the game is built from this level holds 850 objects, among the most.
const int HEAVY_LEVEL_COUNTER = 46;

/// The heaviest realistic game: the real level builder run up to HEAVY_LEVEL_COUNTER, with the snake
/// alive and steered round its square.
class HeavyGame {
public:
    /// Builds the game in the world (which must be started, with the game's sprites loaded).
    HeavyGame();

    /// Deletes every object of the world.
    ~HeavyGame();

    /// Sends the key that keeps the snake on its square (steerRoundSquare).
    void steer();

    /// Returns true while the snake lives (a moving spike may wander into its way).
    bool isSnakeAlive() const;

    /// Clears the world and builds the game again, the same as before.
    void rebuild();

    /// Returns the number of objects in the world.
    int objectCount() const;

private:
    HeavyGame(const HeavyGame&) = delete;
    HeavyGame& operator=(const HeavyGame&) = delete;

    void build();

    SnakeHead* head;
    Level* level;
};

} // namespace lubench
