#!/usr/bin/env python3
"""Plays a whole set and the start of a new one in the program built with the
sanitizers, then quits with Alt+F4: LeakSanitizer, run at exit, must report
nothing that the game's own code allocated.

    leakcheck.py PROGRAM            (make leakcheck)

Prints LeakSanitizer's summary and exits non-zero on any leak, any other
sanitizer report or an unclean exit."""

import re
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ left in the source tree

from desktop import Desktop, Game
from faults import OFF_ARROWS, WARNING_TITLE, all_grey, check, lose_all_blocks, none_grey


def main(app):
    started = time.time()
    with Desktop(76) as desk:
        game = Game(desk, app, audio="tessaform-no-device")
        try:
            game.wait_for_board(60)
            for number in range(5):
                lose_all_blocks(game)
                game.wait("game %d lost block by block" % (number + 1),
                          lambda s: all_grey(s, game.master), 60)
                if number < 4:
                    game.wait("game %d dealt" % (number + 2),
                              lambda s: none_grey(s, game.master), 60)
            screen = game.wait("the recap", lambda s: s.column(), 60)
            x, y = screen.column()
            game.press(x + 5, y + 100)  # a new set: its pictures are loaded anew
            game.wait("the new set's board", lambda s: s.master() and none_grey(s, s.master()), 60)
            game.master = game.shot().master()
            game.press_in(2, *OFF_ARROWS)
            game.dismiss_warning(WARNING_TITLE, 1.0)
            game.wait("a loss in the new set", lambda s: s.block_state(game.master, 2) == "grey",
                      20)
            game.quit_with_alt_f4()
            code = game.exit_code(120)
            output = game.output()
        finally:
            game.stop()
    leaks = re.findall(r"^SUMMARY: AddressSanitizer: .*leaked.*$", output, re.M)
    print("leakcheck: a set of five games and a new set played in %.0f s, exit code %d"
          % (time.time() - started, code))
    print("leakcheck: " + (leaks[0] if leaks else "LeakSanitizer reported no leak"))
    check("ERROR: AddressSanitizer" not in output and "runtime error" not in output,
          "a sanitizer report\n" + output)
    check(not leaks and code == 0, "leaks or an unclean exit (%d)\n%s" % (code, output))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
