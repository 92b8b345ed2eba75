"""The ways out of the program, and the starts it cannot make: each ends by itself with status 0."""
import os

import pytest

STARTED = ["Game Manager Starting up!", "Running"]


def in_a_game(game):
    game.press("p")
    game.wait_for_log("Placing apple at")
    game.press("q")


# Closing the window shuts the engine down inside the frame: the loop's "GameOver" comes after the log closed.
@pytest.mark.parametrize("leave, ending", [
    (lambda game: game.press("q"), STARTED + ["GameOver", "Display shutting down"]),
    (in_a_game, ["GameOver", "Display shutting down", "Destroying Apple"]),
    (lambda game: game.request_close(), STARTED + ["Display shutting down"]),
], ids=["QOnTheTitleScreen", "QDuringAGame", "CloseRequest"])
def test_each_way_out_exits_with_status_zero_and_the_log_s_last_words(run_game, leave, ending):
    game = run_game()
    game.wait_for_log("Running")
    leave(game)
    assert game.wait() == 0
    assert game.log()[-len(ending):] == ending
    assert game.warnings() == []


def failed_start(first_line):
    return [first_line, "Game Manager Starting up!", "Error starting game manager!", "Display shutting down"]


@pytest.mark.parametrize("spoil, environment, expected_log", [
    (lambda folder: os.remove(os.path.join(folder, "lu-font.ttf")), {}, failed_start("Issue loading font")),
    (None, {"DISPLAY": None}, failed_start("Issue creating window")),
    # With nowhere to write, nothing is written: the folder standing in for the log stays empty.
    (lambda folder: os.mkdir(os.path.join(folder, "lumbra.log")), {}, None),
], ids=["NoFont", "NoXDisplay", "LogIsAFolder"])
def test_a_start_that_fails_says_why_and_exits_with_status_zero(request, run_game, spoil, environment, expected_log):
    if "DISPLAY" in environment and request.config.getoption("--launcher"):
        pytest.skip("a Windows program has no X display to miss")
    game = run_game(spoil, environment=environment, window=False)
    assert game.wait() == 0
    if expected_log is None:
        assert os.listdir(game.path("lumbra.log")) == []
    else:
        assert game.log() == expected_log
    # The developer learns which font file was looked for, and where.
    if expected_log and expected_log[0] == "Issue loading font":
        # Wine shows the folder as Windows names it, on its drive Z:.
        folder = "Z:" + game.folder.replace("/", "\\") if request.config.getoption("--launcher") else game.folder
        assert game.warnings() == ['lu: cannot load the font "lu-font.ttf" from the working directory "%s"' % folder]
