#!/usr/bin/env python3
"""The game against a PulseAudio server of its own: the deal sound reaches the sink whole,
and no stream of the game's stays on the server while the board sits idle. Usage: GAME"""
import os
import shutil
import subprocess
import sys
import tempfile
import time


def wait_for(test, what, limit=90):
    end = time.monotonic() + limit
    while not test():
        assert time.monotonic() < end, f"no {what} within {limit} s"
        time.sleep(0.1)


def main(game):
    runtime = tempfile.mkdtemp(prefix="tessaform-pulse-")
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime, HOME=runtime)
    run = lambda *command: subprocess.run(command, env=env, capture_output=True, text=True).stdout
    start = lambda *command, **how: started.append(subprocess.Popen(
        command, env=env, **{"stderr": subprocess.DEVNULL, **how})) or started[-1]
    started = []
    try:
        start("pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
              "-L", "module-null-sink", "-L", "module-native-protocol-unix")
        wait_for(lambda: "null" in run("pactl", "info"), "sound server")
        recording = os.path.join(runtime, "sink.raw")
        recorder = start("parec", "-d", "null.monitor", "--raw", "--rate=22050",
                         "--format=s16le", "--channels=1", stdout=open(recording, "wb"))
        # Xvfb picks a free display and tells its number.
        read, write = os.pipe()
        start("Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten",
              "tcp", pass_fds=[write])
        env["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
        start("openbox")
        wait_for(lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                 "window manager")
        log = os.path.join(runtime, "game.log")
        env.update(SDL_AUDIODRIVER="pulseaudio", QT_LOGGING_RULES="tessaform.*=true")
        ours = f'application.process.id = "{start(game, stderr=open(log, "w")).pid}"'
        said = lambda text: text in open(log).read()
        wait_for(lambda: said("start 154 sync"), "deal sound")
        assert ours in run("pactl", "list", "sink-inputs"), "the deal plays in a stream of ours"
        wait_for(lambda: said("stream closed"), "closed stream")
        time.sleep(3)
        assert ours not in run("pactl", "list", "sink-inputs"), "a silent game keeps a stream"
        assert said("end 154") and not said("no device") and not said("cut")
        recorder.terminate()
        recorder.wait()
        samples = memoryview(open(recording, "rb").read()).cast("h")
        loud = [i for i, v in enumerate(samples) if abs(v) > 400] or [0]
        # The riffles sound from 0.62 s to 3.84 s of the 4.24 s sound; silence follows.
        seconds = (loud[-1] - loud[0]) / 22050
        assert 3.0 < seconds < 3.4, f"sound for {seconds:.2f} s, not the deal's 3.2 s"
        assert len(samples) - loud[-1] > 3 * 22050, "no silence after the deal sound"
        print("1 passed, 0 failed")
    finally:
        for process in reversed(started):
            process.terminate()
            process.wait()
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    main(sys.argv[1])
