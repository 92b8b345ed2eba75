"""A run of random input (never Q): the game keeps running, its memory stays steady after its warm-up,
and Q still ends it with status 0 and a clean log. --soak-seconds sets the length (60 by default)."""
import random
import statistics
import time

import pytest

SEED = 20240611
STEERING = ["w", "a", "s", "d", "p"]
# Keys the game does not use, letters next to Q among them; none quits.
OTHER_KEYS = ["e", "r", "x", "z", "1", "space", "Return", "Escape", "Tab", "BackSpace", "Up", "Left",
              "F1", "Shift_L", "Control_L", "comma", "slash"]
WARM_UP_SECONDS = 20
JUDGED_SECONDS = 10
ALLOWED_GROWTH_KB = 4096


def resident_kb(pid):
    with open("/proc/%d/status" % pid) as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))


def random_move(game, player):
    roll = player.random()
    if roll < 0.5:
        game.press(player.choice(STEERING))
    elif roll < 0.6:
        game.press(player.choice(OTHER_KEYS))
    elif roll < 0.7:
        key = player.choice(STEERING[:4] + OTHER_KEYS)
        game.xdotool("keydown", key, "sleep", player.uniform(0.05, 0.5), "keyup", key)
    elif roll < 0.9:
        game.xdotool("mousemove", "--window", game.window, player.randrange(1024), player.randrange(768))
    else:
        game.xdotool("click", player.randint(1, 5))
    time.sleep(player.uniform(0.015, 0.25))


@pytest.mark.soak
def test_random_input_keeps_the_game_running_with_steady_memory_and_q_still_quits(run_game, request):
    seconds = request.config.getoption("--soak-seconds")
    game = run_game()
    game.wait_for_log("Running")
    player = random.Random(SEED)
    samples = []
    start = time.monotonic()
    while time.monotonic() - start < seconds:
        assert game.process.poll() is None, "the game ended during the soak"
        samples.append((time.monotonic() - start, resident_kb(game.process.pid)))
        while time.monotonic() - start < len(samples):
            random_move(game, player)
    assert game.quit() == 0

    settled = statistics.median(kb for at, kb in samples if WARM_UP_SECONDS <= at < WARM_UP_SECONDS + JUDGED_SECONDS)
    final = statistics.median(kb for at, kb in samples[-JUDGED_SECONDS:])
    print("resident size: %d kB after the warm-up, %d kB at the end" % (settled, final))
    assert final - settled <= ALLOWED_GROWTH_KB
    log = game.log()
    assert log[:2] == ["Game Manager Starting up!", "Running"] and log.count("GameOver") == 1
    assert [line for line in log if line.startswith(("Unable", "Issue", "Error"))] == []
