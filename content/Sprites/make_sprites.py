#!/usr/bin/env python3
"""Draws the pictures of the sprite descriptions in this folder (run it here to
remake them): the palettes' swatches, the game sprite file's sprites, the
floor diamonds and floor shadows of the three zooms, and the chair. Every
colour is taken from the palette its sprite names, so each one is found."""
import math
import struct
import zlib


def save(name, w, h, pixel):
    """pixel(x, y) -> (r, g, b, a)."""
    rows = [b"\0" + bytes(c for x in range(w) for c in pixel(x, y)) for y in range(h)]

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(name, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
                  chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def swatch(name, colours, w):
    save(name, w, len(colours) // w, lambda x, y: colours[y * w + x] + (255,))


def rgb(c):
    return ((c >> 16) & 255, (c >> 8) & 255, c & 255)


CLEAR = (0, 0, 0, 0)

# The default palette: a 6x6x6 colour cube, then 40 greys.
clut = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
clut += [(v, v, v) for v in (round(i * 255 / 39) for i in range(40))]
swatch("clut.png", clut, 16)

# Sixteen colours of a wooden crate.
pal16 = [rgb(c) for c in (0x000000, 0x3B2412, 0x5A3A1E, 0x7A512C, 0x9A6B3D, 0xB98750, 0xD6A66C, 0xEBC58E,
                         0x203040, 0x40607A, 0x6C8FA8, 0xA8C4D6, 0x2E5E2A, 0x4E8C3A, 0x8CC060, 0xF0F0E8)]
swatch("pal16.png", pal16, 4)

# Eight ramps of 32 shades: red, orange, yellow, green, cyan, blue, violet, grey.
hues = [(1, 0.2, 0.15), (1, 0.55, 0.1), (1, 0.9, 0.2), (0.3, 0.85, 0.3), (0.2, 0.8, 0.9), (0.25, 0.4, 1),
        (0.7, 0.35, 0.95), (0.9, 0.9, 0.9)]
pal256 = [tuple(min(255, round(c * 255 * (s + 1) / 32)) for c in hue) for hue in hues for s in range(32)]
swatch("pal256.png", pal256, 16)

greys = [(v, v, v) for v in range(256)]
swatch("greys.png", greys, 16)


def ramp(hue, shade):
    return pal256[hue * 32 + max(0, min(31, shade))] + (255,)


def cube_colour(r, g, b):
    return (r * 51, g * 51, b * 51, 255)


# SPR# 500 (default palette): a box seen from above, two frames (lid shut, open).
def box(frame):
    def px(x, y):
        if not (2 <= x < 22 and 2 <= y < 22):
            return CLEAR
        if x in (2, 21) or y in (2, 21):
            return cube_colour(1, 1, 0)
        if frame == 1 and 6 <= x < 18 and 6 <= y < 18:
            return cube_colour(0, 0, 0)
        return cube_colour(4, 3, 1) if (x + y) % 6 else cube_colour(3, 2, 1)
    return px


save("box0.png", 24, 24, box(0))
save("box1.png", 24, 24, box(1))


# SPR# 503 (palette 1, colour and depth): a crate in two sizes.
def crate(size):
    def px(x, y):
        if x >= size or y >= size:
            return CLEAR
        edge = x in (0, size - 1) or y in (0, size - 1) or x == y or x + y == size - 1
        return pal16[1] + (255,) if edge else pal16[4 + (x // 3) % 3] + (255,)
    return px


def crate_depth(size):
    def px(x, y):
        if x >= size or y >= size:
            return CLEAR
        v = 40 + 6 * y
        return (v, v, v, 255)
    return px


save("crate0.png", 20, 20, crate(20))
save("crate0_z.png", 20, 20, crate_depth(20))
save("crate1.png", 20, 20, crate(14))
save("crate1_z.png", 20, 20, crate_depth(14))


# SPR# 506 (palette 2, with depth and an alpha edge): a ball.
def ball(x, y):
    d = math.hypot(x - 11.5, y - 11.5)
    if d > 11:
        return CLEAR
    a = 255 if d < 10 else round(255 * (11 - d))
    light = 1 - math.hypot(x - 8, y - 8) / 16
    return pal256[1 * 32 + max(0, min(31, round(8 + 23 * light)))] + (max(a, 1),)


def ball_depth(x, y):
    d = math.hypot(x - 11.5, y - 11.5)
    if d > 11:
        return CLEAR
    v = round(60 + 100 * (d / 11) ** 2)
    return (v, v, v, 255)


save("ball.png", 24, 24, ball)
save("ball_z.png", 24, 24, ball_depth)


# SPR2 20 (palette 2, depth): a standing lamp; its second frame is the same
# lamp turned, drawn mirrored for the two other facings.
def lamp(turned):
    def px(x, y):
        if y < 10:
            half = 2 + y * 6 // 10
            if abs(x - 8) <= half:
                return ramp(2, 31 - y)
            return CLEAR
        if y < 28 and 7 <= x <= 8 + (1 if turned else 0):
            return ramp(7, 12)
        if y >= 28 and 3 <= x <= 12:
            return ramp(7, 8)
        return CLEAR
    return px


def lamp_depth(x, y):
    return (50 + y * 3, 50 + y * 3, 50 + y * 3, 255)


save("lamp0.png", 16, 32, lamp(False))
save("lamp1.png", 16, 32, lamp(True))
save("lamp_z.png", 16, 32, lamp_depth)


# SPR2 21 (default palette, depth and alpha): a potted plant with soft leaves.
def plant(x, y):
    if y >= 20:
        return cube_colour(3, 1, 0) if 6 <= x <= 13 else CLEAR
    d = math.hypot(x - 9.5, (y - 10) * 1.2)
    if d > 9:
        return CLEAR
    a = 255 if d < 7.5 else round(255 * (9 - d) / 1.5)
    return cube_colour(0, 3 if (x + y) % 4 else 4, 1)[:3] + (max(a, 1),)


save("plant.png", 20, 28, plant)
save("plant_z.png", 20, 28, lambda x, y: (80 + 4 * y, 80 + 4 * y, 80 + 4 * y, 255))


# The floor diamonds of zoom 1, 2, 3 (32x16, 64x32, 128x64) and the two
# floor shadows of each: no neighbour (mask 0) and the corner-4 neighbour (16).
def inside(x, y, w, h):
    return abs((x + 0.5) - w / 2) / (w / 2) + abs((y + 0.5) - h / 2) / (h / 2) <= 1


def diamond(w, h):
    return lambda x, y: greys[128] + (255,) if inside(x, y, w, h) else CLEAR


def shadow(w, h, corner):
    def px(x, y):
        if not inside(x, y, w, h):
            return CLEAR
        # Distance from the centre in diamond units, 0 at the centre, 1 at the edge.
        u = ((x + 0.5) - w / 2) / (w / 2)
        v = ((y + 0.5) - h / 2) / (h / 2)
        d = abs(u) + abs(v)
        dark = max(0.0, 1 - d) ** 0.6
        if corner:
            # Stays dark towards the top corner, where the next tile's shadow goes on.
            dark = max(dark, max(0.0, 1 - math.hypot(u, v + 1)) ** 0.6)
        s = min(254, round(255 * (1 - dark)))
        return greys[s] + (255,)
    return px


for z, (w, h) in enumerate(((32, 16), (64, 32), (128, 64)), start=1):
    save("floor%d.png" % z, w, h, diamond(w, h))
    save("shadow%d.png" % z, w, h, shadow(w, h, False))
    save("shadow%d_corner.png" % z, w, h, shadow(w, h, True))


# The chair of the starter objects (its draw group's sprite 100), zoom 1.
chair16 = [rgb(c) for c in (0x000000, 0x4A2C16, 0x6E4423, 0x8F5E33, 0xB07A46, 0xC9955E, 0x2A3A6A, 0x3F56A0,
                           0x5C78C8, 0x8CA4E0, 0x202020, 0x404040, 0x606060, 0x909090, 0xC0C0C0, 0xFFFFFF)]
swatch("chair16.png", chair16, 4)


def chair(x, y):
    if 2 <= x <= 17 and 2 <= y <= 14:  # the back
        return chair16[7 if (x + y) % 5 else 8] + (255,)
    if 2 <= x <= 17 and 15 <= y <= 20:  # the seat
        return chair16[6] + (255,)
    if y > 20 and (x in (3, 4, 15, 16)):  # legs
        return chair16[2] + (255,)
    return CLEAR


save("chair.png", 20, 32, chair)
save("chair_z.png", 20, 32, lambda x, y: (70 + 3 * y, 70 + 3 * y, 70 + 3 * y, 255))
