#!/usr/bin/python3
"""Plays one whole game of Coilwander in a window, recording it: the title screen, a game in which the snake
steers for the apple until it has eaten some, a death, the title screen again, and Q. Run it under an X
server (xvfb-run); xdotool presses the keys, the window is read back through Xlib while the game is stopped.

    xvfb-run -a -s "-screen 0 1280x1024x24" tools/record-game.py build/game OUT-DIR [APPLES]

It plays in a copy of the staged game folder, with OpenAL Soft's null output (sound on, heard by nobody),
and leaves in OUT-DIR the recording (game.rec), the recorded run's log (game.log) and the last screen it
printed (game.screen). The replay tests keep these three as their fixture."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from PIL import Image
from Xlib import X, display

CELL_WIDTH, CELL_HEIGHT, GLYPH_DROP, GLYPH_OVERHANG = 13, 21, 7, 4
COLUMNS, ROWS = 75, 36
WINDOW_SIZE = (1024, 768)
# The score line, white like the head, sits in the middle of row 2; its glyphs reach into the rows around.
SCORE_ROWS, SCORE_COLUMNS = range(1, 4), range(30, 45)
KEYS = {(1, 0): "d", (-1, 0): "a", (0, 1): "s", (0, -1): "w"}
TIMEOUT = 60


def log(folder):
    with open(os.path.join(folder, "lumbra.log")) as lines:
        return [line[len("Message: "):] for line in lines.read().splitlines()]


def wait_for_log(folder, start, count=1):
    deadline = time.monotonic() + TIMEOUT
    while sum(line.startswith(start) for line in log(folder)) < count:
        if time.monotonic() > deadline:
            sys.exit("the log never showed %r" % start)
        time.sleep(0.02)


def eaten(folder):
    """Returns the apples eaten: the first level's score line comes before any."""
    return max(0, sum(line.startswith("Score = ") for line in log(folder)) - 1)


def died(folder):
    """Returns true once the game-over screen has given way to the title screen."""
    return "GameOver is already marked for deletion" in log(folder)


def screen(x_display, window):
    """Returns the colours (red, green, blue as 0 or 255) that each cell's glyph shows, by cell."""
    image = Image.frombytes("RGB", WINDOW_SIZE, x_display.create_resource_object("window", window).get_image(
        0, 0, WINDOW_SIZE[0], WINDOW_SIZE[1], X.ZPixmap, 0xFFFFFFFF).data, "raw", "BGRX")
    shown = {}
    for row in range(ROWS):
        for column in range(COLUMNS):
            top = row * CELL_HEIGHT + GLYPH_DROP
            box = (column * CELL_WIDTH + GLYPH_OVERHANG, top, (column + 1) * CELL_WIDTH, top + CELL_HEIGHT)
            shown[(column, row)] = {c for _, c in image.crop(box).getcolors(CELL_WIDTH * CELL_HEIGHT)}
    return shown


def safe(shown, cell):
    """Returns true for a cell inside the field without a hazard (red) or the body (yellow) on it."""
    return cell in shown and 0 < cell[1] < ROWS - 1 and not shown[cell] & {(255, 0, 0), (255, 255, 0)}


def steer(shown, heading, head, apple):
    """Turns a quarter towards the apple, or keeps the heading, whichever closes in on it, unless a hazard,
    the body or the edge lies two cells ahead: then any safe way that is not back."""
    dx, dy = apple[0] - head[0], apple[1] - head[1]
    if heading[0] != 0:
        towards = heading if dx * heading[0] > 0 else (0, 1 if dy >= 0 else -1)
    else:
        towards = heading if dy * heading[1] > 0 else (1 if dx >= 0 else -1, 0)
    for way in [towards, heading] + [way for way in KEYS if way[0] == heading[1] or way[1] == heading[0]]:
        if way != (-heading[0], -heading[1]) and all(
                safe(shown, (head[0] + way[0] * n, head[1] + way[1] * n)) for n in (1, 2)):
            return way
    return towards


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    source, out = sys.argv[1], os.path.abspath(sys.argv[2])
    apples = int(sys.argv[3]) if len(sys.argv) == 4 else 2
    folder = tempfile.mkdtemp(prefix="coilwander-")
    shutil.copytree(source, folder, dirs_exist_ok=True, ignore=shutil.ignore_patterns("CMake*", "*.a", "*.cmake",
                                                                                        "Makefile", "*.log"))
    with open(os.path.join(folder, "game.screen"), "w") as last_screen:
        game = subprocess.Popen(["./coilwander", "--record", "game.rec"], cwd=folder, stdout=last_screen,
                                env=dict(os.environ, ALSOFT_DRIVERS="null"))
    window = int(subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "Coilwander"],
                                capture_output=True, text=True, timeout=TIMEOUT).stdout.split()[0])
    subprocess.run(["xdotool", "windowfocus", "--sync", str(window)], check=True)
    x_display = display.Display()
    wait_for_log(folder, "Running")
    time.sleep(0.5)
    subprocess.run(["xdotool", "key", "p"], check=True)
    wait_for_log(folder, "Placing apple at")

    heading, head = (1, 0), None
    deadline = time.monotonic() + TIMEOUT
    while eaten(folder) < apples and time.monotonic() < deadline and not died(folder):
        game.send_signal(signal.SIGSTOP)
        try:
            shown = screen(x_display, window)
            white = [cell for cell, colours in shown.items() if (255, 255, 255) in colours
                     and not (cell[1] in SCORE_ROWS and cell[0] in SCORE_COLUMNS)]
            apple = [cell for cell, colours in shown.items() if (0, 255, 0) in colours]
            if white and apple:
                if head is not None and white[0] != head:
                    moved = (white[0][0] - head[0], white[0][1] - head[1])
                    if moved in KEYS:
                        heading = moved
                head = white[0]
                wanted = steer(shown, heading, head, apple[0])
                if wanted != heading:
                    subprocess.run(["xdotool", "key", KEYS[wanted]], check=True)
        finally:
            game.send_signal(signal.SIGCONT)
        time.sleep(0.05)
    # Straight on into the edge of the field (or whatever comes first); the title screen returns after the
    # countdown.
    wait_for_log(folder, "GameOver is already marked for deletion")
    time.sleep(0.5)
    subprocess.run(["xdotool", "key", "q"], check=True)
    if game.wait(timeout=TIMEOUT) != 0:
        sys.exit("the game ended with status %d" % game.returncode)
    os.makedirs(out, exist_ok=True)
    for name in ("game.rec", "game.screen"):
        shutil.copy(os.path.join(folder, name), out)
    shutil.copy(os.path.join(folder, "lumbra.log"), os.path.join(out, "game.log"))
    print("%d apples eaten; the recording and its run's log and last screen are in %s" % (eaten(folder), out))
    shutil.rmtree(folder)


if __name__ == "__main__":
    main()
