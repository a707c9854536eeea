"""The real program on a private X server, driven and watched as a player would.

Each fault test starts its own Xvfb (displays :70 to :79 belong to these tests),
a window manager, and the game; it presses with xdotool and reads the screen
from `import -window root` screenshots: the red frame of the master block, grey
holes, the red narrow-screen warning, the yellow play-another-set column."""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

RED = b"\xff\x00\x00"
GREEN = b"\x00\xff\x00"
GREY = b"\x80\x80\x80"
YELLOW = b"\xff\xff\x00"
BLOCK = 160
PITCH = 180


class Screen:
    """One screenshot as packed RGB rows."""

    def __init__(self, ppm):
        header = []
        at = 0
        while len(header) < 4:
            while ppm[at:at + 1].isspace():
                at += 1
            if ppm[at:at + 1] == b"#":
                at = ppm.index(b"\n", at)
                continue
            end = at
            while not ppm[end:end + 1].isspace():
                end += 1
            header.append(ppm[at:end])
            at = end
        assert header[0] == b"P6" and header[3] == b"255", header
        self.width, self.height = int(header[1]), int(header[2])
        self.pixels = ppm[at + 1:at + 1 + 3 * self.width * self.height]

    def row(self, y, x0=0, x1=None):
        x1 = self.width if x1 is None else x1
        base = 3 * self.width * y
        return self.pixels[base + 3 * x0:base + 3 * x1]

    def pixel(self, x, y):
        at = 3 * (self.width * y + x)
        return self.pixels[at:at + 3]

    def master(self):
        """Top-left corner of the red-framed master block, or None."""
        run = RED * BLOCK
        for y in range(self.height - BLOCK + 1):
            line = self.row(y)
            at = line.find(run)
            while at >= 0:
                if at % 3 == 0:
                    x = at // 3
                    inside = self.row(y + 1, x + 1, x + BLOCK - 1)
                    above = self.row(y - 1, x, x + BLOCK) if y > 0 else b""
                    if (inside != RED * (BLOCK - 2) and above != RED * BLOCK
                            and self.pixel(x, y + BLOCK - 1) == RED
                            and self.pixel(x + BLOCK - 1, y + BLOCK - 1) == RED
                            and (x + BLOCK >= self.width or self.pixel(x + BLOCK, y) != RED)):
                        return x, y
                at = line.find(run, at + 1)
        return None

    def block_origin(self, master, k):
        column, row = divmod(k, 3)
        return master[0] + column * PITCH, master[1] + row * PITCH

    def block_state(self, master, k):
        """'grey' for a hole, 'green' for a matched frame, 'picture' otherwise."""
        x, y = self.block_origin(master, k)
        if x + BLOCK > self.width or y + BLOCK > self.height:
            return "off-screen"
        if all(self.row(y + dy, x, x + BLOCK) == GREY * BLOCK for dy in range(0, BLOCK, 3)):
            return "grey"
        if self.row(y, x, x + BLOCK) == GREEN * BLOCK:
            return "green"
        return "picture"

    def red_share(self):
        reds = sum(self.row(y).count(RED) for y in range(0, self.height, 8))
        return reds / (self.width * len(range(0, self.height, 8)))

    def narrow_warning(self):
        return self.red_share() > 0.5

    def column(self):
        """Top-left corner of the yellow play-another-set column, or None."""
        for x in range(0, min(self.width, 200)):
            run = 0
            for y in range(self.height):
                run = run + 1 if self.pixel(x, y) == YELLOW else 0
                if run >= 400:
                    return x, y - run + 1
        return None


class Desktop:
    """Xvfb with openbox on it; nested=True puts a resizable Xephyr between them,
    since Xvfb itself cannot change its screen size."""

    def __init__(self, display, size="1024x768", nested=False):
        self.work = tempfile.mkdtemp(prefix="tessaform-faults-")
        self.procs = []
        self.size = size
        host = ":%d" % display
        self.start(["Xvfb", host, "-screen", "0", "%sx24" % ("1600x1200" if nested else size),
                    "-nolisten", "tcp", "-noreset"], host)
        self.display = host
        if nested:
            inner = ":%d" % (display + 1)
            self.start(["Xephyr", inner, "-screen", size, "-resizeable", "-nolisten", "tcp",
                        "-ac", "-noreset"], inner, {"DISPLAY": host})
            self.display = inner
        self.env = dict(os.environ, DISPLAY=self.display)
        self.spawn(["openbox"], "openbox.log")
        deadline = time.time() + 10
        while time.time() < deadline:
            if subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                              capture_output=True, text=True).stdout.find("window id") >= 0:
                break
            time.sleep(0.1)

    def start(self, command, display, env=None):
        lock = "/tmp/.X%s-lock" % display[1:]
        if os.path.exists(lock):
            raise RuntimeError("display %s is taken (%s)" % (display, lock))
        self.spawn(command, "x%s.log" % display[1:], env)
        deadline = time.time() + 10
        while time.time() < deadline:
            if subprocess.run(["xdpyinfo", "-display", display], capture_output=True).returncode == 0:
                return
            time.sleep(0.1)
        raise RuntimeError("no X server on %s" % display)

    def spawn(self, command, log, env=None):
        out = open(os.path.join(self.work, log), "wb")
        base = getattr(self, "env", os.environ)
        proc = subprocess.Popen(command, stdout=out, stderr=subprocess.STDOUT,
                                env=dict(base, **(env or {})))
        self.procs.append(proc)
        return proc

    def run(self, *command):
        return subprocess.run(list(command), env=self.env, capture_output=True, text=True)

    def resize(self, size):
        """Changes the screen size as a change of resolution would."""
        result = self.run("xrandr", "-s", size)
        actual = self.run("xdpyinfo").stdout
        if "dimensions:    %s pixels" % size not in actual:
            raise RuntimeError("xrandr could not make the screen %s: %s" % (size, result.stderr))

    def close(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        shutil.rmtree(self.work, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class Game:
    """The real program on a desktop."""

    def __init__(self, desktop, app, audio="tessaform-no-device", env=None, wrapper=()):
        self.desktop = desktop
        self.log_path = os.path.join(desktop.work, "game.log")
        self.log = open(self.log_path, "wb")
        game_env = dict(desktop.env, SDL_AUDIODRIVER=audio, QT_QPA_PLATFORM="xcb",
                        **(env or {}))
        game_env.pop("QT_QPA_PLATFORMTHEME", None)
        self.proc = subprocess.Popen(list(wrapper) + [app], stdout=self.log,
                                     stderr=subprocess.STDOUT, env=game_env)
        self.master = None

    def output(self):
        self.log.flush()
        with open(self.log_path, "rb") as f:
            return f.read().decode(errors="replace")

    def shot(self):
        ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.desktop.env,
                             capture_output=True, check=True).stdout
        return Screen(ppm)

    def save(self, name):
        subprocess.run(["import", "-window", "root", os.path.join(self.desktop.work, name)],
                       env=self.desktop.env)

    def wait(self, what, test, timeout=30):
        """Screenshots until test(screen) holds; fails with `what` after the timeout."""
        deadline = time.time() + timeout
        while True:
            if self.proc.poll() is not None:
                raise AssertionError("the game ended (%s) while waiting for %s\n%s"
                                     % (self.proc.returncode, what, self.output()))
            screen = self.shot()
            result = test(screen)
            if result:
                return screen
            if time.time() > deadline:
                raise AssertionError("no %s within %d s" % (what, timeout))
            time.sleep(0.1)

    def wait_for_board(self, timeout=30):
        screen = self.wait("board with its red-framed master", lambda s: s.master(), timeout)
        self.master = screen.master()
        return screen

    def at(self, k, dx, dy):
        x, y = self.master
        column, row = divmod(k, 3)
        return x + column * PITCH + dx, y + row * PITCH + dy

    def press(self, x, y):
        self.desktop.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")

    def press_in(self, k, dx, dy):
        self.press(*self.at(k, dx, dy))

    def boxes(self, title):
        """Visible windows whose title is exactly `title`."""
        found = self.desktop.run("xdotool", "search", "--onlyvisible", "--name",
                                 "^%s$" % re.escape(title)).stdout.split()
        return found

    def close_box(self, window):
        self.desktop.run("xdotool", "windowactivate", "--sync", window)
        self.desktop.run("xdotool", "key", "--window", window, "Return")

    def dismiss_warning(self, title, within=3.0):
        """Closes the box with this title if it comes up within the time; True if it did."""
        deadline = time.time() + within
        while time.time() < deadline:
            boxes = self.boxes(title)
            if boxes:
                for box in boxes:
                    self.close_box(box)
                return True
            time.sleep(0.1)
        return False

    def quit_with_alt_f4(self):
        self.desktop.run("xdotool", "key", "alt+F4")

    def exit_code(self, timeout=20):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
            raise AssertionError("the game did not end within %d s\n%s" % (timeout, self.output()))

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
