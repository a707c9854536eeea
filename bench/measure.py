#!/usr/bin/python3
# Whole-program figures of the real game beside its peers, on the end-to-end tests' own desktop
# and sound server; docs/PERFORMANCE.md says what each is and how it is taken.
# Usage: bench/measure.py BUILD_DIR [RUNS] [--peers-only]
import glob
import os
import re
import subprocess
import sys
import tempfile
import threading
import time
from statistics import median

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from desktop import Desktop, Game, wait_until  # noqa: E402
from player import Player, Rules  # noqa: E402
from soundservers import SoundServer  # noqa: E402
from Xlib import X  # noqa: E402
from Xlib import display as Xdisplay  # noqa: E402

DEAL_SOUND_SECONDS = 93_541 / 22_050
LOSS_SOUND_ONSET = 20 / 22_050  # sound 159's first loud sample
IDLE_SECONDS = 20
PEERS = {
    "GNOME Tetravex (clock running)": ["/usr/games/gnome-tetravex"],
    "GNOME Mines": ["/usr/games/gnome-mines", "--small"],
    "Mines from Simon Tatham's collection": ["/usr/games/sgt-mines"],
}


# Blue, green, red and a pad byte a pixel, read in a millisecond or two: fast enough to
# time what appears.
def rows(screen, ys):
    width = screen.width_in_pixels
    return [screen.root.get_image(0, y, width, 1, X.ZPixmap, 0xFFFFFFFF).data for y in ys]


def when_shown(test):
    while not test():
        time.sleep(0.002)
    return time.monotonic()


# The figure's lines cross the middle of the screen in colours the board never shows there
# before the deal: anything but black (no window yet) and grey.
def figure_shown(screen):
    middle = rows(screen, [screen.height_in_pixels // 2])[0]
    return any(middle[i:i + 3] not in (b"\x00\x00\x00", b"\x80\x80\x80")
               for i in range(0, len(middle), 4))


# A whole row of a yellow square, in the top or bottom cells of the middle row of blocks:
# every block has its square in one of them, and the figure's lines never run 48 pixels
# along a row.
def board_shown(screen):
    middle = screen.height_in_pixels // 2
    return any(re.search(rb"(?:\x00\xff\xff.){48}", row, re.DOTALL)
               for row in rows(screen, [middle - 40, middle + 40]))


# Time on a CPU (ns, schedstat) and voluntary context switches of each of the process's
# threads; one that ends meanwhile is left out.
def threads(pid):
    found = {}
    for task in glob.glob(f"/proc/{pid}/task/*"):
        try:
            with open(task + "/schedstat") as stat, open(task + "/status") as status:
                switches = re.search(r"voluntary_ctxt_switches:\s*(\d+)", status.read())
                found[task] = (int(stat.read().split()[0]), int(switches[1]))
        except (OSError, ValueError, TypeError):
            pass
    return found


def peak_memory(pid):
    with open(f"/proc/{pid}/status") as status:
        return int(re.search(r"VmHWM:\s*(\d+)", status.read())[1]) / 1024


def used(pid, before):
    now = threads(pid)
    return [sum(figures[i] - before.get(task, (0, 0))[i] for task, figures in now.items())
            / IDLE_SECONDS for i in (0, 1)]


# The CPU of the program, of the server and of both in % of a core, the program's wake-ups
# a second and its peak memory.
def left_alone(pid, server):
    before = threads(pid), threads(server.proc.pid)
    time.sleep(IDLE_SECONDS)
    own, wakeups = used(pid, before[0])
    theirs = used(server.proc.pid, before[1])[0]
    return {"own": own / 1e7, "server": theirs / 1e7, "together": (own + theirs) / 1e7,
            "wakeups": wakeups, "rss": peak_memory(pid)}


def loud(chunk):
    samples = memoryview(chunk[:len(chunk) // 2 * 2]).cast("h")
    return any(abs(v) > 0.02 * 32768 for v in samples)


# The sink's monitor as it comes, (time of the read, samples). The monitor's own latency (a
# few milliseconds) counts in, so the delays found are at most a little long.
def record(server):
    recorder = subprocess.Popen(
        ["parec", "-d", "tessaform.monitor", "--raw", "--format=s16le", "--channels=1",
         "--latency-msec=5"], env=server.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    reads = []

    def read():
        while chunk := os.read(recorder.stdout.fileno(), 4096):
            reads.append((time.monotonic(), chunk))
    threading.Thread(target=read, daemon=True).start()
    wait_until("the monitor's first samples", lambda: reads)
    return recorder, reads


def the_game_alone(program, rules, out):
    desktop = Desktop("1920x1080", out)
    try:
        desktop.env["SDL_DISKAUDIOFILE"] = "/dev/null"
        started = time.monotonic()
        game = Game(desktop, program, "disk")
        screen = Xdisplay.Display(desktop.env["DISPLAY"]).screen()
        figure = when_shown(lambda: figure_shown(screen))
        board = when_shown(lambda: board_shown(screen))
        player = Player(game, rules)
        player.layout()
        for number in range(1, 6):
            player.deal(number)
            for block in range(1, 12):
                player.press(block, None)  # off its arrows: the block is lost
            game.wait_for(f"game {number} over")
        game.wait_for("recap:")
        memory = peak_memory(game.proc.pid)
        game.close()
        return {"figure": (figure - started) * 1000,
                "board": (board - figure - DEAL_SOUND_SECONDS) * 1000, "rss": memory}
    finally:
        desktop.close()


def the_game_left_alone(program, rules, desktop, server):
    game = Game(desktop, program, "pulseaudio")
    player = Player(game, rules)
    player.layout()
    player.deal(1)
    game.wait_for("end 154")
    game.wait_for("stream closed")
    time.sleep(1)
    figures = left_alone(game.proc.pid, server)
    recorder, reads = record(server)  # recording keeps the server busy: only after the idle
    figures["delays"] = []
    # A press off the arrows loses the block with sound 159, on a closed stream.
    for block in (1, 2, 4, 5):
        player.press(block, None)
        asked = game.times[game.cursor - 1]
        game.wait_for("stream closed")
        heard = [at for at, chunk in list(reads) if at > asked and loud(chunk)]
        if heard:
            figures["delays"].append((heard[0] - LOSS_SOUND_ONSET - asked) * 1000)
    recorder.terminate()
    recorder.wait()
    game.close()
    return figures


def side_by_side(program, rules, out):
    with SoundServer("pulseaudio", out) as server:
        desktop = Desktop("1280x1024", out)
        try:
            desktop.env.update(server.client_env, GSETTINGS_BACKEND="memory", NO_AT_BRIDGE="1")
            results = {"Tessaform": the_game_left_alone(program, rules, desktop, server)}
            for name, command in PEERS.items():
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


def runs(values, digits=0):
    return f"{median(values):.{digits}f} ({', '.join(f'{v:.{digits}f}' for v in values)})"


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    build = args[0] if args else "build"
    count = int(args[1]) if len(args) > 1 else 3
    out = tempfile.mkdtemp(prefix="tessaform-measure-")
    program = os.path.join(build, "desktop", "tessaform")
    rules = Rules(os.path.join(build, "tests", "e2e", "tessaform-moves"))
    peers = [side_by_side(program, rules, out) for _ in range(count)]
    print(f"left alone for {IDLE_SECONDS} s at 1280 x 1024; the median, then each run:")
    print("| program | its own CPU | wake-ups a second | the sound server's CPU | together |"
          " peak RSS |\n|---|---|---|---|---|---|")
    for name in peers[0]:
        of = lambda key, digits=3: runs([p[name][key] for p in peers], digits)  # noqa: E731
        print(f"| {name} | {of('own')} % | {of('wakeups', 1)} | {of('server')} % |"
              f" {of('together')} % | {of('rss', 0)} MB |")
    delays = sorted(d for p in peers for d in p["Tessaform"]["delays"])
    if delays:
        print(f"a sound's request to its first samples at the server: {runs(delays)} ms"
              " (budget 30 ms)")
    if "--peers-only" in sys.argv:
        return
    alone = [the_game_alone(program, rules, out) for _ in range(count)]
    for key, what, budget in [("figure", "start to the opening figure", "ms (budget 300 ms)"),
                              ("board", "the deal sound's end to the board", "ms (budget 100 ms)"),
                              ("rss", "peak resident memory", "MB (budget 120 MB)")]:
        print(f"{what}: {runs([a[key] for a in alone])} {budget}")
    stripped = os.path.join(out, "stripped")
    subprocess.run(["strip", "-o", stripped, program], check=True)
    print(f"the executable: {os.path.getsize(program) / 2**20:.1f} MB,"
          f" {os.path.getsize(stripped) / 2**20:.1f} MB stripped as installed")


if __name__ == "__main__":
    main()
