"""Recordings: the kept whole game replayed in a window logs and shows what its recorded run did, and a game
played here with --record replays headless, with no X display, to the same log and last screen."""
import os
import platform
import subprocess
import time

import pytest
from conftest import TIMEOUT

FIXTURE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "replay")


def test_the_kept_game_replayed_in_a_window_logs_and_shows_what_its_recorded_run_did(request, run_game):
    # A Windows program's rand() is not glibc's.
    if platform.libc_ver()[0] != "glibc" or request.config.getoption("--launcher"):
        pytest.skip("the kept game was recorded where rand() is glibc's; this C library's deals other levels")
    game = run_game(arguments=["--replay", os.path.join(FIXTURE, "game.rec")], window=False)
    assert game.wait(timeout=3 * TIMEOUT) == 0
    with open(os.path.join(FIXTURE, "game.log")) as log, open(os.path.join(FIXTURE, "game.screen")) as screen:
        assert game.log() == [line[len("Message: "):] for line in log.read().splitlines()]
        assert game.output() == screen.read()


def test_a_game_recorded_here_replays_headless_without_an_x_display_to_the_same_log_and_screen(run_game):
    game = run_game(arguments=["--record", "game.rec"])
    game.wait_for_log("Running")
    game.press("p")
    game.wait_for_log("Placing apple at")
    game.press("s")
    game.xdotool("mousemove", "--window", game.window, 500, 300, "click", 1)
    time.sleep(0.5)
    game.press("d")
    time.sleep(0.3)
    assert game.quit() == 0
    recorded_log, recorded_screen = game.log(), game.output()
    environment = {name: value for name, value in os.environ.items() if name != "DISPLAY"}
    replay = subprocess.run(game.program(["--replay", "game.rec", "--headless"]), cwd=game.folder,
                            env=environment, capture_output=True, text=True, timeout=TIMEOUT)
    assert (replay.returncode, replay.stderr) == (0, "")
    assert replay.stdout == recorded_screen
    assert game.log() == recorded_log
