#!/usr/bin/env python3
"""usage: scenarios.py SCENARIO PROGRAM MOVES_TOOL OUT: the real program played end to end."""

import os
import re
import signal
import subprocess
import sys
import time
from contextlib import closing
from functools import partial

sys.dont_write_bytecode = True  # no __pycache__ in the source tree

from desktop import (BLACK, BLUE, GREEN, GREY, RED, Desktop, Game, Gnome, Sway, Weston, area,
                     wait_until, when)
from player import Player, Rules
from reader import Reader, read_along
from soundservers import SoundServer


def start(desk, program, rules, audio="dummy", platform="xcb"):  # laid out, its first game dealt
    game = Game(desk, program, audio, platform)
    return game, Player(game, rules).begin()


def play_a_set(program, rules, desk):
    reader = Reader(desk)
    game, p = start(desk, program, rules)
    # An X11 shell finds the window's desktop entry by its class.
    entry = open(os.path.join(os.path.dirname(__file__), "../../packaging",
                              "org.example.Tessaform.desktop")).read()
    window = wait_until("the window", lambda: game.xdotool("search", "--name", "^Tessaform - "))
    wm_class = desk.run("xprop", "-id", window.split()[0], "WM_CLASS").stdout
    assert '"%s"' % re.search(r"(?m)^StartupWMClass=(.*)$", entry)[1] in wm_class, wm_class

    def send(points):  # a double click and a right click on the first, one click on each other
        (x, y), more = points[0], points[1:]
        game.xdotool("mousemove", x, y, "click", "--repeat", 2, 1, "click", 3)
        assert game.seen(r"end 154$") is None, "the deal sound ended before the first press"
        # Half a second apart: Qt makes two presses within its interval a double click.
        game.xdotool(*sum((["sleep", 0.5, "mousemove", x, y, "click", 1] for x, y in more), []))

    a_set(game, p, send, lambda wide: desk.run("xrandr", "-s", "800x600" if wide else "640x480"),
          partial(read_along, reader, game))
    game.close()  # while the deal sound holds the game


def a_set(game, p, send, screen, read=lambda moment: None):
    # A set played to its recap and another begun; send(points) presses (see presses_wait),
    # screen(wide) makes the game's screen 640 pixels wide or as wide as it was, read(moment)
    # checks what a screen reader finds on the board, the narrow screen, wide again, the recap.
    game.wait_for(r"start 154 sync$")
    presses_wait(game, p, send)
    game.wait_screen("the board with its red master", p.board_shown)
    read("board")

    k = p.open()[0]
    p.match(k)
    game.wait_screen("block %d framed green" % k, lambda s: p.framed(s, k, GREEN))
    scores = [p.finish(1)]

    # A screen too narrow ends game 2 as it is dealt (a change of resolution); wide again,
    # the set goes on.
    screen(False)
    width, height = map(int, game.wait_for(r"narrow (\d+)x(\d+)$").groups())
    game.locate(width, height)
    game.wait_screen("the red narrow screen",
                     lambda s: s.share(area(*game.view, width, height, 2), RED, BLUE) == 1)
    read("narrow")
    screen(True)
    p.layout()
    read("wide")
    scores.append(p.rest(2))

    collide(p)  # game 3 begins with one
    scores += [p.finish(number) for number in range(3, 6)]

    recap = game.wait_for(r"recap: ([-\d ]+) average -?\d+$")
    assert [int(n) for n in recap[1].split()] == scores, "the games' nets: %s" % scores
    shot = game.wait_screen("the yellow column", p.column)
    read("recap")
    game.press(*p.column(shot))
    game.wait_for(r"new set$")
    p.deal(1)
    game.wait_for(r"start 154 sync$")


def presses_wait(game, p, send):
    # Presses during the deal sound wait behind it, the opening figure left showing, then are
    # handled in order: a move in each of four blocks, none making two blocks equal. The first
    # is a double click, whose second press moves nothing, then a right click, which is no press.
    presses = [p.aim(k, p.quiet(k)) for k in (1, 4, 7, 10)]
    send([point for point, _ in presses])  # first, as the sound lasts only 4.2 s
    game.wait_screen("the opening figure without the board", p.no_board,
                     gone=lambda: game.seen(r"end 154$"))
    game.wait_for(re.escape(presses[-1][1]) + "$")
    end, first = game.seen(r"end 154$"), game.seen(r"move block")
    assert end is not None and first > end, "a press was handled during the deal sound"
    handled = [line.split(": ", 1)[1] for line in game.lines if "move block" in line]
    assert handled == [e for _, e in presses], "presses handled %s, sent %s" % (handled, presses)


def collide(p):
    # The shortest way to make one open block equal to another: both framed black during the
    # collision's sound, then dissolved to grey.
    game = p.game
    ways = [(p.way(k, j), k, j) for k in p.open() for j in p.open() if j != k]
    arrows, k, j = min((w for w in ways if w[0] is not None), key=lambda w: len(w[0]))
    for arrow in arrows:
        p.press(k, arrow)
    game.wait_for(r"collide blocks %d %d$" % (k, j), r"start 155 sync$")
    game.wait_screen("blocks %d and %d framed black" % (k, j),
                     lambda s: p.framed(s, k, BLACK) and p.framed(s, j, BLACK),
                     gone=lambda: game.seen(r"end 155$"))
    game.wait_for(r"end 155$", r"lose blocks %d %d$" % (k, j), r"start 159 async$")
    game.wait_screen("blocks %d and %d grey" % (k, j), lambda s: p.grey(s, k) and p.grey(s, j))
    p.lost |= {k, j}


def wayland(program, rules, desk):
    # The panel's view is listed before the shell has given it its size.
    sized = lambda rect: rect if rect and rect[3] > 0 else None
    panel = wait_until("the shell's panel", lambda: sized(desk.scene().get("panel")))
    game, p = start(desk, program, rules, platform="wayland")
    game.wait_for(r"start 154 sync$")
    # The deal sound holds the thread: the opening figure must be on screen from its start.
    view = area(*game.view, desk.size[0] - game.view[0], desk.size[1] - game.view[1], 1)
    assert desk.shot().share(view, GREY) < 0.995, "no opening figure as the deal sound starts"
    game.wait_for(r"end 154$")
    game.wait_screen("the board where the layout puts it", p.board_shown)
    assert game.seen("layout", game.cursor) is None, "laid out more than once\n" + game.tail()
    window = desk.scene()["top-level"]
    assert window == (0, panel[3], *desk.size), f"window {window} under the panel {panel}"


def sway(program, rules, desk):
    # With only WAYLAND_DISPLAY set and no XWayland: the shell knows the window by its desktop
    # entry's id; the window fills the workspace below the bar, under sway's title bar.
    # sway tiles it only once it shows, so it first lays out for the screen, never for a narrow
    # sliver, then for its tile, the view as wide as the window.
    game = Game(desk, program, "dummy", platform=None)
    game.wait_for(r"start 154 sync$")
    window = wait_until("the game's window", lambda: desk.tree().get("org.example.Tessaform"))
    assert window["name"].startswith("Tessaform - Tessaform  (C)"), window["name"]
    workspace, rect = desk.tree()["workspace"], window["rect"]
    deco = window["deco_rect"]["height"]
    assert (rect["x"], rect["y"] - deco, rect["width"], rect["height"] + deco) == tuple(
        workspace.values()), f"the window {rect} with its title bar, the workspace {workspace}"
    inside = window["window_rect"]
    width, height = map(int, game.wait_for(r"end 154$", r"layout (\d+)x(\d+) board").groups())
    assert width == inside["width"] and height < inside["height"], f"the view {width}x{height}"
    assert game.seen("narrow") is None, game.tail()
    # Asked for the window's own frame, sway 1.7 answers that it draws its own on a tiled window.
    assert game.seen(r"frame: the compositor's$") is not None, game.tail()


def gnome(program, rules, desk):
    # With only WAYLAND_DISPLAY set and no XWayland: the shell finds the window's desktop entry
    # by its app id and draws its icon, maximises the window below its top bar, the view at the
    # window's bottom, its frame its own; presses land where the board lies.
    print(f"GNOME Shell started in {desk.started:.1f} s")
    game, p = start(desk, program, rules, platform=None)
    game.wait_for(r"end 154$")
    shot = game.wait_screen("the board where the layout puts it", p.board_shown)
    assert game.seen("layout", game.cursor) is None, "laid out more than once\n" + game.tail()
    window = wait_until("the game's window", lambda: desk.windows().get("org.example.Tessaform"))
    assert window["app-id"] == "org.example.Tessaform.desktop" and window["has-focus"], window
    log = open(desk.out + "/gnome-shell.log", "rb").read()
    assert b"Could not load a pixbuf" not in log, "the shell could not draw an icon, ours?"
    bar = desk.size[1] - window["height"]
    assert window["width"] == desk.size[0] and 0 < bar < game.view[1], f"the window {window}"
    assert shot.share(area(0, 0, desk.size[0], bar, 2), BLACK) > 0.8, "no top bar above it"
    assert game.seen(r"frame: own$") is not None, "a frame around the window's\n" + game.tail()
    # Presses land: a silent move, then one off the arrows, the block grey on screen.
    k = p.open()[0]
    p.press(k, p.quiet(k))
    p.lose()
    game.wait_screen("block %d grey" % k, lambda s: p.grey(s, k))
    game.close()


class Recording:  # what reaches the test's sink from now on, heard through its monitor
    def __init__(self, desk, server, name):
        self.path = os.path.join(desk.out, name + ".raw")
        self.proc = desk.spawn(["parec", "-d", "tessaform.monitor", "--raw", "--rate=22050",
                                "--format=s16le", "--channels=1", self.path], subprocess.DEVNULL)
        source = lambda: server.pactl("list", "short", "source-outputs").split()[1:2]
        wait_until("the recorder linked", lambda: source() not in ([], ["4294967295"]))

    def seconds(self):
        # From the first loud sample to the last: PipeWire's sink stops sending silence to the
        # recorder once nothing plays.
        self.proc.terminate()
        self.proc.wait()
        samples = memoryview(open(self.path, "rb").read()).cast("h")
        loud = [i for i, v in enumerate(samples) if abs(v) > 400] or [0]
        return (loud[-1] - loud[0]) / 22050


def sound_server(kind, program, rules, desk):
    # The deal heard whole through each driver, then sound through the server's restart, absence
    # and death (see CMakeLists.txt).
    with SoundServer(kind, desk.out) as server:
        desk.env.update(server.client_env)
        for driver in ["pipewire", "pulseaudio"] if kind == "pipewire" else ["pulseaudio"]:
            hear_the_deal(program, rules, desk, server, driver)


def hear_the_deal(program, rules, desk, server, driver):
    recording = Recording(desk, server, driver)
    game, player = start(desk, program, rules, driver)
    game.wait_for(r"driver %s$" % driver, r"start 154 sync$")
    assert server.streams() == 1, "the deal plays in a stream of ours"
    game.wait_for(r"end 154$", r"stream closed$")
    time.sleep(3)
    assert server.streams() == 0, "a silent game keeps a stream"
    assert game.seen(r"no device|cut ") is None, game.tail()
    # The riffles sound from 0.62 s to 3.84 s of the 4.24 s sound. A loaded machine's server
    # stretches it by a gap or two; a wrong rate would halve or double it.
    assert 3.0 < (seconds := recording.seconds()) < 3.8, f"sound for {seconds:.2f} s, not 3.2 s"
    print(f"{server.name} through SDL's {driver} driver: the deal sounded {seconds:.2f} s")
    if driver == server.name:
        through_the_servers_life(game, player, server)
    game.close()


def through_the_servers_life(game, player, server):
    server.stop()
    server.start()
    a_sound_plays_on(game, player, server)

    server.stop()
    player.lose("no device")
    game.dismiss_warning()
    player.lose("no device")  # would wait behind a second warning
    server.start()
    a_sound_plays_on(game, player, server)
    warnings = [line for line in game.lines if line.endswith("sound: warning")]
    assert len(warnings) == 1 and not game.boxes(), "%d warnings" % len(warnings)

    while player.open():  # the last loss ends the game; the next is dealt after its sounds
        player.lose()
    begun = when(game.wait_for(r"start 154 sync$").string)
    assert server.streams() == 1, "the deal plays in a stream of ours"
    server.stop(signal.SIGKILL)
    held = when(game.wait_for(r"end 154$").string) - begun
    # The deal sound's 93,541 samples at 22,050 a second, less a tick of the game's clock.
    assert held >= 93_541 / 22_050 - 0.05, "the board came %.2f s into the deal sound" % held
    player.deal(2)
    game.wait_screen("the board after the deal", player.board_shown)
    # Presses go on: a move that neither matches nor makes two blocks equal, so no sound.
    player.press(player.open()[0], player.quiet(player.open()[0]))
    server.start()
    a_sound_plays_on(game, player, server)


def a_sound_plays_on(game, player, server):
    player.lose("start 159 async")  # the loss sound
    assert server.streams() == 1, "the sound plays in no stream of ours"  # for 1.8 s at least
    game.wait_for(r"stream closed$")
    assert server.streams() == 0, "a silent game keeps a stream"


def no_session_manager(program, rules, desk):
    # PipeWire whose session manager has gone links no stream, and SDL's pipewire and pulseaudio
    # drivers wait for the link without a bound: the game's opening gives up, the game goes on
    # as without a sound card, and sound comes back with the session manager, or with the server
    # after it died during an opening. Each driver has a server of its own: WirePlumber 0.4
    # coming back a second time does not always link what came while it was away.
    for driver in "pipewire", "pulseaudio":
        with SoundServer("pipewire", desk.out) as server:
            desk.env.update(server.client_env)
            server.session_manager(False)
            game, player = start(desk, program, rules, driver)
            dealt = when(game.lines[game.cursor - 1])
            game.wait_screen("the board after the deal", player.board_shown)
            held = when(game.wait_for(r"sound: no answer$").string) - dealt
            assert held > 1 and not game.seen("warning"), "the deal's opening:\n" + game.tail()
            player.lose("sound: still no answer", "sound: warning")  # not waited for
            game.dismiss_warning()
            threads = lambda: len(os.listdir("/proc/%d/task" % game.proc.pid))
            before = threads()
            player.lose("sound: still no answer")
            assert threads() == before, "a thread for each sound"
            # Back, the session manager links the stream: SDL's opening ends, and its device is
            # closed at once.
            server.session_manager(True)
            wait_until("the given up stream's end", lambda: server.streams() == 0)
            recording = Recording(desk, server, driver + "-later")
            a_sound_plays_on(game, player, server)
            assert (seconds := recording.seconds()) > 0.5, f"the loss sound for {seconds:.2f} s"
            if driver == "pulseaudio":  # SDL's pipewire driver waits for ever on a dead server
                server.session_manager(False)
                player.lose("sound: no answer")
                server.stop(signal.SIGKILL)
                server.start()
                a_sound_plays_on(game, player, server)
            server.session_manager(False)
            player.lose("sound: no answer")
            warnings = [line for line in game.lines if line.endswith("sound: warning")]
            assert len(warnings) == 1 and not game.boxes(), "%d warnings" % len(warnings)
            game.close()  # while an opening is under way
        print(f"SDL's {driver} driver, no session manager: the deal's opening held {held:.2f} s")


if __name__ == "__main__":
    scenarios = dict(play_a_set=play_a_set, wayland=wayland, sway=sway, gnome=gnome,
                     sound_server_pipewire_unmanaged=no_session_manager)
    for kind in "pulseaudio", "pipewire":
        scenarios["sound_server_" + kind] = partial(sound_server, kind)
    if len(sys.argv) != 5 or sys.argv[1] not in scenarios:
        sys.exit(__doc__)
    name, program, tool, out = sys.argv[1:]
    with closing(Weston("1280x1024", out) if name == "wayland" else
                 Sway("1280x1024", out) if name == "sway" else
                 Gnome("1280x1024", out, program) if name == "gnome" else
                 Desktop("800x600", out, nested=name == "play_a_set")) as desk:
        scenarios[name](program, Rules(tool), desk)
