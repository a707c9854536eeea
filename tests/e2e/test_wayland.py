#!/usr/bin/env python3
# The real game on Qt's Wayland platform under a headless weston with its desktop shell.
import os, re, shutil, subprocess, sys, tempfile, threading, time

WIDTH, HEIGHT = 1280, 1024
GREY, RED = (128, 128, 128), (255, 0, 0)
BOUND = 90  # seconds; generous on a loaded machine


def until(what, check):
    deadline = time.monotonic() + BOUND
    while time.monotonic() < deadline:
        found = check()
        if found:
            return found
        time.sleep(0.2)
    raise AssertionError("gave up waiting for " + what)


# The game's process and the lines of its log, read as they come.
class Game:
    def __init__(self, command, env):
        self.process = subprocess.Popen(command, env=env, stderr=subprocess.PIPE, text=True)
        self.lines = []
        threading.Thread(target=lambda: self.lines.extend(self.process.stderr), daemon=True).start()

    def wait_for(self, text):
        def seen():
            assert self.process.poll() is None or any(text in l for l in self.lines), \
                f"the game ended before '{text}':\n" + "".join(self.lines[-3:])
            return any(text in line for line in self.lines)
        until(f"'{text}' in the game's log", seen)

    def layouts(self):
        return [l.split() for l in list(self.lines) if l.startswith("tessaform.game: layout ")]


# The panel's and the game window's rectangles, as weston placed them.
def scene(env):
    graph = subprocess.run(["weston-debug", "scene-graph"], env=env, capture_output=True,
                           text=True, timeout=BOUND).stdout
    views = re.findall(r"(panel for output|top-level window)[^\n]*\n\s*position: "
                       r"\((\d+), (\d+)\) -> \((\d+), (\d+)\)", graph)
    return {kind.split()[0]: tuple(map(int, rect)) for kind, *rect in views}


def screenshot(folder, env, keep_as):
    shots = lambda: [f for f in os.listdir(folder) if f.startswith("wayland-screenshot")]
    for old in shots():
        os.remove(os.path.join(folder, old))
    subprocess.run(["weston-screenshooter"], env=env, cwd=folder, check=True, timeout=BOUND)
    shutil.move(os.path.join(folder, shots()[0]), keep_as)
    raw = subprocess.run(["convert", keep_as, "-depth", "8", "rgb:-"],
                         capture_output=True, check=True).stdout
    return lambda x, y: tuple(raw[3 * (y * WIDTH + x):3 * (y * WIDTH + x) + 3])


def not_grey(pixel, top):
    return [(x, y) for y in range(top, HEIGHT) for x in range(WIDTH) if pixel(x, y) != GREY]


def play(folder, out, env):
    panel = until("the shell's panel", lambda: scene(env).get("panel"))
    game = Game([sys.argv[1]], dict(env, QT_QPA_PLATFORM="wayland", SDL_AUDIODRIVER="dummy",
                                    QT_LOGGING_RULES="tessaform.*=true"))
    try:
        game.wait_for("start 154 sync")
        (_, _, size, _, origin), = game.layouts()
        (w, h), (x, y) = map(int, size.split("x")), map(int, origin.split(","))
        view_top = HEIGHT - h
        # The deal sound holds the thread: the opening figure must be on screen all the while.
        figure = screenshot(folder, env, os.path.join(out, "figure.png"))
        assert len(not_grey(figure, view_top)) > w * h // 200, \
            "the opening figure does not show while the deal sound plays"

        game.wait_for("end 154")

        def master_shows():
            shot = screenshot(folder, env, os.path.join(out, "board.png"))
            return shot if all(shot(x + i, view_top + y) == RED for i in range(160)) else None
        board = until("the red-framed master", master_shows)
        assert game.process.poll() is None, "the game died after the deal sound"
        assert len(game.layouts()) == 1, f"laid out more than once: {game.layouts()}"
        window = scene(env)["top-level"]
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
    finally:
        game.process.terminate()
        game.process.wait(timeout=BOUND)


def main():
    out = sys.argv[2] if len(sys.argv) > 2 else os.getcwd()
    os.makedirs(out, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="tessaform-wl-") as folder:  # private runtime dir
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        env.update(XDG_RUNTIME_DIR=folder, WAYLAND_DISPLAY="tessaform")
        # Without the shell's fade-in at start the first screenshots show true colours.
        with open(os.path.join(folder, "weston.ini"), "w") as config:
            config.write("[shell]\nstartup-animation=none\n")
        with open(os.path.join(out, "weston.log"), "w") as log:
            weston = subprocess.Popen(
                ["weston", "--backend=headless-backend.so", "--use-pixman", "--socket=tessaform",
                 f"--width={WIDTH}", f"--height={HEIGHT}", "--debug", "--idle-time=0",
                 "--config=" + os.path.join(folder, "weston.ini")], env=env, stderr=log)
        try:
            play(folder, out, env)
        finally:
            weston.terminate()
            weston.wait(timeout=BOUND)


if __name__ == "__main__":
    main()
