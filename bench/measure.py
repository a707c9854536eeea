#!/usr/bin/python3
"""Whole-program figures of the real game under Xvfb with openbox.

Prints: start to the opening figure on screen; the deal sound's end to the board
on screen; CPU used while a game runs untouched; peak resident memory over a
whole set (played by losing every block at once, which ends a game quickly);
the size of the executable.

Usage: bench/measure.py BUILD_DIR [RUNS]
"""
import os
import re
import struct
import subprocess
import sys
import time

from Xlib import X
from Xlib import display as Xdisplay

DEAL_SOUND_SECONDS = 93_541 / 22_050
# xwd on a 24-bit visual gives blue, green, red and a pad byte whose value varies.
RED_FRAME = re.compile(rb"(?:\x00\x00\xff.){160}", re.DOTALL)


def grab(display):
    """The root window's pixels as xwd gives them, and the image width."""
    raw = subprocess.run(["xwd", "-root", "-silent", "-display", display],
                         capture_output=True, check=True).stdout
    header_size = struct.unpack(">I", raw[0:4])[0]
    width = struct.unpack(">I", raw[16:20])[0]
    colours = struct.unpack(">I", raw[76:80])[0]
    return raw[header_size + 12 * colours:], width


def rows(screen, ys):
    """Whole rows of the root window, read in a millisecond or two."""
    root = screen.root
    width = screen.width_in_pixels
    return [root.get_image(0, y, width, 1, X.ZPixmap, 0xFFFFFFFF).data for y in ys]


def pixels_of(row):
    return [row[i:i + 3] for i in range(0, len(row), 4)]


def wait_until(test, limit):
    end = time.monotonic() + limit
    while time.monotonic() < end:
        if test():
            return time.monotonic()
        time.sleep(0.002)
    raise RuntimeError("not on screen in time")


def figure_shown(screen):
    """The figure's lines cross the middle of the screen in colours the board never
    shows there before the deal: anything but black (no window yet) and grey."""
    middle = rows(screen, [screen.height_in_pixels // 2])[0]
    return any(p not in (b"\x00\x00\x00", b"\x80\x80\x80") for p in pixels_of(middle))


def board_shown(screen):
    """A whole row of a yellow square, in the top or bottom cells of the middle row of
    blocks: every block has its square in one of them, and the figure's lines never
    run 48 pixels along a row."""
    middle = screen.height_in_pixels // 2
    for row in rows(screen, [middle - 40, middle + 40]):
        if re.search(rb"(?:\x00\xff\xff.){48}", row, re.DOTALL):
            return True
    return False


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
    for match in RED_FRAME.finditer(pixels):
        if match.start() % 4 == 0:
            return (match.start() % row_bytes) // 4, match.start() // row_bytes
    return -1, -1


class Session:
    def __init__(self, build, size, number):
        self.display = f":{number}"
        env = dict(os.environ, DISPLAY=self.display)
        self.xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", f"{size}x24",
                                      "-nolisten", "tcp"], stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        self.wm = subprocess.Popen(["openbox"], env=env, stderr=subprocess.DEVNULL)
        time.sleep(0.5)
        game_env = dict(env, SDL_AUDIODRIVER=os.environ.get("SDL_AUDIODRIVER_OVERRIDE", "disk"),
                        SDL_DISKAUDIOFILE="/dev/null")
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
        screen = Xdisplay.Display(session.display).screen()
        figure_at = wait_until(lambda: figure_shown(screen), 10)
        board_at = wait_until(lambda: board_shown(screen), 15)
        figure = figure_at - session.started
        # The deal sound starts as the figure is shown and plays its full length.
        board = board_at - figure_at - DEAL_SOUND_SECONDS

        before = cpu_seconds(session.game.pid)
        # Clock ticks of a hundredth of a second: thirty seconds resolve 0.03 %.
        time.sleep(30)
        idle = (cpu_seconds(session.game.pid) - before) / 30

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
    results = [measure(build, 150 + run) for run in range(runs)]
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
