"""Each of the game's files spoilt in turn: the game says which sound it could not load, plays a level
and quits with status 0. The keys come from a recording: P, three frames of the level, and Q."""
import os
import random

import pytest

SPRITES = ["fruit-spr", "snake-head", "snake-body-1", "snake-body-2", "title", "start-text"]
FILES = [("sprites/%s.txt" % name, None) for name in SPRITES] + [
    ("sounds/eat.wav", "sound"), ("sounds/hit.wav", "sound"), ("sounds/gamemusic.wav", "music")]
DAMAGE = {
    "Empty": lambda file, data: b"",
    "CutShort": lambda file, data: data[:len(data) // 2],
    "Garbage": lambda file, data: random.Random(file).randbytes(len(data)),
}
LEVEL_AND_QUIT = "lu-recording 1\n1 key 46 pressed\n3 key 47 pressed\n3 end\n"


@pytest.mark.parametrize("damage", DAMAGE)
@pytest.mark.parametrize("file, kind", FILES, ids=[file for file, _ in FILES])
def test_a_spoilt_file_is_reported_as_designed_and_the_game_plays_and_quits_with_status_zero(
        run_game, file, kind, damage):
    def spoil(folder):
        with open(os.path.join(folder, "level.rec"), "w") as recording:
            recording.write(LEVEL_AND_QUIT)
        with open(os.path.join(folder, file), "rb") as original:
            data = original.read()
        with open(os.path.join(folder, file), "wb") as spoilt:
            spoilt.write(DAMAGE[damage](file, data))

    game = run_game(spoil, arguments=["--replay", "level.rec"], window=False)
    assert game.wait() == 0
    # A sprite that fails to load is left out silently. Music is only opened, from its header: a stream
    # cut short plays what there is, looping over it.
    silent = kind is None or (kind == "music" and damage == "CutShort")
    log = game.log()
    assert any(line.startswith("Placing apple at") for line in log)
    assert [line for line in log if line.startswith("Unable to load")] == (
        [] if silent else ["Unable to load %s from %s" % (kind, file)])
    assert log[-3:] == ["GameOver", "Display shutting down", "Destroying Apple"]
