#!/usr/bin/env python3
"""The game's animation scripts, drawn here as pixel art, and the tool that
writes them to data/surfaces/*.anm and renders any .anm to PNG to look at.

  anm_art.py write [DATA_DIR]        write every script
  anm_art.py png OUT_DIR [FILES...]  render scripts (default: all shipped)

Pixel frames are drawn two pixels to a cell (upper and lower half blocks), so
each frame below has twice as many rows as its picture has cells. Letters are
colours; '.' is transparent. Cell frames (marked CELLS) give one token per cell.
"""
import os
import struct
import sys
import zlib

# Colour letters by colour code (the order of the colour table).
COLOURS = "kwlrRbBgGMmYyCcd"  # black white lightgrey darkred red darkblue blue
# darkgreen green magenta darkmagenta yellow darkyellow cyan darkcyan darkgrey
DARK_GREY = 15
FULL, UPPER, LOWER = 219, 223, 220

# Collision groups.
G_BORDER, G_PLATFORM, G_BOX, G_PLAYER, G_ENEMY, G_OZZLE, G_KISS, G_STAR = range(8)


def cell_for(top, bottom):
    """(char, fg code, bg code) for a cell whose halves have these colours."""
    if top is None and bottom is None:
        return (32, 0, 0)
    if top == bottom:
        if top == DARK_GREY:
            return (0, 0, DARK_GREY)  # a blank cell shows only its background
        return (FULL, top + 1, 0)
    if top is None:
        top, bottom, char = bottom, None, LOWER
    else:
        char = UPPER
    # char draws `top` in the foreground over `bottom` as background.
    if bottom is None:
        if top == DARK_GREY:
            return (UPPER if char == LOWER else LOWER, 1, DARK_GREY)
        return (char, top + 1, 0)
    if top == DARK_GREY:
        return (UPPER if char == LOWER else LOWER, bottom + 1, DARK_GREY)
    return (char, top + 1, bottom)


def pixel_frame(rows):
    width = len(rows[0])
    assert len(rows) % 2 == 0, rows
    assert all(len(r) == width for r in rows), rows
    cells = []
    for y in range(0, len(rows), 2):
        line = []
        for x in range(width):
            t, b = rows[y][x], rows[y + 1][x]
            line.append(cell_for(None if t == "." else COLOURS.index(t),
                                 None if b == "." else COLOURS.index(b)))
        cells.append(line)
    return cells


def mirror(rows):
    return [r[::-1] for r in rows]


def script(frames, group, collides):
    """frames: lists of cell rows; every frame the same size."""
    h = len(frames[0])
    w = len(frames[0][0])
    out = ["(%d,%d)[%d,0]" % (w, h, len(frames))]
    for f in frames:
        assert len(f) == h and all(len(r) == w for r in f)
        out.append("%d" % group)
        out.append(":" + "".join(str(g) for g in collides))
        for row in f:
            out.append(" ".join("(%d,%d,%d)" % c for c in row))
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------- the player
# A small conjurer: blue pointed hat with a yellow star, white face, red robe.
P_STAND = [
    "..B..",
    ".BYB.",
    "bBBBb",
    ".wwk.",
    ".www.",
    "RRRRw",
    ".RRR.",
    ".RRR.",
    ".b.b.",
    ".b.bb",
]
P_STEP = [
    "..B..",
    ".BYB.",
    "bBBBb",
    ".wwk.",
    ".www.",
    "wRRRR",
    ".RRR.",
    "RRRR.",
    "b..b.",
    "b...b",
]
P_STUN_A = [
    "Y.B..",
    ".BBB.",
    "bBBBb",
    ".kwk.",
    ".wMw.",
    "wRRRw",
    ".RRR.",
    ".RRR.",
    ".b.b.",
    "bb.bb",
]
P_STUN_B = [
    "..B.Y",
    ".BBB.",
    "bBBBb",
    ".wkw.",
    ".wMw.",
    "wmmmw",
    ".mmm.",
    ".mmm.",
    ".b.b.",
    "bb.bb",
]
P_DYING = [
    "..w..",
    ".wCw.",
    "wkwkw",
    "wwwww",
    "w.k.w",
    "wwwww",
    "wCCCw",
    "wwwww",
    "w.w.w",
    ".....",
]


def player():
    frames = [P_STAND, mirror(P_STAND), P_STEP, mirror(P_STEP),
              P_STUN_A, P_STUN_B, mirror(P_STUN_A), mirror(P_STUN_B), P_DYING]
    return script([pixel_frame(f) for f in frames], G_PLAYER,
                  [G_BORDER, G_PLATFORM, G_BOX, G_ENEMY, G_OZZLE])


# ------------------------------------------------------------------- the box
BOX = [  # a crate with two cross braces
    "yyyyy",
    "yrYry",
    "yYrYy",
    "yYrYy",
    "yrYry",
    "yrYry",
    "yYrYy",
    "yYrYy",
    "yrYry",
    "yyyyy",
]


def box():
    return script([pixel_frame(BOX)], G_BOX,
                  [G_BORDER, G_PLATFORM, G_BOX, G_PLAYER, G_ENEMY, G_OZZLE])


# --------------------------------------------------------------- the soldier
SOLDIER = [
    ".ggg.",
    "gGGGg",
    ".wwk.",
    ".www.",
    "gGGGl",
    "gGGll",
    "gGGG.",
    ".yyy.",
    ".gGg.",
    ".g.g.",
    ".g.g.",
    "rr.rr",
]


def soldier():
    frames = [SOLDIER, mirror(SOLDIER)]
    return script([pixel_frame(f) for f in frames], G_ENEMY,
                  [G_BORDER, G_PLATFORM, G_BOX, G_PLAYER, G_ENEMY, G_OZZLE])


# -------------------------------------------------------------- the platform
PLATFORM = [
    "GGGGGGGGG",
    "gGgGggGgG",
    "yyryyyyry",
    ".yyyryyy.",
]


def platform():
    return script([pixel_frame(PLATFORM)], G_PLATFORM, [])


# ------------------------------------------------------------------ the doll
DOLL = [
    ".YYY.",
    "YwwwY",
    "Ykwk.",
    ".wMw.",
    "..M..",
    ".MMM.",
    "MMwMM",
    ".MMM.",
    "MMMMM",
    "MmMmM",
    ".w.w.",
    ".M.M.",
]


def doll():
    return script([pixel_frame(DOLL)], G_ENEMY,
                  [G_BORDER, G_PLATFORM, G_BOX, G_PLAYER, G_ENEMY, G_OZZLE])


# ------------------------------------------------------------------ the kiss
KISS = [
    "M.M",
    "MMM",
    ".M.",
    "...",
]


def kiss():
    return script([pixel_frame(KISS)], G_KISS, [G_BORDER, G_PLAYER])


# ---------------------------------------------------------------- the border
def border():
    # Bricks drawn with whole-cell shades, so the wall reads the same in all
    # four orientations (turned pictures keep their characters).
    brick = (178, 5, 3)   # red on dark red
    mortar = (177, 3, 15)  # light grey on dark grey
    rows = []
    for r in range(2):
        row = []
        for x in range(85):
            row.append(mortar if (x + 2 * r) % 4 == 3 else brick)
        rows.append(row)
    return script([rows], G_BORDER, [])


# ----------------------------------------------------------------- the ozzle
# A horned purple brute with yellow eyes; frame 1 is the jump.
OZZLE_WALK = [
    "..Y........Y",
    "..YY......YY",
    "...mmmmmmmm.",
    "..mMMMMMMMMm",
    ".mMMYkMMYkMm",
    ".mMMYYMMYYMm",
    ".mMMMMMMMMMm",
    ".mMkwkwkwkMm",
    ".mMkkkkkkkMm",
    "mmMMMMMMMMMm",
    "MmMMMMMMMMmM",
    "M.mMMMMMMm.M",
    "M.mMMMMMMm.M",
    "..mMMmmMMm..",
    "..mMm..mMm..",
    "..mMm..mMm..",
    "..mMm..mMm..",
    "..mmm..mmm..",
    ".YYYY..YYYY.",
    ".YYYY..YYYY.",
]
OZZLE_JUMP = [
    "............",
    "............",
    "M.Y........Y",
    "M.YY......YY",
    "M..mmmmmmmmM",
    "M.mMMMMMMMMM",
    "MmMMYkMMYkMm",
    ".mMMYYMMYYMm",
    ".mMMMMMMMMMm",
    ".mMkkkkkkkMm",
    ".mMkRRRRRkMm",
    ".mMkkkkkkkMm",
    "..MMMMMMMMM.",
    "..mMMMMMMm..",
    "..mMMMMMMm..",
    ".mMMMmmMMMm.",
    "mMMm....mMMm",
    "mMm......mMm",
    "YYY......YYY",
    "YYY......YYY",
]


def ozzle():
    return script([pixel_frame(f) for f in (OZZLE_WALK, OZZLE_JUMP)], G_OZZLE,
                  [G_BORDER, G_PLATFORM, G_BOX, G_PLAYER, G_ENEMY])


# ----------------------------------------------------------------- the ninja
# Seen from the front, so any pose suits either direction; the frame steps on
# every time the Ninja turns round.
NINJA_A = [
    ".BBB.",
    "BBBBB",
    "RwkwR",
    "RBBB.",
    ".bbb.",
    "BbbbB",
    "BbRbB",
    ".bbb.",
    ".b.b.",
    ".b.b.",
    ".B.B.",
    "kk.kk",
]
NINJA_B = [
    ".BBB.",
    "BBBBB",
    "RwkwR",
    ".BBBR",
    "Bbbb.",
    ".bbbB",
    ".bRb.",
    ".bbb.",
    "b...b",
    "b...b",
    "B...B",
    "k...k",
]
NINJA_C = [
    "B...B",
    "B.B.B",
    "BBBBB",
    "RwkwR",
    "RBBBR",
    ".bbb.",
    ".bRb.",
    ".bbb.",
    ".b.b.",
    ".b.b.",
    ".B.B.",
    "kk.kk",
]
NINJA_D = [
    ".BBB.",
    "BBBBB",
    "RwkwR",
    "RBBB.",
    ".bbbl",
    "BbbbC",
    "BbRbl",
    ".bbb.",
    ".bb..",
    ".b.b.",
    ".B..B",
    "kk..k",
]


def ninja():
    return script([pixel_frame(f) for f in (NINJA_A, NINJA_B, NINJA_C, NINJA_D)],
                  G_ENEMY, [G_BORDER, G_PLATFORM, G_BOX, G_PLAYER, G_ENEMY, G_OZZLE])


# ------------------------------------------------------------- the ninjastar
STAR = [
    "l.l",
    ".C.",
    "lCl",
    ".C.",
    "l.l",
    "...",
]


def ninjastar():
    return script([pixel_frame(STAR)], G_STAR,
                  [G_BORDER, G_PLATFORM, G_BOX, G_PLAYER])


# ----------------------------------------------------------------- the dummy
DUMMY = [
    ".yyy.",
    "yYYYy",
    "yRYRy",
    "yYYYy",
    "yyyyy",
    "YyRyY",
    "yRwRy",
    "YyRyY",
    ".yyy.",
    "..r..",
    "..r..",
    ".rrr.",
]


def dummy():
    return script([pixel_frame(DUMMY)], G_ENEMY, [])


SCRIPTS = {
    "Player.anm": player,
    "Box.anm": box,
    "Soldier.anm": soldier,
    "Platform.anm": platform,
    "Doll.anm": doll,
    "Kiss.anm": kiss,
    "Border.anm": border,
    "Ozzle.anm": ozzle,
    "Ninja.anm": ninja,
    "NinjaStar.anm": ninjastar,
    "Dummy.anm": dummy,
}

# ------------------------------------------------------------- PNG rendering
PALETTE = [0x000000, 0xFFFFFF, 0xC0C0C0, 0x800000, 0xFF0000, 0x000080, 0x0000FF,
           0x008000, 0x00FF00, 0xFF00FF, 0x800080, 0xFFFF00, 0x808000, 0x00FFFF,
           0x008080, 0x808080]  # by colour code, as RGB
# Console attribute index -> RGB (the standard palette in console order).
CONSOLE = [0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000,
           0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF,
           0xFFFF00, 0xFFFFFF]
BG_TABLE = [0x0, 0xF, 0x7, 0x4, 0xC, 0x1, 0x9, 0x2, 0xA, 0xD, 0x5, 0xE, 0x6, 0xB, 0x3, 0x8]
FG_TABLE = [0x0, 0xF, 0x7, 0x4, 0xC, 0x1, 0x9, 0x2, 0xA, 0xD, 0x5, 0xE, 0x6, 0xB, 0x3, 0x8]


def attribute(fg, bg):
    fg, bg = min(fg & 0xFFFF, 15), min(bg & 0xFFFF, 15)
    return BG_TABLE[bg] << 4 | (FG_TABLE[fg - 1] if fg else 0)


def glyph(ch):
    """8 rows of 8 bits for the characters the scripts use."""
    if ch == FULL:
        return [0xFF] * 8
    if ch == UPPER:
        return [0xFF] * 4 + [0] * 4
    if ch == LOWER:
        return [0] * 4 + [0xFF] * 4
    if ch == 221:
        return [0xF0] * 8
    if ch == 222:
        return [0x0F] * 8
    if ch == 176:
        return [0x22, 0x88] * 4
    if ch == 177:
        return [0x55, 0xAA] * 4
    if ch == 178:
        return [0x77, 0xDD] * 4
    if ch in (0, 32, 255):
        return [0] * 8
    return [0x00, 0x3C, 0x42, 0x5A, 0x5A, 0x42, 0x3C, 0x00]  # anything else


def parse_anm(text):
    """The same reading as the game's loader, for well-formed scripts."""
    lines = text.split("\n")
    import re
    m = re.match(r"\((-?\d+),(-?\d+)\)\[(-?\d+),(-?\d+)\]", lines[0])
    w, h, n = int(m.group(1)), int(m.group(2)), int(m.group(3))
    frames, i = [], 1
    for _ in range(n):
        group = lines[i]
        collides = lines[i + 1]
        rows = []
        last = 0
        for y in range(h):
            toks = lines[i + 2 + y].split()
            row = []
            for x in range(w):
                nums = re.match(r"\((-?\d+)(?:,(-?\d+))?(?:,(-?\d+))?\)", toks[x]) if x < len(toks) else None
                if nums is None:
                    row.append((32, 0))
                    continue
                c = int(nums.group(1)) if nums.group(1) else last
                last = c
                fg = int(nums.group(2) or 0)
                bg = int(nums.group(3) or 0)
                row.append((c & 0xFF, attribute(fg, bg)))
            rows.append(row)
        frames.append((group, collides, rows))
        i += 2 + h
    return w, h, frames


def turn(rows):
    h, w = len(rows), len(rows[0])
    return [[rows[h - 1 - x][y] for x in range(h)] for y in range(w)]


def write_png(path, width, height, pixels):
    raw = b"".join(b"\x00" + bytes(pixels[y * width * 3:(y + 1) * width * 3]) for y in range(height))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def render(path, out, scale=2):
    w, h, frames = parse_anm(open(path).read())
    pictures = []
    for _, _, rows in frames:
        r = rows
        line = []
        for k in range(4):
            line.append(r)
            r = turn(r)
        pictures.append(line)
    cell = 8
    gap = 2 * cell
    col_w = [max(len(p[k][0]) for p in pictures) for k in range(4)]
    row_h = [max(len(k) for k in p) for p in pictures]
    width = (sum(col_w) * cell + gap * 5)
    height = sum(row_h) * cell + gap * (len(pictures) + 1)
    px = bytearray(width * height * 3)
    # A dark checker shows where cells are transparent.
    for y in range(height):
        for x in range(width):
            v = 0x30 if ((x // 4) + (y // 4)) % 2 else 0x20
            px[(y * width + x) * 3:(y * width + x) * 3 + 3] = bytes((v, v, v + 0x10))
    oy = gap
    for fi, p in enumerate(pictures):
        ox = gap
        for k in range(4):
            for cy, row in enumerate(p[k]):
                for cx, (ch, attr) in enumerate(row):
                    if ch == 32:
                        continue
                    fgc, bgc = CONSOLE[attr & 15], CONSOLE[attr >> 4 & 15]
                    g = glyph(ch)
                    for yy in range(cell):
                        for xx in range(cell):
                            c = fgc if g[yy] >> (7 - xx) & 1 else bgc
                            X, Y = ox + cx * cell + xx, oy + cy * cell + yy
                            px[(Y * width + X) * 3:(Y * width + X) * 3 + 3] = bytes(
                                (c >> 16 & 255, c >> 8 & 255, c & 255))
            ox += col_w[k] * cell + gap
        oy += row_h[fi] * cell + gap
    if scale > 1:
        big = bytearray(width * scale * height * scale * 3)
        for y in range(height * scale):
            for x in range(width * scale):
                s = ((y // scale) * width + x // scale) * 3
                d = (y * width * scale + x) * 3
                big[d:d + 3] = px[s:s + 3]
        px, width, height = big, width * scale, height * scale
    write_png(out, width, height, px)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.normpath(os.path.join(here, "..", ".."))
    if len(sys.argv) >= 2 and sys.argv[1] == "write":
        target = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "data", "surfaces")
        os.makedirs(target, exist_ok=True)
        for name, make in SCRIPTS.items():
            with open(os.path.join(target, name), "w", newline="\n") as f:
                f.write(make())
        return 0
    if len(sys.argv) >= 3 and sys.argv[1] == "png":
        out = sys.argv[2]
        os.makedirs(out, exist_ok=True)
        files = sys.argv[3:] or [os.path.join(root, "data", "surfaces", n) for n in SCRIPTS]
        for f in files:
            name = os.path.splitext(os.path.basename(f))[0]
            render(f, os.path.join(out, name + ".png"), scale=1 if name == "Border" else 3)
        return 0
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main())
