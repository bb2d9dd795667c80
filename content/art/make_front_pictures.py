#!/usr/bin/env python3
"""Draws the front end's pictures as picture sources: the splash title, the
studio logo, the main menu with the box figure, the ninja and the star of its
interludes, and the credits and high-score pages.

  python3 content/art/make_front_pictures.py   writes the sources under
                                              content/art/surfaces/ (then
                                              make content compiles them)
  python3 content/art/make_front_pictures.py preview DIR
                                              writes the menu scenes as composed
                                              by the interludes, to render with
                                              srftool png

The sources are ordinary picture sources and may be edited by hand, but the
pixel art is easier to change here and write again. Pixel art is drawn two
pixels to a cell with the half blocks: a pixel is a whole cell wide and half a
cell tall. Big letters are the game's own 8 x 8 font, read from
src/platform/raster/font8x8.cpp and drawn large.
"""
import os
import re
import sys

from picture_kit import *  # noqa: F401,F403 (colours, colour letters, Pic)

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

SCREEN_W, SCREEN_H = 116, 88


# ------------------------------------------------------------------ the font
def read_font():
    path = os.path.join(ROOT, "src", "platform", "raster", "font8x8.cpp")
    text = open(path, encoding="utf-8").read()
    glyphs = {}
    for m in re.finditer(r"// 0x([0-9A-F]{2})[^\n]*\n\s*\{((?:R\(\"[.#]{8}\"\),?\s*){8})\}", text):
        rows = re.findall(r"R\(\"([.#]{8})\"\)", m.group(2))
        glyphs[int(m.group(1), 16)] = rows
    return glyphs


FONT = read_font()


def glyph_extent(ch):
    """The first and last column a glyph uses; a space is four wide."""
    rows = FONT[ord(ch)]
    used = [x for r in rows for x in range(8) if r[x] == "#"]
    return (min(used), max(used)) if used else (0, 3)


def glyph_width(ch):
    lo, hi = glyph_extent(ch)
    return hi - lo + 1


def text_width(s, sx, gap=1):
    return sum(glyph_width(ch) * sx + gap * sx for ch in s) - gap * sx


def big_text(p, x0, py0, s, colours, sx=1, sy=2, shadow=None, gap=1, rows=7):
    """Draws text with the game's font, each font pixel sx cells wide and sy
    pixels (half cells) tall. `colours` is one colour or a function
    (letter index, font row) -> colour. A shadow falls one pixel right and
    down."""
    def colour_of(i, fy):
        return colours(i, fy) if callable(colours) else colours

    layers = []
    if shadow is not None:
        layers.append((1, 1, lambda i, fy: shadow))
    layers.append((0, 0, colour_of))
    for ox, oy, col in layers:
        x = x0
        for i, ch in enumerate(s):
            glyph = FONT[ord(ch)]
            lo = glyph_extent(ch)[0]
            for fy in range(rows):
                for fx in range(lo, 8):
                    if glyph[fy][fx] != "#":
                        continue
                    for yy in range(sy):
                        for xx in range(sx):
                            p.pixel(x + (fx - lo) * sx + xx + ox, py0 + fy * sy + yy + oy, col(i, fy))
            x += glyph_width(ch) * sx + gap * sx


def centred_big_text(p, py0, s, colours, sx=1, sy=2, shadow=None, gap=1, x0=0, x1=None):
    x1 = p.w - 1 if x1 is None else x1
    w = text_width(s, sx, gap)
    big_text(p, x0 + (x1 - x0 + 1 - w) // 2, py0, s, colours, sx, sy, shadow, gap)


def keycap(p, x, y, label):
    """A key as a grey cap: white letters on dark grey with an edge."""
    p.text(x, y, " " + label + " ", WHITE, DARKGREY)
    p.put(x + len(label) + 2, y, "▌", BLACK, DARKGREY)


# --------------------------------------------------------- pixel shape tools
def rect(p, x, y, w, h, colour):
    for yy in range(y, y + h):
        for xx in range(x, x + w):
            p.pixel(xx, yy, colour)


def hline(p, x0, x1, y, colour):
    for x in range(min(x0, x1), max(x0, x1) + 1):
        p.pixel(x, y, colour)


def line(p, x0, y0, x1, y1, colour):
    """A line in pixels; a pixel is twice as wide as tall, so steps follow
    the longer side."""
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(n + 1):
        p.pixel(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), colour)


def trapezoid(p, y, rows, colour, shade=None):
    """rows: (left, right) per pixel row from y; the rightmost pixel of each
    row takes `shade`."""
    for i, (l, r) in enumerate(rows):
        for x in range(l, r + 1):
            p.pixel(x, y + i, shade if shade is not None and x == r else colour)


def crate(p, x, y, w=20, h=26):
    """The game's box, large: an orange frame, yellow planks and two dark red
    braces."""
    rect(p, x, y, w, h, YELLOW)
    # planks: darker seams every few rows
    for yy in range(y + 4, y + h - 2, 5):
        hline(p, x + 2, x + w - 3, yy, DARKYELLOW)
    # braces corner to corner
    line(p, x + 2, y + 2, x + w - 3, y + h - 3, DARKRED)
    line(p, x + 3, y + 2, x + w - 2, y + h - 3, DARKRED)
    line(p, x + w - 3, y + 2, x + 2, y + h - 3, DARKRED)
    line(p, x + w - 2, y + 2, x + 3, y + h - 3, DARKRED)
    # the frame
    rect(p, x, y, w, 2, DARKYELLOW)
    rect(p, x, y + h - 2, w, 2, DARKYELLOW)
    rect(p, x, y, 2, h, DARKYELLOW)
    rect(p, x + w - 2, y, 2, h, DARKYELLOW)
    # nail heads
    for cx, cy in ((x, y), (x + w - 2, y), (x, y + h - 2), (x + w - 2, y + h - 2)):
        p.pixel(cx, cy, BLACK)
        p.pixel(cx + 1, cy + 1, DARKGREY)


# The hero, Wick: a small conjurer in a blue pointed hat with a yellow star,
# a white face and a red robe. Facing left unless flipped.
HAT = [
    "...........BB..",
    "..........BBBb.",
    ".........BBBBb.",
    "........BBBBBb.",
    ".......BBBBBBb.",
    "......BBBYBBBb.",
    "......BBYYYBBb.",
    ".....BBBBYBBBBb",
    ".....BBBBBBBBBb",
    "....BBBBBBBBBBb",
    "..bbbbbbbbbbbbbb",
    "...bbbbbbbbbbbb.",
]
FACE_AWAKE = [
    "....wwwwwwwww..",
    "...wwwwwwwwwww.",
    "...wkkwwwwwwww.",
    "...wkkwwwwwwww.",
    "..wwwwwwwwwwww.",
    "...wwwwwwwwwww.",
    "...wwRRwwwwwww.",
    "....wwwwwwwww..",
    ".....wwwwwww...",
]
FACE_HAPPY = [
    "....wwwwwwwww..",
    "...wwwwwwwwwww.",
    "...kwwkwwwwwww.",
    "...wkkwwwwwwww.",
    "..wwwwwwwwwwww.",
    "...wwwwwwwwwww.",
    "...wRRRwwwwwww.",
    "....wRwwwwwww..",
    ".....wwwwwww...",
]
FACE_ASLEEP = [
    "....wwwwwwwww..",
    "...wwwwwwwwwww.",
    "...wwwwwwwwwww.",
    "...kkkwwwwwwww.",
    "..wwwwwwwwwwww.",
    "...wwwwwwwwwww.",
    "...wwwwwwwwwww.",
    "....wwRwwwwww..",
    ".....wwwwwww...",
]


def flip(rows):
    return [r[::-1] for r in rows]


def head(p, x, y, face=FACE_AWAKE, tilt=0):
    """Hat and face, 16 x 21 pixels; `tilt` moves the hat a pixel sideways
    (asleep, the head nods)."""
    p.pixels(x + tilt, y, HAT)
    p.pixels(x, y + len(HAT), face)


def robe(p, x, y, rows=16):
    """The red robe from the shoulders down, widening, shaded on the right,
    with a yellow belt."""
    spans = []
    for i in range(rows):
        widen = min(i // 3, 3)
        spans.append((x + 3 - widen, x + 12 + widen))
    trapezoid(p, y, spans, RED, DARKRED)
    belt = y + rows // 2
    for l, r in spans[rows // 2: rows // 2 + 1]:
        hline(p, l, r, belt, YELLOW)
    p.pixel(x + 7, belt, WHITE)


LEGS = {
    # two pixels a leg, shoes dark grey
    "stand": [
        "....bb...bb....",
        "....bb...bb....",
        "....bb...bb....",
        "....bb...bb....",
        "....bb...bb....",
        "...ddd..ddd....",
        "..dddd..dddd...",
    ],
    "step_a": [
        "....bb....bb...",
        "...bb......bb..",
        "..bb.......bb..",
        ".bb.........bb.",
        "bb..........bb.",
        "ddd.........ddd",
        "dddd........dddd",
    ],
    "step_b": [
        "....bb...bb....",
        "....bb..bb.....",
        "....bb.bb......",
        "....bbbb.......",
        "....bbb........",
        "...dddd........",
        "..ddddd........",
    ],
    "bent": [
        "...bbbbbbbb....",
        "..bb......bb...",
        "..bb......bb...",
        "...bb....bb....",
        "..ddd...ddd....",
        ".dddd..dddd....",
    ],
}


def hand(p, x, y):
    p.pixels(x, y, ["ww", "ww"])


def hero(p, x, y, legs="stand", face=FACE_AWAKE, tilt=0, robe_rows=20):
    """Head, robe and legs standing from pixel row y; 16 pixels wide."""
    head(p, x, y, face, tilt)
    robe(p, x, y + 21, robe_rows)
    p.pixels(x, y + 21 + robe_rows, LEGS[legs])


def carrying(p, legs, bob=0):
    """Walking with the box held low in front, the hands round its sides."""
    hero(p, 20, 12 + bob, legs, robe_rows=20 - bob)
    crate(p, 5, 29 + bob, 20, 24)
    rect(p, 20, 36 + bob, 7, 3, RED)
    hand(p, 3, 38 + bob)
    hand(p, 25, 37 + bob)


def box_figure(n):
    """The nine pictures of the box figure, 40 x 30 cells, feet on the
    bottom row: 1-3 walking with the box, 4 putting it down, 5 standing
    beside it, 6-7 waving, 8 sitting on it, 9 asleep on it."""
    p = Pic(40, 30)
    if n == 1:
        carrying(p, "step_a")
    elif n == 2:
        carrying(p, "stand")
    elif n == 3:
        carrying(p, "step_b", 1)
    elif n == 4:
        hero(p, 20, 19, "bent", robe_rows=14)
        crate(p, 5, 35, 20, 24)
        hand(p, 3, 42)
        hand(p, 25, 41)
    elif n in (5, 6, 7):
        crate(p, 2, 34, 20, 26)
        hero(p, 23, 12, "stand", FACE_HAPPY if n != 5 else FACE_AWAKE)
        if n == 5:
            hand(p, 22, 42)
            hand(p, 37, 42)
        elif n == 6:
            # one arm up, waving
            line(p, 37, 36, 38, 27, RED)
            line(p, 36, 36, 37, 27, RED)
            hand(p, 37, 24)
            hand(p, 22, 42)
        else:
            line(p, 36, 36, 35, 27, RED)
            line(p, 37, 36, 36, 27, RED)
            hand(p, 34, 24)
            hand(p, 22, 42)
    else:
        crate(p, 10, 34, 20, 26)
        face = FACE_AWAKE if n == 8 else FACE_ASLEEP
        tilt = 0 if n == 8 else -1
        y = 0 if n == 8 else 1
        head(p, 13, y, face, tilt)
        robe(p, 13, y + 21, 13 - y)
        # the legs hang over the box's front edge
        rect(p, 10, 34, 8, 2, DARKBLUE)
        rect(p, 10, 36, 2, 6, DARKBLUE)
        rect(p, 13, 36, 2, 6, DARKBLUE)
        rect(p, 8, 42, 4, 2, DARKGREY)
        rect(p, 11, 42, 4, 2, DARKGREY)
        hand(p, 13, 31)
        hand(p, 27, 31)
        if n == 9:
            p.put(31, 4, "z", LIGHTGREY, BLACK)
            p.put(33, 2, "z", WHITE, BLACK)
            p.put(35, 0, "Z", WHITE, BLACK)
    return p


# The ninja of the interludes: the game's ninja drawn large, dark blue with a
# white eye band and a red scarf and belt. 20 x 30 cells, feet on the
# bottom row.
NINJA_HEAD = [
    "....bbbbbbbb....",
    "...bBBBBBBBBb...",
    "..bBBBBBBBBBBb..",
    "..bBBBBBBBBBBb..",
    "..bwwwwwwwwwwb..",
    "..bwkkwwwwkkwb..",
    "..bwkkwwwwkkwb..",
    "..bBBBBBBBBBBb..",
    "..bBBBBBBBBBBb..",
    "...bBBBBBBBBb...",
    "....bbbbbbbb....",
]
NINJA_HEAD_SIDE = [
    "....bbbbbbbb....",
    "...bBBBBBBBBb...",
    "..bBBBBBBBBBBb..",
    "..bBBBBBBBBBBb..",
    "..bwwwwwwwwBBb..",
    "..bkkwwkkwwBBb..",
    "..bkkwwkkwwBBb..",
    "..bBBBBBBBBBBb..",
    "..bBBBBBBBBBBb..",
    "...bBBBBBBBBb...",
    "....bbbbbbbb....",
]


def ninja(n):
    p = Pic(20, 30)
    x = 2
    top = 25
    # scarf tails flutter behind (to the right while walking left)
    tail = {1: ["RRR", ".RRR"], 2: [".RR", "RRRR"], 3: ["RR", "RR", "R"], 4: ["RRRR", "..RRR"]}[n]
    p.pixels(x + 13, top + 12, tail)
    p.pixels(x, top, NINJA_HEAD_SIDE if n in (1, 2) else NINJA_HEAD)
    rect(p, x + 3, top + 11, 10, 2, RED)  # scarf
    body = top + 13
    rect(p, x + 3, body, 10, 14, DARKBLUE)
    rect(p, x + 4, body, 8, 14, BLUE)
    rect(p, x + 3, body + 8, 10, 2, RED)  # belt
    p.pixel(x + 8, body + 8, YELLOW)
    legs = body + 14
    if n == 1:
        p.pixels(x + 2, legs, ["..bb....bb..", ".bb......bb.", "bb........bb", "bb........bb",
                               "bb........bb", "bb........bb", "bb........bb", "dd........dd"])
        rect(p, x + 1, body + 2, 2, 8, DARKBLUE)
        rect(p, x + 13, body + 2, 2, 8, DARKBLUE)
    elif n == 2:
        p.pixels(x + 2, legs, ["..bb..bb....", "..bb.bb.....", "..bbbb......", "..bbb.......",
                               "..bbb.......", "..bbb.......", "..bbb.......", "..ddd......."])
        rect(p, x + 1, body + 2, 2, 9, DARKBLUE)
        rect(p, x + 13, body + 2, 2, 7, DARKBLUE)
    elif n == 3:
        p.pixels(x + 2, legs, ["..bb....bb..", "..bb....bb..", "..bb....bb..", "..bb....bb..",
                               "..bb....bb..", "..bb....bb..", "..bb....bb..", ".ddd....ddd."])
        # a hand at the chin: looking
        rect(p, x + 1, body + 2, 2, 8, DARKBLUE)
        rect(p, x + 13, body + 2, 2, 4, DARKBLUE)
        line(p, x + 13, body + 4, x + 10, body, DARKBLUE)
        p.pixels(x + 9, body - 2, ["ww", "ww"])
    else:
        # the pose: legs wide, one arm high with a star, the other out
        p.pixels(x + 1, legs, [".bb......bb.", "bb........bb", "bb.........bb", "b..........bb",
                               "b...........bb", "b...........bb", "b............bb",
                               "dd...........dd"])
        line(p, x + 3, body + 3, x - 1, body - 4, DARKBLUE)
        line(p, x + 2, body + 3, x - 2, body - 4, DARKBLUE)
        p.pixels(x - 2, body - 7, ["ww", "ww"])
        p.pixels(x - 3, body - 12, [".l.", "lCl", ".l."])
        rect(p, x + 13, body + 3, 4, 2, DARKBLUE)
        p.pixels(x + 17, body + 3, ["ww", "ww"])
    return p


STARS = {
    1: [
        "...w...",
        "...w...",
        "...w...",
        "...Y...",
        "..YYY..",
        "wYYwYYw",
        "..YYY..",
        "...Y...",
        "...w...",
        "...w...",
        "...w...",
        ".......",
    ],
    2: [
        ".......",
        "C.....C",
        ".C...C.",
        "...Y...",
        "..YYY..",
        ".YYwYY.",
        "..YYY..",
        "...Y...",
        ".C...C.",
        "C.....C",
        ".......",
        ".......",
    ],
}


def star(n):
    p = Pic(7, 6)
    p.pixels(0, 0, STARS[n])
    return p


# ------------------------------------------------------------- the splash
# With the fade palettes colour 0 stays black, 4 and 12 are reds and every
# other colour is one grey that brightens to white: the title is drawn in red,
# dark red and light grey only.
def splash_crate(p, x, y, w, h):
    """A crate in the splash's colours: grey frame, dark red boards, red
    braces."""
    rect(p, x, y, w, h, DARKRED)
    line(p, x + 1, y + 1, x + w - 2, y + h - 2, RED)
    line(p, x + w - 2, y + 1, x + 1, y + h - 2, RED)
    for yy in (y, y + 1, y + h - 2, y + h - 1):
        hline(p, x, x + w - 1, yy, LIGHTGREY)
    for yy in range(y, y + h):
        p.pixel(x, yy, LIGHTGREY)
        p.pixel(x + w - 1, yy, LIGHTGREY)


def splash():
    p = Pic(SCREEN_W, SCREEN_H)
    p.fill(0, 0, SCREEN_W, SCREEN_H, BLACK)
    p.frame(2, 1, SCREEN_W - 4, SCREEN_H - 2, DARKRED, BLACK)
    p.frame(4, 2, SCREEN_W - 8, SCREEN_H - 4, LIGHTGREY, BLACK, "single")
    p.centre(5, "Q U O R V A L E", RED, BLACK)
    p.centre(7, "presents", DARKRED, BLACK)
    # a stack of crates, the top one tumbling off
    for x, y in ((40, 36), (52, 36), (64, 36), (46, 20), (58, 20)):
        splash_crate(p, x, y, 11, 16)
    diamond(p, 80, 28, 6, LIGHTGREY, DARKRED, 0.3)
    line(p, 76, 28, 84, 28, RED)
    line(p, 80, 20, 80, 36, RED)
    top = lambda i, fy: LIGHTGREY if fy == 0 else RED
    centred_big_text(p, 58, "WOBBLE", top, sx=2, sy=3, shadow=DARKRED)
    centred_big_text(p, 86, "WICK!", top, sx=2, sy=3, shadow=DARKRED)
    hline(p, 18, SCREEN_W - 19, 112, DARKRED)
    p.centre(58, "a tale of boxes, turning rooms", LIGHTGREY, BLACK)
    p.centre(60, "and one very cross Ozzle", LIGHTGREY, BLACK)
    for i in range(7):
        splash_crate(p, 23 + i * 10, 128 + (i % 2) * 2, 8, 12)
    return p


# --------------------------------------------------------------- the logo
def diamond(p, cx, cy, radius, colour, inner=None, band=0.0):
    """A square room turned a quarter: |dx| / r + |dy| / 2r <= 1 in pixels
    (a pixel is half as tall as wide). With `inner`, the band near the edge
    takes `colour` and the rest `inner`."""
    for py in range(cy - 2 * radius, cy + 2 * radius + 1):
        for x in range(cx - radius, cx + radius + 1):
            d = abs(x - cx) / radius + abs(py - cy) / (2 * radius)
            if d <= 1:
                p.pixel(x, py, colour if inner is None or d > 1 - band else inner)


def logo():
    p = Pic(SCREEN_W, SCREEN_H)
    p.fill(0, 0, SCREEN_W, SCREEN_H, BLACK)
    # the mark: a turned room with a Q in it
    diamond(p, 58, 44, 19, CYAN, DARKCYAN, 0.16)
    diamond(p, 58, 44, 11, BLUE, DARKBLUE, 0.2)
    big_text(p, 58 - text_width("Q", 2) // 2, 31, "Q", WHITE, sx=2, sy=4, shadow=BLACK)
    centred_big_text(p, 94, "QUORVALE", WHITE, sx=1, sy=3, shadow=DARKCYAN)
    p.centre(61, "G  A  M  E  S", CYAN, BLACK)
    p.centre(76, "makers of small games with big boxes", DARKGREY, BLACK)
    return p


# ---------------------------------------------------------------- the menu
def menu():
    """The main menu on the menu palettes: colours 5 and 13 swap white and
    orange once a second and colour 2 swaps two greens, so the title's
    letters and the grass take turns."""
    p = Pic(SCREEN_W, SCREEN_H)
    p.fill(0, 0, SCREEN_W, SCREEN_H, BLACK)
    blink = lambda i, fy: DARKMAGENTA if i % 2 == 0 else MAGENTA
    centred_big_text(p, 4, "Wobblewick!", blink, sx=1, sy=3, shadow=DARKRED)
    p.centre(14, "the box conjurer and the turning rooms", CYAN, BLACK)
    # the night sky over the stage
    for x, y, ch, c in ((8, 19, ".", LIGHTGREY), (19, 24, "+", DARKGREY), (27, 18, ".", WHITE),
                        (44, 21, ".", LIGHTGREY), (57, 17, "*", DARKGREY), (66, 23, ".", WHITE),
                        (78, 19, "+", LIGHTGREY), (89, 25, ".", DARKGREY), (110, 20, ".", WHITE),
                        (6, 33, ".", DARKGREY), (12, 45, "+", DARKGREY), (108, 32, ".", WHITE),
                        (111, 47, ".", DARKGREY), (22, 38, ".", LIGHTGREY), (76, 34, ".", DARKGREY),
                        (3, 26, "*", LIGHTGREY), (36, 29, ".", DARKGREY), (93, 44, "+", DARKGREY),
                        (17, 52, ".", LIGHTGREY), (85, 51, ".", DARKGREY)):
        p.put(x, y, ch, c, BLACK)
    # the moon, a crescent
    p.pixels(96, 36, [
        "....YYYY..",
        "..YYYY....",
        ".YYYY.....",
        "YYYY......",
        "YYYY......",
        "YYYY......",
        "YYYY......",
        ".YYYY.....",
        "..YYYY....",
        "....YYYY..",
    ], under=BLACK)
    # the ground: grass that sways with the blink, earth below
    for x in range(SCREEN_W):
        p.put(x, 57, "▄" if x % 3 else "▲", DARKGREEN, BLACK)
        p.put(x, 58, FULL, DARKGREEN, DARKGREEN)
        p.put(x, 59, "▓", DARKRED, BLACK)
        p.put(x, 60, "▒", DARKRED, BLACK)
    # the key legend
    p.fill(3, 62, SCREEN_W - 6, 25, DARKBLUE)
    p.frame(3, 62, SCREEN_W - 6, 25, CYAN, DARKBLUE)
    p.centre(64, " Press ENTER to play! ", MAGENTA, DARKBLUE)
    p.centre(65, "~~~~~~~~~~~~~~~~~~~~~~", DARKMAGENTA, DARKBLUE)
    items_left = (("ENTER", "start a new game", 68), ("C", "credits", 71), ("S", "high score", 74))
    for key, what, y in items_left:
        keycap(p, 10, y, key)
        p.text(20, y, what, WHITE, DARKBLUE)
    keycap(p, 58, 68, "Z")
    keycap(p, 63, 68, "X")
    p.text(76, 68, "quieter / louder", WHITE, DARKBLUE)
    keycap(p, 58, 71, "ESC")
    p.text(76, 71, "leave the game", WHITE, DARKBLUE)
    keycap(p, 58, 74, "CTRL")
    p.text(65, 74, "+", LIGHTGREY, DARKBLUE)
    keycap(p, 67, 74, "E")
    p.text(76, 74, "level editor", WHITE, DARKBLUE)
    p.centre(78, "In the game: arrows walk and jump, SPACE makes a box, S turns the room, "
             "P pauses.", LIGHTGREY, DARKBLUE)
    p.centre(80, "Drop a box on every enemy, and never touch one. The room turns as you go!",
             LIGHTGREY, DARKBLUE)
    p.centre(84, "A Quorvale game", DARKGREY, DARKBLUE)
    return p


# ----------------------------------------------- the credits and high score
def page_frame(p, title):
    p.fill(0, 0, SCREEN_W, SCREEN_H, DARKBLUE)
    p.frame(1, 1, SCREEN_W - 2, SCREEN_H - 2, CYAN, DARKBLUE)
    p.frame(3, 2, SCREEN_W - 6, SCREEN_H - 4, DARKCYAN, DARKBLUE, "single")
    ramp = lambda i, fy: YELLOW if fy < 5 else RED
    centred_big_text(p, 8, title, ramp, sx=1, sy=3, shadow=DARKRED)
    p.centre(84, " press any key ", LIGHTGREY, DARKBLUE)


def game_sprites(name):
    """The pixel rows of each frame of the animation source
    content/animations/NAME.anim, by frame name."""
    path = os.path.join(ROOT, "content", "animations", name + ".anim")
    lines = open(path, encoding="utf-8").read().split("\n")
    frames, rows = {}, 0
    for i, line in enumerate(lines):
        words = line.split("#")[0].split()
        if words[:1] == ["size"]:
            rows = 2 * int(words[2])
        elif words[:1] == ["frame"] and len(words) == 2:
            frames[words[1]] = [row.rstrip() for row in lines[i + 1:i + 1 + rows]]
    return frames


def scaled(rows, n):
    """Pixel rows n times as wide and as tall."""
    return [("".join(ch * n for ch in row)) for row in rows for _ in range(n)]


def credits():
    p = Pic(SCREEN_W, SCREEN_H)
    page_frame(p, "CREDITS")
    p.centre(18, "Design, code, pictures, music: the Wobblewick! team", WHITE, DARKBLUE)
    roles = (
        ("Game design", "the Wobblewick! team"),
        ("Programming", "the Wobblewick! team"),
        ("Box physics and turning rooms", "the Wobblewick! team"),
        ("Pictures and palettes", "the Wobblewick! team"),
        ("Music and sound effects", "the Wobblewick! team"),
        ("Levels and stories", "the Wobblewick! team"),
        ("Ozzle wrangling", "the whole team, carefully"),
        ("Testing", "everyone who fell off a platform"),
    )
    for i, (role, who) in enumerate(roles):
        y = 22 + i * 2
        dots = "." * (36 - len(role))
        p.text(14, y, role + " " + dots, LIGHTGREY, DARKBLUE)
        p.text(52, y, who, CYAN, DARKBLUE)
    p.centre(40, "Made with care and a great many boxes.", WHITE, DARKBLUE)
    p.centre(42, "A Quorvale game", YELLOW, DARKBLUE)
    # the cast, as large as the menu draws its figures
    cast = (("Wick", game_sprites("Player")["stand"], 2),
            ("Soldier", game_sprites("Soldier")["walk"], 2),
            ("Doll", game_sprites("Doll")["doll"], 2),
            ("Ninja", game_sprites("Ninja")["ready"], 2),
            ("Dummy", game_sprites("Dummy")["dummy"], 2),
            ("the Ozzle", game_sprites("Ozzle")["walk"], 2))
    floor = 2 * 73  # pixel row of the stage floor
    x = 6
    for name, rows, n in cast:
        big = scaled(rows, n)
        p.pixels(x, floor - len(big), big, under=DARKBLUE)
        p.centre(74, name, YELLOW, DARKBLUE, x - 3, x + len(big[0]) + 2)
        x += len(big[0]) + 6
    p.centre(46, "Starring", LIGHTGREY, DARKBLUE)
    p.centre(79, "Thank you for playing!", WHITE, DARKBLUE)
    return p


TROPHY = [
    "YYYYYYYYYYYYYYYY",
    "YYwYYYYYYYYYYYYy",
    "YYwYYYYYYYYYYYYy",
    "YYwYYYYYYYYYYYYy",
    ".YYYYYYYYYYYYYy.",
    ".YYYYYYYYYYYYYy.",
    "..YYYYYYYYYYYy..",
    "...YYYYYYYYYy...",
    ".....YYYYYy.....",
    "......YYYy......",
    "......YYYy......",
    "......YYYy......",
    "....YYYYYYYy....",
    "...yyyyyyyyyy...",
]


def high_score():
    p = Pic(SCREEN_W, SCREEN_H)
    page_frame(p, "HIGH SCORE")
    p.centre(45, "The best score so far", WHITE, DARKBLUE, 44, 96)
    # Wick on a row of the game's boxes
    for i in range(4):
        crate(p, 32 + i * 13, 2 * 30, 12, 20)
    wick = scaled(game_sprites("Player")["stand"], 2)
    p.pixels(53, 2 * 30 - len(wick), wick, under=DARKBLUE)
    tall = [row for row in TROPHY for _ in range(2)]
    handle_l = [row for row in ["YYYY", "Y...", "Y...", "Y...", ".Y..", "..YY"] for _ in range(2)]
    handle_r = [row for row in ["YYYY", "...Y", "...Y", "...Y", "..Y.", "YY.."] for _ in range(2)]
    p.pixels(20, 84, tall, under=DARKBLUE)
    p.pixels(16, 88, handle_l, under=DARKBLUE)
    p.pixels(36, 88, handle_r, under=DARKBLUE)
    p.text(19, 57, "CHAMPION", YELLOW, DARKBLUE)
    # the six digits stand in this box: rows 50-59, columns 47-93
    p.frame(44, 48, 53, 14, CYAN, DARKBLUE)
    p.fill(45, 49, 51, 12, BLACK)
    p.centre(67, "Drop a box on every enemy, keep your lives,", LIGHTGREY, DARKBLUE)
    p.centre(69, "and finish quickly for the time bonus.", LIGHTGREY, DARKBLUE)
    p.centre(74, "Can you beat it?", YELLOW, DARKBLUE)
    return p


# ------------------------------------------------------------------ previews
MENU_A = "000000,000080,255145,008080,800000,FFFFFF,FF8306,C0C0C0,808080,0000FF,00FF00,00FFFF,FF0000,FF8306,FFFF00,FFFFFF"
MENU_B = "000000,000080,008000,008080,800000,FF8306,FF8306,C0C0C0,808080,0000FF,00FF00,00FFFF,FF0000,FFFFFF,FFFF00,FFFFFF"


def sheet(pics, cols, w, h, bg=BLACK):
    """Pictures side by side on a background, to look at."""
    rows = (len(pics) + cols - 1) // cols
    s = Pic(cols * (w + 1), rows * (h + 1))
    s.fill(0, 0, s.w, s.h, bg)
    for i, pic in enumerate(pics):
        s.blit(pic, (i % cols) * (w + 1), (i // cols) * (h + 1))
    return s


def write_all():
    write("Splash.txt", splash(), "The title, drawn for the red-and-grey fade palettes of the splash.",
          BLACK)
    write("Quorvale.txt", logo(), "The studio logo shown after the title.", BLACK)
    write("Menu/Menu.txt", menu(), "The main menu; colours 2, 5 and 13 blink.", BLACK)
    notes = {1: "walking, one foot forward", 2: "standing with the box (stamped on the menu)",
             3: "walking, the other foot forward", 4: "putting the box down",
             5: "standing beside the box", 6: "waving", 7: "waving, arm to the other side",
             8: "sitting on the box", 9: "asleep on the box"}
    for n in range(1, 10):
        write(f"Menu/PimnBox{n}.txt", box_figure(n), f"The box figure: {notes[n]}.")
    ninja_notes = {1: "walking", 2: "walking, the other step", 3: "stops and looks",
                   4: "strikes a pose"}
    for n in range(1, 5):
        write(f"Menu/Ninja{n}.txt", ninja(n), f"The interludes' ninja: {ninja_notes[n]}.")
    for n in (1, 2):
        write(f"Menu/star{n}.txt", star(n), f"The farewell's twinkling star, picture {n}.")
    write("Credits.txt", credits(), "The credits page.", DARKBLUE)
    write("Highscore.txt", high_score(),
          "The high-score page; the game draws six digits on row 50, columns 47-93.", DARKBLUE)


def write_previews(folder):
    """Scenes as the menu and its interludes compose them, as sources to
    render with srftool png (on the menu palettes)."""
    os.makedirs(folder, exist_ok=True)
    scenes = {
        "menu": [(box_figure(2), 30, 27)],
        "start_walk": [(box_figure(1), 12, 27), (ninja(1), 100, 27)],
        "start_pose": [(ninja(4), 34, 27)],
        "farewell_star": [(box_figure(2), 30, 27), (star(1), 82, 41)],
        "farewell_end": [(box_figure(9), 30, 27), (ninja(4), 84, 27)],
        "farewell_wave": [(box_figure(6), 30, 27)],
    }
    for name, parts in scenes.items():
        screen = menu()
        for pic, x, y in parts:
            screen.blit(pic, x, y)
        with open(os.path.join(folder, name + ".txt"), "w", encoding="utf-8") as f:
            f.write(screen.source(name))
    figures = sheet([box_figure(n) for n in range(1, 10)] + [ninja(n) for n in range(1, 5)] +
                    [star(1), star(2)], 5, 40, 30)
    with open(os.path.join(folder, "figures.txt"), "w", encoding="utf-8") as f:
        f.write(figures.source("figures"))


if __name__ == "__main__":
    if len(sys.argv) > 2 and sys.argv[1] == "preview":
        write_previews(sys.argv[2])
    else:
        write_all()
