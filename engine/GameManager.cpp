#include "GameManager.h"

#include "AudioDevice.h"
#include "DisplayManager.h"
#include "EventStep.h"
#include "InputManager.h"
#include "LogManager.h"
#include "Platform.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include <climits>

namespace lu {

namespace {
const std::int64_t MICROSECONDS_PER_MILLISECOND = 1000;
} // namespace

GameManager::GameManager()
    : gameOver(false), frameTime(FRAME_TIME_DEFAULT), clock(), stepCount(0), startUpSucceeded(false)
{
}

GameManager& GameManager::instance()
{
    static GameManager gameManager;
    return gameManager;
}

int GameManager::startUp()
{
    // Every manager is started even when an earlier one failed.
    int result = 0;
    result += LogManager::instance().startUp();
    result += WorldManager::instance().startUp();
    result += DisplayManager::instance().startUp();
    result += InputManager::instance().startUp();
    result += ResourceManager::instance().startUp();

    LogManager::instance().setFlushEachMessage(true);
    LogManager::instance().writeMessage("Game Manager Starting up!");
    started = true;
    beginTimerResolution();
    setType("GameManager");

    startUpSucceeded = result == 0;
    if (result != 0)
        return -1;
    return 0;
}

void GameManager::shutDown()
{
    gameOver = true;
    startUpSucceeded = false;
    endTimerResolution();
    // The world goes before the log so destructors can still write; sprites outlive every object.
    InputManager::instance().shutDown();
    DisplayManager::instance().shutDown();
    WorldManager::instance().shutDown();
    LogManager::instance().shutDown();
    ResourceManager::instance().shutDown();
}

void GameManager::run()
{
    LogManager& log = LogManager::instance();
    // Without its window and log the loop would run unseen, with no way for a player to end it.
    if (!startUpSucceeded) {
        log.writeWarning("GameManager::run() needs a successful GameManager::startUp() first; the game loop did "
                         "not run");
        return;
    }
    log.writeMessage("Running");
    gameOver = false;

    while (true) {
        clock.restart();
        runFrame();

        std::int64_t elapsedMilliseconds = clock.elapsed() / MICROSECONDS_PER_MILLISECOND;
        if (elapsedMilliseconds > frameTime) {
            // A forward jump of the system clock can exceed what the message's int can hold.
            std::int64_t over = elapsedMilliseconds - frameTime;
            if (over > INT_MAX)
                over = INT_MAX;
            log.writeMessage("Frame time over target time by %d milliseconds", static_cast<int>(over));
        }
        // Nobody watches a headless game: its frames follow each other as fast as they go.
        if (!isHeadless())
            sleepMilliseconds(sleepTimeFor(elapsedMilliseconds));

        if (gameOver) {
            log.writeMessage("GameOver");
            InputManager::instance().stopRecording();
            return;
        }
    }
}

void GameManager::runFrame()
{
    InputManager::instance().getInput();

    EventStep step(stepCount);
    broadcastEvent(&step);

    WorldManager::instance().draw();
    DisplayManager::instance().swapBuffers();
    WorldManager::instance().update();
    // Past INT_MAX (two years of frames) the count starts again at 0 instead of overflowing.
    stepCount = stepCount == INT_MAX ? 0 : stepCount + 1;
}

int GameManager::setHeadless(bool on)
{
    DisplayManager& display = DisplayManager::instance();
    if (display.isStarted() || display.getWindow() != nullptr || display.headlessStarted)
        return -1;
    display.headless = on;
    AudioDevice::instance().setSilent(on);
    return 0;
}

bool GameManager::isHeadless() const
{
    return DisplayManager::instance().isHeadless();
}

void GameManager::setGameOver(bool over)
{
    gameOver = over;
}

bool GameManager::isGameOver() const
{
    return gameOver;
}

int GameManager::setFrameTime(int milliseconds)
{
    if (milliseconds < 1)
        return -1;
    frameTime = milliseconds;
    return 0;
}

int GameManager::getFrameTime() const
{
    return frameTime;
}

int GameManager::getStepCount() const
{
    return stepCount;
}

int GameManager::sleepTimeFor(std::int64_t elapsedMilliseconds) const
{
    std::int64_t remaining = frameTime - elapsedMilliseconds;
    if (remaining < 0)
        return 0;
    // The time stamps restart each month and the system clock can be set back: such a
    // frame measures negative, and must not stall the game.
    if (remaining > frameTime)
        return frameTime;
    return static_cast<int>(remaining);
}

} // namespace lu
