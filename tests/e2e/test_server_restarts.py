#!/usr/bin/env python3
"""The game's sound through what befalls a desktop's sound server, one of the test's own: killed
during the deal sound, started again while the board is silent, gone when a sound is due and then
back. Usage: GAME MOVES_TOOL OUT [pipewire]: PulseAudio through SDL's pulseaudio driver, or
PipeWire through its pipewire driver, which does not notice a server that has gone."""
import re
import signal
import sys
from contextlib import closing

sys.dont_write_bytecode = True  # no __pycache__ in the source tree

from desktop import Desktop, Game, wait_until
from player import Player, Rules
from soundservers import SoundServer

DEAL_SECONDS = 93_541 / 22_050


def report(row, game, start, server):
    said = [re.sub(r"^\s*\S+ tessaform\.", "", line) for line in game.lines[start:]]
    print("%s\n  log: %s\n  sink inputs the server made: %d, of the game's left: %d"
          % (row, " | ".join(said), server.opened(), server.streams()))
    return len(game.lines)


def killed_during_the_deal(game, player, server):
    when = lambda match: float(match.string.split()[0])  # the game's clock at the line
    begun = when(game.wait_for(r"start 154 sync$"))
    assert server.streams() == 1, "the deal plays in a stream of ours"
    server.stop(signal.SIGKILL)
    held = when(game.wait_for(r"end 154$")) - begun
    print("the game held %.2f s for the %.2f s deal sound" % (held, DEAL_SECONDS))
    assert held >= DEAL_SECONDS - 0.05, "the board came before the deal sound's end"
    game.wait_screen("the board after the deal", player.board_shown)
    # Presses go on: a move that neither matches nor makes two blocks equal, so no sound.
    k = player.open()[0]
    player.press(k, next(arrow for arrow, b in enumerate(player.rules.apply[
        player.arrangements[k]]) if b not in player.avoid(k) and b != player.arrangements[0]))


def a_sound_plays_on(game, player, server):
    player.press(player.open()[0], None)  # a press off the arrows: the loss sound 159
    game.wait_for(r"start 159 async$")
    game.wait_for(r"stream closed$")
    wait_until("the sound's stream on the server", server.opened)
    assert server.opened() == 1, "%d streams for one sound" % server.opened()
    assert server.streams() == 0, "a silent game keeps a stream"


def gone_then_back(game, player, server):
    server.stop()
    player.press(player.open()[0], None)
    game.wait_for(r"no device$")
    boxes = wait_until("the sound warning", game.boxes)
    assert len(boxes) == 1, "%d sound warnings" % len(boxes)
    game.xdotool("windowactivate", "--sync", boxes[0], "key", "Return")
    wait_until("the warning closed", lambda: not game.boxes())  # else it takes the next press
    player.press(player.open()[0], None)  # would wait behind a second warning
    game.wait_for(r"no device$")
    server.start()
    a_sound_plays_on(game, player, server)
    warnings = [line for line in game.lines if line.endswith("sound: warning")]
    assert len(warnings) == 1 and not game.boxes(), "%d warnings" % len(warnings)


def main(program, tool, out, kind="pulseaudio"):
    with SoundServer(kind, out) as server, closing(Desktop("1280x1024", out)) as desktop:
        desktop.env.update(server.client_env,
                           QT_MESSAGE_PATTERN="%{time process} %{category}: %{message}")
        game = Game(desktop, program, kind)
        player = Player(game, Rules(tool), sound=False)
        player.layout()
        player.deal(1)
        killed_during_the_deal(game, player, server)
        server.start()
        a_sound_plays_on(game, player, server)
        start = report("(b) killed during the deal sound, then back", game, 0, server)
        server.stop()
        server.start()
        a_sound_plays_on(game, player, server)
        start = report("(a) restarted while the board is silent", game, start, server)
        gone_then_back(game, player, server)
        report("(c) gone when a sound is due, then back", game, start, server)
        game.close()
    print("3 passed, 0 failed")


if __name__ == "__main__":
    main(*sys.argv[1:5])
