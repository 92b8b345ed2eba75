// Plays the game for a number of frames, paced as the real loop paces them, and prints the process's
// CPU time per frame, rendering threads included: the title screen for a second, then the snake
// steered round its square on the first level. "--per-cell" draws every cell on its own instead of
// in a batch.
//
// Usage: play_harness [--per-cell] [frames]   (run where the game's sprites/ and lu-font.ttf are)

#include "Clock.h"
#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventStep.h"
#include "GameManager.h"
#include "GameStart.h"
#include "HeavyGame.h"
#include "InputManager.h"
#include "Keyboard.h"
#include "ObjectList.h"
#include "PerCellScreen.h"
#include "Platform.h"
#include "ResourceManager.h"
#include "SnakeHead.h"
#include "WorldManager.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

const int FRAMES_DEFAULT = 600;
const int TITLE_FRAMES = 30;
const double MILLISECONDS_PER_SECOND = 1000.0;
const double MILLISECONDS_PER_MICROSECOND = 0.001;
const std::int64_t MICROSECONDS_PER_MILLISECOND = 1000;

double processCpuMilliseconds()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    double seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec);
    double microseconds = static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    return seconds * MILLISECONDS_PER_SECOND + microseconds * MILLISECONDS_PER_MICROSECOND;
}

SnakeHead* findSnakeHead()
{
    lu::ObjectList all = lu::WorldManager::instance().getAllObjects();
    for (int i = 0; i < all.getCount(); i++)
        if (all.at(i)->getType() == "SnakeHead")
            return static_cast<SnakeHead*>(all.at(i));
    return nullptr;
}

// Presses P after the title's second, steers the snake, and ends the loop after the last frame.
// For the per-cell screen it also shows each frame: drawn at the top altitude, it comes after the world.
class Player : public lu::Object {
public:
    Player(int frameCount, lubench::PerCellScreen* screen) : frames(frameCount), perCell(screen)
    {
        setType("Player");
        setSolidity(lu::INTANGIBLE);
        setAltitude(lu::MAX_ALTITUDE);
    }

    int handleEvent(const lu::Event* event) override
    {
        if (event->getType() != lu::STEP_EVENT)
            return 0;
        int step = static_cast<const lu::EventStep*>(event)->getStepCount();
        if (step == TITLE_FRAMES) {
            lu::EventKeyboard press;
            press.setKey(lu::Keyboard::P);
            press.setKeyAction(lu::KEY_PRESSED);
            lu::WorldManager::instance().broadcastEvent(&press);
        }
        SnakeHead* head = findSnakeHead();
        if (head != nullptr && !head->isDead()) {
            lubench::steerRoundSquare(head);
            playingFrames++;
        }
        if (step + 1 >= frames)
            lu::GameManager::instance().setGameOver(true);
        return 1;
    }

    int draw() override
    {
        if (perCell != nullptr)
            perCell->show();
        return 0;
    }

    /// Returns the number of frames in which the snake was alive.
    int getPlayingFrames() const
    {
        return playingFrames;
    }

private:
    int frames;
    int playingFrames;
    lubench::PerCellScreen* perCell;
};

} // namespace

int main(int argc, char** argv)
{
    bool perCellMode = false;
    int frames = FRAMES_DEFAULT;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--per-cell") == 0)
            perCellMode = true;
        else
            frames = std::atoi(argv[i]);
    }
    if (frames <= TITLE_FRAMES) {
        std::fprintf(stderr, "usage: play_harness [--per-cell] [frames above %d]\n", TITLE_FRAMES);
        return 2;
    }

    lu::WorldManager::instance().startUp();
    lu::ResourceManager::instance().startUp();
    if (const char* missing = lubench::loadGameSprites()) {
        std::fprintf(stderr, "cannot load %s: run where the game's sprites/ are\n", missing);
        return 1;
    }

    // The per-cell screen listens to a display left without a window.
    std::unique_ptr<lubench::PerCellScreen> screen;
    if (perCellMode) {
        screen.reset(new lubench::PerCellScreen());
        if (!screen->isOpen()) {
            std::fprintf(stderr, "cannot open the window\n");
            return 1;
        }
    } else if (lu::DisplayManager::instance().startUp() != 0 || lu::InputManager::instance().startUp() != 0) {
        std::fprintf(stderr, "cannot open the display's window\n");
        return 1;
    }

    Player* player = new Player(frames, screen.get());
    new GameStart();
    double cpuBefore = processCpuMilliseconds();
    std::chrono::steady_clock::time_point wallBefore = std::chrono::steady_clock::now();
    // run() wants the whole engine started, the display's window included, which the per-cell screen
    // replaces; both ways therefore run the frames with run()'s own pacing here.
    lu::GameManager& game = lu::GameManager::instance();
    lu::Clock clock;
    while (!game.isGameOver()) {
        clock.restart();
        game.runFrame();
        lu::sleepMilliseconds(game.sleepTimeFor(clock.elapsed() / MICROSECONDS_PER_MILLISECOND));
    }
    double cpu = processCpuMilliseconds() - cpuBefore;
    double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallBefore).count();

    std::printf("play %-8s frames %d (snake alive in %d)  cpu %.2f ms/frame  wall %.2f ms/frame\n",
                perCellMode ? "per-cell" : "batched", frames, player->getPlayingFrames(), cpu / frames, wall / frames);
    lu::WorldManager::instance().shutDown();
    screen.reset();
    lu::GameManager::instance().shutDown();
    return 0;
}
