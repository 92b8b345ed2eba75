#pragma once

#include "Event.h"

#include <string>

const std::string KILL_SCREEN_EVENT = "kill_screen";

/// Sent once per game when the level counter reaches the kill-screen level; the snake speeds up.
class EventKillScreen : public lu::Event {
public:
    /// Makes the event with type KILL_SCREEN_EVENT.
    EventKillScreen();
};
