#!/usr/bin/env python3
"""The game against a sound server of its own: the deal sound reaches the sink whole, and no
stream of the game's stays on the server while the board sits idle. Usage: GAME OUT [pipewire]:
PulseAudio, or PipeWire through SDL's pipewire and pulseaudio drivers in turn."""
import os
import subprocess
import sys
import time
from contextlib import closing

sys.dont_write_bytecode = True  # no __pycache__ in the source tree

from desktop import Desktop, Game
from soundservers import SoundServer


def deal_reaches_the_sink(program, desktop, server, driver):
    recording = os.path.join(desktop.out, driver + ".raw")
    recorder = subprocess.Popen(["parec", "-d", "tessaform.monitor", "--raw", "--rate=22050",
                                 "--format=s16le", "--channels=1"], env=server.env,
                                stdout=open(recording, "wb"))
    opened = server.opened()
    try:
        game = Game(desktop, program, driver)
        game.wait_for(r"driver %s$" % driver)
        game.wait_for(r"start 154 sync")
        assert server.streams() == 1, "the deal plays in a stream of ours"
        game.wait_for(r"end 154")
        game.wait_for(r"stream closed")
        time.sleep(3)
        assert server.streams() == 0, "a silent game keeps a stream"
        assert game.seen(r"no device|cut ") is None, game.tail()
        game.close()
    finally:
        recorder.terminate()
        recorder.wait()
    samples = memoryview(open(recording, "rb").read()).cast("h")
    loud = [i for i, v in enumerate(samples) if abs(v) > 400] or [0]
    # The riffles sound from 0.62 s to 3.84 s of the 4.24 s sound. (PipeWire's sink stops
    # sending silence to the recorder once nothing plays.)
    seconds = (loud[-1] - loud[0]) / 22050
    assert 3.0 < seconds < 3.4, f"sound for {seconds:.2f} s, not the deal's 3.2 s"
    print(f"{server.name} through SDL's {driver} driver: the deal sounded {seconds:.2f} s, "
          f"{server.opened() - opened} sink input opened, none left while idle")


def main(program, out, kind="pulseaudio"):
    drivers = ["pipewire", "pulseaudio"] if kind == "pipewire" else ["pulseaudio"]
    with SoundServer(kind, out) as server, closing(Desktop("1280x1024", out)) as desktop:
        desktop.env.update(server.client_env)
        for driver in drivers:
            deal_reaches_the_sink(program, desktop, server, driver)
    print("%d passed, 0 failed" % len(drivers))


if __name__ == "__main__":
    main(*sys.argv[1:4])
