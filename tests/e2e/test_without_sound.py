"""A machine without a sound device: the game plays in silence, and says so once in its log."""
# OpenAL Soft and miniaudio look for a device through ALSA, which knows only a card that is not there,
# and through a sound server that is not there either.
NO_CARD = 'pcm.!default { type hw card 99 }\npcm.nocard { type hw card 99 hint { show on description "no card" } }\n'


def test_without_a_sound_device_the_game_plays_says_so_once_and_writes_little_to_stderr(run_game, tmp_path):
    (tmp_path / "no-card.conf").write_text(NO_CARD)
    game = run_game(environment={"ALSOFT_DRIVERS": "alsa", "ALSA_CONFIG_PATH": str(tmp_path / "no-card.conf"),
                                 "PULSE_SERVER": "unix:/nonexistent"})
    game.wait_for_log("Running")
    game.press("p")
    # The snake runs on until it eats the apple or dies: either plays a sound, and either deletes the apple.
    game.wait_for_log("Destroying Apple")
    assert game.quit() == 0
    assert [line for line in game.log() if "ound" in line] == ["Sound is off: no audio device could be opened"]
    assert len(game.errors()) < 10000
