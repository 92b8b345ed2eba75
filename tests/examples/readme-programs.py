"""Builds the README's programs against the installed engine and plays them: a code block whose paragraph begins
with a file name in backticks (`mygame/main.cpp`) is that file, and a program is the target named after its folder.
Usage (under an X server): readme-programs.py README PREFIX WORK_DIR"""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import time

from Xlib import X, display, protocol

WIDTH, CELL_HEIGHT, TIMEOUT = 1024, 21, 20


def crosses_again_and_again(window):
    """The comet (cyan, row 18) comes back on the left after leaving on the right, twice."""
    returns, last, deadline = 0, None, time.monotonic() + TIMEOUT
    while returns < 2 and time.monotonic() < deadline:
        image = window.get_image(0, 18 * CELL_HEIGHT, WIDTH, 2 * CELL_HEIGHT, X.ZPixmap, 0xFFFFFFFF).data
        found = [i // 4 % WIDTH for i in range(0, len(image), 4) if image[i:i + 3] == b"\xff\xff\x00"]  # BGRX
        if found and last is not None and min(found) < last - WIDTH // 2:
            returns += 1
        last = min(found) if found else last
        time.sleep(0.05)
    assert returns == 2, "the comet came back %d times, not again and again" % returns


CHECKS = {"mygame": crosses_again_and_again}


def play(folder, program):
    """Runs the program, checks what the README says of it (CHECKS), closes its window; returns its exit status."""
    game = subprocess.Popen([program], cwd=os.path.dirname(program), env=dict(os.environ, ALSOFT_DRIVERS="null"))
    try:
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Coilwander$"],
                               capture_output=True, text=True, timeout=TIMEOUT).stdout.split()
        x = display.Display()
        window = x.create_resource_object("window", int(found[0]))
        CHECKS.get(folder, lambda window: None)(window)
        atom = x.intern_atom  # as a window manager asks when the close button is clicked
        window.send_event(protocol.event.ClientMessage(window=window, client_type=atom("WM_PROTOCOLS"), data=(
            32, [atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
        x.flush()
        return game.wait(timeout=TIMEOUT)
    finally:
        if game.poll() is None:
            game.kill()


def main(readme, prefix, work):
    with open(readme) as text:
        blocks = re.findall(r"^`([\w.-]+/[\w./-]+)`[^\n]*\n+```\w*\n(.*?)^```", text.read(), re.M | re.S)
    prefix = os.path.abspath(prefix)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    os.chdir(work)
    for path, code in blocks:
        pathlib.Path(path).parent.mkdir(parents=True, exist_ok=True)
        pathlib.Path(path).write_text(code)
    folders = sorted({os.path.dirname(path) for path, _ in blocks})
    assert folders, "the README holds no program"
    for folder in folders:
        subprocess.run(["cmake", "-S", folder, "-B", folder + "/build", "-DCMAKE_PREFIX_PATH=" + prefix], check=True)
        subprocess.run(["cmake", "--build", folder + "/build", "-j2"], check=True)
        status = play(folder, os.path.abspath(os.path.join(folder, "build", os.path.basename(folder))))
        assert status == 0, "%s exited with status %s" % (folder, status)


if __name__ == "__main__":
    main(*sys.argv[1:])
