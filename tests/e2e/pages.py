#!/usr/bin/env python3
"""usage: pages.py SCENARIO WWW PROGRAM MOVES_TOOL OUT: the browser's page played in Chromium."""

import base64
import os
import re
import subprocess
import sys
import time
from contextlib import closing
from functools import partial

sys.dont_write_bytecode = True  # no __pycache__ in the source tree

from browser import Page, skip_without_chromium
from desktop import Desktop, Game, Shot, wait_until
from player import Player, Rules
from reader import words_at
from scenarios import a_set, collide

# The page with no sound at all: as a browser whose audio cannot start.
NO_AUDIO = "window.AudioContext = function() { throw new Error('no audio here'); };"
# The page's calendar, which the game's clock reads, seven times as fast (a game's 105 s in 15),
# and the calendar time of each line the game logs.
HURRIED = """{ const now = Date.now, from = now(), log = console.log;
  Date.now = () => from + 7 * (now() - from);
  window.logged = [];
  console.log = (...args) => { logged.push([Date.now(), args[0]]); log(...args); }; }"""
FROZEN = "2026-12-09 12:00:00"  # the calendar time of the pixel comparison, stopped


def plays_a_set(www, program, rules, out):
    # The desktop's set (scenarios.a_set), with the page's presses and window sizes.
    with closing(Page(www, out, "seed=1")) as page:
        p = Player(page.touch(), rules).begin()

        def send(points):
            act = page.actions()
            act.pointer_action.move_to_location(*points[0]).double_click().context_click()
            for x, y in points[1:]:  # too far apart to make a double click
                act.pointer_action.move_to_location(x, y).click()
            act.perform()
            page.more()
            assert page.seen(r"end 154$") is None, "the deal sound ended before the last press"

        a_set(page, p, send, lambda wide: page.resize(800 if wide else 640, 559),
              partial(read_words, page))


def read_words(page, moment):  # the desktop's words, and the board named as on the desktop
    words_at(page.words, page, moment)
    board = page.driver.find_element("id", "board")
    assert board.accessible_name == "Tessaform board" and board.get_attribute("aria-description")


def left_alone(www, program, rules, out):
    # Two games for their 105 s at once: one left alone ends by time; the other, which cannot
    # sound, shows the warning, whose box takes no press while its clock ends the game. The
    # printed instructions meanwhile.
    with closing(Page(www, out + "/alone", "seed=2", before=HURRIED)) as alone, \
            closing(Page(www, out + "/silent", "seed=3", before=HURRIED + NO_AUDIO)) as silent:
        Player(alone.touch(), rules).begin()
        s = Player(silent.touch(), rules).begin()
        silent.wait_screen("the board at once", s.board_shown)
        s.lose("warning")  # its sound, the first not waited for, cannot start
        boxes = "return document.querySelectorAll('dialog.box[open]').length"
        wait_until("the warning box", lambda: silent.js(boxes) == 1)
        # An arrow of the open block farthest from the box in the middle.
        far = max(s.open(), key=lambda k: abs(s.point(k)[0] - 400) + abs(s.point(k)[1] - 300))
        silent.press(*s.point(far, *rules.arrows[0]))
        printed(silent, rules, out)
        for page in alone, silent:
            page.wait_for(r"game 1 over: time$")
            # In the page's calendar, from the clock's start, after the deal or its sound.
            logged = page.js("return logged")
            over = next(t for t, line in logged if line.endswith("over: time"))
            lasted = over - max(t for t, line in logged
                                if t <= over and re.search(r"deal game 1:|end 154$", line))
            assert lasted > 104_000, "over %d ms into the game\n%s" % (lasted, page.tail())
        assert silent.js(boxes) == 1, "the box closed by itself\n" + silent.tail()
        silent.js("document.querySelector('dialog.box button').click()")
        s.rest(1)
        assert silent.seen(r"move block") is None, "the box let a press through\n" + silent.tail()
        assert silent.seen(r"start \d+") is None, "a sound started\n" + silent.tail()


def printed(page, rules, out):
    # The instructions as printed: the caption less its " of", then the lines, no picture.
    pdf = os.path.join(out, "instructions.pdf")
    open(pdf, "wb").write(base64.b64decode(page.driver.print_page()))
    text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True,
                          check=True).stdout
    assert text.count("\f") == 1, "the instructions on %d pages" % text.count("\f")
    lines = [" ".join(line.split()) for line in text.splitlines() if line.strip()]
    title = page.driver.title.removeprefix("Tessaform - ").removesuffix(" of")
    expected = [title] + [line for line in rules.printed if line.strip()]
    assert lines == expected, "printed:\n%s" % "\n".join(lines)
    images = subprocess.run(["pdfimages", "-list", pdf], capture_output=True, text=True).stdout
    assert len(images.splitlines()) == 2, "a picture on paper:\n" + images  # its header alone


def beside_the_desktop(www, program, rules, out):
    # The same deal at the same calendar time and size in both: the same pixels after the deal,
    # a move, a match, a collision's dissolve, and on a narrow screen; the same caption.
    with closing(Desktop("800x600", out + "/desktop", nested=True)) as desk:
        desk.env.update(TESSAFORM_SEED="4", LC_ALL="C.UTF-8")  # the page writes dates as C does
        # The calendar stopped, the monotonic clock of Qt's timers and SDL's sound running.
        game = Game(desk, program, "dummy",
                    before=["faketime", "-f", "--exclude-monotonic", FROZEN])
        d = Player(game, rules).begin()
        frozen = time.mktime(time.strptime(FROZEN, "%Y-%m-%d %H:%M:%S")) * 1000
        with closing(Page(www, out + "/page", "seed=4", d.client,
                          "Date.now = () => %d;" % frozen)) as page:
            b = Player(page.touch(), rules).begin()
            laid = lambda p: (p.client, p.board, p.arrangements)  # as the layout and deal lines say
            assert laid(b) == laid(d), "the page %s, the desktop %s" % (laid(b), laid(d))
            k, differ = d.open()[0], []
            for what, step in [("the board", lambda p: p.game.wait_for(r"end 154$")),
                               ("a move", lambda p: p.press(k, p.quiet(k))),
                               ("a match", lambda p: p.match(k)), ("a collision", collide)]:
                for p in d, b:
                    step(p)
                differ += differing(what, game, page, out)
            caption = game.xdotool("search", "--name", "^Tessaform - ", "getwindowname").strip()
            assert page.driver.title == " ".join(caption.split()), page.driver.title

            desk.run("xrandr", "-s", "640x480")
            narrow = game.wait_for(r"narrow (\d+)x(\d+)$").groups()
            game.locate(*map(int, narrow))
            page.resize(*map(int, narrow))
            page.wait_for(r"narrow %sx%s$" % narrow)
            differ += differing("the narrow warning", game, page, out)
            assert not differ, "\n".join(differ)


def differing(what, game, page, out):
    # Where the desktop's view and the canvas differ, once neither changes; both kept in OUT.
    def both():
        shot, (x, y) = game.shot(), game.view
        row = 3 * shot.width
        view = b"".join(shot.pixels[at + 3 * x:at + row]
                        for at in range(row * y, len(shot.pixels), row))
        return b"P6 %d %d 255\n" % (shot.width - x, shot.height - y) + view, page.canvas().ppm

    takes = [both()]

    def still():  # the same twice running, a second apart
        time.sleep(1)
        takes.append(both())
        return takes[-1] == takes[-2]

    wait_until("a still screen", still)
    for side, ppm in zip(("desktop", "page"), takes[-1]):
        open(os.path.join(out, "%s-%s.ppm" % (what.replace(" ", "-"), side)), "wb").write(ppm)
    view, canvas = (Shot(ppm) for ppm in takes[-1])
    sizes = canvas.width, canvas.height, view.width, view.height
    wrong = sum(view.pixel(x, y) != canvas.pixel(x, y)
                for y in range(view.height) for x in range(view.width))
    return ["%s: the canvas %dx%d, the desktop's view %dx%d, %d pixels differ" % (
        what, *sizes, wrong)] if wrong or sizes[:2] != sizes[2:] else []


if __name__ == "__main__":
    scenarios = {f.__name__: f for f in (plays_a_set, left_alone, beside_the_desktop)}
    if len(sys.argv) != 6 or sys.argv[1] not in scenarios:
        sys.exit(__doc__)
    skip_without_chromium()
    name, www, program, tool, out = sys.argv[1:]
    if not os.path.isfile(os.path.join(www, "index.html")):
        sys.exit("no page in %s: make web builds it" % www)
    scenarios[name](www, program, Rules(tool), out)
