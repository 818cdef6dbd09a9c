#!/usr/bin/env python3
"""Draws the two start-up pictures into Codec/ (run it here to remake them):
Splash1.png, and Splash2.png in the temporary folder (kept out of the
content, whose PNGs all become bitmaps), which is made into Codec/Splash2.jpg
with `imgconv /tmp/Splash2.png Codec/Splash2.jpg`. Both are copied
into the data root as they are and read through the image codec."""
import math
import os
import struct
import tempfile
import zlib

W, H = 320, 200


def save(name, colour):
    rows = [b"\0" + bytes(c for x in range(W) for c in colour(x, y)) for y in range(H)]

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(name, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0)) +
                  chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def house(x, y):
    """A house on a lawn under an evening sky."""
    if y > 150:
        return (60, 130 + (x * 7 + y * 3) % 20, 50)
    if 110 <= x < 210 and 90 <= y <= 150:
        return (90, 60, 40) if 150 <= x < 170 and y >= 115 else (200, 180, 140)
    if abs(x - 160) <= (y - 50) and 50 <= y < 90:
        return (150, 50, 40)
    return (40 + y // 2, 60 + y // 2, 120 + y // 3)


def rings(x, y):
    """Soft rings of colour, which a JPEG keeps well."""
    d = math.hypot(x - W / 2, y - H / 2)
    return (int(128 + 100 * math.sin(d / 9)), int(128 + 100 * math.sin(d / 13 + 1)), int(128 + 100 * math.cos(d / 17)))


save("Codec/Splash1.png", house)
save(os.path.join(tempfile.gettempdir(), "Splash2.png"), rings)
