#pragma once

#include "Clock.h"
#include "Manager.h"

#include <cstdint>

namespace lu {

/// Target duration of one frame, in milliseconds.
const int FRAME_TIME_DEFAULT = 33;

/// Starts and stops every manager and runs the game loop, one frame every FRAME_TIME_DEFAULT ms.
class GameManager : public Manager {
public:
    /// Returns the single game manager.
    static GameManager& instance();

    /// Starts log, world, display, input and resource managers; returns -1 if any failed, else 0.
    int startUp() override;

    /// Ends the game and shuts every manager down; safe to call twice.
    void shutDown() override;

    /// Runs frames until game over is set at the end of one; without a successful startUp() since the last
    /// shutDown(), says so on stderr and returns at once.
    void run();

    /// Runs one frame's work (input, step, draw, show, update, count) without timing or sleeping.
    void runFrame();

    /// Sets whether the loop ends after the current frame.
    void setGameOver(bool over = true);

    /// Returns true when the loop ends after the current frame.
    bool isGameOver() const;

    /// Sets the target frame duration in milliseconds; returns -1 (keeping the old one) for values below 1,
    /// else 0.
    /// \code
    /// lu::GameManager::instance().setFrameTime(20); // 50 frames a second
    /// \endcode
    int setFrameTime(int milliseconds);

    /// Returns the target frame duration in milliseconds (FRAME_TIME_DEFAULT until set).
    int getFrameTime() const;

    /// Before startUp(): makes the game run with no window, keeping the display's cells in memory
    /// (DisplayManager::getScreenText()), without sound, and without waiting between frames. Such a run
    /// needs no X display and no font; with InputManager::startReplay() it replays a game as fast as the
    /// machine goes. Returns 0, or -1 (nothing changed) once the display has started.
    int setHeadless(bool on = true);

    /// Returns true when the game runs with no window (setHeadless()).
    bool isHeadless() const;

    /// Returns the number of frames completed since construction; after INT_MAX it starts again at 0.
    int getStepCount() const;

    /// Returns how long to sleep after a frame measured at elapsedMilliseconds: the rest of the frame time,
    /// 0 for an overrun, and never more than one frame time (a negative measure means the clock jumped).
    int sleepTimeFor(std::int64_t elapsedMilliseconds) const;

private:
    GameManager();
    GameManager(const GameManager&) = delete;
    GameManager& operator=(const GameManager&) = delete;

    bool gameOver;
    int frameTime;
    Clock clock;
    int stepCount;
    bool startUpSucceeded;
};

} // namespace lu
