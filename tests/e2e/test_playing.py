"""The title screen with its music, the first level, and eating its apple with the blip it plays."""
import os
import re
import time

import pytest
from conftest import colours

COLUMNS = 75
START_ROW = 18
# The colour each row of the title screen shows: the title art, the instructions, the prompt art.
TITLE_ROWS = {6: "yellow", 12: "white", 14: "green", 16: "red", 18: "blue", 24: "cyan", 26: "white"}
NO_SOUND = "the recording checks need OpenAL Soft's wave output, which only the SFML 2 audio uses"


def row_colours(image, row):
    return set().union(*(colours(image, column, row) for column in range(COLUMNS)))


def apple_cell(line):
    x, y = re.match(r"Placing apple at \((\S+),(\S+)\)", line).groups()
    return int(float(x)), int(float(y))


def level_lines(game):
    return [line for line in game.log() if line.startswith(("Score = ", "Can't place", "Placing apple at"))]


def test_the_title_screen_shows_its_rows_in_their_colours_while_the_music_plays(run_game):
    game = run_game()
    game.wait_for_log("Running")
    # Frames are shown whole: the first one that shows anything shows the whole screen.
    image = game.wait_for_screen(lambda image: image.getbbox() is not None)
    assert {row: row_colours(image, row) for row in TITLE_ROWS} == {row: {colour} for row, colour in TITLE_ROWS.items()}
    time.sleep(2)
    assert game.quit() == 0
    assert "device not closed" not in game.errors()
    if not game.records_sound():
        pytest.skip(NO_SOUND)
    peak, seconds = game.sound()
    assert seconds >= 2 and peak > 0.1
    assert game.recorded_header_seconds() == pytest.approx(seconds, abs=0.05)


def test_the_first_level_is_the_same_in_every_run_and_its_apple_is_drawn_where_it_was_placed(run_game):
    levels = []
    for _ in range(2):
        game = run_game()
        game.wait_for_log("Running")
        game.press("p")
        x, y = apple_cell(game.wait_for_log("Placing apple at"))
        game.wait_for_screen(lambda image: "green" in colours(image, x, y))
        assert game.quit() == 0
        levels.append(level_lines(game))
    assert levels[0][0] == "Score = 2"
    assert levels[0] == levels[1]


def head_column(image):
    """Returns the column of the snake's head (the rightmost white cell) on the start row."""
    return max([column for column in range(COLUMNS) if "white" in colours(image, column, START_ROW)], default=-1)


def test_eating_the_apple_plays_the_blip_and_before_and_after_it_all_is_silent_without_music(run_game):
    game = run_game(lambda folder: os.remove(os.path.join(folder, "sounds", "gamemusic.wav")))
    game.wait_for_log("Running")
    assert game.log().count("Unable to load music from sounds/gamemusic.wav") == 1
    game.press("p")
    x, y = apple_cell(game.wait_for_log("Placing apple at"))
    # Right along the start row to the column before the apple's, then up or down past it: the apple is
    # eaten from any cell next to it. A key pressed while the game is stopped turns the head where it stands.
    deadline = time.monotonic() + 20
    turned = False
    while not turned:
        assert time.monotonic() < deadline, "the head never came near the apple's column"
        with game.stopped():
            turned = head_column(game.screen()) >= x - 1
            if turned:
                game.press("s" if y > START_ROW else "w")
        time.sleep(0.02)
    game.wait_for_log("Score = 3")
    eaten_bytes = game.recorded_bytes() if game.records_sound() else 0
    # Sideways, into the ground that the new level keeps clear around the head.
    game.press("d")
    time.sleep(1.5)
    assert game.quit() == 0
    if not game.records_sound():
        pytest.skip(NO_SOUND)
    eaten = game.sound()[1] * eaten_bytes / game.recorded_bytes()
    assert game.sound(0, eaten - 0.3)[0] == 0
    assert game.sound(eaten - 0.3, eaten + 0.5)[0] > 0.1
    assert game.sound(eaten + 0.5)[0] == 0
