# The real program on a private X screen, or under a Wayland compositor: started, pressed, photographed, read
# through its log.

import contextlib
import glob
import json
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time

GREY, RED, GREEN, BLUE = b"\x80\x80\x80", b"\xff\x00\x00", b"\x00\xff\x00", b"\x00\x00\xff"
BLACK, YELLOW = b"\x00\x00\x00", b"\xff\xff\x00"
WAIT = 90  # seconds: generous on a loaded machine; a pass never waits this long


def wait_until(what, test):
    deadline = time.monotonic() + WAIT
    while not (result := test()):
        if time.monotonic() > deadline:
            raise AssertionError("no %s within %d s" % (what, WAIT))
        time.sleep(0.05)
    return result


def when(line):  # the game's clock at a line of its log
    return float(line.split()[0])


class Shot:  # one screenshot as packed RGB rows
    def __init__(self, ppm):
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
        self.width, self.height = int(header[1]), int(header[2])
        self.ppm, self.pixels = ppm, ppm[header.end():]

    def pixel(self, x, y):
        at = 3 * (self.width * y + x)
        return self.pixels[at:at + 3]

    def share(self, points, *colours):
        points = list(points)
        return sum(self.pixel(x, y) in colours for x, y in points) / len(points)


def ring(x, y, size):  # the outermost pixels of the square of that size at (x, y)
    for d in range(size):
        yield from ((x + d, y), (x + d, y + size - 1), (x, y + d), (x + size - 1, y + d))


def area(x, y, width, height, step=4):
    return ((x + dx, y + dy) for dx in range(0, width, step) for dy in range(0, height, step))


class Desktop:
    # Xvfb with openbox; nested puts a resizable Xephyr in between, as Xvfb keeps its size.
    # Everything it starts, the game included, ends with it.

    def __init__(self, size, out, nested=False):
        self.procs, self.out, self.env = [], out, dict(os.environ)
        self.size = tuple(map(int, size.split("x")))
        self.env.pop("QT_QPA_PLATFORMTHEME", None)
        os.makedirs(out, exist_ok=True)
        try:
            self.start(size, nested)
        except BaseException:
            self.close()
            raise

    def start(self, size, nested):
        self.server(["Xvfb", "-screen", "0", "1600x1200x24" if nested else size + "x24"])
        if nested:
            self.server(["Xephyr", "-screen", size, "-resizeable", "-ac"])
        self.spawn(["openbox"], open(os.path.join(self.out, "openbox.log"), "wb"))
        # A game that starts before the window manager runs may never be exposed.
        wait_until("window manager", lambda: "window id" in self.run(
            "xprop", "-root", "_NET_SUPPORTING_WM_CHECK").stdout)

    def server(self, command):  # on a display it picks itself, as the tests run side by side
        self.env["DISPLAY"] = ":" + self.told(command + ["-nolisten", "tcp", "-noreset",
                                                         "-displayfd", "{fd}"])
        if self.env["DISPLAY"] == ":":
            raise RuntimeError("%s did not start" % command[0])

    def told(self, command):  # started: the line it writes to the descriptor named {fd} in it
        read, write = os.pipe()
        self.spawn([arg.format(fd=write) for arg in command],
                   open(os.path.join(self.out, command[0] + ".log"), "wb"), pass_fds=(write,))
        os.close(write)
        return os.fdopen(read).readline().strip()

    def spawn(self, command, output, **options):
        self.procs.append(subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=output,
                                           env=self.env, **options))
        return self.procs[-1]

    def run(self, *command):
        return subprocess.run(command, env=self.env, capture_output=True, text=True)

    def bus(self):  # a D-Bus daemon of our own: its address
        return self.told(["dbus-daemon", "--session", "--nofork", "--print-address={fd}"])

    def press(self, x, y):
        self.run("xdotool", "mousemove", str(x), str(y), "click", "1")

    def alt_f4(self):
        self.run("xdotool", "key", "alt+F4")

    def shot(self):
        return Shot(subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                                   env=self.env, capture_output=True, check=True).stdout)

    def close(self):
        for proc in reversed(self.procs):
            proc.terminate()
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.kill()


class Weston(Desktop):
    # A headless weston with its desktop shell in place of the X server and window manager, on
    # a private runtime folder.

    def start(self, size, nested):
        self.runtime = tempfile.TemporaryDirectory(prefix="tessaform-wl-")  # removed with us
        self.folder = self.runtime.name
        self.env.pop("DISPLAY", None)
        self.env.update(XDG_RUNTIME_DIR=self.folder, WAYLAND_DISPLAY="tessaform")
        # Without the shell's fade-in at start the first screenshots show true colours.
        config = os.path.join(self.folder, "weston.ini")
        open(config, "w").write("[shell]\nstartup-animation=none\n")
        self.spawn(["weston", "--backend=headless-backend.so", "--use-pixman",
                    "--socket=tessaform", "--width=%d" % self.size[0],
                    "--height=%d" % self.size[1], "--debug", "--idle-time=0", "--config=" + config],
                   open(os.path.join(self.out, "weston.log"), "wb"))

    def scene(self):  # the panel's and the top-level window's rectangles, as weston placed them
        graph = self.run("weston-debug", "scene-graph").stdout
        views = re.findall(r"(panel for output|top-level window)[^\n]*\n\s*position: "
                           r"\((\d+), (\d+)\) -> \((\d+), (\d+)\)", graph)
        return {kind.split()[0]: tuple(map(int, rect)) for kind, *rect in views}

    def shot(self):
        with tempfile.TemporaryDirectory(dir=self.folder) as folder:  # where it writes alone
            subprocess.run(["weston-screenshooter"], env=self.env, cwd=folder, check=True,
                           timeout=WAIT)
            return Shot(subprocess.run(["convert", glob.glob(folder + "/*")[0], "-depth", "8",
                                        "ppm:-"], capture_output=True, check=True).stdout)


class Sway(Desktop):
    # sway's headless backend with a bar on top and no XWayland. sway refuses root, so it runs
    # as nobody, in a runtime folder of nobody's that the game, as root, connects to.

    def start(self, size, nested):
        if not shutil.which("sway"):
            print("SKIP: no sway to play under")
            raise SystemExit(77)
        self.runtime = tempfile.TemporaryDirectory(prefix="tessaform-sway-")
        self.folder = self.runtime.name
        open(os.path.join(self.folder, "config"), "w").write(
            "output HEADLESS-1 resolution %s\nbar {\n position top\n}\n" % size)
        os.chown(self.folder, 65534, 65534)
        self.env.pop("DISPLAY", None)
        self.env.update(XDG_RUNTIME_DIR=self.folder, WAYLAND_DISPLAY="wayland-1")
        self.spawn(["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "env",
                    "WLR_BACKENDS=headless", "WLR_LIBINPUT_NO_DEVICES=1", "WLR_RENDERER=pixman",
                    "HOME=" + self.folder, "sway", "--debug", "-c", self.folder + "/config"],
                   open(os.path.join(self.out, "sway.log"), "wb"))
        self.env["SWAYSOCK"] = wait_until("sway's socket", lambda: next(iter(
            glob.glob(self.folder + "/sway-ipc.*.sock")), None))

    def tree(self):  # the workspace's rectangle and sway's node of each window, by its app id
        found, todo = {}, [json.loads(self.run("swaymsg", "-t", "get_tree").stdout or "{}")]
        for node in todo:
            if node.get("type") == "workspace" and node["name"] == "1":
                found["workspace"] = node["rect"]
            if node.get("app_id"):
                found[node["app_id"]] = node
            todo += node.get("nodes", []) + node.get("floating_nodes", [])
        return found


class Gnome(Desktop):
    # GNOME Shell's headless Wayland session without XWayland, on buses of its own (a system bus
    # too: the shell wants one where logind's seats are) and a PipeWire of its own
    # (soundservers.py), through which mutter's screen cast shows the screen. Presses and keys go
    # through a remote desktop session on that cast, as GNOME's remote desktop sends them. Needs
    # Debian's python, for GLib's D-Bus.

    def __init__(self, size, out, program):
        self.program = program
        super().__init__(size, out)

    def start(self, size, nested):
        if not shutil.which("gnome-shell"):
            print("SKIP: no GNOME Shell to play under")
            raise SystemExit(77)
        from gi.repository import Gio, GLib
        from soundservers import SoundServer
        self.variant, self.sound = GLib.Variant, SoundServer("pipewire", self.out).__enter__()
        self.env.pop("DISPLAY", None)
        self.env.update(self.sound.client_env, WAYLAND_DISPLAY="tessaform")
        # Started in the private home: so is what they start for the shell, dconf's service too.
        self.env.update(DBUS_SYSTEM_BUS_ADDRESS=self.bus(), DBUS_SESSION_BUS_ADDRESS=self.bus())
        # The shell names the window after the desktop entry it finds, icon and all; GLib takes
        # no entry whose program is missing.
        share, here = self.sound.runtime + "/share/", os.path.dirname(os.path.abspath(__file__))
        entry = open(here + "/../../packaging/org.example.Tessaform.desktop").read()
        os.makedirs(share + "applications")
        open(share + "applications/org.example.Tessaform.desktop", "w").write(
            re.sub(r"(?m)^Exec=.*", "Exec=" + os.path.abspath(self.program), entry))
        os.makedirs(share + "icons/hicolor/scalable/apps")
        shutil.copy(here + "/../../packaging/org.example.Tessaform.svg",
                    share + "icons/hicolor/scalable/apps")
        self.env["XDG_DATA_DIRS"] = share + ":/usr/share"
        log, began = os.path.join(self.out, "gnome-shell.log"), time.monotonic()
        self.spawn(["gnome-shell", "--headless", "--wayland", "--no-x11", "--wayland-display",
                    "tessaform", "--virtual-monitor", size], open(log, "wb"))
        wait_until("the shell", lambda: b"GNOME Shell started" in open(log, "rb").read())
        self.started = time.monotonic() - began
        self.connection = Gio.DBusConnection.new_for_address_sync(
            self.env["DBUS_SESSION_BUS_ADDRESS"], Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
            Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        # The shell shows its overview as it starts; a player leaves it.
        self.call("/org/gnome/Shell", "Set", "(ssv)", "org.gnome.Shell", "OverviewActive",
                  GLib.Variant("b", False), face="org.freedesktop.DBus.Properties")
        # The shell lists its windows only to the desktop portal: on a bus of ours, that is us.
        self.call("/org/freedesktop/DBus", "RequestName", "(su)",
                  "org.freedesktop.impl.portal.desktop.gnome", 0)
        self.remote = self.call("/org/gnome/Mutter/RemoteDesktop", "CreateSession")[0]
        session = self.call(self.remote, "Get", "(ss)", "org.gnome.Mutter.RemoteDesktop.Session",
                            "SessionId", face="org.freedesktop.DBus.Properties")[0]
        cast = self.call("/org/gnome/Mutter/ScreenCast", "CreateSession", "(a{sv})",
                         {"remote-desktop-session-id": GLib.Variant("s", session)})[0]
        self.stream, nodes = self.call(cast, "RecordMonitor", "(sa{sv})", "", {})[0], []
        self.connection.signal_subscribe(None, None, "PipeWireStreamAdded", self.stream, None, 0,
                                         lambda *signal: nodes.append(signal[5][0]))
        self.call(self.remote, "Start")
        # Signals come through GLib's loop.
        self.node = wait_until("the screen cast", lambda: GLib.MainContext.default().iteration(
            False) and False or nodes)[0]
        # The seat gains its pointer at the first motion, and a client that has none yet misses
        # a press that comes with it: moved now, in a corner with nothing in it.
        self.move(self.size[0] - 1, self.size[1] - 1)

    def call(self, path, method, signature=None, *arguments, face=None):
        # A method of mutter's, the shell's or the bus's, each object's interface named as its
        # path, less a session's number.
        return self.connection.call_sync(
            ".".join(path[1:].split("/")[:4]), path,
            face or re.sub(r"/u\d+$", "", path)[1:].replace("/", "."), method,
            signature and self.variant(signature, arguments), None, 0, -1, None).unpack()

    def windows(self):  # the shell's own account of each window, by its wm class (app id)
        listed = self.call("/org/gnome/Shell/Introspect", "GetWindows")[0].values()
        return {window["wm-class"]: window for window in listed}

    def shot(self):
        raw = subprocess.run(["gst-launch-1.0", "-q", "pipewiresrc", "path=%d" % self.node,
                              "num-buffers=1", "!", "videoconvert", "!", "video/x-raw,format=RGB",
                              "!", "fdsink"], env=self.env, capture_output=True, check=True,
                             timeout=WAIT).stdout
        return Shot(b"P6 %d %d 255\n" % self.size + raw)

    def move(self, x, y):
        self.call(self.remote, "NotifyPointerMotionAbsolute", "(sdd)", self.stream, x, y)

    def press(self, x, y):
        self.move(x, y)
        for down in True, False:
            self.call(self.remote, "NotifyPointerButton", "(ib)", 272, down)  # BTN_LEFT

    def alt_f4(self):  # Alt+F4, by evdev's key codes
        for code, down in (56, True), (62, True), (62, False), (56, False):
            self.call(self.remote, "NotifyKeyboardKeycode", "(ub)", code, down)

    def close(self):
        # With a remote desktop session on, the shell does not end at SIGTERM: stopped first.
        with contextlib.suppress(Exception):  # as far as it got
            self.call(self.remote, "Stop")
        super().close()
        with contextlib.suppress(AttributeError):
            self.sound.__exit__()


class Played:
    # A game as a test sees it: its log lines read in order as they come, and its screen. A
    # front end gives more() (reads what came; false once nothing more can) and shot().

    def __init__(self, out, log):
        os.makedirs(out, exist_ok=True)
        self.out, self.lines, self.cursor, self.view = out, [], 0, (0, 0)
        self.log = open(os.path.join(out, log), "w")

    def add(self, line):
        self.log.write(line + "\n")
        self.log.flush()  # read when a test fails
        self.lines.append(line)

    def tail(self):
        return "\n".join(self.lines[-25:])

    def seen(self, pattern, start=0):  # the index of the first line from `start` that matches
        return next((i for i in range(start, len(self.lines))
                     if re.search(pattern, self.lines[i])), None)

    def wait_for(self, pattern, *then):
        # The first match after the line the previous wait matched: waits also check order. Then
        # each of `then` in turn; the last one's match.
        found = lambda: self.seen(pattern, self.cursor)
        wait_until("log line %r" % pattern, lambda: found() is not None or not self.more())
        assert (at := found()) is not None, "no log line %r after line %d\n%s" % (
            pattern, self.cursor, self.tail())
        self.cursor = at + 1
        return self.wait_for(*then) if then else re.search(pattern, self.lines[at])

    def wait_screen(self, what, test, gone=lambda: False):
        # The first screenshot that passes, kept in OUT; fails once `gone` held before a shot.
        deadline, late = time.monotonic() + WAIT, False
        while not (passed := test(shot := self.shot())) and not late:
            late = gone() or time.monotonic() > deadline
            time.sleep(0.05)
        name = os.path.join(self.out, re.sub(r"\W+", "-", what) + ".ppm")
        open(name, "wb").write(shot.ppm)
        assert passed, "the screen never showed %s (see %s)\n%s" % (what, name, self.tail())
        return shot


class Game(Played):
    # The program on a desktop, its log read line by line as it comes; `before` runs it.

    def __init__(self, desktop, program, audio, platform="xcb", before=()):
        super().__init__(desktop.out, "game.log")
        self.desktop, self.times = desktop, []  # when each line came, for measuring
        # Set for the game, each line beginning with its clock; the tools started after it
        # ignore them.
        desktop.env.pop("QT_QPA_PLATFORM", None)
        if platform:  # else Qt goes by the display it finds
            desktop.env["QT_QPA_PLATFORM"] = platform
        desktop.env.update(QT_LOGGING_RULES="tessaform.*=true",
                           QT_MESSAGE_PATTERN="%{time process} %{category}: %{message}",
                           SDL_AUDIODRIVER=audio)
        self.proc = desktop.spawn([*before, program], subprocess.PIPE, text=True, errors="replace")
        self.reader = threading.Thread(target=self.read, daemon=True)
        self.reader.start()

    def read(self):
        for line in self.proc.stderr:
            self.times.append(time.monotonic())  # first: a line seen has its time
            self.add(line.rstrip("\n"))

    def more(self):
        return self.reader.is_alive()  # once it has ended, every line the program wrote is in

    def shot(self):
        return self.desktop.shot()

    def locate(self, width, height):
        # The main window, maximised without a frame, fills the screen; the view is its bottom.
        screen = self.desktop.shot()
        self.view = (screen.width - width, screen.height - height)

    def press(self, x, y):
        self.desktop.press(x, y)

    def xdotool(self, *arguments):
        return self.desktop.run("xdotool", *map(str, arguments)).stdout

    def boxes(self):  # the visible message boxes: captioned with the name alone
        return self.xdotool("search", "--onlyvisible", "--name", "^Tessaform$").split()

    def dismiss_warning(self):
        # Return on the one sound warning, waited closed: it would take the next press.
        boxes = wait_until("the sound warning", self.boxes)
        assert len(boxes) == 1, "%d sound warnings" % len(boxes)
        self.xdotool("windowactivate", "--sync", boxes[0], "key", "Return")
        wait_until("the warning closed", lambda: not self.boxes())

    def close(self):
        # Alt+F4: the program must end with 0 and report nothing gone wrong.
        self.desktop.alt_f4()
        code = self.proc.wait(WAIT)
        self.reader.join(WAIT)
        bad = [line for line in self.lines if re.search(r"Sanitizer|runtime error|terminate", line)]
        assert code == 0 and not bad, "exit code %d\n%s" % (code, "\n".join(bad) or self.tail())
