#!/usr/bin/python3
"""Whole-program figures of the real game under Xvfb with openbox.

The game on its own, 1920 x 1080, SDL's disk driver: start to the opening figure on
screen; the deal sound's end to the board on screen; peak resident memory over a whole
set (played by losing every block at once, which ends a game quickly); the size of the
executable.

Left alone beside its peers, 1280 x 1024, with a PulseAudio server of the script's own
(null sink) that every program plays to: each program's CPU, its wake-ups and the server's
CPU over 20 s of a game running untouched, and peak memory; for the game also the delay
from a sound's request to its first samples reaching the server. The peers are
gnome-tetravex (its clock running), gnome-mines and Simon Tatham's mines (package
sgt-puzzles); one not installed is left out.

CPU is read from /proc/PID/task/*/schedstat, in nanoseconds, and wake-ups are the voluntary
context switches in /proc/PID/task/*/status, each summed over the threads. A thread that
ends during the 20 s is left out: none of the game's does.

Usage: bench/measure.py BUILD_DIR [RUNS] [--peers-only]
"""
import glob
import os
import re
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time
import wave

from Xlib import X
from Xlib import display as Xdisplay

DEAL_SOUND_SECONDS = 93_541 / 22_050
# xwd on a 24-bit visual gives blue, green, red and a pad byte whose value varies.
RED_FRAME = re.compile(rb"(?:\x00\x00\xff.){160}", re.DOTALL)
IDLE_SECONDS = 20
# A sample this far from silence (of full scale) counts as sound.
LOUD = 0.02


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


def cpu_ns(pid):
    """Time on a CPU and wake-ups (voluntary context switches) of each of the process's
    threads, by thread."""
    figures = {}
    for task in glob.glob(f"/proc/{pid}/task/*"):
        try:
            with open(task + "/schedstat") as stat, open(task + "/status") as status:
                switches = re.search(r"voluntary_ctxt_switches:\s*(\d+)", status.read())
                figures[task] = (int(stat.read().split()[0]), int(switches[1]))
        except (OSError, ValueError, TypeError):
            pass  # a thread that ended meanwhile
    return figures


def cpu_ns_between(before, after):
    """CPU and wake-ups of the threads in between; one that ended meanwhile is left out."""
    return tuple(sum(now[i] - before.get(thread, (0, 0))[i] for thread, now in after.items())
                 for i in (0, 1))


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


class Screen:
    """A private X screen with openbox managing it."""

    def __init__(self, size, number):
        self.display = f":{number}"
        self.env = dict(os.environ, DISPLAY=self.display)
        self.xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", f"{size}x24",
                                      "-nolisten", "tcp"], stderr=subprocess.DEVNULL)
        wait_for_command(["xdpyinfo"], self.env)
        self.wm = subprocess.Popen(["openbox"], env=self.env, stderr=subprocess.DEVNULL)
        # Openbox owns the screen's window manager selection once it manages it.
        wait_for_command(["sh", "-c", "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window"],
                         self.env)

    def click(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], env=self.env,
                       check=True)

    def close(self):
        for process in (self.wm, self.xvfb):
            process.terminate()
            process.wait()


def wait_for_command(command, env, limit=20):
    end = time.monotonic() + limit
    while subprocess.run(command, env=env, stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL).returncode != 0:
        if time.monotonic() > end:
            raise RuntimeError(f"{command[0]} never succeeded")
        time.sleep(0.1)


class Session(Screen):
    """The game on its own screen, playing into SDL's disk driver."""

    def __init__(self, build, size, number):
        super().__init__(size, number)
        game_env = dict(self.env, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE="/dev/null")
        self.started = time.monotonic()
        self.game = subprocess.Popen([os.path.join(build, "desktop", "tessaform")], env=game_env,
                                     stderr=subprocess.DEVNULL)

    def close(self):
        self.game.terminate()
        self.game.wait()
        super().close()


def measure(build, number):
    session = Session(build, "1920x1080", number)
    try:
        screen = Xdisplay.Display(session.display).screen()
        figure_at = wait_until(lambda: figure_shown(screen), 10)
        board_at = wait_until(lambda: board_shown(screen), 15)
        figure = figure_at - session.started
        # The deal sound starts as the figure is shown and plays its full length.
        board = board_at - figure_at - DEAL_SOUND_SECONDS

        # Five games, each ended at once by a press off the arrows of every block.
        left, top = board_origin(session.display)
        for game in range(5):
            for block in range(1, 12):
                column, row = divmod(block, 3)
                session.click(left + column * 180 + 30, top + row * 180 + 30)
            time.sleep(1.5 + 0.4 + DEAL_SOUND_SECONDS + 0.5)
        memory = peak_memory_kib(session.game.pid)
        return figure, board, memory
    finally:
        session.close()


# ---- beside the peers, with a real sound server ----


class SoundServer:
    """A PulseAudio server on a private runtime directory, with a null sink."""

    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="tessaform-pulse-")
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.dir, HOME=self.dir)
        self.process = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
             "-L", "module-null-sink", "-L", "module-native-protocol-unix"],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_command(["pactl", "info"], self.env)

    def close(self):
        self.process.terminate()
        self.process.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


class Monitor(threading.Thread):
    """Records the sink's monitor and tells when a loud sample first came out of it. The
    time is that of the read that brought the sample, so the monitor's own latency (a few
    milliseconds) counts in: the delays found are at most a little long."""

    def __init__(self, server):
        super().__init__(daemon=True)
        self.recorder = subprocess.Popen(
            ["parec", "-d", "null.monitor", "--raw", "--format=s16le", "--channels=1",
             "--latency-msec=5"],
            env=server.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.reads = []  # (time, samples), as they came
        self.start()
        end = time.monotonic() + 20
        while not self.reads and time.monotonic() < end:
            time.sleep(0.05)

    def run(self):
        while chunk := os.read(self.recorder.stdout.fileno(), 4096):
            self.reads.append((time.monotonic(), chunk))

    def first_sound_after(self, moment, limit=3.0):
        """When the first read after `moment` with a loud sample in it came."""
        end = time.monotonic() + limit
        while time.monotonic() < end:
            for at, chunk in list(self.reads):
                if at > moment and any(abs(v) > LOUD * 32768
                                       for (v,) in struct.iter_unpack("<h", chunk[:len(chunk) // 2 * 2])):
                    return at
            time.sleep(0.05)
        return None

    def close(self):
        self.recorder.terminate()
        self.recorder.wait()


def onset_seconds(path):
    """How long a wave file stays silent before its first loud sample."""
    with wave.open(path) as w:
        width, channels, rate = w.getsampwidth(), w.getnchannels(), w.getframerate()
        frames = w.readframes(w.getnframes())
    if width == 1:
        values = [(b - 128) / 128 for b in frames]
    else:
        values = [v / 32768 for (v,) in struct.iter_unpack("<h", frames)]
    first = next(i for i, v in enumerate(values) if abs(v) > LOUD)
    return first // channels / rate


class Log(threading.Thread):
    """The game's log lines as they come, each with its time of arrival."""

    def __init__(self, stream):
        super().__init__(daemon=True)
        self.stream = stream
        self.lines = []
        self.start()

    def run(self):
        for line in self.stream:
            self.lines.append((time.monotonic(), line.strip()))

    def wait_for(self, text, after=0, limit=30):
        end = time.monotonic() + limit
        while time.monotonic() < end:
            for at, line in self.lines[after:]:
                if line.endswith(text):
                    return at
            time.sleep(0.02)
        raise RuntimeError(f"the game never said {text!r}")


def idle_figures(program, server):
    """The program's CPU and the server's, in % of one core, and the program's wake-ups a
    second."""
    own, theirs = cpu_ns(program.pid), cpu_ns(server.process.pid)
    time.sleep(IDLE_SECONDS)
    own, wakeups = cpu_ns_between(own, cpu_ns(program.pid))
    theirs = cpu_ns_between(theirs, cpu_ns(server.process.pid))[0]
    scale = 100 / (IDLE_SECONDS * 1e9)
    return own * scale, theirs * scale, wakeups / IDLE_SECONDS


def measure_game(build, screen, server):
    env = dict(screen.env, XDG_RUNTIME_DIR=server.dir, HOME=server.dir,
               SDL_AUDIODRIVER="pulseaudio", QT_LOGGING_RULES="tessaform.*=true")
    game = subprocess.Popen([os.path.join(build, "desktop", "tessaform")], env=env,
                            stderr=subprocess.PIPE, text=True)
    log = Log(game.stderr)
    try:
        log.wait_for("end 154")
        log.wait_for("stream closed")
        time.sleep(1)
        own, theirs, wakeups = idle_figures(game, server)
        # A press off the arrows loses the block with sound 159, on a closed stream.
        left, top = board_origin(screen.display)
        onset = onset_seconds(os.path.join(build, "assets-raw", "sound_159.wav"))
        delays = []
        # Recording keeps the server busy: only now, after the idle figures.
        monitor = Monitor(server)
        for block in (1, 2, 4, 5):
            seen = len(log.lines)
            column, row = divmod(block, 3)
            screen.click(left + column * 180 + 30, top + row * 180 + 30)
            asked = log.wait_for(f"lose blocks {block} {block}", after=seen)
            heard = monitor.first_sound_after(asked)
            if heard is not None:
                delays.append(heard - onset - asked)
            log.wait_for("stream closed", after=seen)
            time.sleep(0.5)
        monitor.close()
        return own, theirs, peak_memory_kib(game.pid), delays, wakeups
    finally:
        game.terminate()
        game.wait()


def measure_peer(command, screen, server):
    env = dict(screen.env, XDG_RUNTIME_DIR=server.dir, HOME=server.dir,
               GSETTINGS_BACKEND="memory", NO_AT_BRIDGE="1")
    peer = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        wait_for_command(["xdotool", "search", "--onlyvisible", "--pid", str(peer.pid)],
                         screen.env)
        time.sleep(5)
        own, theirs, wakeups = idle_figures(peer, server)
        return own, theirs, peak_memory_kib(peer.pid), [], wakeups
    finally:
        peer.terminate()
        peer.wait()


PEERS = [
    ("GNOME Tetravex (clock running)", ["/usr/games/gnome-tetravex"]),
    ("GNOME Mines", ["/usr/games/gnome-mines", "--small"]),
    ("Mines from Simon Tatham's collection", ["/usr/games/sgt-mines"]),
]


def side_by_side(build, number):
    screen = Screen("1280x1024", number)
    server = SoundServer()
    try:
        results = {"Tessaform": measure_game(build, screen, server)}
        for name, command in PEERS:
            if not command[0].startswith("/"):
                command = [os.path.join(build, command[0])] + command[1:]
            if os.path.exists(command[0]):
                results[name] = measure_peer(command, screen, server)
        return results
    finally:
        server.close()
        screen.close()


def print_side_by_side(runs):
    median = statistics.median
    print(f"left alone for {IDLE_SECONDS} s at 1280 x 1024, medians of {len(runs)} runs"
          " (% of one core):")
    print("| program | its own CPU | wake-ups a second | the sound server's CPU | together |"
          " peak RSS |")
    print("|---|---|---|---|---|---|")
    for name in runs[0]:
        own = median(r[name][0] for r in runs)
        wakeups = median(r[name][4] for r in runs)
        theirs = median(r[name][1] for r in runs)
        both = median(r[name][0] + r[name][1] for r in runs)
        rss = median(r[name][2] for r in runs) / 1024
        print(f"| {name} | {own:.3f} % | {wakeups:.1f} | {theirs:.3f} % | {both:.3f} % |"
              f" {rss:.0f} MB |")
        print(f"|   runs | {[round(r[name][0], 3) for r in runs]} |"
              f" {[round(r[name][4], 1) for r in runs]} |"
              f" {[round(r[name][1], 3) for r in runs]} | | |")
    delays = [d for r in runs for d in r["Tessaform"][3]]
    if delays:
        print(f"sound request to its first samples at the server: median "
              f"{median(delays) * 1000:.0f} ms of {len(delays)} (budget 30 ms;"
              f" all {sorted(round(d * 1000) for d in delays)})")


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    build = args[0] if args else "build"
    runs = int(args[1]) if len(args) > 1 else 3
    print_side_by_side([side_by_side(build, 160 + run) for run in range(runs)])
    if "--peers-only" in sys.argv:
        return

    results = [measure(build, 150 + run) for run in range(runs)]
    median = lambda values: sorted(values)[len(values) // 2]
    print(f"start to opening figure:   {median([r[0] for r in results]) * 1000:7.0f} ms"
          f"   (budget 300 ms; runs {[round(r[0] * 1000) for r in results]})")
    print(f"deal sound end to board:   {median([r[1] for r in results]) * 1000:7.0f} ms"
          f"   (budget 100 ms; runs {[round(r[1] * 1000) for r in results]})")
    print(f"peak resident memory:      {median([r[2] for r in results]) / 1024:7.1f} MB"
          f"   (budget 120 MB)")
    executable = os.path.join(build, "desktop", "tessaform")
    stripped = subprocess.run(["sh", "-c", f"strip -o /tmp/tessaform.stripped {executable}"
                               " && stat -c %s /tmp/tessaform.stripped"],
                              capture_output=True, text=True, check=True).stdout.strip()
    print(f"executable size:           {os.path.getsize(executable) / 1024:7.0f} KiB"
          f"  ({int(stripped) / 1024:.0f} KiB stripped, as installed)")


if __name__ == "__main__":
    main()
