# A sound server of a test's own on a private runtime folder, with a null sink to play to:
# PulseAudio, or PipeWire with pipewire-pulse in front. Both answer pactl.

import contextlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile

from desktop import wait_until

COMMANDS = {
    "pulseaudio": ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                   "-L", "module-native-protocol-unix"],
    # The daemon, its session manager and its PulseAudio server, on a session bus of their own.
    # The session manager starts again whenever it ends, unless a file `unmanaged` is there.
    "pipewire": ["dbus-run-session", "--", "sh", "-c", 'cd "$XDG_RUNTIME_DIR"; pipewire & '
                 'until [ -S pipewire-0 ]; do sleep 0.1; done; while :; do [ -e unmanaged ] || '
                 'wireplumber; sleep 0.1; done & exec pipewire-pulse'],
}


class SoundServer:
    # Started again as often as a test likes, on the same folder; ends with its `with` block.
    # A machine without PipeWire skips its tests, in ctest's terms too (SKIP_RETURN_CODE).

    def __init__(self, kind, out):
        tools = ("pipewire", "wireplumber", "pipewire-pulse", "dbus-run-session")
        if kind == "pipewire" and not all(map(shutil.which, tools)):
            print("SKIP: no PipeWire here (needs %s)" % ", ".join(tools))
            sys.exit(77)
        self.name, self.out, self.proc = kind, out, None
        self.runtime = tempfile.mkdtemp(prefix="tessaform-sound-")
        # What a client, the game included, needs to find it. A named server also keeps libpulse
        # from starting one of its own while ours is down.
        self.client_env = dict(XDG_RUNTIME_DIR=self.runtime, HOME=self.runtime,
                               PULSE_SERVER="unix:%s/pulse/native" % self.runtime)
        # WirePlumber's own settings: its Bluetooth monitor, which no test needs, watches logind's
        # folders, and without them (no systemd-logind, as in a chroot or container) it quits.
        settings = os.path.join(self.runtime, "config")
        os.makedirs(os.path.join(settings, "wireplumber", "bluetooth.lua.d"))
        open(os.path.join(settings, "wireplumber", "bluetooth.lua.d", "80-off.lua"), "w").write(
            "bluez_monitor.enabled = false\n")
        self.env = dict(os.environ, XDG_CONFIG_HOME=settings, **self.client_env)
        self.unmanaged = os.path.join(self.runtime, "unmanaged")

    def __enter__(self):
        try:
            return self.start()
        except BaseException:
            self.__exit__()
            raise

    def __exit__(self, *exc):
        self.stop()
        shutil.rmtree(self.runtime, ignore_errors=True)

    def pactl(self, *arguments):
        return subprocess.run(["pactl", *arguments], env=self.env, capture_output=True,
                              text=True).stdout

    def start(self):  # the whole server, its session manager too
        with contextlib.suppress(FileNotFoundError):
            os.remove(self.unmanaged)
        # A process group of its own: one signal reaches every process of the server.
        self.proc = subprocess.Popen(COMMANDS[self.name], env=self.env, stdout=subprocess.DEVNULL,
                                     stderr=open(os.path.join(self.out, self.name + ".log"), "ab"),
                                     start_new_session=True)
        wait_until(self.name, lambda: "Server Name" in self.pactl("info"))
        self.pactl("load-module", "module-null-sink", "sink_name=tessaform")
        self.pactl("set-default-sink", "tessaform")
        return self

    def session_manager(self, running):
        # PipeWire's WirePlumber ended and kept away, or let back: without it the server links no
        # stream, and a client waits for the link.
        if running:
            os.remove(self.unmanaged)
        else:
            open(self.unmanaged, "w").close()
            subprocess.run(["pkill", "-g", str(self.proc.pid), "-x", "wireplumber"])
        find = ["pgrep", "-g", str(self.proc.pid), "-x", "wireplumber"]
        wait_until("the session manager " + ("back" if running else "gone"),
                   lambda: (subprocess.run(find, stdout=subprocess.DEVNULL).returncode == 0)
                   == running)

    def streams(self):  # its sink inputs now: the game's, as nothing else here plays
        return len(self.pactl("list", "short", "sink-inputs").splitlines())

    def stop(self, how=signal.SIGTERM):
        if self.proc and self.proc.poll() is None:
            os.killpg(self.proc.pid, how)
            self.proc.wait()
            wait_until("the server's end", lambda: "Server Name" not in self.pactl("info"))
