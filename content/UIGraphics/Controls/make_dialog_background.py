#!/usr/bin/env python3
"""Draws the generic dialog's background (run it here to remake it): a
10 x 10 tile of dark blue checks in the top-left corner, which the dialog
repeats over its area, and a plain frame colour around it. The content
compiler turns the PNG into an 8-bit run-length bitmap of the same name."""
import struct
import zlib

SIZE = 32


def colour(x, y):
    if x < 10 and y < 10:
        return (48, 72, 112) if (x // 5 + y // 5) % 2 else (64, 92, 136)
    return (30, 40, 60)


rows = [b"\0" + bytes(c for x in range(SIZE) for c in colour(x, y)) for y in range(SIZE)]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


with open("DialogBackground.png", "wb") as out:
    out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 2, 0, 0, 0)) +
              chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))
