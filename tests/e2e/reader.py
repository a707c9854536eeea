# The game as a screen reader finds it: AT-SPI on an accessibility bus of the test's own, read
# through Debian's pyatspi, with the changes of name the game announces noted as they come.

import os
import re

from desktop import wait_until, when


class Reader:
    def __init__(self, desk):  # before the game, which finds the bus as it starts
        address = desk.env["DBUS_SESSION_BUS_ADDRESS"] = desk.bus()
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address  # for pyatspi, in this process
        desk.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                   open(os.path.join(desk.out, "at-spi.log"), "wb"))
        # What a screen reader sets as it starts; the game offers its tree from then on.
        wait_until("the accessibility bus", lambda: desk.run(
            "dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
            "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status",
            "string:ScreenReaderEnabled", "variant:boolean:true").returncode == 0)
        import pyatspi  # on the bus named above
        from gi.repository import GLib
        self.atspi, self.context, self.names = pyatspi, GLib.MainContext.default(), []
        # Qt's event names the object, not its new name: read as it comes, as a reader does.
        pyatspi.Registry.registerEventListener(lambda event: self.names.append(event.source.name),
                                               "object:property-change:accessible-name")

    def pump(self):  # takes in the events that have come
        while self.context.iteration(False):
            pass

    def app(self, pid):
        self.pump()
        return wait_until("the game on the accessibility bus", lambda: next(
            (a for a in self.atspi.Registry.getDesktop(0) if a and a.get_process_id() == pid),
            None))

    def find(self, pid, role, name=None, fresh=False):
        # The first of the game's objects in that role; fresh, asked anew each time, for what the
        # game tells no change of (the library keeps what it has read until told).
        def found():
            app = self.app(pid)
            return (fresh and app.clear_cache()) or self.atspi.findDescendant(
                app, lambda a: a.getRoleName() == role and name in (None, a.name))
        return wait_until("a %s %s" % (role, name or ""), found)

    def texts(self, pid):  # what the view's children say now
        return [child.name for child in self.find(pid, "canvas")]

    def tree(self, node, depth=0):  # as a reader lists it, for a failure or the record
        lines = ["%s%s %r%s" % ("  " * depth, node.getRoleName(), node.name,
                                " (%s)" % node.description if node.description else "")]
        for child in node:
            lines += self.tree(child, depth + 1)
        return lines


STRIP = ["Time Left", "Match Score", "Click Cost", "Net Score"]
NARROW = ("THIS GAME WILL NOT RUN AT RESOLUTIONS BELOW 800x600. PLEASE QUIT NOW BY PRESSING THE "
          "Alt and F4 KEYS.")


def words_at(words, game, moment):
    # What the screen says in words at each moment of a set (scenarios.a_set), read by words():
    # the strip's boxes, its clock going on; the warning alone on a narrow screen; at the recap,
    # the last game's strip and the recap as the log has them. The words last read.
    texts = words()
    if moment in ("board", "wide"):
        assert [text.rsplit(" ", 1)[0] for text in texts] == STRIP, texts
    if moment == "board":
        wait_until("the clock read anew", lambda: words()[0] != texts[0])
        assert (now := words())[0] < texts[0], (texts, now)
        return now
    if moment == "narrow":
        assert texts == [NARROW], texts
    if moment == "recap":
        last = lambda pattern: re.search(pattern, game.lines[game.seen(pattern)]).groups()
        match, clicks, bonus, net = last(r"game 5: match (\d+) clicks (\d+) bonus (\d+) net (\S+)$")
        *games, average = last(r"recap: ([-\d ]+) average (-?\d+)$")
        expected = ["Match Score " + match, "Click Cost " + clicks, "Bonus " + bonus,
                    "Net Score " + net, "CLICK HERE TO PLAY ANOTHER SET", "Average " + average]
        expected += ["Game %d %s" % (5 - i, n) for i, n in enumerate(games[0].split()[::-1])]
        assert texts[1:] == expected, "read %s, the log says %s" % (texts, expected)
    return texts


def read_along(reader, game, moment):
    # The words as a reader reads them through AT-SPI, with the view named and described and
    # the clock's change announced; at the recap, no more than one a second all along, and
    # every part of the about box named.
    pid = game.proc.pid
    texts = words_at(lambda: reader.texts(pid), game, moment)
    if moment == "board":
        view = reader.find(pid, "canvas")
        assert view.name == "Tessaform board" and view.description, reader.tree(view)
        reader.pump()
        assert texts[0] in reader.names, "the clock went on unannounced: %s" % reader.names
    if moment == "recap":
        seconds = when(game.lines[game.seen("recap: ")]) - when(game.lines[game.seen("deal ")])
        ticks = sum(name.startswith("Time Left") for name in reader.names)
        assert 0 < ticks <= seconds + 6, "%d times left in %.0f s" % (ticks, seconds)
        about_named(reader, game)


def click(reader, game, item):  # where the reader finds it, once it shows
    wait_until("%s shown" % item.name, lambda: item.clear_cache() or item.getState().contains(
        reader.atspi.STATE_SHOWING))  # asked anew: no change of state is listened for
    box = item.queryComponent().getExtents(reader.atspi.DESKTOP_COORDS)
    game.press(box.x + box.width // 2, box.y + box.height // 2)


def about_named(reader, game):  # every part of the about box has a name
    pid = game.proc.pid
    for item in "Help", "About Tessaform...":  # pressed where the reader finds them
        click(reader, game, reader.find(pid, "menu item", item, fresh=True))
    about = reader.find(pid, "dialog", "About Tessaform", fresh=True)
    tree = reader.tree(reader.app(pid))
    open(os.path.join(game.desktop.out, "atspi-tree.txt"), "w").write("\n".join(tree) + "\n")
    parts = [(child.getRoleName(), child.name) for child in about]
    assert len(parts) == 4 and all(name for _, name in parts), parts
    click(reader, game, next(child for child in about if child.name == "OK"))
    wait_until("the about box closed", lambda: not game.xdotool(
        "search", "--onlyvisible", "--name", "^About Tessaform$").split())
