#!/usr/bin/env python3
"""Draws the HUD, story box, portrait and pause pictures as picture sources.

  python3 content/art/make_pictures.py        writes content/art/surfaces/*.txt
                                              (then make content compiles them)
  python3 content/art/make_pictures.py docs   composes the compiled pictures the
                                              way the game draws them into
                                              content/art/docs/hud.txt and
                                              portraits.txt

The sources it writes are ordinary picture sources and may be edited by hand,
but the pixel art (digits, arrows, portraits, the big PAUSED) is easier to
change here and write again. Pixel art is drawn two pixels to a cell with the
half blocks: a pixel is a whole cell wide and half a cell tall.
"""
import math
import os
import struct
import sys

from picture_kit import *  # noqa: F401,F403 (colours, colour letters, Pic)

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

LEFT, RIGHT = "▌", "▐"

# One look for the whole status strip, the story boxes and the pause screen:
# dark blue panels in cyan double frames, yellow captions, keys as grey caps,
# and the big numbers and letters yellow over red with a dark red shadow.
PANEL = DARKBLUE
FRAME = CYAN
FRAME2 = DARKCYAN
CAPTION = YELLOW
TEXT = WHITE
NOTE = LIGHTGREY
KEY_FG, KEY_BG = WHITE, DARKGREY
SHADOW = DARKRED


def shape_with_shadow(rows, ramp, shadow):
    """Colour letters for '#' shapes: each pixel row takes its colour from the
    ramp, and a shadow falls one pixel right and down."""
    h, w = len(rows), len(rows[0])
    out = [["."] * (w + 1) for _ in range(h + 1)]
    for y in range(h):
        for x in range(w):
            if rows[y][x] == "#":
                out[y + 1][x + 1] = "s"
    for y in range(h):
        for x in range(w):
            if rows[y][x] == "#":
                out[y][x] = ramp[y]
    colours = {k: int(k, 16) for k in HEX}
    colours["s"] = shadow
    return ["".join(r) for r in out], colours


# ----------------------------------------------------------------- the digits
# Six pixels wide and nineteen tall; with the shadow 7 x 10 cells, so they sit
# 8 apart on the high-score page with a blank column between.
DIGITS = {
    "0": """
.####.
######
######
##..##
##..##
##..##
##..##
##..##
##..##
##..##
##..##
##..##
##..##
##..##
##..##
##..##
######
######
.####.""",
    "1": """
..##..
.###..
####..
####..
..##..
..##..
..##..
..##..
..##..
..##..
..##..
..##..
..##..
..##..
..##..
..##..
######
######
######""",
    "2": """
.####.
######
######
....##
....##
....##
....##
....##
.#####
######
#####.
##....
##....
##....
##....
##....
######
######
######""",
    "3": """
.####.
######
######
....##
....##
....##
....##
....##
..####
..####
..####
....##
....##
....##
....##
....##
######
######
.####.""",
    "4": """
##..##
##..##
##..##
##..##
##..##
##..##
##..##
##..##
######
######
######
....##
....##
....##
....##
....##
....##
....##
....##""",
    "5": """
######
######
######
##....
##....
##....
##....
##....
#####.
######
######
....##
....##
....##
....##
....##
######
######
#####.""",
    "6": """
.####.
######
######
##....
##....
##....
##....
##....
#####.
######
######
##..##
##..##
##..##
##..##
##..##
######
######
.####.""",
    "7": """
######
######
######
....##
....##
....##
....##
...##.
...##.
...##.
..##..
..##..
..##..
..##..
..##..
..##..
..##..
..##..
..##..""",
    "8": """
.####.
######
######
##..##
##..##
##..##
##..##
######
.####.
.####.
######
##..##
##..##
##..##
##..##
##..##
######
######
.####.""",
    "9": """
.####.
######
######
##..##
##..##
##..##
##..##
##..##
######
######
.#####
....##
....##
....##
....##
....##
######
######
.####.""",
}
DIGIT_RAMP = "EEEEEEEEEEEECCCCCCC"


def digit(n):
    rows, colours = shape_with_shadow(DIGITS[str(n)].split(), DIGIT_RAMP, SHADOW)
    p = Pic(7, 10)
    p.pixels(0, 0, rows, colours, under=BLACK)
    return p


# -------------------------------------------------------------- the turn gauge
# The gauge's segments are drawn at column 90, rows 18 to 40, before the box
# at (88, 15): the box leaves them a tube of blank cells at x 2-6, y 3-25.
def anger_bar():
    p = Pic(5, 2)  # the second row stays blank: a segment is one row
    for x in range(5):
        p.put(x, 0, UPPER, YELLOW, RED)
    return p


def arrow_box():
    w, h = 27, 29
    p = Pic(w, h)
    p.fill(0, 0, w, h, PANEL)
    p.frame(0, 0, w, h, FRAME, PANEL)
    for y in range(3, 26):
        for x in range(2, 7):
            p.clear(x, y)
        p.put(1, y, RIGHT, LIGHTGREY, PANEL)
        p.put(7, y, LEFT, LIGHTGREY, PANEL)
    for x in range(1, 8):
        p.put(x, 2, LOWER, LIGHTGREY, PANEL)
    # the bulb at the bottom of the tube is always hot
    p.put(1, 26, FULL, LIGHTGREY, LIGHTGREY)
    p.put(7, 26, FULL, LIGHTGREY, LIGHTGREY)
    for x in range(2, 7):
        p.put(x, 26, FULL, RED, RED)
    for x in range(1, 8):
        p.put(x, 27, UPPER, LIGHTGREY, PANEL)
    # the window of the next-turn arrow, which is drawn at x 8, y 10
    p.fill(9, 9, 15, 14, BLACK)
    p.frame(8, 8, 17, 16, FRAME, PANEL, "single")
    p.centre(4, "NEXT TURN", CAPTION, PANEL, 8, 24)
    p.text(9, 26, "◄ WOBBLE-O-METER", CAPTION, PANEL)
    return p


# Arrows, 15 x 24 pixels. A turn of 90 (Left) turns the room anticlockwise,
# -90 (Right) clockwise, and 180 (Up) half round.
LEFT_ARROW = """
.......#.......
......##.......
.....###.......
....####.......
..########.....
.###########...
.############..
..###########..
....##########.
.....###..####.
......##...####
.......#....###
............###
............###
###.........###
###.........###
###.........###
####.......####
.####.....####.
.#####...#####.
..###########..
..###########..
...#########...
.....#####.....
"""
UP_ARROW = """
.......####....
......######...
.....########..
....##########.
...############
...####....####
...###......###
...###......###
...###......###
...###......###
...###......###
...###......###
...###......###
...###......###
#########...###
#########...###
.#######....###
.#######....###
..#####.....###
..#####.....###
...###......###
...###......###
....#.......###
....#.......###
"""


def arrow(mask):
    """The arrow in yellow with a dark red shadow. Column 0 stays blank: it
    lies on the window's frame."""
    rows, colours = shape_with_shadow(mask, "E" * len(mask), SHADOW)
    rows = [r[:len(mask[0])] for r in rows[:len(mask)]]  # the window ends there
    p = Pic(len(mask[0]) + 1, len(mask) // 2)
    p.pixels(1, 0, rows, colours, under=BLACK)
    return p


# ------------------------------------------------------------------- the keys
def keycap(p, x, y, label):
    p.text(x, y, label, KEY_FG, KEY_BG)
    return x + len(label) + 1


def controls():
    """The keys at (88, 45); below them, frames for the numbers the game
    writes: score (100, 70), high score (100, 77), lives (95, 84) and
    credits (109, 84)."""
    w = 27
    p = Pic(w, 43)
    p.fill(0, 0, w, 21, PANEL)
    p.frame(0, 0, w, 21, FRAME, PANEL)
    p.put(7, 0, "╡", FRAME, PANEL)
    p.text(8, 0, " CONTROLS ", CAPTION, PANEL)
    p.put(18, 0, "╞", FRAME, PANEL)
    rows = [
        (3, ["◄", "►", "A", "D"], "walk"),
        (5, ["▲", "W"], "jump"),
        (7, ["SPACE"], "make a box,"),
        (9, [], "lift, drop it"),
        (11, ["▼", "S"], "turn the room"),
        (13, ["P", "ESC"], "pause"),
        (15, ["F5"], "add a credit"),
        (17, ["Z", "X"], "volume - +"),
    ]
    for y, caps, words in rows:
        x = 2
        for c in caps:
            x = keycap(p, x, y, c)
        p.text(11, y, words, TEXT, PANEL)
    for x, y, width in ((11, 24, 12), (11, 31, 12), (6, 38, 3), (20, 38, 3)):
        p.frame(x, y, width, 3, FRAME2, BLACK, "single")
        for xx in range(x + 1, x + width - 1):
            p.clear(xx, y + 1)
    p.put(4, 39, "♥", RED, BLACK)
    p.put(18, 39, "$", YELLOW, BLACK)
    return p


# -------------------------------------------------------------- story boxes
def story_box(w, h):
    """A frame of w-1 x h-1 with a shadow one cell right and down. The game
    writes the text into rows 3 to h-7 from column 3, white on the colour of
    the cell's foreground, so the inside is solid blocks of the panel colour.
    A portrait goes at the right: in the 70 x 14 box at (54, 2), in the
    80 x 18 box at (64, 3)."""
    p = Pic(w, h)
    fw, fh = w - 1, h - 1
    p.fill(0, 0, fw, fh, PANEL)
    p.frame(0, 0, fw, fh, FRAME, PANEL)
    p.frame(1, 1, fw - 2, fh - 2, FRAME2, PANEL, "single")
    for y in range(1, h):
        p.put(w - 1, y, FULL, BLACK, BLACK)
    for x in range(1, w):
        p.put(x, h - 1, FULL, BLACK, BLACK)
    hint = " ENTER: next   X: skip all "
    x = fw - 3 - len(hint)
    p.put(x - 1, fh - 2, "┤", FRAME2, PANEL)
    p.text(x, fh - 2, hint, NOTE, PANEL)
    p.put(x + len(hint), fh - 2, "├", FRAME2, PANEL)
    return p


# ------------------------------------------------------------------ portraits
# 10 x 14 pixels inside a thin cyan frame: 12 x 8 cells. Letters:

WICK = """
ccccccBBcc
ccccBBBccc
cccBBYBBcc
cccBYYYBcc
ccBBBYBBBc
cbbbbbbbbc
ccwwwwwwcc
cwwkwwkwwc
cwwkwwkwwc
cwMwwwwMwc
ccwwkkwwcc
cccwwwwccc
ccRRRRRRcc
cRRRYRRRRc
"""
OZZLE = """
YrrrrrrrrY
YYrrrrrrYY
rYYmmmmYYr
rrmMMMMMmr
rmMMMMMMMm
mMYYMMYYMm
mMYkMMYkMm
mMMMMMMMMm
mMkwkwkwkm
mMkkkkkkMm
mMkRRRRkMm
rmMMMMMMmr
mmmMMMMmmm
MMMMMMMMMM
"""
SOLDIER = """
dddggggddd
ddgGGGGgdd
dgGGGGGGgd
dggggggggd
ddwwwwwwdd
ddwkwwkwdd
ddwkwwkwdd
ddwwwwwwdd
ddwwkkwwdd
dddwwwwddd
ddgGGGGgdd
dgGyGGyGgd
gGGGyyGGGg
gGGGGyGGGg
"""
DOLL = """
ggYYYYYYgg
gYYYYYYYYg
YYwwwwwwYY
YwwwwwwwwY
YwkkwwkkwY
YwkCwwkCwY
YwMwwwwMwY
YYwwMMwwYY
gYYwwwwYYg
ggMMMMMMgg
gMMMwwMMMg
MMMMwwMMMM
MMMMMMMMMM
MmMmMmMmMm
"""
NINJA = """
lllBBBBlll
llBBBBBBll
lBBBBBBBBl
lBBBBBBBBR
lBwwwwwwBR
lBwkwwkwBl
lBBBBBBBBl
llBBBBBBll
lllbbbblll
llbbbbbbll
lbbbRRbbbl
bbbbRRbbbb
bbbbbbbbbb
bbbbbbbbbb
"""
ELDER = """
yyyyGGyyyy
yyyGGGGyyy
yyGGGGGGyy
yGwwwwwwGy
ywllwwllwy
ywwkwwkwwy
ywwwwwwwwy
ywlllllwwy
yllwkkwlly
ylllllllly
ylllwwllly
yGlllllllG
GGGllllGGG
GGGGllGGGG
"""
MOTH = """
bbbbbbbbbb
blbbbbbblb
bblbbbblbb
YYYlwwlYYY
YyYwwwwYyY
YRYkwwkYRY
YyYkwwkYyY
YYYwkkwYYY
yYYYllYYYy
byYYllYYyb
byyYllYyyb
bbyyllyybb
bbbyllybbb
bbbbllbbbb
"""


def portrait(art):
    rows = art.split()
    assert len(rows) == 14 and all(len(r) == 10 for r in rows), art
    p = Pic(12, 8)
    colours = dict(COLOUR_LETTERS)
    colours["f"] = FRAME
    p.pixels(1, 0, ["f" * 10] + rows + ["f" * 10], colours)
    for y in range(8):
        p.put(0, y, RIGHT, FRAME, PANEL)
        p.put(11, y, LEFT, FRAME, PANEL)
    return p


CAST = {
    "Wick": (WICK, "the hero, a small conjurer"),
    "Ozzle": (OZZLE, "the horned brute who makes the room turn"),
    # Named for its file: a story file reads at most 34 characters of a
    # picture's path, and "data/surfaces/Portraits/Soldier.srf" has 35.
    "Guard": (SOLDIER, "a soldier of the Ozzle's guard"),
    "Doll": (DOLL, "a doll"),
    "Ninja": (NINJA, "a ninja"),
    "Elder": (ELDER, "a wise old helper"),
    "Moth": (MOTH, "a friendly moth"),
}


# ---------------------------------------------------------------- the pause
LETTERS = {
    "P": """
#####.
######
##..##
##..##
##..##
######
#####.
##....
##....
##....
##....
##....""",
    "A": """
.####.
######
##..##
##..##
##..##
######
######
##..##
##..##
##..##
##..##
##..##""",
    "U": """
##..##
##..##
##..##
##..##
##..##
##..##
##..##
##..##
##..##
##..##
######
.####.""",
    "S": """
.#####
######
##....
##....
#####.
.#####
....##
....##
....##
....##
######
#####.""",
    "E": """
######
######
##....
##....
##....
#####.
#####.
##....
##....
##....
######
######""",
    "D": """
#####.
######
##..##
##..##
##..##
##..##
##..##
##..##
##..##
##..##
######
#####.""",
}
LETTER_RAMP = "EEEEEEECCCCC"


def big_word(p, x0, y0, word):
    """Letters 6 x 12 pixels, two cells apart, like the digits."""
    shapes = [LETTERS[ch].split() for ch in word]
    rows = ["".join(s[y] + ".." for s in shapes)[:-2] for y in range(12)]
    rows, colours = shape_with_shadow(rows, LETTER_RAMP, SHADOW)
    p.pixels(x0, 2 * y0, rows, colours)


def pause_screen():
    """A 60 x 24 panel. The game draws the picture at (3, 3): a blank margin
    puts the panel in the middle of the play field."""
    w, h = 60, 24
    p = story_box(w, h)
    fw, fh = w - 1, h - 1
    for x in range(2, fw - 2):
        p.put(x, fh - 2, "─", FRAME2, PANEL)
    big_word(p, (fw - 47) // 2, 2, "PAUSED")
    for x in range(3, fw - 3):
        p.put(x, 10, "─", FRAME2, PANEL)
    items = [
        (12, "P", "ESC", "carry on playing"),
        (14, "Z", "X", "quieter or louder"),
        (16, "Q", None, "quit to the menu"),
        (18, "R", None, "restart the level (costs a credit)"),
    ]
    for y, a, b, words in items:
        x = keycap(p, 6, y, a)
        if b:
            p.text(x, y, "or", NOTE, PANEL)
            keycap(p, x + 3, y, b)
        p.text(17, y, words, TEXT, PANEL)
    p.centre(20, "The clock stands still while you rest.", NOTE, PANEL, 1, fw - 2)
    whole = Pic(10 + w, 28 + h)
    whole.blit(p, 10, 28)
    return whole


# ------------------------------------------------------------------ writing
def write_all():
    for n in range(10):
        write(f"Numbers/{n}.txt", digit(n), f"Digit {n} of the bonus timer and the high-score page.")
    write("AngerBar.txt", anger_bar(), "One segment of the turn gauge (its second row is blank).")
    write("ArrowBox.txt", arrow_box(),
          "The turn gauge at (88, 15): a tube for the segments (blank cells)\n"
          "and a window for the next-turn arrow drawn at (96, 25).", PANEL)
    left = LEFT_ARROW.split()
    for name, mask in (("Left", left), ("Right", [r[::-1] for r in left]), ("Up", UP_ARROW.split())):
        write(f"Arrows/{name}.txt", arrow(mask), f"The next turn: {name}.")
    write("Controls.txt", controls(),
          "The keys at (88, 45), and frames round the numbers the game writes below them.", PANEL)
    write("Dialog/Box.txt", story_box(70, 14),
          "A story box. Text goes in rows 3-7 from column 3; a portrait at (54, 2).", PANEL)
    write("Dialog/BoxTall.txt", story_box(80, 18),
          "A larger story box. Text goes in rows 3-11 from column 3; a portrait at (64, 3).", PANEL)
    write("endDialog.txt", Pic(4, 4), "The closing record's picture, never drawn.")
    for name, (art, who) in CAST.items():
        write(f"Portraits/{name}.txt", portrait(art), f"{name}: {who}.")
    write("PauseScreen.txt", pause_screen(), "The pause screen, drawn at (3, 3).", PANEL)


# --------------------------------------------------- mock-ups for the docs
SCREEN_W, SCREEN_H = 116, 88


def load_srf(rel):
    with open(os.path.join(ROOT, "data", "surfaces", rel), "rb") as f:
        data = f.read()
    size, width = struct.unpack_from("<II", data, 8)
    count = size // 4
    return width, count // width, [struct.unpack_from("<HH", data, 88 + 4 * i) for i in range(count)]


class Screen:
    """The back buffer, drawn into with the game's rules: a blank never paints."""

    def __init__(self, w=SCREEN_W, h=SCREEN_H):
        self.w, self.h = w, h
        self.cells = [(0x20, 0)] * (w * h)

    def blit(self, pic, x, y):
        w, h, cells = pic
        for r in range(h):
            for c in range(w):
                ch, attr = cells[r * w + c]
                if (ch & 0xFF) != 0x20 and 0 <= x + c < self.w and 0 <= y + r < self.h:
                    self.cells[(y + r) * self.w + x + c] = (ch, attr)

    def text(self, s, x, y, attr=0x0F):
        for i, ch in enumerate(s):
            self.cells[y * self.w + x + i] = (ord(ch), attr)

    def source(self, comment):
        """As a picture source, through srftool's own dump of a .srf."""
        import subprocess
        import tempfile
        data = bytearray(88)
        struct.pack_into("<HHIIII", data, 0, 0xABCD, 0, 88 + len(self.cells) * 4,
                         len(self.cells) * 4, self.w, 88)
        data += b"".join(struct.pack("<HH", ch, a) for ch, a in self.cells)
        with tempfile.NamedTemporaryFile(suffix=".srf") as f:
            f.write(data)
            f.flush()
            tool = os.environ.get("SRFTOOL", os.path.join(ROOT, "build", "srftool"))
            text = subprocess.run([tool, "dump", f.name], check=True, capture_output=True,
                                  text=True).stdout
        return "".join(f"# {line}\n" for line in comment.split("\n")) + text


def line_end(text, start, limit):
    # The game's word wrap: words are taken until the count passes the limit.
    k, end, p = 3, start, start
    while p < len(text):
        q = text.find(" ", p)
        q = len(text) if q < 0 else q
        k += q - p + 1
        end = q
        if q >= len(text) or k > limit:
            break
        p = q + 1
    return end


def story(screen, box, text, x, y, face=None, px=0, py=0):
    w, h, cells = load_srf(box)
    cells = list(cells)
    wrap = w - 3
    if face:
        fw, fh, fcells = load_srf(face)
        assert fw + px <= w - 3 and fh + py <= h - 3, "the game would refuse this portrait"
        wrap = min(wrap, px - 3)
        for r in range(fh):
            for c in range(fw):
                if fcells[r * fw + c][0] & 0xFF != 0x20:
                    cells[(py + r) * w + px + c] = fcells[r * fw + c]
    start, row = 0, 3
    while row < h - 6 and start < len(text):
        end = line_end(text, start, wrap - 3)
        for i in range(start, end):
            col = 3 + i - start
            if text[i] != " " and col < w:
                ch, attr = cells[row * w + col]
                cells[row * w + col] = (ord(text[i]), ((attr << 4) | 0x0F) & 0xFF)
        start, row = end, row + 1
    screen.blit((w, h, cells), x, y)


def hud_mockup():
    s = Screen()
    wall = (178, 0x4C)  # the play field's brick wall, for the look of it
    for i in range(86):
        for t in range(2):
            for x, y in ((i + 1, 1 + t), (i + 1, 85 + t), (1 + t, i + 1), (85 + t, i + 1)):
                s.cells[y * s.w + x] = wall
    for column, d in ((88, 0), (97, 4), (106, 7)):
        s.blit(load_srf(f"Numbers/{d}.srf"), column, 2)
    s.text("BONUS TIMER", 95, 13)
    r = 20 - 11.5  # 11.5 s since the last turn
    i = 19
    while i > r:
        s.blit(load_srf("AngerBar.srf"), 90, math.trunc(i * 1.2 + 18))
        i -= 1
    s.blit(load_srf("ArrowBox.srf"), 88, 15)
    s.blit(load_srf("Arrows/Left.srf"), 96, 25)
    s.blit(load_srf("Controls.srf"), 88, 45)
    for text, x, y in (("SCORE:", 88, 68), ("0000012750", 100, 70), ("HIGH SCORE:", 88, 75),
                       ("0000025000", 100, 77), ("LIVES:", 88, 82), ("3", 95, 84),
                       ("CREDITS:", 100, 82), ("2", 109, 84)):
        s.text(text, x, y)
    story(s, "Dialog/Box.srf", "WICK: The room is turning again! If I stack my boxes just "
          "right, the Soldiers below will never know what hit them.", 5, 3,
          "Portraits/Wick.srf", 54, 2)
    story(s, "Dialog/BoxTall.srf", "ELDER: Listen well, little conjurer. The Ozzle sleeps at "
          "the top of the tower, and each time he stamps his feet the whole room turns. Drop "
          "five boxes on his horned head and the spell will break.", 3, 85 - 18,
          "Portraits/Elder.srf", 64, 3)
    return s


def portrait_sheet():
    s = Screen(68, 24)
    s.cells = [(0xDB, 0x11)] * (s.w * s.h)
    for n, name in enumerate(CAST):
        x, y = 2 + (n % 4) * 16, 1 + (n // 4) * 12
        s.blit(load_srf(f"Portraits/{name}.srf"), x, y)
        s.text(name, x, y + 9, 0x1E)
    return s


def write_docs():
    docs = os.path.join(ROOT, "content", "art", "docs")
    with open(os.path.join(docs, "hud.txt"), "w", encoding="utf-8") as f:
        f.write(hud_mockup().source(
            "The screen in play: the status strip and two story boxes, composed from\n"
            "data/surfaces by content/art/make_pictures.py docs."))
    with open(os.path.join(docs, "portraits.txt"), "w", encoding="utf-8") as f:
        f.write(portrait_sheet().source(
            "The story's cast (data/surfaces/Portraits), composed by content/art/make_pictures.py docs."))


if __name__ == "__main__":
    if sys.argv[1:] == ["docs"]:
        write_docs()
    elif sys.argv[1:]:
        sys.exit(__doc__)
    else:
        write_all()
