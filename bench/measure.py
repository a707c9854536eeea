#!/usr/bin/python3
"""Whole-program figures of the real game, measured on the tests' own desktop and sound server.

The game on its own, 1920 x 1080, SDL's disk driver: start to the opening figure on
screen; the deal sound's end to the board on screen; peak resident memory over a whole
set (played by losing every block at once, which ends a game quickly); the size of the
executable.

Left alone beside its peers, 1280 x 1024, with a PulseAudio server (null sink) that every
program plays to: each program's CPU, its wake-ups and the server's CPU over 20 s of a
game running untouched, and peak memory; for the game also the delay from a sound's
request to its first samples reaching the server. The peers are gnome-tetravex (its
clock running), gnome-mines and Simon Tatham's mines (package sgt-puzzles); one not
installed is left out.

CPU is read from /proc/PID/task/*/schedstat, in nanoseconds, and wake-ups are the voluntary
context switches in /proc/PID/task/*/status, each summed over the threads. A thread that
ends during the 20 s is left out: none of the game's does.

Usage: bench/measure.py BUILD_DIR [RUNS] [--peers-only]
"""
import glob
import os
import re
import struct
import subprocess
import sys
import tempfile
import threading
import time
import wave
from statistics import median

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from desktop import RED, Desktop, Game, wait_until  # noqa: E402
from soundservers import SoundServer  # noqa: E402
from Xlib import X  # noqa: E402
from Xlib import display as Xdisplay  # noqa: E402

DEAL_SOUND_SECONDS = 93_541 / 22_050
IDLE_SECONDS = 20
# A sample this far from silence (of full scale) counts as sound.
LOUD = 0.02
PEERS = [
    ("GNOME Tetravex (clock running)", ["/usr/games/gnome-tetravex"]),
    ("GNOME Mines", ["/usr/games/gnome-mines", "--small"]),
    ("Mines from Simon Tatham's collection", ["/usr/games/sgt-mines"]),
]


def rows(screen, ys):
    """Whole rows of the root window as blue, green, red and a pad byte, read in a millisecond
    or two: fast enough to time what appears."""
    width = screen.width_in_pixels
    return [screen.root.get_image(0, y, width, 1, X.ZPixmap, 0xFFFFFFFF).data for y in ys]


def when_shown(test):
    while not test():
        time.sleep(0.002)
    return time.monotonic()


def figure_shown(screen):
    """The figure's lines cross the middle of the screen in colours the board never
    shows there before the deal: anything but black (no window yet) and grey."""
    middle = rows(screen, [screen.height_in_pixels // 2])[0]
    return any(middle[i:i + 3] not in (b"\x00\x00\x00", b"\x80\x80\x80")
               for i in range(0, len(middle), 4))


def board_shown(screen):
    """A whole row of a yellow square, in the top or bottom cells of the middle row of
    blocks: every block has its square in one of them, and the figure's lines never
    run 48 pixels along a row."""
    middle = screen.height_in_pixels // 2
    return any(re.search(rb"(?:\x00\xff\xff.){48}", row, re.DOTALL)
               for row in rows(screen, [middle - 40, middle + 40]))


def board_origin(game):
    """Top-left of the master block: the first run of 160 red frame pixels."""
    shot = game.shot()
    for match in re.finditer(b"(?:" + re.escape(RED) + b"){160}", shot.pixels):
        if match.start() % 3 == 0:
            return divmod(match.start() // 3, shot.width)[::-1]
    raise AssertionError("no master block on screen")


def press_off_arrows(game, left, top, block):
    column, row = divmod(block, 3)
    game.press(left + column * 180 + 30, top + row * 180 + 30)


def thread_figures(pid):
    """Time on a CPU and voluntary context switches of each of the process's threads."""
    figures = {}
    for task in glob.glob(f"/proc/{pid}/task/*"):
        try:
            with open(task + "/schedstat") as stat, open(task + "/status") as status:
                switches = re.search(r"voluntary_ctxt_switches:\s*(\d+)", status.read())
                figures[task] = (int(stat.read().split()[0]), int(switches[1]))
        except (OSError, ValueError, TypeError):
            pass  # a thread that ended meanwhile
    return figures


def used_between(before, after):
    return tuple(sum(now[i] - before.get(task, (0, 0))[i] for task, now in after.items())
                 for i in (0, 1))


def peak_memory_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        return int(re.search(r"VmHWM:\s*(\d+)", status.read())[1])


def left_alone(pid, server):
    """The program's CPU and the server's in % of one core, the program's wake-ups a second,
    and its peak memory."""
    own, theirs = thread_figures(pid), thread_figures(server.proc.pid)
    time.sleep(IDLE_SECONDS)
    own, wakeups = used_between(own, thread_figures(pid))
    theirs = used_between(theirs, thread_figures(server.proc.pid))[0]
    scale = 100 / (IDLE_SECONDS * 1e9)
    return {"own": own * scale, "server": theirs * scale, "wakeups": wakeups / IDLE_SECONDS,
            "rss": peak_memory_kib(pid)}


class Monitor(threading.Thread):
    """Records the sink's monitor and tells when a loud sample first came out of it. The
    time is that of the read that brought the sample, so the monitor's own latency (a few
    milliseconds) counts in: the delays found are at most a little long."""

    def __init__(self, server):
        super().__init__(daemon=True)
        self.recorder = subprocess.Popen(
            ["parec", "-d", "tessaform.monitor", "--raw", "--format=s16le", "--channels=1",
             "--latency-msec=5"], env=server.env, stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL)
        self.reads = []  # (time, samples), as they came
        self.start()
        wait_until("the monitor's first samples", lambda: self.reads)

    def run(self):
        while chunk := os.read(self.recorder.stdout.fileno(), 4096):
            self.reads.append((time.monotonic(), chunk))

    def first_sound_after(self, moment):
        """When the first read after `moment` with a loud sample in it came, if within 3 s."""
        def heard():
            return next((at for at, chunk in list(self.reads) if at > moment and any(
                abs(v) > LOUD * 32768 for (v,) in struct.iter_unpack("<h", chunk[:len(chunk) // 2 * 2]))), None)
        try:
            return wait_until("a sound", heard, timeout=3)
        except AssertionError:
            return None

    def close(self):
        self.recorder.terminate()
        self.recorder.wait()


def onset_seconds(path):
    """How long a wave file stays silent before its first loud sample."""
    with wave.open(path) as w:
        width, channels, rate = w.getsampwidth(), w.getnchannels(), w.getframerate()
        frames = w.readframes(w.getnframes())
    values = ([(b - 128) / 128 for b in frames] if width == 1 else
              [v / 32768 for (v,) in struct.iter_unpack("<h", frames)])
    return next(i for i, v in enumerate(values) if abs(v) > LOUD) // channels / rate


def the_game_alone(program, out):
    """Start to the figure, deal sound's end to the board, peak memory over a whole set."""
    desktop = Desktop("1920x1080", out)
    try:
        desktop.env["SDL_DISKAUDIOFILE"] = "/dev/null"
        started = time.monotonic()
        game = Game(desktop, program, "disk")
        screen = Xdisplay.Display(desktop.env["DISPLAY"]).screen()
        figure = when_shown(lambda: figure_shown(screen))
        board = when_shown(lambda: board_shown(screen))
        left, top = board_origin(game)
        for number in range(1, 6):
            game.wait_for(f"deal game {number}")
            for block in range(1, 12):
                press_off_arrows(game, left, top, block)
            game.wait_for(f"game {number} over")
        game.wait_for("recap:")
        memory = peak_memory_kib(game.proc.pid)
        game.close()
        return figure - started, board - figure - DEAL_SOUND_SECONDS, memory
    finally:
        desktop.close()


def the_game_left_alone(build, desktop, server):
    game = Game(desktop, os.path.join(build, "desktop", "tessaform"), "pulseaudio")
    game.wait_for("end 154")
    game.wait_for("stream closed")
    time.sleep(1)
    figures = left_alone(game.proc.pid, server)
    # A press off the arrows loses the block with sound 159, on a closed stream.
    left, top = board_origin(game)
    onset = onset_seconds(os.path.join(build, "assets-raw", "sound_159.wav"))
    monitor = Monitor(server)  # recording keeps the server busy: only after the idle figures
    figures["delays"] = []
    for block in (1, 2, 4, 5):
        press_off_arrows(game, left, top, block)
        game.wait_for(f"lose blocks {block} {block}")
        heard = monitor.first_sound_after(game.times[game.cursor - 1])
        if heard is not None:
            figures["delays"].append(heard - onset - game.times[game.cursor - 1])
        game.wait_for("stream closed")
    monitor.close()
    game.close()
    return figures


def side_by_side(build, out):
    with SoundServer("pulseaudio", out) as server:
        desktop = Desktop("1280x1024", out)
        try:
            desktop.env.update(server.client_env, GSETTINGS_BACKEND="memory", NO_AT_BRIDGE="1")
            results = {"Tessaform": the_game_left_alone(build, desktop, server)}
            for name, command in PEERS:
                if os.path.exists(command[0]):
                    peer = desktop.spawn(command, subprocess.DEVNULL)
                    wait_until(name, lambda: desktop.run(
                        "xdotool", "search", "--onlyvisible", "--pid", str(peer.pid)).stdout)
                    time.sleep(5)
                    results[name] = left_alone(peer.pid, server)
                    peer.terminate()
                    peer.wait()
            return results
        finally:
            desktop.close()


def print_side_by_side(runs):
    print(f"left alone for {IDLE_SECONDS} s at 1280 x 1024, medians of {len(runs)} runs"
          " (% of one core):")
    print("| program | its own CPU | wake-ups a second | the sound server's CPU | together |"
          " peak RSS |")
    print("|---|---|---|---|---|---|")
    for name in runs[0]:
        of = lambda key: median(r[name][key] for r in runs)  # noqa: E731
        both = median(r[name]["own"] + r[name]["server"] for r in runs)
        print(f"| {name} | {of('own'):.3f} % | {of('wakeups'):.1f} | {of('server'):.3f} % |"
              f" {both:.3f} % | {of('rss') / 1024:.0f} MB |")
        print(f"|   runs | {[round(r[name]['own'], 3) for r in runs]} |"
              f" {[round(r[name]['wakeups'], 1) for r in runs]} |"
              f" {[round(r[name]['server'], 3) for r in runs]} | | |")
    delays = [d * 1000 for r in runs for d in r["Tessaform"]["delays"]]
    if delays:
        print(f"sound request to its first samples at the server: median {median(delays):.0f} ms"
              f" of {len(delays)} (budget 30 ms; all {sorted(round(d) for d in delays)})")


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    build = args[0] if args else "build"
    runs = int(args[1]) if len(args) > 1 else 3
    out = tempfile.mkdtemp(prefix="tessaform-measure-")
    print_side_by_side([side_by_side(build, out) for _ in range(runs)])
    if "--peers-only" in sys.argv:
        return
    program = os.path.join(build, "desktop", "tessaform")
    results = [the_game_alone(program, out) for _ in range(runs)]
    for i, (what, budget) in enumerate([("start to opening figure", 300),
                                        ("deal sound end to board", 100)]):
        times = [r[i] * 1000 for r in results]
        print(f"{what + ':':27}{median(times):7.0f} ms   (budget {budget} ms;"
              f" runs {[round(t) for t in times]})")
    print(f"peak resident memory:      {median(r[2] for r in results) / 1024:7.1f} MB"
          f"   (budget 120 MB)")
    stripped = subprocess.run(["sh", "-c", f"strip -o {out}/stripped {program} && stat -c %s"
                               f" {out}/stripped"], capture_output=True, text=True, check=True)
    print(f"executable size:           {os.path.getsize(program) / 1024:7.0f} KiB"
          f"  ({int(stripped.stdout) / 1024:.0f} KiB stripped, as installed)")


if __name__ == "__main__":
    main()
