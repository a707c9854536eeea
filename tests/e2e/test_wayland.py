#!/usr/bin/env python3
"""The real game on Qt's Wayland platform under a headless weston with its desktop shell.
Usage: GAME MOVES_TOOL OUT."""
import os
import re
import subprocess
import sys
import tempfile
from contextlib import closing

sys.dont_write_bytecode = True  # no __pycache__ in the source tree

from desktop import GREY, WAIT, Desktop, Game, Shot, area, wait_until
from player import Player, Rules

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

    def shot(self):
        shots = lambda: [f for f in os.listdir(self.folder) if f.startswith("wayland-screenshot")]
        for old in shots():
            os.remove(os.path.join(self.folder, old))
        subprocess.run(["weston-screenshooter"], env=self.env, cwd=self.folder, check=True,
                       timeout=WAIT)
        return Shot(subprocess.run(["convert", os.path.join(self.folder, shots()[0]), "-depth",
                                    "8", "ppm:-"], capture_output=True, check=True).stdout)


def play(weston, program, rules):
    # The panel's view is listed before the shell has given it its size.
    sized = lambda rect: rect if rect and rect[3] > 0 else None
    panel = wait_until("the shell's panel", lambda: sized(weston.scene().get("panel")))
    game = Game(weston, program, "dummy", platform="wayland")
    player = Player(game, rules)
    player.layout()  # the view at the bottom of the screen: below the panel, caption and menu
    game.wait_for("start 154 sync$")
    # The deal sound holds the thread: the opening figure must be on screen all the while.
    view = list(area(*game.view, WIDTH - game.view[0], HEIGHT - game.view[1], 1))
    assert weston.shot().share(view, GREY) < 0.995, \
        "the opening figure does not show while the deal sound plays"
    game.wait_for("end 154$")
    game.wait_screen("the board where the layout puts it", player.board_shown)
    assert game.seen("layout", game.cursor) is None, "laid out more than once\n" + game.tail()
    window = weston.scene()["top-level"]
    assert window == (0, panel[3], WIDTH, HEIGHT), f"window {window}, panel {panel}"
    print(f"wayland: window {window} under a {panel[3]}-pixel panel, view at {game.view}")


if __name__ == "__main__":
    with tempfile.TemporaryDirectory(prefix="tessaform-wl-") as folder:
        with closing(Weston(folder, sys.argv[3])) as weston:
            play(weston, sys.argv[1], Rules(sys.argv[2]))
