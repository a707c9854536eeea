#!/usr/bin/env python3
"""Faults of the real program, each a test of its own:

    faults.py TEST PROGRAM

no_sound_device            no audio driver can open: the warning shows once, play goes on
narrow_screen_during_game  the screen drops below 641 pixels mid-game and comes back
narrow_screen_during_rest  the same in the rest after a game
narrow_screen_at_recap     the same while the recap is shown
presses_queued_behind_deal a thousand presses made during the deal sound
close_during_sound_wait    Alt+F4 while a sound holds the game: a clean exit
close_during_dissolve      Alt+F4 while a lost block dissolves: a clean exit
"""

import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ left in the source tree

from desktop import BLOCK, Desktop, Game, Screen

WARNING_TITLE = "Tessaform"
OFF_ARROWS = (30, 30)  # inside a block, on none of its arrows: loses it


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def clean_exit(game):
    code = game.exit_code()
    output = game.output()
    check(code == 0, "exit code %s\n%s" % (code, output))
    for bad in ("Sanitizer", "runtime error", "Segmentation", "Aborted", "terminate called"):
        check(bad not in output, "the program reported %r\n%s" % (bad, output))


def lose_all_blocks(game):
    for k in range(1, 12):
        game.press_in(k, *OFF_ARROWS)
        if k == 1:
            # Without sound the first loss brings the one-time warning; the box takes the presses.
            game.dismiss_warning(WARNING_TITLE)


def all_grey(screen, master):
    return all(screen.block_state(master, k) == "grey" for k in range(1, 12))


def none_grey(screen, master):
    return all(screen.block_state(master, k) != "grey" for k in range(1, 12))


def view_box(screen):
    """The game's client area while it is grey: rows and columns mostly grey."""
    grey = b"\x80\x80\x80"
    rows = [y for y in range(screen.height) if screen.row(y).count(grey) > screen.width // 2]
    if not rows:
        return None
    top, bottom = rows[0], rows[-1] + 1
    middle = (top + bottom) // 2
    xs = [x for x in range(screen.width) if screen.pixel(x, middle) == grey]
    return xs[0], top, xs[-1] + 1, bottom


# ---- The tests ----------------------------------------------------------------------


def no_sound_device(app):
    with Desktop(70) as desk:
        game = Game(desk, app, audio="tessaform-no-device")
        try:
            game.wait_for_board()
            check(not game.boxes(WARNING_TITLE), "a warning before any sound was started")

            game.press_in(1, *OFF_ARROWS)  # the falling tone cannot start
            deadline = time.time() + 10
            while not game.boxes(WARNING_TITLE):
                check(time.time() < deadline, "no sound warning after the first failing sound")
                time.sleep(0.1)
            check(len(game.boxes(WARNING_TITLE)) == 1, "more than one warning box")
            game.close_box(game.boxes(WARNING_TITLE)[0])

            game.wait("block 1 lost once the box is closed",
                      lambda s: s.block_state(game.master, 1) == "grey", 10)
            # More sounds fail: losses, and a move that may match; no box again.
            for k in (2, 4, 7):
                game.press_in(k, *OFF_ARROWS)
            game.press_in(5, 80, 40)
            game.wait("blocks 2, 4 and 7 lost", lambda s: all(
                s.block_state(game.master, k) == "grey" for k in (2, 4, 7)), 15)
            for _ in range(20):
                check(not game.boxes(WARNING_TITLE), "the sound warning came back")
                time.sleep(0.1)
            game.quit_with_alt_f4()
            clean_exit(game)
        finally:
            game.stop()


def narrow_screen(app, when):
    """Narrows the screen to 640x480 and widens it to 1024x768 again."""
    with Desktop(71, nested=True) as desk:
        game = Game(desk, app, audio="tessaform-no-device")
        try:
            game.wait_for_board()
            if when == "rest":
                lose_all_blocks(game)
                # The last dissolve holds the game; the change is handled in the rest.
                time.sleep(0.3)
            elif when == "recap":
                for number in range(5):
                    lose_all_blocks(game)
                    game.wait("the game's blocks all lost", lambda s: all_grey(s, game.master), 30)
                    if number < 4:
                        game.wait("the next game dealt whole",
                                  lambda s: none_grey(s, game.master), 30)
                game.wait("the recap's yellow column", lambda s: s.column(), 30)

            desk.resize("640x480")
            game.wait("the red narrow-screen warning", lambda s: s.narrow_warning(), 15)
            time.sleep(2.5)  # a rest timer or a clock tick would have drawn over it by now
            check(game.shot().narrow_warning(), "the warning was drawn over")
            check(game.shot().master() is None, "a board shows on the narrow screen")

            desk.resize("1024x768")
            if when == "recap":
                screen = game.wait("the recap again once wide", lambda s: s.column(), 15)
                x, y = screen.column()
                game.press(x + 5, y + 100)
                screen = game.wait_for_board(20)
                check(none_grey(screen, game.master), "the new set's board has holes")
            else:
                screen = game.wait_for_board(20)
                check(screen.master()[0] >= 0, "the board is not on screen")
                # The set goes on with the next game, dealt whole.
                game.wait("the next game dealt whole", lambda s: s.master() and none_grey(
                    s, s.master()), 20)
            game.master = game.shot().master()
            game.press_in(1, *OFF_ARROWS)
            game.dismiss_warning(WARNING_TITLE, 2.0)
            game.wait("a press that loses a block once wide again",
                      lambda s: s.block_state(game.master, 1) == "grey", 10)
            game.quit_with_alt_f4()
            clean_exit(game)
        finally:
            game.stop()


def presses_queued_behind_deal(app):
    with Desktop(73) as desk:
        # The dummy driver plays in real time: the deal sound holds the game 4.24 s.
        game = Game(desk, app, audio="dummy")
        try:
            screen = game.wait("the opening figure on grey",
                               lambda s: s.master() is None and view_box(s), 30)
            left, top, right, bottom = view_box(screen)
            origin = (left + (right - left - 700) // 2, top + (bottom - top - 520) // 2 + 1)
            game.master = origin
            command = ["xdotool"]
            for k in range(1, 12):
                x, y = game.at(k, *OFF_ARROWS)
                command += ["mousemove", str(x), str(y), "click", "--repeat", "91",
                            "--delay", "1", "1"]
            started = time.time()
            desk.run(*command)
            check(time.time() - started < 4.0, "the presses took too long to send")
            check(game.shot().master() is None, "the board was dealt before the presses ended")

            screen = game.wait_for_board(20)
            check(screen.master() == origin, "the board is not where the layout puts it")
            game.wait("all eleven blocks lost to the queued presses",
                      lambda s: all_grey(s, game.master), 30)
            # The game ended on its losses; the presses left over fell into the rest.
            game.wait("the next game dealt whole", lambda s: none_grey(s, game.master), 30)
            time.sleep(1.0)
            check(none_grey(game.shot(), game.master), "left-over presses reached the next game")
            game.quit_with_alt_f4()
            clean_exit(game)
        finally:
            game.stop()


def close_during_sound_wait(app):
    with Desktop(74) as desk:
        game = Game(desk, app, audio="dummy")
        try:
            game.wait("the opening figure while the deal sound plays",
                      lambda s: s.master() is None and view_box(s), 30)
            game.quit_with_alt_f4()
            clean_exit(game)
        finally:
            game.stop()


def close_during_dissolve(app):
    with Desktop(75) as desk:
        game = Game(desk, app, audio="tessaform-no-device")
        try:
            game.wait_for_board()
            # Close the warning box the first failing sound brings, then lose a block.
            game.press_in(1, *OFF_ARROWS)
            check(game.dismiss_warning(WARNING_TITLE, 10), "no sound warning")
            game.wait("block 1 lost", lambda s: s.block_state(game.master, 1) == "grey", 10)
            game.press_in(4, *OFF_ARROWS)
            game.quit_with_alt_f4()  # queued behind the 0.75 s dissolve
            clean_exit(game)
        finally:
            game.stop()


TESTS = {
    "no_sound_device": no_sound_device,
    "narrow_screen_during_game": lambda app: narrow_screen(app, "game"),
    "narrow_screen_during_rest": lambda app: narrow_screen(app, "rest"),
    "narrow_screen_at_recap": lambda app: narrow_screen(app, "recap"),
    "presses_queued_behind_deal": presses_queued_behind_deal,
    "close_during_sound_wait": close_during_sound_wait,
    "close_during_dissolve": close_during_dissolve,
}

if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] not in TESTS:
        sys.exit(__doc__)
    TESTS[sys.argv[1]](sys.argv[2])
    print("%s: passed" % sys.argv[1])
