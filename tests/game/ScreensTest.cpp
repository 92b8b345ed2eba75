#include "GameFixture.h"

#include "GameOver.h"
#include "GameStart.h"
#include "Spike.h"

#include <map>

class ScreensTest : public GameFixture {
protected:
    ScreensTest()
    {
        new GameStart();
    }

    // Starts a game from the title screen and runs the snake into a spike under the game-over text.
    static void startAndLose()
    {
        key(lu::Keyboard::P);
        objectsOfType("SnakeHead").at(0)->setPosition(lu::Vector(35, 15));
        (new Spike())->setPosition(lu::Vector(36, 15));
        frames(3);
    }

    static void expectOnlyTheTitleScreen()
    {
        EXPECT_EQ(lutest::worldObjectCount(), 5);
        EXPECT_EQ(objectsOfType("StartGame").size(), 1u);
        EXPECT_EQ(objectsOfType("Object").size(), 4u);
    }

    lutest::ScreenText screen;
};

TEST_F(ScreensTest, TitleKeysActOnPressOnlyAndPRemovesTheTitleFromTheNextFrame)
{
    // The title screen handles every key, whether it acts on it or not; nothing else there does.
    EXPECT_EQ(key(lu::Keyboard::P, lu::KEY_RELEASED), 1);
    EXPECT_EQ(key(lu::Keyboard::Q, lu::KEY_RELEASED), 1);
    EXPECT_EQ(key(lu::Keyboard::X), 1);
    EXPECT_FALSE(lu::GameManager::instance().isGameOver());
    expectOnlyTheTitleScreen();
    // Ids, not pointers: the title's objects are freed once P has been pressed.
    std::vector<int> title;
    for (lu::Object* object : objectsOfType("")) {
        title.push_back(object->getId());
    }
    frames(1);
    // Row, text and the colour of its first cell.
    const char* rows[] = {
        " 3    #####  ####  ###### ##     ##   ##  ####  ##   ## #####  ###### #####    3",
        " 9   .-'-.-'-.-'-.-'-.-'-.-'-.-'-.-'-.-'-.-'-.-'-.-'-.-'-.-'-.-'-.-'-.-'-.-'   3",
        "12                              Use WASD to move                               7",
        "14           @    Collect the green apple to complete the level    @           2",
        "16                          XXX Avoid red hazards ###                          1",
        "18                  /// You cannot turn while on blue ice ///                  4",
        "24                          |   Press 'P' to play   |                          6",
        "26                              Press 'Q' to quit                              7",
    };
    for (const char* row : rows) {
        int y = std::stoi(std::string(row, 2));
        std::string colors = screen.colorRow(y);
        EXPECT_EQ(std::string(row + 2), " " + screen.row(y) + " " + colors[colors.find_first_not_of('.')]);
    }

    EXPECT_EQ(key(lu::Keyboard::P), 1);
    key(lu::Keyboard::P); // the same frame: still one game
    screen.clear();
    frames(1);
    EXPECT_NE(screen.row(12).find("Use WASD to move"), std::string::npos); // once more, with the first level
    for (int id : title) {
        EXPECT_FALSE(alive(id));
    }
    screen.clear();
    frames(1);
    EXPECT_EQ(screen.row(12).find("Use WASD"), std::string::npos);
    EXPECT_EQ(objectsOfType("SnakeHead").size(), 1u);
    EXPECT_EQ(objectsOfType("apple").size(), 1u);  // one level
    EXPECT_EQ(objectsOfType("Object").size(), 1u); // one score display
    key(lu::Keyboard::Q);
    EXPECT_TRUE(lu::GameManager::instance().isGameOver());
}

TEST_F(ScreensTest, GameOverCountsDownThenLeavesExactlyANewTitleScreen)
{
    startAndLose();
    // The countdown line's own cells with their colour, by the countdown drawn in the frame.
    std::map<int, std::string> lines;
    for (int frame = 0; frame < 2 * GAME_OVER_FRAMES && !objectsOfType("GameOver").empty(); frame++) {
        int countdown = static_cast<GameOver*>(objectsOfType("GameOver").at(0))->getCountdown() - 1;
        screen.clear();
        frames(1);
        lines[countdown] = screen.row(18).substr(26, 22) + " " + screen.colorRow(18)[26];
        EXPECT_EQ(screen.row(15).substr(29, 17) + screen.colorRow(15)[29], "Y O U   D I E D !5");
    }
    EXPECT_EQ(lines.size(), static_cast<std::size_t>(GAME_OVER_FRAMES));
    EXPECT_EQ(lines[91].find("Returning"), std::string::npos);
    const std::map<int, std::string> seconds = {{90, "3"}, {61, "3"}, {60, "2"}, {31, "2"}, {30, "1"}, {0, "1"}};
    for (const auto& [countdown, second] : seconds)
        EXPECT_EQ(lines[countdown], "Returning to menu in " + second + " 7") << countdown;
    expectOnlyTheTitleScreen();
    EXPECT_EQ(lutest::countLogMessages("GameOver is already marked for deletion"), 1);
}

TEST_F(ScreensTest, ManyGamesInARowLeaveOnlyTheTitleScreenAndQuittingMidGameLeaksNothing)
{
    for (int game = 0; game < 4; game++) {
        startAndLose();
        frames(GAME_OVER_FRAMES);
        expectOnlyTheTitleScreen();
    }
    key(lu::Keyboard::P);
    frames(5);
    key(lu::Keyboard::Q);
    EXPECT_TRUE(lu::GameManager::instance().isGameOver());
    // The fixture then shuts the world down, as the program does when its loop ends.
}
