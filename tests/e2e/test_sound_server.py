#!/usr/bin/env python3
"""The game against a sound server of the test's own. The deal sound reaches the sink whole and
no stream of the game's stays while the board sits idle; then sound plays on through the server
restarted while the board is silent, gone when a sound is due and back, and killed during the
next game's deal sound. Usage: GAME MOVES_TOOL OUT [pipewire]: PulseAudio through SDL's
pulseaudio driver, or PipeWire through its pipewire driver, which does not notice a server that
has gone, and then heard through SDL's pulseaudio driver too."""
import os
import signal
import subprocess
import sys
import time
from contextlib import closing

sys.dont_write_bytecode = True  # no __pycache__ in the source tree

from desktop import Desktop, Game
from player import Player, Rules
from soundservers import SoundServer

DEAL_SECONDS = 93_541 / 22_050


def play(program, rules, desktop, server, driver):
    recording = os.path.join(desktop.out, driver + ".raw")
    recorder = subprocess.Popen(["parec", "-d", "tessaform.monitor", "--raw", "--rate=22050",
                                 "--format=s16le", "--channels=1"], env=server.env,
                                stdout=open(recording, "wb"))
    try:
        game = Game(desktop, program, driver)
        player = Player(game, rules)
        player.layout()
        player.deal(1)
        game.wait_for(r"driver %s$" % driver)
        game.wait_for(r"start 154 sync$")
        assert server.streams() == 1, "the deal plays in a stream of ours"
        game.wait_for(r"end 154$")
        game.wait_for(r"stream closed$")
        time.sleep(3)
        assert server.streams() == 0, "a silent game keeps a stream"
        assert game.seen(r"no device|cut ") is None, game.tail()
    finally:
        recorder.terminate()
        recorder.wait()
    samples = memoryview(open(recording, "rb").read()).cast("h")
    loud = [i for i, v in enumerate(samples) if abs(v) > 400] or [0]
    # The riffles sound from 0.62 s to 3.84 s of the 4.24 s sound. (PipeWire's sink stops
    # sending silence to the recorder once nothing plays.)
    seconds = (loud[-1] - loud[0]) / 22050
    assert 3.0 < seconds < 3.4, f"sound for {seconds:.2f} s, not the deal's 3.2 s"
    print(f"{server.name} through SDL's {driver} driver: the deal sounded {seconds:.2f} s")
    if driver == server.name:
        through_the_servers_life(game, player, server)
        print(f"{server.name}: sound came back after a restart, an absence and a kill")
    game.close()


def through_the_servers_life(game, player, server):
    server.stop()
    server.start()
    a_sound_plays_on(game, player, server)

    server.stop()
    player.press(player.open()[0], None)
    game.wait_for(r"no device$")
    game.dismiss_warning()
    player.press(player.open()[0], None)  # would wait behind a second warning
    game.wait_for(r"no device$")
    server.start()
    a_sound_plays_on(game, player, server)
    warnings = [line for line in game.lines if line.endswith("sound: warning")]
    assert len(warnings) == 1 and not game.boxes(), "%d warnings" % len(warnings)

    while player.open():  # the last loss ends the game; the next is dealt after its sounds
        player.press(player.open()[0], None)
    when = lambda match: float(match.string.split()[0])  # the game's clock at the line
    begun = when(game.wait_for(r"start 154 sync$"))
    assert server.streams() == 1, "the deal plays in a stream of ours"
    server.stop(signal.SIGKILL)
    held = when(game.wait_for(r"end 154$")) - begun
    assert held >= DEAL_SECONDS - 0.05, "the board came %.2f s into the deal sound" % held
    player.deal(2)
    game.wait_screen("the board after the deal", player.board_shown)
    # Presses go on: a move that neither matches nor makes two blocks equal, so no sound.
    player.press(player.open()[0], player.quiet(player.open()[0]))
    server.start()
    a_sound_plays_on(game, player, server)


def a_sound_plays_on(game, player, server):
    player.press(player.open()[0], None)  # a press off the arrows: the loss sound 159
    game.wait_for(r"start 159 async$")
    assert server.streams() == 1, "the sound plays in no stream of ours"  # for 1.8 s at least
    game.wait_for(r"stream closed$")
    assert server.streams() == 0, "a silent game keeps a stream"


def main(program, tool, out, kind="pulseaudio"):
    drivers = ["pipewire", "pulseaudio"] if kind == "pipewire" else ["pulseaudio"]
    with SoundServer(kind, out) as server, closing(Desktop("1280x1024", out)) as desktop:
        desktop.env.update(server.client_env,
                           QT_MESSAGE_PATTERN="%{time process} %{category}: %{message}")
        for driver in drivers:
            play(program, Rules(tool), desktop, server, driver)
    print("%d passed, 0 failed" % len(drivers))


if __name__ == "__main__":
    main(*sys.argv[1:5])
