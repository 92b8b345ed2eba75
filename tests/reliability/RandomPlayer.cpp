#include "RandomPlayer.h"

namespace {

const std::vector<std::string> STEERING_KEYS = {"w", "a", "s", "d"};
const std::vector<std::string> START_KEYS = {"p"};
// Keys the game does not use, letters next to Q among them; none quits.
const std::vector<std::string> OTHER_KEYS = {"e",      "r",       "x",         "z",     "1",    "space", "Return",
                                             "Escape", "Tab",     "BackSpace", "Up",    "Left", "Down",  "Right",
                                             "F1",     "Shift_L", "Control_L", "comma", "slash"};
const std::vector<std::string> MOUSE_BUTTONS = {"1", "2", "3", "4", "5"};

// Out of 100 moves: steering presses, P presses, other keys, held keys, mouse moves, clicks.
const int STEER_SHARE = 40;
const int START_SHARE = 8;
const int OTHER_SHARE = 14;
const int HOLD_SHARE = 13;
const int MOVE_SHARE = 20;
const int PERCENT = 100;

const int MIN_PAUSE_MS = 15;
const int MAX_PAUSE_MS = 250;

} // namespace

RandomPlayer::RandomPlayer(unsigned seed) : generator(seed)
{
}

std::vector<std::string> RandomPlayer::nextMove(unsigned long window, int windowWidth, int windowHeight)
{
    if (!held.empty()) {
        std::string key = held;
        held.clear();
        return {"keyup", key};
    }
    int roll = between(0, PERCENT - 1);
    if (roll < STEER_SHARE)
        return {"key", pick(STEERING_KEYS)};
    roll -= STEER_SHARE;
    if (roll < START_SHARE)
        return {"key", pick(START_KEYS)};
    roll -= START_SHARE;
    if (roll < OTHER_SHARE)
        return {"key", pick(OTHER_KEYS)};
    roll -= OTHER_SHARE;
    if (roll < HOLD_SHARE) {
        held = between(0, 1) == 0 ? pick(STEERING_KEYS) : pick(OTHER_KEYS);
        return {"keydown", held};
    }
    roll -= HOLD_SHARE;
    if (roll < MOVE_SHARE)
        return {"mousemove", "--window", std::to_string(window), std::to_string(between(0, windowWidth - 1)),
                std::to_string(between(0, windowHeight - 1))};
    return {"click", pick(MOUSE_BUTTONS)};
}

int RandomPlayer::nextPauseMs()
{
    return between(MIN_PAUSE_MS, MAX_PAUSE_MS);
}

std::string RandomPlayer::heldKey() const
{
    return held;
}

int RandomPlayer::between(int low, int high)
{
    std::uniform_int_distribution<int> draw(low, high);
    return draw(generator);
}

const std::string& RandomPlayer::pick(const std::vector<std::string>& names)
{
    return names[static_cast<std::size_t>(between(0, static_cast<int>(names.size()) - 1))];
}
