#!/usr/bin/python3
"""Games by keyboard alone under Orca in German, checked on what Orca speaks: Start, a level reset
by "Neues Spiel", both stones of every move and the room left, a full column, the reading keys,
the cells, "Comp- zug", the threats key, and a game to a win (a simple player) with its winning
line; never the progress bar ("Prozent") at level 1, never a colon read out. Then thinks at level
8 during which the reading keys and a walk into the board are all answered and the computer's
stone is heard, with Orca's queue never overflowing (ORCA_BUSY_LOOPS=N runs N busy loops beside
them). The computer's random ties are read off the board; a game that ends early is followed by a
new one. Run by scripts/orca-check; exits non-zero on a fault."""

import os
import re
import subprocess
import sys
import time

from orca_session import OrcaSession

GAME = os.environ.get("QUORBEL_PROGRAM", "build/bin/quorbel")
CONTROL = r"^(Spalte [1-7]|Neues Spiel|Comp- zug|Zug zurück|Info|Ende|Start|Spielstufe \d) " \
          r"|^(Mensch|Computer|aggressiv|defensiv)\.$"
END = r"(Du hast gewonnen|Ich habe gewonnen !|Unentschieden)"
LINE = r"Gewinnreihe von Spalte ([1-7]), Reihe ([1-6]) bis Spalte ([1-7]), Reihe ([1-6])"
OTHER = {"rot": "blau", "blau": "rot"}


def room(free):
    return free and "%d Feld%s frei" % (free, "er" * (free > 1))


def at(board, column, row):
    stones = board[column - 1] if 1 <= column <= 7 else []
    return stones[row - 1] if 1 <= row <= len(stones) else None


def makes_four(board, column, row, colour):
    """Whether a stone of the colour in the cell makes four."""
    run = lambda dc, dr: next((k for k in range(1, 4)  # stones of the colour one way
                               if at(board, column + k * dc, row + k * dr) != colour), 4) - 1
    return any(run(dc, dr) + run(-dc, -dr) >= 3 for dc, dr in ((1, 0), (0, 1), (1, 1), (1, -1)))


def wins(board, column, colour):
    """Whether a stone of the colour dropped into the column makes four."""
    return makes_four(board, column, len(board[column - 1]) + 1, colour)


def threats(board):
    """What the threats key says: the empty cells where one more stone of a colour makes four."""
    said = []
    for colour in ("rot", "blau"):
        cells = ["Spalte %d, Reihe %d, %s" % (c, r, "spielbar" if r == len(board[c - 1]) + 1
                                               else "noch nicht spielbar")
                 for c in range(1, 8) for r in range(len(board[c - 1]) + 1, 7)
                 if makes_four(board, c, r, colour)]
        if cells:
            said.append("%s droht in %s." % (colour.capitalize(), "; ".join(cells)))
    return " ".join(said) or "Keine Drohung."


class Play:
    def __init__(self, session):
        self.s = session
        self.human, self.end, self.stones = "rot", None, []  # stones: (colour, column, row)
        self.level = 1

    def say(self, keys, pattern):
        return self.s.wait_for(pattern, self.s.key(*keys.split()))[0]

    def tab_to(self, name, key="Tab"):
        for _ in range(20):
            if self.say(key, CONTROL).group(0).startswith(name):
                return
        raise AssertionError("%s never reached %r" % (key, name))

    def height(self, column):
        return sum(1 for stone in self.stones if stone[1] == column)

    def board(self):
        """The board as the board key says it, checked against every stone announced."""
        columns = self.say("b", r"^Spalte 1 (.*)\. " + r"\. ".join(
            r"Spalte %d (.*)" % c for c in range(2, 8)) + r"\.$").groups()
        board = [[] if text == "leer" else text.split(", ") for text in columns]
        assert sorted(self.stones) == sorted((colour, c + 1, r + 1) for c, stones in enumerate(
            board) for r, colour in enumerate(stones)), "board %r, announced %r" % (columns,
                                                                                self.stones)
        return board

    def start(self):
        """Start: the sides and whose turn are said, the focus goes to Spalte 4."""
        self.stones, self.end = [], None
        mark = self.s.key("space")
        self.s.wait_for(r"^Spalte 4 ", mark)
        m = self.s.wait_for(r"^(Mensch|Computer) spielt (rot|blau), (Mensch|Computer) (rot|blau)"
                            r"\. Mensch ist am Zug", mark)[0]
        self.human = m.group(2) if m.group(1) == "Mensch" else OTHER[m.group(2)]

    def new_game(self):
        """Neues Spiel, focused at a game's end, at level 1: no level said; then Start."""
        _, texts = self.s.wait_for(r"^Start ", self.s.key("space"))
        assert not any("Spielstufe wieder" in t for t in texts), "level reset said at level 1"
        self.start()

    def play(self, column, key=None):
        """Plays the column by its digit (or key): the human's stone, then reply()."""
        mark = self.s.key(key or str(column))
        row = self.height(column) + 1
        self.s.wait_for(r"^Mensch, Spalte %d, Reihe %d\b" % (column, row), mark)
        self.stones.append((self.human, column, row))
        return self.reply(mark, column)

    def reply(self, mark, column=None):
        """The computer's stone spoken after the mark, unless the game ended; then the end, or
        the room left in the column played ("voll" once full). Returns the end, or None."""
        m, texts = self.s.wait_for(r"Computer, Spalte ([1-7]), Reihe ([1-6])\b|" + END, mark, 30)
        if m.group(1):
            c, r = int(m.group(1)), int(m.group(2))
            assert r == self.height(c) + 1, "the computer's stone in a wrong row: %r" % texts
            self.stones.append((OTHER[self.human], c, r))
        if column and not re.search(END, m.string):
            said = room(6 - self.height(column)) or "voll"
            m, texts = self.s.wait_for(r"%s|^(Spalte %d,? )?%s\.$" % (END, column, said), mark)
        assert self.level > 1 or not any("Prozent" in t for t in texts), \
            "progress bar at level 1: %r" % texts
        end = re.search(END, m.string)
        return end and self.finish(end.group(0), mark)

    def finish(self, end, mark):
        """The winning line said, checked on the board and by the state key; a column refused."""
        self.end = end
        if end != "Unentschieden":
            c1, r1, c2, r2 = map(int, self.s.wait_for(LINE, mark)[0].groups())
            board = self.board()
            winner = ("Mensch", self.human) if end.startswith("Du") else ("Computer",
                                                                          OTHER[self.human])
            steps = max(abs(c2 - c1), abs(r2 - r1))
            dc, dr = (c2 - c1) // steps, (r2 - r1) // steps
            self.line = [(c1 + k * dc, r1 + k * dr) for k in range(steps + 1)]
            assert steps >= 3 and self.line[-1] == (c2, r2) and all(at(board, *cell) == winner[
                1] for cell in self.line), "winning line %r on %r" % ((c1, r1, c2, r2), board)
            self.say("z", r"^%s hat gewonnen\. Gewinnreihe von Spalte %d, Reihe %d bis Spalte %d,"
                     r" Reihe %d\." % (winner[0], c1, r1, c2, r2))
        self.say("4", r"^Das Spiel ist aus")
        return end

    def column(self, board, column):
        """The column key on the column: its stones and its room."""
        self.say("s", r"^Spalte %d %s%s\.$" % (column, ", ".join(board[column - 1] + [""]),
                                                room(6 - len(board[column - 1])) or "voll"))

    def threats(self, board):
        self.say("g", "^%s$" % re.escape(threats(board)))

    def set_level(self, level):
        """From "Start", before a game: the level by its arrow keys, then back to "Start". The
        state key, typed behind them, answers after them. (Orca says a new value only when it
        differs from the last value it said of any control: the first step from a level reset
        by "Neues Spiel" back to the level said last goes unsaid.)"""
        self.tab_to("Spielstufe")
        self.say(" ".join(["Up"] * (level - self.level) + ["z"]), r"Spielstufe %d\.$" % level)
        self.level = level
        self.tab_to("Start", "shift+Tab")

    def think_while_reading(self, column):
        """Plays the column; while the computer thinks, the reading keys and a walk into the
        board and back are each answered, the computer's stone is heard, and Orca's queue never
        overflows. Returns the end, the times from key to speech, how many answers came before
        the stone, and the progress bar's value events."""
        self.tab_to("Spalte %d" % column)  # the walk starts at the column played
        mark = self.s.key(str(column))
        row = self.height(column) + 1
        self.s.wait_for(r"^Mensch, Spalte %d, Reihe %d\b" % (column, row), mark)
        self.stones.append((self.human, column, row))
        delays, during = [], 0
        for key, pattern in (("z", r"^Computer ist am Zug, %d\. Zug\." % (len(self.stones) + 1)),
                             ("l", r"^Zuletzt %s, Spalte %d, Reihe %d\." % self.stones[-1]),
                             ("b", r"^Spalte 1 .*Spalte 7 "),
                             ("Down", r"^Spalte %d, Reihe 6, " % column),
                             ("Down", r"^Spalte %d, Reihe 5, " % column),
                             ("r", r"^Reihe 5 von links "),
                             ("Escape", r"^Spalte %d\b" % column)):
            pressed = time.monotonic()
            answer, texts = self.s.wait_for(pattern, self.s.key(key))
            delays.append(time.monotonic() - pressed)
            during += not any(t.startswith("Computer,") for t in self.s.spoken(mark)[
                :self.s.spoken(mark).index(answer.string)])
        end = self.reply(mark, column)
        log = self.s.debug(mark)
        assert "DELUGE" not in log, "Orca's queue overflowed during the think"
        return end, delays, during, len(re.findall(
            r"EVENT MANAGER: object:property-change:accessible-value for \[progress bar", log))

    def state(self):
        sides = ("Mensch", "Computer")[::1 if self.human == "rot" else -1]
        self.say("z", r"^Mensch ist am Zug, %d\. Zug\. %s spielt rot, %s blau\. Spielstufe 1\.$"
                 % (len(self.stones) + 1, *sides))


def main():
    with OrcaSession() as s:
        s.start_app([GAME])
        s.wait_for(r"^Start ")
        p = Play(s)
        p.say("z", r"^Kein Spiel\. Mensch beginnt\. Spielstufe 1\.$")
        p.start()

        # The level, changed in a game, is back at 1 after "Neues Spiel", which says so.
        p.tab_to("Spielstufe", "shift+Tab")
        p.say("Up", r"^2\b")
        p.say("z", r"Spielstufe 2\.$")
        p.tab_to("Neues Spiel", "shift+Tab")
        _, texts = s.wait_for(r"^Start ", s.key("space"))
        assert any(t.startswith("Spielstufe wieder 1") for t in texts), "no reset: %r" % texts
        p.say("z", r"^Kein Spiel\. .*Spielstufe 1\.$")
        p.start()

        # Column 4 filled (the computer blocks three in it), then refused; the reading keys.
        while p.height(4) < 6:
            if p.play(4):
                p.new_game()
        _, texts = s.wait_for(r"^Spalte 4 ist voll\b", s.key("4"))
        assert not any(t.startswith("Mensch,") for t in texts), "a full column took a stone"
        board = p.board()
        p.column(board, 4)
        p.say("l", r"^Zuletzt %s, Spalte %d, Reihe %d\. Davor %s, Spalte %d, Reihe %d\.$"
              % (p.stones[-1] + p.stones[-2]))
        p.state()

        # Into the board from Spalte 4: each cell said by its name; its row; Space plays it.
        for key, column, row in (("Down", 4, 6), ("Down", 4, 5), ("Left", 3, 5)):
            p.say(key, r"^Spalte %d, Reihe %d, %s\.$" % (column, row,
                                                          at(board, column, row) or "leer"))
        p.say("r", r"^Reihe 5 von links %s\.$" % ", ".join(at(board, c, 5) or "leer"
                                                             for c in range(1, 8)))
        if not p.play(3, "space"):
            p.say("Up", r"^Spalte 3, Reihe 6, ")
            p.say("Up", r"^Spalte 3 ")
            p.column(p.board(), 3)

            # "Comp- zug": the sides swap before the computer's stone; the human moves next.
            p.tab_to("Comp- zug")
            mark = s.key("space")
            m = s.wait_for(r"^Seiten getauscht, (\w+) spielt (\w+), (\w+) (\w+)\b", mark)[0]
            assert {m.group(1): m.group(2), m.group(3): m.group(4)} == {
                "Mensch": OTHER[p.human], "Computer": p.human}, "sides: " + m.group(0)
            p.human = OTHER[p.human]
            if not p.reply(mark):
                s.wait_for(r"Mensch ist am Zug", mark)
                p.state()

        # Games to a win by a simple player: win, else block, else a column near the middle.
        while p.end in (None, "Unentschieden"):
            if p.end:
                p.new_game()
            board = p.board()
            p.threats(board)
            free = [c for c in (4, 3, 5, 2, 6, 1, 7) if len(board[c - 1]) < 6]
            p.play(next((c for colour in (p.human, OTHER[p.human]) for c in free
                         if wins(board, c, colour)), free[0]))

        # The winning line's cells say so, walked down from its first end's column button.
        column, board = p.line[0][0], p.board()
        p.tab_to("Spalte %d" % column, "shift+Tab")
        for row in range(6, p.line[0][1] - 1, -1):
            p.say("Down", r"^Spalte %d, Reihe %d, %s%s\.$" % (column, row, at(
                board, column, row) or "leer", ", Gewinnreihe" * ((column, row) in p.line)))
        p.say("Escape", r"^Spalte %d " % column)
        assert not any("Prozent" in t for t in s.spoken()), "the progress bar was spoken"
        assert not any(re.search(r"Reihe \d:", t) for t in s.spoken()), "a colon in a cell's name"

        # Thinks at level 8, the reading keys pressed during each.
        p.tab_to("Neues Spiel")
        s.wait_for(r"^Start ", s.key("space"))
        p.set_level(8)
        p.start()
        loops = [subprocess.Popen(["sh", "-c", "while :; do :; done"])
                 for _ in range(int(os.environ.get("ORCA_BUSY_LOOPS", "0")))]
        try:
            for think, column in enumerate((4, 3, 5)):
                if p.end:
                    break
                end, delays, during, values = p.think_while_reading(column)
                print("orca_play: think at level 8 beside %d busy loops: keys answered in %s s,"
                      " %d of 7 before the stone; %d value events of the progress bar" % (
                          len(loops), ", ".join("%.2f" % d for d in delays), during, values))
                # The first answer to the opening move is long: every key is answered in it.
                assert think > 0 or during == 7, "the first think ended before the answers"
                if not end:
                    p.threats(p.board())
        finally:
            for loop in loops:
                loop.kill()
    print("orca_play: passed")


if __name__ == "__main__":
    try:
        main()
    except AssertionError as error:  # a time-out of the session too
        print("orca_play: FAIL: %s" % error, file=sys.stderr)
        sys.exit(1)
