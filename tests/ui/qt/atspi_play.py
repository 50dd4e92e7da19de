#!/usr/bin/python3
"""A whole game played as a blind player's screen reader plays it: through the accessibility tree
of the running window alone (AT-SPI), pressing controls by their actions. It starts a game, sets
the level by value, presses columns during the column buttons' show and while the computer thinks
(checking that the window was busy as they were given, and that they were handled in order),
checks after every move that the cells' names agree with the game, and ends the window by "Ende".

Run by scripts/atspi-check, which starts the window in a private D-Bus session; exits non-zero on
the first fault."""

import re
import sys
import time

import pyatspi

CELL = re.compile(r"^Spalte ([1-7]), Reihe ([1-6]), (leer|rot|blau)(, Gewinnreihe)?$")
ENDINGS = ("Du hast gewonnen", "Ich habe gewonnen !", "Unentschieden!")


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def wait_for(what, condition, seconds=30.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    fail("timed out waiting for " + what)


def application(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    return None


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


class Window:
    def __init__(self, app):
        self.frame = app[0]
        nodes = pyatspi.findAllDescendants(self.frame, lambda node: True)
        self.cells = {}
        self.buttons = {}
        self.labels = {}
        for node in nodes:
            role, name = node.getRole(), node.name
            match = CELL.match(name)
            if role == pyatspi.ROLE_TABLE_CELL and match:
                self.cells[(int(match.group(1)), int(match.group(2)))] = node
            elif role in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON):
                self.buttons[name] = node
            elif role == pyatspi.ROLE_SPIN_BUTTON:
                self.level = node
            elif role == pyatspi.ROLE_LABEL and node.description:
                self.labels[node.description] = node
        if len(self.cells) != 42:
            fail("%d cells are named as cells, not 42" % len(self.cells))

    def press(self, button, how="Press"):
        node = self.buttons[button]
        action = node.queryAction()
        for i in range(action.nActions):
            if action.getName(i) == how:
                action.doAction(i)
                return
        fail("%s has no %s action" % (button, how))

    def chosen(self, option):
        return self.buttons[option].getState().contains(pyatspi.STATE_CHECKED)

    def board(self):
        """The cells as their names tell: (column, row) -> ("rot" | "blau" | "leer", winning)."""
        board = {}
        for (column, row), node in self.cells.items():
            match = CELL.match(node.name)
            if not match or (int(match.group(1)), int(match.group(2))) != (column, row):
                fail("cell (%d, %d) is named %r" % (column, row, node.name))
            board[(column, row)] = (match.group(3), match.group(4) is not None)
        return board

    def label(self, purpose):
        return self.labels[purpose].name

    def move_number(self):
        match = re.match(r"^(\d+)\. Zug$", self.label("Zugnummer"))
        return int(match.group(1)) if match else None


def stones(board):
    return sum(1 for stone, _ in board.values() if stone != "leer")


def check_board(window, board):
    """Stones stand on stones, the colours alternate with red first, the column buttons tell how
    much room is left, and a winning line is a line."""
    red = sum(1 for stone, _ in board.values() if stone == "rot")
    blue = sum(1 for stone, _ in board.values() if stone == "blau")
    if red - blue not in (0, 1):
        fail("%d red and %d blue stones" % (red, blue))
    for column in range(1, 8):
        height = 0
        for row in range(1, 7):
            if board[(column, row)][0] != "leer":
                if height != row - 1:
                    fail("column %d has a stone above an empty cell" % column)
                height = row
        free = 6 - height
        expected = "voll" if free == 0 else ("1 Feld frei" if free == 1 else "%d Felder frei" % free)
        described = window.buttons["Spalte %d" % column].description
        if described != expected:
            fail("column %d is described %r, not %r" % (column, described, expected))
    winning = [cell for cell, (_, win) in board.items() if win]
    if winning:
        colours = {board[cell][0] for cell in winning}
        if len(winning) < 4 or len(colours) != 1 or "leer" in colours:
            fail("the winning line is %r" % winning)


def settle(window, stones_expected):
    """Waits until the board holds the stones expected and the human may move, or the game is
    over; returns the board."""
    def settled():
        board = window.board()
        over = window.label("Meldung") in ENDINGS
        ready = over or window.label("Am Zug") == "Mensch ist am Zug"
        return board if stones(board) == stones_expected and ready else None
    board = wait_for("%d stones on the board" % stones_expected, settled)
    time.sleep(0.3)  # nothing more may come
    board = window.board()
    if stones(board) != stones_expected:
        fail("%d stones instead of %d" % (stones(board), stones_expected))
    check_board(window, board)
    return board


def makes_four(board, column, colour):
    """Whether a stone of colour dropped into column makes four in a line."""
    row = height(board, column) + 1
    if row > 6:
        return False
    def same(c, r):
        return (c, r) == (column, row) or board.get((c, r), ("", False))[0] == colour
    for dc, dr in ((1, 0), (0, 1), (1, 1), (1, -1)):
        line = 1
        for sign in (1, -1):
            c, r = column + sign * dc, row + sign * dr
            while same(c, r):
                line += 1
                c, r = c + sign * dc, r + sign * dr
        if line >= 4:
            return True
    return False


def next_column(board):
    """A player of one move's foresight, so that games last: a four if there is one, else the
    computer's four blocked, else the middle first."""
    free = [column for column in (4, 3, 5, 2, 6, 1, 7) if height(board, column) < 6]
    for colour in ("rot", "blau"):
        for column in free:
            if makes_four(board, column, colour):
                return column
    return free[0] if free else None


def height(board, column):
    return sum(1 for row in range(1, 7) if board[(column, row)][0] != "leer")


def progress(window):
    node = pyatspi.findDescendant(window.frame, lambda n: n.name == "Fortschritt des Computers")
    return node.queryValue().currentValue


def busy(window):
    """Whether one of the window's handlers runs: a show, a think."""
    return window.frame.getState().contains(pyatspi.STATE_BUSY)


def press_while_busy(window, buttons, what):
    """Presses the buttons, and fails unless the window was busy before the first press and still
    is after the last, on the same board: the presses were given while it was busy."""
    before = window.board()
    if not busy(window):
        fail("the window is not busy before the presses " + what)
    for button in buttons:
        window.press(button)
    if not busy(window) or window.board() != before:
        fail("the presses %s were not all given %s" % (buttons, what))


def watch_until(window, done, seconds=120.0):
    """Polls the board and the progress bar until done(board) holds with the window idle, and
    still does a little later; returns what was seen, in order: (board, progress) at each
    change."""
    seen = []
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        board, value = window.board(), progress(window)
        if not seen or seen[-1] != (board, value):
            seen.append((board, value))
        if done(board) and not busy(window):
            time.sleep(0.3)
            if window.board() == board and not busy(window):
                return seen
        time.sleep(0.02)
    fail("timed out watching the presses during the think")


def main():
    app = wait_for("the window's accessibility tree", lambda: application("quorbel"))
    window = Window(app)
    for name in ("Start", "Info", "Ende"):
        if name not in window.buttons or not showing(window.buttons[name]):
            fail(name + " is not shown")
    if any(stone != "leer" for stone, _ in window.board().values()):
        fail("the board is not empty at start-up")

    # The level, by value: the label shows it, the value reads it back, and 1..10 holds.
    value = window.level.queryValue()
    value.currentValue = 12
    wait_for("the level at 10", lambda: window.labels["Spielstufe"].name == "10")
    value.currentValue = 7  # the computer's second stone takes it a second or two
    wait_for("the level at 7", lambda: window.labels["Spielstufe"].name == "7")
    if value.currentValue != 7:
        fail("the level reads %r" % value.currentValue)

    # The playing style, chosen and chosen back.
    window.press("aggressiv", "Toggle")
    wait_for("aggressiv chosen", lambda: window.chosen("aggressiv") and not window.chosen("defensiv"))
    window.press("defensiv", "Toggle")
    wait_for("defensiv chosen", lambda: window.chosen("defensiv"))

    window.press("Start")
    wait_for("the column buttons", lambda: showing(window.buttons["Spalte 4"]))
    board = settle(window, 0)

    # While the computer thinks: a column, "Zug zurück" and "Comp- zug", handled after its stone
    # in the order given: the column and its answer, the answer taken back, the computer's stone
    # for the human's colour. Only that order has the computer think twice over the board with
    # the human's stone in column 3 on top: the bar, emptied after each decision, starts over
    # while that board stays.
    window.press("Spalte 4")
    wait_for("the computer thinking", lambda: progress(window) > 0)
    press_while_busy(window, ("Spalte 3", "Zug zurück", "Comp- zug"), "while the computer thinks")
    seen = watch_until(window, lambda board: stones(board) == 4)
    def column_three_on_top(board):
        return stones(board) == 3 and board[(4, 1)][0] == "rot" and (
            board[(3, 1)][0] == "rot" and board[(3, 2)][0] == "leer" or
            board[(3, 2)][0] == "rot" and board[(3, 3)][0] == "leer")
    # The bar's values over that board, split where the bar starts over. (A board read takes
    # a while: one value of the next think may come with it.)
    thinks = [[]]
    for seen_board, bar in seen:
        if column_three_on_top(seen_board) and bar > 0:
            if thinks[-1] and bar < thinks[-1][-1]:
                thinks.append([])
            thinks[-1].append(bar)
    if len(thinks) != 2 or len(thinks[1]) < 3:
        fail("the presses during the think were not handled in order: the bar over the board "
             "with column 3 on top went %r" % thinks)
    board = settle(window, 4)
    print("presses during the think: given during it, handled once each, in order", flush=True)
    value.currentValue = 4  # a quick rest of the game
    wait_for("the level at 4", lambda: window.labels["Spielstufe"].name == "4")

    # The rest of the game, one column a press: two presses of three come while the column buttons
    # flash (the window busy, the computer not thinking), a few seconds after the computer's stone.
    presses = 0
    while window.label("Meldung") not in ENDINGS:
        column = next_column(board)
        if column is None:
            fail("no column is free, yet the game goes on")
        if presses % 3 != 0:
            wait_for("the column buttons' show", lambda: busy(window) and progress(window) == 0)
            press_while_busy(window, ("Spalte %d" % column,), "during the column buttons' show")
        else:
            window.press("Spalte %d" % column)
        before = stones(board)
        row = height(board, column) + 1
        def moved():
            now = window.board()
            return now if stones(now) > before or window.label("Meldung") in ENDINGS else None
        wait_for("the stone in column %d" % column, moved)
        over = window.label("Meldung") in ENDINGS
        board = settle(window, stones(window.board()) if over else before + 2)
        if board[(column, row)][0] != "rot":
            fail("column %d, row %d holds no red stone of the human's" % (column, row))
        presses += 1
    message = window.label("Meldung")
    winning = [cell for cell, (_, win) in board.items() if win]
    if message != "Unentschieden!" and len(winning) < 4:
        fail("%r, but no winning line is named" % message)
    print("game over after %d more presses: %s, winning line %s" % (presses, message, winning),
          flush=True)

    window.press("Neues Spiel")
    wait_for("the empty board", lambda: stones(window.board()) == 0)
    wait_for("Start shown again", lambda: showing(window.buttons["Start"]))
    if window.labels["Spielstufe"].name != "1":
        fail("the level is not back at 1")
    window.press("Ende")
    print("PASS", flush=True)


if __name__ == "__main__":
    main()
