#!/usr/bin/env python3
"""Whole-program figures of the real game under Xvfb with openbox.

Prints: start to the opening figure on screen; the deal sound's end to the board
on screen; CPU used while a game runs untouched; peak resident memory over a
whole set (played by losing every block at once, which ends a game quickly);
the size of the executable.

Usage: bench/measure.py BUILD_DIR [RUNS]
"""
import os
import struct
import subprocess
import sys
import time

DEAL_SOUND_SECONDS = 93_541 / 22_050
MAGENTA = b"\xff\x00\xff\x00"  # xwd on a 24-bit visual: blue, green, red, pad
RED = b"\x00\x00\xff\x00"


def grab(display):
    """The root window's pixels as xwd gives them, and the image width."""
    raw = subprocess.run(["xwd", "-root", "-silent", "-display", display],
                         capture_output=True, check=True).stdout
    header_size = struct.unpack(">I", raw[0:4])[0]
    width = struct.unpack(">I", raw[16:20])[0]
    colours = struct.unpack(">I", raw[76:80])[0]
    return raw[header_size + 12 * colours:], width


def count(pixels, colour):
    # Unaligned matches would need two unlikely neighbours; good enough for a threshold.
    return pixels.count(colour)


def wait_for(display, colour, least, limit):
    end = time.monotonic() + limit
    while time.monotonic() < end:
        pixels, _ = grab(display)
        if count(pixels, colour) >= least:
            return time.monotonic()
    raise RuntimeError("nothing on screen in time")


def wait_for_board(display, limit):
    """The board is on screen once the master's red frame is: it is drawn last."""
    end = time.monotonic() + limit
    while time.monotonic() < end:
        if board_origin(display)[1] >= 0:
            return time.monotonic()
    raise RuntimeError("no board on screen in time")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def peak_memory_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def board_origin(display):
    """Top-left of the master block: the first run of 160 red frame pixels."""
    pixels, width = grab(display)
    row_bytes = width * 4
    frame = RED * 160
    at = pixels.find(frame)
    while at >= 0 and at % 4:
        at = pixels.find(frame, at + 1)
    if at < 0:
        return -1, -1
    return (at % row_bytes) // 4, at // row_bytes


class Session:
    def __init__(self, build, size, number):
        self.display = f":{number}"
        env = dict(os.environ, DISPLAY=self.display)
        self.xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", f"{size}x24",
                                      "-nolisten", "tcp"], stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        self.wm = subprocess.Popen(["openbox"], env=env, stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        game_env = dict(env, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE="/dev/null")
        self.started = time.monotonic()
        self.game = subprocess.Popen([os.path.join(build, "app", "tessaform")], env=game_env,
                                     stderr=subprocess.DEVNULL)

    def click(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"],
                       env=dict(os.environ, DISPLAY=self.display), check=True)

    def close(self):
        for process in (self.game, self.wm, self.xvfb):
            process.terminate()
            process.wait()


def measure(build, number):
    session = Session(build, "1920x1080", number)
    try:
        figure = wait_for(session.display, MAGENTA, 200, 10) - session.started
        board_at = wait_for_board(session.display, 15)
        board = board_at - session.started - figure - DEAL_SOUND_SECONDS

        before = cpu_seconds(session.game.pid)
        time.sleep(10)
        idle = (cpu_seconds(session.game.pid) - before) / 10

        # Five games, each ended at once by a press off the arrows of every block.
        left, top = board_origin(session.display)
        for game in range(5):
            for block in range(1, 12):
                column, row = divmod(block, 3)
                session.click(left + column * 180 + 30, top + row * 180 + 30)
            time.sleep(1.5 + 0.4 + DEAL_SOUND_SECONDS + 0.5)
        memory = peak_memory_kib(session.game.pid)
        return figure, board, idle, memory
    finally:
        session.close()


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    results = [measure(build, 60 + run) for run in range(runs)]
    median = lambda values: sorted(values)[len(values) // 2]
    print(f"start to opening figure:   {median([r[0] for r in results]) * 1000:7.0f} ms"
          f"   (budget 300 ms; runs {[round(r[0] * 1000) for r in results]})")
    print(f"deal sound end to board:   {median([r[1] for r in results]) * 1000:7.0f} ms"
          f"   (budget 100 ms; runs {[round(r[1] * 1000) for r in results]})")
    print(f"CPU while a game runs:     {median([r[2] for r in results]) * 100:7.2f} %"
          f"    (budget 1 % of one core)")
    print(f"peak resident memory:      {median([r[3] for r in results]) / 1024:7.1f} MB"
          f"   (budget 120 MB)")
    executable = os.path.join(build, "app", "tessaform")
    stripped = subprocess.run(["sh", "-c", f"strip -o /tmp/tessaform.stripped {executable}"
                               " && stat -c %s /tmp/tessaform.stripped"],
                              capture_output=True, text=True, check=True).stdout.strip()
    print(f"executable size:           {os.path.getsize(executable) / 1024:7.0f} KiB"
          f"  ({int(stripped) / 1024:.0f} KiB stripped, as installed)")


if __name__ == "__main__":
    main()
