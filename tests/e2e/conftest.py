"""Runs the real game in a copy of its staged folder, under the X server that xvfb-run started for the
suite: keys through xdotool, the window read back through Xlib, the log as the way to wait, and on
SFML 2 its sound recorded by OpenAL Soft's wave output and measured with sox."""
import contextlib
import os
import re
import shutil
import signal
import subprocess
import time

import pytest
from PIL import Image
from Xlib import X, display, protocol

CELL_WIDTH, CELL_HEIGHT = 13, 21
# A cell's glyph sits lower than the cell: from 7 pixels below its top into the top of the cell below.
GLYPH_DROP = 7
# A bold glyph is wider than its cell: where no later cell covers it, it reaches this far into the next one.
GLYPH_OVERHANG = 4
WINDOW_SIZE = (1024, 768)
# The display's eight colours; anti-aliased edges never match one exactly, the glyphs' cores do.
PALETTE = {(0, 0, 0): "black", (255, 0, 0): "red", (0, 255, 0): "green", (255, 255, 0): "yellow",
           (0, 0, 255): "blue", (255, 0, 255): "magenta", (0, 255, 255): "cyan", (255, 255, 255): "white"}
RECORDING = "recording.wav"
ERRORS = "stderr.txt"
OUTPUT = "stdout.txt"
TIMEOUT = 20


def pytest_addoption(parser):
    parser.addoption("--game-dir", required=True, help="the game's staged folder (program, sprites, sounds, font)")
    parser.addoption("--sfml", type=int, default=2, help="the major SFML version the game was built with")
    parser.addoption("--program", default="coilwander", help="the game's file name in its folder")
    parser.addoption("--launcher", action="append", default=[],
                     help="a word of the command that runs the game, such as Wine for a Windows build; repeat it")
    parser.addoption("--soak-seconds", type=float, default=60, help="how long the soak plays")


def pytest_configure(config):
    config.addinivalue_line("markers", "soak: the long run of random input")


class Game:
    """One run of the game in its own folder."""

    def __init__(self, folder, sfml, command):
        self.folder, self.sfml, self.command = folder, sfml, command
        self.process = self.window = self.x = None

    def start(self, environment=None, window=True, arguments=()):
        """Starts the game with the arguments; with window, waits for its window and focuses it."""
        env = dict(os.environ, ALSOFT_DRIVERS="wave", ALSOFT_CONF=self.path("alsoft.conf"))
        with open(self.path("alsoft.conf"), "w") as conf:
            conf.write("[wave]\nfile = %s\n" % self.path(RECORDING))
        if self.sfml >= 3:  # miniaudio (and Wine) find ALSA's listed default device, which plays into nothing
            with open(self.path("alsa.conf"), "w") as conf:
                conf.write('pcm.!default { type null hint { show on description "silence" } }\n'
                           'ctl.!default { type hw card 0 }\n')
            env["ALSA_CONFIG_PATH"] = self.path("alsa.conf")
        env.update(environment or {})
        env = {name: value for name, value in env.items() if value is not None}
        program = self.program(arguments)
        with open(self.path(ERRORS), "w") as errors, open(self.path(OUTPUT), "w") as output:
            self.process = subprocess.Popen(program, cwd=self.folder, env=env, stdout=output, stderr=errors)
        if window:
            found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "Coilwander"],
                                   capture_output=True, text=True, timeout=TIMEOUT).stdout.split()
            assert found, "no window appeared"
            self.window = int(found[0])
            self.xdotool("windowfocus", "--sync", self.window)
            self.x = display.Display()
        return self

    def program(self, arguments=()):
        """Returns the command that runs the game in its folder with the arguments."""
        return self.command[:-1] + [self.path(self.command[-1])] + list(arguments)

    def path(self, name):
        return os.path.join(self.folder, name)

    def log(self):
        """Returns the log's lines without their prefix; frame overruns, which follow the machine's load, left out."""
        try:
            with open(self.path("lumbra.log")) as log:
                lines = [line[len("Message: "):] for line in log.read().splitlines()]
        except OSError:
            return []
        return [line for line in lines if not line.startswith("Frame time over target")]

    def errors(self):
        """Returns what the game wrote to stderr."""
        with open(self.path(ERRORS), errors="replace") as errors:
            return errors.read()

    def warnings(self):
        """Returns the engine's warnings of a game developer's mistakes, which it writes on stderr."""
        return [line for line in self.errors().splitlines() if line.startswith("lu: ")]

    def wait_for_log(self, start, count=1):
        """Waits for the count-th log line that begins with start and returns it."""
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            found = [line for line in self.log() if line.startswith(start)]
            if len(found) >= count:
                return found[count - 1]
            assert self.process.poll() is None, "the game ended (%s) before logging %r" % (self.process.poll(), start)
            time.sleep(0.01)
        pytest.fail("the log never showed %r: %s" % (start, self.log()))

    def wait_for_screen(self, shows):
        """Reads the window back until shows(image) holds and returns that image."""
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            image = self.screen()
            if shows(image):
                return image
            time.sleep(0.01)
        pytest.fail("the window never showed what was expected")

    def xdotool(self, *arguments):
        subprocess.run(["xdotool"] + [str(argument) for argument in arguments], check=True, timeout=TIMEOUT)

    def press(self, *keys):
        self.xdotool("key", "--delay", 30, *keys)

    def screen(self):
        """Reads the window back."""
        window = self.x.create_resource_object("window", self.window)
        raw = window.get_image(0, 0, WINDOW_SIZE[0], WINDOW_SIZE[1], X.ZPixmap, 0xFFFFFFFF).data
        return Image.frombytes("RGB", WINDOW_SIZE, raw, "raw", "BGRX")

    def request_close(self):
        """Asks the window to close, as a window manager does when its close button is clicked."""
        window = self.x.create_resource_object("window", self.window)
        atom = self.x.intern_atom
        message = protocol.event.ClientMessage(window=window, client_type=atom("WM_PROTOCOLS"),
                                               data=(32, [atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
        window.send_event(message)
        self.x.flush()

    @contextlib.contextmanager
    def stopped(self):
        """Stops the game for a block: its window keeps its last frame, and keys pressed meanwhile reach the
        game's next frame."""
        self.process.send_signal(signal.SIGSTOP)
        try:
            yield
        finally:
            self.process.send_signal(signal.SIGCONT)

    def output(self):
        """Returns what the game wrote to stdout."""
        with open(self.path(OUTPUT)) as output:
            return output.read()

    def wait(self, timeout=TIMEOUT):
        """Waits for the game to end by itself and returns its exit status."""
        return self.process.wait(timeout=timeout)

    def quit(self):
        self.press("q")
        return self.wait()

    def records_sound(self):
        return self.sfml < 3

    def recorded_bytes(self):
        return os.path.getsize(self.path(RECORDING))

    def sound(self, start=0, end=None):
        """Returns the peak amplitude (0 to 1) and the length in seconds of the recording from start to end."""
        trim = ["trim", str(start)] + ([] if end is None else ["=" + str(end)])
        stat = subprocess.run(["sox", "-V1", self.path(RECORDING), "-n"] + trim + ["stat"],
                              capture_output=True, text=True).stderr
        value = {name: abs(float(number)) for name, number in re.findall(r"^([^:]+):\s+(-?[\d.]+)$", stat, re.M)}
        return max(value["Maximum amplitude"], value["Minimum amplitude"]), value["Length (seconds)"]

    def recorded_header_seconds(self):
        """Returns the length the recording's header gives, which the audio device writes when it closes."""
        return float(subprocess.run(["soxi", "-D", self.path(RECORDING)], capture_output=True, text=True).stdout)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if self.x:
            self.x.close()


def colours(image, column, row):
    """Returns the names of the display colours that a cell of a screen image shows."""
    top = row * CELL_HEIGHT + GLYPH_DROP
    box = (column * CELL_WIDTH + GLYPH_OVERHANG, top, (column + 1) * CELL_WIDTH, top + CELL_HEIGHT)
    return {PALETTE[c] for _, c in image.crop(box).getcolors(CELL_WIDTH * CELL_HEIGHT) if c in PALETTE} - {"black"}


@pytest.fixture
def run_game(request, tmp_path):
    """Starts games, each in a fresh copy of the staged folder changed by spoil(folder) first."""
    source = request.config.getoption("--game-dir")
    games = []

    def start(spoil=None, **options):
        folder = tmp_path / ("game%d" % len(games))
        # Only what the game runs with: no build files, and no log of an earlier game played there.
        shutil.copytree(source, folder, ignore=shutil.ignore_patterns("CMake*", "*.a", "*.cmake", "Makefile", "*.log"))
        if spoil:
            spoil(str(folder))
        command = request.config.getoption("--launcher") + [request.config.getoption("--program")]
        games.append(Game(str(folder), request.config.getoption("--sfml"), command))
        return games[-1].start(**options)

    yield start
    for game in games:
        game.stop()
