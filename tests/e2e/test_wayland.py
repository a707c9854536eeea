#!/usr/bin/env python3
"""The real game on Qt's Wayland platform under a headless weston with its desktop shell."""
import os, re, shutil, subprocess, sys, tempfile
from contextlib import closing

from desktop import GREY, RED, Desktop, Game, Shot, wait_until, WAIT

WIDTH, HEIGHT = 1280, 1024


class Weston(Desktop):
    """A compositor in place of the X server and window manager, on a private runtime dir."""

    def __init__(self, folder, out):
        self.procs, self.out, self.folder = [], out, folder
        os.makedirs(out, exist_ok=True)
        self.env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        self.env.update(XDG_RUNTIME_DIR=folder, WAYLAND_DISPLAY="tessaform")
        # Without the shell's fade-in at start the first screenshots show true colours.
        with open(os.path.join(folder, "weston.ini"), "w") as config:
            config.write("[shell]\nstartup-animation=none\n")
        self.spawn(["weston", "--backend=headless-backend.so", "--use-pixman",
                    "--socket=tessaform", f"--width={WIDTH}", f"--height={HEIGHT}", "--debug",
                    "--idle-time=0", "--config=" + os.path.join(folder, "weston.ini")],
                   open(os.path.join(out, "weston.log"), "wb"))

    def scene(self):
        """The panel's and the top-level window's rectangles, as weston placed them."""
        graph = self.run("weston-debug", "scene-graph").stdout
        views = re.findall(r"(panel for output|top-level window)[^\n]*\n\s*position: "
                           r"\((\d+), (\d+)\) -> \((\d+), (\d+)\)", graph)
        return {kind.split()[0]: tuple(map(int, rect)) for kind, *rect in views}

    def screenshot(self, keep_as):
        shots = lambda: [f for f in os.listdir(self.folder) if f.startswith("wayland-screenshot")]
        for old in shots():
            os.remove(os.path.join(self.folder, old))
        subprocess.run(["weston-screenshooter"], env=self.env, cwd=self.folder, check=True,
                       timeout=WAIT)
        shutil.move(os.path.join(self.folder, shots()[0]), os.path.join(self.out, keep_as))
        return Shot(subprocess.run(["convert", os.path.join(self.out, keep_as), "-depth", "8",
                                    "ppm:-"], capture_output=True, check=True).stdout).pixel


def not_grey(pixel, top):
    return [(x, y) for y in range(top, HEIGHT) for x in range(WIDTH) if pixel(x, y) != GREY]


def play(weston, program):
    # The panel's view is listed before the shell has given it its size.
    sized = lambda rect: rect if rect and rect[3] > 0 else None
    panel = wait_until("the shell's panel", lambda: sized(weston.scene().get("panel")))
    game = Game(weston, program, "dummy", platform="wayland")
    size, origin = game.wait_for(r"layout (\d+x\d+) board (\d+,\d+)").groups()
    (w, h), (x, y) = map(int, size.split("x")), map(int, origin.split(","))
    game.wait_for("start 154 sync")
    view_top = HEIGHT - h
    # The deal sound holds the thread: the opening figure must be on screen all the while.
    figure = weston.screenshot("figure.png")
    assert len(not_grey(figure, view_top)) > w * h // 200, \
        "the opening figure does not show while the deal sound plays"
    game.wait_for("end 154")

    def master_shows():
        shot = weston.screenshot("board.png")
        return shot if all(shot(x + i, view_top + y) == RED for i in range(160)) else None
    board = wait_until("the red-framed master", master_shows)
    assert game.proc.poll() is None, "the game died after the deal sound"
    assert game.seen("layout", game.cursor) is None, "laid out more than once\n" + game.tail()
    window = weston.scene()["top-level"]
    assert window == (0, panel[3], WIDTH, HEIGHT), f"window {window}, panel {panel}"
    # Under the panel come the caption and the menu bar, then the view down to the bottom.
    first_grey = next(r for r in range(panel[3], HEIGHT) if board(WIDTH - 1, r) == GREY)
    assert (w, first_grey) == (WIDTH, view_top), \
        f"layout {w}x{h} is not the client area from row {first_grey} of {window}"
    # Below the score strip only the board is drawn: four by three blocks 180 pixels
    # apart, the master's red ring at its top-left corner. It is centred in the view.
    ring = next(i for i in range(WIDTH - x) if board(x + i, view_top + y) != RED)
    board_w, board_h = 3 * 180 + ring, 2 * 180 + ring
    drawn = not_grey(board, view_top + 40)
    xs, ys = [p[0] for p in drawn], [p[1] for p in drawn]
    assert (min(xs), min(ys)) == (x, view_top + y) and max(xs) < x + board_w and \
        max(ys) < view_top + y + board_h, "something is drawn beside the board"
    assert abs(x - (w - x - board_w)) <= 1 and abs(y - (h - y - board_h)) <= 1, \
        f"board {board_w}x{board_h} at {x},{y} is not centred in the view {w}x{h}"
    print(f"wayland: window {window} under a {panel[3]}-pixel panel, board {x},{y} in {w}x{h}")


if __name__ == "__main__":
    with tempfile.TemporaryDirectory(prefix="tessaform-wl-") as folder:
        with closing(Weston(folder, sys.argv[2])) as weston:
            play(weston, sys.argv[1])
