# A player of the real program: plans each block's moves with the rules' own answers.

import subprocess

from desktop import GREY, RED, YELLOW, area, ring


class Rules:
    # What tessaform-moves prints: geometry, press points, every arrow's result, and the printed
    # instructions.

    def __init__(self, tool):
        tables = {}
        for line in subprocess.run([tool], capture_output=True, text=True).stdout.splitlines():
            kind, _, rest = line.partition(" ")
            tables.setdefault(kind, []).append(rest)
        numbers = lambda kind: [[int(n) for n in rest.split()] for rest in tables[kind]]
        self.size, self.blocks = numbers("size")[0][0], numbers("block")
        self.arrows, self.apply = numbers("arrow"), numbers("apply")
        self.printed = tables["print"]  # the instructions, a line each
        self.width, self.height = (end + self.size for end in self.blocks[-1])  # the board's

    def path(self, start, goal, avoid):  # the shortest arrows through nothing in avoid, or None
        paths, todo = {start: []}, [start]
        for a in todo:
            if a == goal:
                return paths[a]
            for arrow, b in enumerate(self.apply[a]):
                if b not in paths and (b == goal or b not in avoid):
                    paths[b] = paths[a] + [arrow]
                    todo.append(b)


class Player:
    def __init__(self, game, rules):
        self.game, self.rules = game, rules

    def begin(self):  # its layout and its first game dealt
        self.layout()
        self.deal(1)
        return self

    def layout(self):
        width, height, x, y = map(int, self.game.wait_for(
            r"layout (\d+)x(\d+) board (-?\d+),(-?\d+)$").groups())
        self.game.locate(width, height)
        self.client, self.board = (width, height), (x, y)

    def deal(self, number):
        line = self.game.wait_for(r"deal game %d: ([\d ]+)$" % number)
        self.arrangements, self.lost = [int(a) for a in line[1].split()], set()

    def point(self, k, dx=0, dy=0):  # on the screen
        (x, y), view = self.rules.blocks[k], self.game.view
        return view[0] + self.board[0] + x + dx, view[1] + self.board[1] + y + dy

    # What the screen shows.

    def framed(self, shot, k, colour, share=0.9):
        return shot.share(ring(*self.point(k), self.rules.size), colour) >= share

    def grey(self, shot, k):
        return shot.share(area(*self.point(k), self.rules.size, self.rules.size), GREY) == 1

    def board_shown(self, shot):
        return self.framed(shot, 0, RED, 1) and not any(self.grey(shot, k) for k in range(1, 12))

    def no_board(self, shot):  # the view grey but for thin lines, with no master: the figure
        board = area(*self.point(0), self.rules.width, self.rules.height)
        return not self.framed(shot, 0, RED, 0.5) and shot.share(board, GREY) > 0.9

    def column(self, shot):  # where to press the tall yellow column by the view's left edge
        for x in range(self.game.view[0], self.game.view[0] + 60):
            ys = [y for y in range(self.game.view[1], shot.height) if shot.pixel(x, y) == YELLOW]
            if len(ys) > 400:
                return x + 10, (ys[0] + ys[-1]) // 2

    # Moves.

    def avoid(self, k):
        return {self.arrangements[j] for j in range(12) if j != k and j not in self.lost}

    def open(self):
        master = self.arrangements[0]
        return [k for k in range(1, 12) if k not in self.lost and self.arrangements[k] != master]

    def quiet(self, k):  # an arrow that makes block k equal to no other, the master too: silent
        return next(arrow for arrow, b in enumerate(self.rules.apply[self.arrangements[k]])
                    if b not in self.avoid(k))

    def way(self, k, j=0):  # the shortest arrows that make block k equal to block j alone
        return self.rules.path(self.arrangements[k], self.arrangements[j], self.avoid(k))

    def aim(self, k, arrow):
        # Where to press an arrow of block k (None: off its arrows), and the log line the game
        # must write for it; notes the arrangement the move makes.
        if arrow is None:
            return self.point(k, 30, 30), "miss block %d" % k  # on its top-left shape: no arrow
        self.arrangements[k] = self.rules.apply[self.arrangements[k]][arrow]
        line = "move block %d arrow %d: %d" % (k, arrow, self.arrangements[k])
        return self.point(k, *self.rules.arrows[arrow]), line

    def press(self, k, arrow):
        point, expected = self.aim(k, arrow)
        self.game.press(*point)
        line = self.game.wait_for(r"(move|miss) block .*")[0]
        assert line == expected, "pressed for %r, the game did %r" % (expected, line)
        if arrow is None:
            self.game.wait_for(r"lose blocks %d %d$" % (k, k))
            self.lost.add(k)

    def lose(self, *then):  # the first open block pressed off its arrows; the lines that follow
        self.press(self.open()[0], None)
        for line in then:
            self.game.wait_for(line + "$")

    def match(self, k):
        for arrow in self.way(k):
            self.press(k, arrow)
        self.game.wait_for(r"match block %d$" % k)

    def finish(self, number):
        # Matches every open block of game `number`, each by a way that makes it equal to no
        # other, and waits out the rest; the game's net score from the log.
        while blocks := self.open():
            self.match(next(k for k in blocks if self.way(k) is not None))
        self.game.wait_for(r"game %d over: done$" % number)
        return self.rest(number)

    def rest(self, number):
        net = self.game.wait_for(r"score game %d: match \d+ clicks \d+ bonus -?\d+ net (-?\d+)$"
                                 % number)
        if number < 5:
            self.deal(number + 1)
        return int(net[1])
