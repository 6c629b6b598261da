#!/usr/bin/env python3
"""Draws the program's own small pictures and writes them as PNG files.

The pictures are committed; the build embeds the PNG files and never runs this script. Run it
again after changing a drawing:

    python3 scripts/draw-images.py              # writes app/images/*.png, design/images/*.png
    python3 scripts/draw-images.py --preview /tmp/preview   # also writes 8x enlargements to look at

Only the standard library is used: the PNG writer below is zlib and struct.
"""

import argparse
import math
import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# ---- colours (R, G, B, A) ----

CLEAR = (0, 0, 0, 0)
INK = (24, 24, 24, 255)         # outlines
DARK = (80, 80, 80, 255)
GREY = (144, 144, 144, 255)
LIGHT = (200, 200, 200, 255)
WHITE = (255, 255, 255, 255)
RED = (200, 40, 40, 255)
YELLOW = (248, 204, 56, 255)
DARK_YELLOW = (200, 150, 24, 255)
LIGHT_YELLOW = (255, 232, 140, 255)
BROWN = (168, 112, 48, 255)
BLUE = (48, 104, 200, 255)
DARK_BLUE = (24, 56, 120, 255)
LIGHT_BLUE = (160, 196, 240, 255)
TITLE = (40, 88, 184, 255)      # window title bars
WOOD = (236, 200, 150, 255)
PINK = (240, 136, 144, 255)
STEEL = (112, 124, 136, 255)


# ---- a tiny pixel canvas ----

class Image:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[CLEAR] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def get(self, x, y):
        return self.pixels[y][x]

    def fill(self, x0, y0, x1, y1, colour):
        """Fills the rectangle with corners (x0, y0) and (x1, y1), both included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        """A one-pixel outline on the rectangle's edge pixels."""
        for x in range(x0, x1 + 1):
            self.set(x, y0, colour)
            self.set(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.set(x0, y, colour)
            self.set(x1, y, colour)

    def box(self, x0, y0, x1, y1, inside, outline=INK):
        self.fill(x0, y0, x1, y1, inside)
        self.frame(x0, y0, x1, y1, outline)

    def art(self, x0, y0, rows, legend):
        """Copies a drawing given as text rows; characters not in the legend are left alone."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in legend:
                    self.set(x0 + dx, y0 + dy, legend[ch])

    def paste(self, other, x0, y0):
        for y in range(other.height):
            for x in range(other.width):
                self.set(x0 + x, y0 + y, other.get(x, y))

    def shade(self, inside, colour):
        """Paints every pixel whose centre satisfies `inside(cx, cy)`."""
        for y in range(self.height):
            for x in range(self.width):
                if inside(x + 0.5, y + 0.5):
                    self.set(x, y, colour)

    def png(self):
        raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)  # 8-bit RGBA
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))

    def enlarged(self, scale):
        """A copy scaled up on a light checkerboard, so that transparency shows."""
        big = Image(self.width * scale, self.height * scale)
        for y in range(big.height):
            for x in range(big.width):
                p = self.get(x // scale, y // scale)
                if p[3] == 0:
                    p = (236, 236, 236, 255) if (x // 4 + y // 4) % 2 else (250, 250, 250, 255)
                big.pixels[y][x] = p
        return big


# ---- outline figures ----

def rectangle():
    image = Image(16, 16)
    image.frame(1, 1, 14, 14, INK)
    image.frame(2, 2, 13, 13, INK)
    return image


def diamond():
    """Rows three pixels wide on each side, so that the slanted sides look as heavy as straight ones."""
    image = Image(16, 16)
    image.shade(lambda x, y: 4 < abs(x - 8) + abs(y - 8) <= 7, INK)
    return image


def ellipse():
    image = Image(16, 16)
    image.shade(lambda x, y: 5.1 <= math.hypot(x - 8, y - 8) <= 7.0, INK)
    return image


def triangle(apex_row, base_row):
    """A triangle between the apex row (two pixels wide, at the centre) and the base row
    (fourteen pixels wide), with sides two pixels wide in every row and a base two rows deep."""
    image = Image(16, 16)
    step = 1 if base_row > apex_row else -1
    rows = abs(base_row - apex_row)
    for i in range(rows + 1):
        y = apex_row + step * i
        half = 1 + round(i * 6 / rows)
        left, right = 8 - half, 7 + half
        if i >= rows - 1:
            image.fill(left, y, right, y, INK)
        else:
            image.fill(left, y, min(left + 1, right), y, INK)
            image.fill(max(right - 1, left), y, right, y, INK)
    return image


def triangle_up():
    return triangle(1, 14)


def triangle_down():
    return triangle(14, 1)


def arrow():
    image = Image(16, 16)
    image.art(3, 0, [
        "K",
        "KK",
        "KWK",
        "KWWK",
        "KWWWK",
        "KWWWWK",
        "KWWWWWK",
        "KWWWWWWK",
        "KWWWWWWWK",
        "KWWWWWKKKK",
        "KWWKWWK",
        "KWK KWWK",
        "KK  KWWK",
        "K    KWWK",
        "     KWWK",
        "      KK",
    ], {"K": INK, "W": WHITE})
    return image


# ---- tool bar images ----

def cut():
    """Open scissors: steel blades meeting at the pivot, red finger rings below."""
    image = Image(16, 16)
    image.art(0, 0, [
        "................",
        "...S........S...",
        "...SS......SS...",
        "...dSS....SSd...",
        "....dSS..SSd....",
        ".....dSSSSd.....",
        "......dSSd......",
        "......RKKR......",
        ".....RR..RR.....",
        "..RRRR....RRRR..",
        ".RR..RR..RR..RR.",
        ".R....R..R....R.",
        ".R....R..R....R.",
        ".RR..RR..RR..RR.",
        "..RRRR....RRRR..",
        "................",
    ], {"S": LIGHT, "d": STEEL, "K": INK, "R": RED})
    return image


def sheet(image, x0, y0, x1, y1, lines=True):
    """A sheet of paper with a few lines of writing."""
    image.box(x0, y0, x1, y1, WHITE)
    if lines:
        for y in range(y0 + 2, y1 - 1, 2):
            image.fill(x0 + 2, y, x1 - 2, y, GREY)


def copy():
    image = Image(16, 16)
    sheet(image, 0, 0, 9, 11)
    sheet(image, 6, 4, 15, 15)
    return image


def paste():
    image = Image(16, 16)
    image.box(1, 2, 14, 15, BROWN)
    sheet(image, 4, 5, 13, 14)
    image.box(5, 1, 10, 4, LIGHT)
    image.fill(7, 0, 8, 0, INK)
    return image


def window(image, x0, y0, x1, y1):
    """A small window: dark frame, blue title bar, white inside."""
    image.box(x0, y0, x1, y1, WHITE)
    image.fill(x0 + 1, y0 + 1, x1 - 1, y0 + 2, TITLE)


def cascade():
    image = Image(16, 16)
    window(image, 0, 0, 9, 8)
    window(image, 3, 3, 12, 11)
    window(image, 6, 6, 15, 14)
    return image


def tile_horizontally():
    image = Image(16, 16)
    window(image, 0, 1, 15, 7)
    window(image, 0, 8, 15, 14)
    return image


def tile_vertically():
    image = Image(16, 16)
    window(image, 0, 1, 7, 14)
    window(image, 8, 1, 15, 14)
    return image


def new():
    image = Image(16, 16)
    image.art(2, 0, [
        "KKKKKKKK",
        "KWWWWWWKK",
        "KWWWWWWKWK",
        "KWWWWWWKWWK",
        "KWWWWWWKKKKK",
        "KWWWWWWWWWWK",
        "KWWWWWWWWWWK",
        "KWWWWWWWWWWK",
        "KWWWWWWWWWWK",
        "KWWWWWWWWWWK",
        "KWWWWWWWWWWK",
        "KWWWWWWWWWWK",
        "KWWWWWWWWWWK",
        "KWWWWWWWWWWK",
        "KWWWWWWWWWWK",
        "KKKKKKKKKKKK",
    ], {"K": INK, "W": WHITE})
    return image


def open_folder():
    image = Image(16, 16)
    image.art(0, 1, [
        ".KKKK...........",
        "KyyyyK..........",
        "KyyyyyKKKKKKK...",
        "KyyyyyyyyyyyK...",
        "KyyyyyyyyyyyK...",
        "KyyyKKKKKKKKKKKK",
        "KyyKYYYYYYYYYYYK",
        "KyyKYYYYYYYYYYK.",
        "KyKYYYYYYYYYYYK.",
        "KyKYYYYYYYYYYK..",
        "KKYYYYYYYYYYYK..",
        "KKYYYYYYYYYYK...",
        "KKKKKKKKKKKKK...",
    ], {"K": INK, "y": DARK_YELLOW, "Y": YELLOW})
    return image


def save():
    image = Image(16, 16)
    image.art(0, 0, [
        "KKKKKKKKKKKKKK..",
        "KBBSSSSSSSSBBBK.",
        "KBBSSSSSKKSBBBBK",
        "KBBSSSSSKKSBBBBK",
        "KBBSSSSSKKSBBBBK",
        "KBBSSSSSSSSBBBBK",
        "KBBBBBBBBBBBBBBK",
        "KBBBBBBBBBBBBBBK",
        "KBBWWWWWWWWWWBBK",
        "KBBWWWWWWWWWWBBK",
        "KBBWggggggggWBBK",
        "KBBWWWWWWWWWWBBK",
        "KBBWggggggggWBBK",
        "KBBWWWWWWWWWWBBK",
        "KBBWWWWWWWWWWBBK",
        "KKKKKKKKKKKKKKKK",
    ], {"K": DARK_BLUE, "B": BLUE, "S": LIGHT, "W": WHITE, "g": LIGHT_BLUE})
    image.set(14, 0, CLEAR)
    image.set(15, 1, CLEAR)
    return image


def minimized_bar(image, x0, y0):
    """The title bar of a minimised window: six pixels wide, with its restore mark."""
    image.box(x0, y0, x0 + 5, y0 + 3, TITLE)
    image.fill(x0 + 2, y0 + 2, x0 + 3, y0 + 2, WHITE)


def arrange():
    """Minimised windows lined up along the bottom of the frame."""
    image = Image(16, 16)
    image.frame(0, 0, 15, 15, GREY)
    minimized_bar(image, 2, 6)
    minimized_bar(image, 2, 11)
    minimized_bar(image, 9, 11)
    return image


def pencil():
    """A pencil lying on the diagonal: its point at the lower left, its eraser at the upper right.

    Along the pencil d = x - y runs from the point (-13) to the end (13); across it s = x + y,
    centred on 15, gives the side a pixel lies on.
    """
    image = Image(16, 16)
    for y in range(16):
        for x in range(16):
            d, s = x - y, x + y - 15
            if d < -12 or d > 13:
                continue
            half = 2 if d > -7 else (d + 13) / 3  # the sharpened cone narrows to the point
            if abs(s) > half + 0.01:
                continue
            edge = abs(s) >= half - 0.99 or d == 13
            if d <= -11:
                colour = INK                       # graphite
            elif edge:
                colour = INK
            elif d <= -7:
                colour = WOOD
            elif d <= 6:
                colour = (LIGHT_YELLOW, YELLOW, DARK_YELLOW)[s + 1]
            elif d <= 8:
                colour = LIGHT if s < 1 else GREY  # metal band
            else:
                colour = PINK
            image.set(x, y, colour)
    return image


def toolbar():
    strip = Image(16 * 11, 16)
    for i, draw in enumerate([cut, copy, paste, cascade, tile_horizontally, tile_vertically,
                              new, open_folder, save, arrange, pencil]):
        strip.paste(draw(), 16 * i, 0)
    return strip


def ellipsis():
    image = Image(12, 12)
    for x0 in (1, 5, 9):
        image.fill(x0, 5, x0 + 1, 6, INK)
    return image


PICTURES = {
    "app/images/arrow.png": arrow,
    "app/images/shape-rectangle.png": rectangle,
    "app/images/shape-diamond.png": diamond,
    "app/images/shape-ellipse.png": ellipse,
    "app/images/shape-triangle-up.png": triangle_up,
    "app/images/shape-triangle-down.png": triangle_down,
    "app/images/toolbar.png": toolbar,
    "design/images/ellipsis.png": ellipsis,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", metavar="DIR", help="also write 8x enlargements into DIR")
    args = parser.parse_args()
    for path, draw in PICTURES.items():
        image = draw()
        target = os.path.join(ROOT, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(image.png())
        if args.preview:
            os.makedirs(args.preview, exist_ok=True)
            with open(os.path.join(args.preview, os.path.basename(path)), "wb") as f:
                f.write(image.enlarged(8).png())
        print(path)


if __name__ == "__main__":
    main()
