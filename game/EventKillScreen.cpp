#include "EventKillScreen.h"

EventKillScreen::EventKillScreen()
{
    setType(KILL_SCREEN_EVENT);
}
