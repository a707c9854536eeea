#!/usr/bin/env python3
"""The game against a PulseAudio server of its own: the deal sound reaches the sink whole,
and no stream of the game's stays on the server while the board sits idle. Usage: GAME OUT"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from desktop import Desktop, Game, wait_until


def main(program, out):
    runtime = tempfile.mkdtemp(prefix="tessaform-pulse-")
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime, HOME=runtime)
    run = lambda *command: subprocess.run(command, env=env, capture_output=True, text=True).stdout
    started = [subprocess.Popen(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                 "-L", "module-null-sink", "-L", "module-native-protocol-unix"],
                                env=env, stderr=subprocess.DEVNULL)]
    desktop = None
    try:
        wait_until("sound server", lambda: "null" in run("pactl", "info"))
        recording = os.path.join(out, "sink.raw")
        os.makedirs(out, exist_ok=True)
        started.append(subprocess.Popen(["parec", "-d", "null.monitor", "--raw", "--rate=22050",
                                         "--format=s16le", "--channels=1"], env=env,
                                        stdout=open(recording, "wb")))
        desktop = Desktop("1280x1024", out)
        desktop.env.update(XDG_RUNTIME_DIR=runtime, HOME=runtime)
        game = Game(desktop, program, "pulseaudio")
        ours = f'application.process.id = "{game.proc.pid}"'
        game.wait_for(r"start 154 sync")
        assert ours in run("pactl", "list", "sink-inputs"), "the deal plays in a stream of ours"
        game.wait_for(r"end 154")
        game.wait_for(r"stream closed")
        time.sleep(3)
        assert ours not in run("pactl", "list", "sink-inputs"), "a silent game keeps a stream"
        assert game.seen(r"no device|cut ") is None, game.tail()
        game.close()
        started[1].terminate()
        started[1].wait()
        samples = memoryview(open(recording, "rb").read()).cast("h")
        loud = [i for i, v in enumerate(samples) if abs(v) > 400] or [0]
        # The riffles sound from 0.62 s to 3.84 s of the 4.24 s sound; silence follows.
        seconds = (loud[-1] - loud[0]) / 22050
        assert 3.0 < seconds < 3.4, f"sound for {seconds:.2f} s, not the deal's 3.2 s"
        assert len(samples) - loud[-1] > 3 * 22050, "no silence after the deal sound"
        print("1 passed, 0 failed")
    finally:
        if desktop:
            desktop.close()
        for process in reversed(started):
            process.terminate()
            process.wait()
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    main(*sys.argv[1:3])
