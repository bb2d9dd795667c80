"""What the picture scripts share: the 16 console colours, the colour letters
of pixel art, and Pic, a picture being drawn that writes itself as a picture
source. Pixel art is drawn two pixels to a cell with the half blocks: a pixel
is a whole cell wide and half a cell tall."""
import os
import sys

FULL, UPPER, LOWER = "█", "▀", "▄"
HEX = "0123456789ABCDEF"

BLACK, DARKBLUE, DARKGREEN, DARKCYAN, DARKRED, DARKMAGENTA, DARKYELLOW = range(7)
LIGHTGREY, DARKGREY, BLUE, GREEN, CYAN, RED, MAGENTA, YELLOW, WHITE = range(7, 16)

# Colour letters of the pixel art.
COLOUR_LETTERS = {"k": 0, "b": 1, "g": 2, "c": 3, "r": 4, "m": 5, "y": 6, "l": 7,
                  "d": 8, "B": 9, "G": 10, "C": 11, "R": 12, "M": 13, "Y": 14, "w": 15}

FILL_KEY = "·"  # solid cells of the fill colour in the sources
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


class Pic:
    """A picture being drawn: None is a blank (transparent) cell, otherwise
    (character, foreground, background)."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.cells = [[None] * w for _ in range(h)]

    def put(self, x, y, ch, fg=WHITE, bg=BLACK):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.cells[y][x] = (ch, fg, bg)

    def clear(self, x, y):
        self.cells[y][x] = None

    def fill(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, FULL, colour, colour)

    def text(self, x, y, s, fg, bg):
        # A blank would be transparent: between words it is solid background.
        for i, ch in enumerate(s):
            if ch == " ":
                self.put(x + i, y, FULL, bg, bg)
            else:
                self.put(x + i, y, ch, fg, bg)

    def centre(self, y, s, fg, bg, x0=0, x1=None):
        x1 = self.w - 1 if x1 is None else x1
        self.text(x0 + (x1 - x0 + 1 - len(s)) // 2, y, s, fg, bg)

    def shown(self, x, y, half):
        """The colour a half of a cell shows (0 top, 1 bottom), or None."""
        if not (0 <= x < self.w and 0 <= y < self.h):
            return None
        c = self.cells[y][x]
        if c is None:
            return None
        ch, fg, bg = c
        if ch == FULL:
            return fg
        if ch == UPPER:
            return fg if half == 0 else bg
        if ch == LOWER:
            return bg if half == 0 else fg
        return bg

    def frame(self, x, y, w, h, fg, bg, style="double"):
        tl, tr, bl, br, hz, vt = "╔╗╚╝═║" if style == "double" else "┌┐└┘─│"
        for i in range(x + 1, x + w - 1):
            self.put(i, y, hz, fg, bg)
            self.put(i, y + h - 1, hz, fg, bg)
        for j in range(y + 1, y + h - 1):
            self.put(x, j, vt, fg, bg)
            self.put(x + w - 1, j, vt, fg, bg)
        self.put(x, y, tl, fg, bg)
        self.put(x + w - 1, y, tr, fg, bg)
        self.put(x, y + h - 1, bl, fg, bg)
        self.put(x + w - 1, y + h - 1, br, fg, bg)

    def pixel(self, px, py, colour, under=None):
        """Sets one pixel (a half cell). The other half keeps what it shows,
        or `under` when it shows nothing (None leaves it transparent, which a
        cell cannot be by halves: it then takes black)."""
        x, y, half = px, py // 2, py % 2
        if not (0 <= x < self.w and 0 <= y < self.h):
            return
        other = self.shown(x, y, 1 - half)
        if other is None:
            other = BLACK if under is None else under
        top, bottom = (colour, other) if half == 0 else (other, colour)
        if top == bottom:
            self.put(x, y, FULL, top, top)
        else:
            self.put(x, y, UPPER, top, bottom)

    def pixels(self, x0, py0, rows, colours=COLOUR_LETTERS, under=None):
        """Pixel rows of colour letters ('.' none) from pixel row py0."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch != ".":
                    self.pixel(x0 + dx, py0 + dy, colours[ch], under)

    def blit(self, other, x0, y0):
        for y in range(other.h):
            for x in range(other.w):
                if other.cells[y][x] is not None:
                    self.put(x0 + x, y0 + y, *other.cells[y][x])

    def source(self, comment, fill=None):
        """The picture source; cells solid in the colour `fill` are written
        as FILL_KEY so that the grids stay readable."""
        def filled(c):
            return fill is not None and c[0] == FULL and c[1] == fill

        fgc, bgc = [0] * 16, [0] * 16
        for row in self.cells:
            for c in row:
                if c is not None and not filled(c):
                    fgc[c[1]] += 1
                    bgc[c[2]] += 1
        dfg = max(range(16), key=lambda i: fgc[i])
        dbg = max(range(16), key=lambda i: bgc[i])
        out = ["# " + line for line in comment.strip().split("\n")]
        out.append(f"# Written by content/art/{os.path.basename(sys.argv[0])}.")
        out.append(f"size {self.w} {self.h}")
        out.append(f"default {HEX[dfg]} {HEX[dbg]}")
        if fill is not None:
            out.append(f"key {FILL_KEY} █ {HEX[fill]} {HEX[fill]}")
        chars, fgs, bgs = [], [], []
        for row in self.cells:
            cr, fr, br = "", "", ""
            for c in row:
                if c is None or filled(c):
                    cr += " " if c is None else FILL_KEY
                    fr += "."
                    br += "."
                    continue
                ch, fg, bg = c
                if ch == FULL:
                    bg = dbg  # a full block hides its background
                cr += ch
                fr += "." if fg == dfg else HEX[fg]
                br += "." if bg == dbg else HEX[bg]
            chars.append(cr.rstrip(" "))
            fgs.append(fr.rstrip("."))
            bgs.append(br.rstrip("."))
        out.append("chars")
        out += chars
        if any(fgs):
            out += ["fg"] + fgs
        if any(bgs):
            out += ["bg"] + bgs
        return "\n".join(out) + "\n"


def write(rel, pic, comment, fill=None):
    """Writes the picture's source as content/art/surfaces/REL."""
    path = os.path.join(ROOT, "content", "art", "surfaces", rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(pic.source(comment, fill))
