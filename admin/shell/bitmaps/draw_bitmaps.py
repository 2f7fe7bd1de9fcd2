#!/usr/bin/env python3
"""Draws the administration program's bitmaps (our own drawings) as PNG files beside this script.

Run it again after changing a drawing; the PNGs are committed. Magenta (255, 0, 255) is the
transparent key of the button bitmaps.
"""
import os
import struct
import zlib

MAGENTA = (255, 0, 255)


class Picture:
    def __init__(self, width, height, color):
        self.width, self.height = width, height
        self.pixels = [[color] * width for _ in range(height)]

    def put(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = color

    def fill(self, left, top, width, height, color):
        for y in range(top, top + height):
            for x in range(left, left + width):
                self.put(x, y, color)

    def vertical_gradient(self, left, top, width, height, upper, lower):
        for row in range(height):
            t = row / max(1, height - 1)
            color = tuple(round(a + (b - a) * t) for a, b in zip(upper, lower))
            self.fill(left, top + row, width, 1, color)

    def disc(self, cx, cy, radius, color):
        for y in range(int(cy - radius), int(cy + radius) + 1):
            for x in range(int(cx - radius), int(cx + radius) + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                    self.put(x, y, color)

    def frame(self, left, top, width, height, color):
        self.fill(left, top, width, 1, color)
        self.fill(left, top + height - 1, width, 1, color)
        self.fill(left, top, 1, height, color)
        self.fill(left + width - 1, top, 1, height, color)

    def save(self, name):
        raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
        with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), name), "wb") as out:
            out.write(png)


def button(width, height, upper, lower, edge):
    """A button face on magenta: the outer ring and the corners show the dialog through."""
    picture = Picture(width, height, MAGENTA)
    picture.vertical_gradient(1, 1, width - 2, height - 2, upper, lower)
    picture.frame(1, 1, width - 2, height - 2, edge)
    for x, y in ((1, 1), (width - 2, 1), (1, height - 2), (width - 2, height - 2)):
        picture.put(x, y, MAGENTA)
    return picture


def tab(width, height, upper, lower, edge):
    """A tab on magenta: rounded top corners, open at the bottom where it meets the canvas."""
    picture = Picture(width, height, MAGENTA)
    picture.vertical_gradient(0, 2, width, height - 2, upper, lower)
    picture.fill(2, 0, width - 4, 2, edge)
    picture.fill(0, 2, 1, height - 2, edge)
    picture.fill(width - 1, 2, 1, height - 2, edge)
    for x, y in ((0, 0), (1, 0), (0, 1), (width - 2, 0), (width - 1, 0), (width - 1, 1)):
        picture.put(x, y, MAGENTA)
    picture.put(1, 1, edge)
    picture.put(width - 2, 1, edge)
    return picture


def banner(width, height, hue, glyph):
    picture = Picture(width, height, hue)
    picture.vertical_gradient(0, 0, width, height, tuple(min(255, c + 60) for c in hue), hue)
    glyph(picture, 22, height // 2)
    return picture


def login_glyph(p, x, y):  # a key
    p.disc(x - 6, y, 8, (255, 215, 80))
    p.disc(x - 6, y, 3, (60, 60, 120))
    p.fill(x, y - 2, 18, 4, (255, 215, 80))
    p.fill(x + 12, y + 2, 3, 5, (255, 215, 80))


def profile_glyph(p, x, y):  # a database drum
    for ring in range(3):
        p.fill(x - 10, y - 9 + ring * 7, 20, 5, (250, 250, 255))
        p.fill(x - 10, y - 4 + ring * 7, 20, 2, (80, 80, 160))


def form_glyph(p, x, y):  # a form with fields
    p.fill(x - 10, y - 13, 20, 26, (250, 250, 255))
    for row in range(4):
        p.fill(x - 7, y - 9 + row * 6, 14, 3, (120, 120, 200))


def preferences_glyph(p, x, y):  # a cog
    p.disc(x, y, 11, (250, 250, 255))
    for dx, dy in ((0, -12), (0, 12), (-12, 0), (12, 0)):
        p.fill(x + dx - 3, y + dy - 3, 6, 6, (250, 250, 255))
    p.disc(x, y, 4, (90, 90, 150))


def users_glyph(p, x, y):  # a person
    p.disc(x, y - 7, 6, (250, 250, 255))
    p.fill(x - 9, y + 1, 18, 12, (250, 250, 255))


def chooser_button(width, height):
    """The Form Selection and Formula box: a face whose right end holds the "..." that opens the chooser."""
    picture = button(width, height, (250, 250, 255), (214, 220, 240), (120, 130, 190))
    picture.fill(width - 28, 3, 1, height - 6, (120, 130, 190))
    for dot in range(3):
        picture.fill(width - 21 + dot * 5, height // 2, 2, 2, (20, 20, 80))
    return picture


def tree_icons():
    """The formula editor's tree icons, 16 x 16 each: Form, Functions, Operators."""
    strip = Picture(48, 16, MAGENTA)
    strip.fill(2, 1, 12, 14, (250, 250, 255))
    strip.frame(2, 1, 12, 14, (90, 100, 170))
    for row in range(3):
        strip.fill(4, 4 + row * 3, 8, 1, (90, 100, 170))
    strip.fill(19, 2, 10, 12, (255, 214, 140))
    strip.frame(19, 2, 10, 12, (150, 80, 20))
    strip.fill(21, 5, 6, 1, (150, 80, 20))
    strip.fill(23, 5, 1, 7, (150, 80, 20))
    strip.fill(34, 7, 12, 2, (30, 110, 40))
    strip.fill(39, 2, 2, 12, (30, 110, 40))
    return strip


def main():
    button(69, 21, (236, 240, 255), (176, 190, 232), (90, 100, 170)).save("172.png")
    button(69, 21, (255, 214, 140), (232, 142, 40), (150, 80, 20)).save("171.png")
    button(69, 21, (70, 80, 190), (30, 34, 120), (20, 20, 80)).save("170.png")
    button(22, 21, (236, 240, 255), (176, 190, 232), (90, 100, 170)).save("173.png")
    button(69, 21, (255, 214, 140), (232, 142, 40), (150, 80, 20)).save("177.png")
    button(69, 21, (70, 80, 190), (30, 34, 120), (20, 20, 80)).save("176.png")
    tab(62, 32, (150, 164, 196), (110, 124, 160), (70, 80, 120)).save("211.png")
    tab(62, 32, (70, 104, 190), (30, 56, 140), (20, 30, 90)).save("212.png")

    band = Picture(970, 56, (41, 41, 170))
    band.vertical_gradient(0, 0, 970, 56, (70, 70, 200), (41, 41, 170))
    band.fill(0, 54, 970, 2, (255, 200, 60))
    band.save("129.png")

    logo = Picture(56, 48, (41, 41, 170))
    logo.disc(22, 24, 18, (255, 200, 60))
    logo.disc(22, 24, 11, (41, 41, 170))
    logo.fill(30, 8, 18, 32, (250, 250, 255))
    logo.fill(33, 12, 12, 20, (41, 41, 170))
    logo.disc(39, 36, 2, (41, 41, 170))
    logo.save("174.png")

    banner(330, 44, (60, 60, 150), login_glyph).save("131.png")
    banner(330, 44, (40, 110, 150), profile_glyph).save("134.png")
    banner(330, 44, (110, 60, 150), form_glyph).save("253.png")
    banner(330, 44, (70, 120, 70), preferences_glyph).save("135.png")
    banner(330, 44, (150, 90, 40), users_glyph).save("133.png")

    icon = Picture(32, 32, (41, 41, 170))
    icon.disc(13, 16, 11, (255, 200, 60))
    icon.disc(13, 16, 6, (41, 41, 170))
    icon.fill(18, 4, 11, 24, (250, 250, 255))
    icon.fill(20, 7, 7, 14, (41, 41, 170))
    icon.save("155.png")

    chooser_button(160, 24).save("236.png")
    tree_icons().save("252.png")


if __name__ == "__main__":
    main()
