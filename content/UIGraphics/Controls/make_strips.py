#!/usr/bin/env python3
"""Draws the stock controls' image strips as PNG sources (run it here to
remake them). Magenta (255, 0, 255) is the transparent colour; the content
compiler turns each PNG into an 8-bit run-length bitmap of the same name."""
import struct
import zlib

KEY = (255, 0, 255)


class Picture:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.rows = [[KEY] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def fill(self, left, top, right, bottom, colour):
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, colour)

    def save(self, name):
        raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in self.rows)
        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(name, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                      chunk(b"IEND", b""))


def bevel(pic, left, top, width, height, face, light, dark, sunken=False, corner=2):
    """A raised (or sunken) box with a black outline and cut corners."""
    right, bottom = left + width, top + height
    pic.fill(left, top, right, bottom, face)
    hi, lo = (dark, light) if sunken else (light, dark)
    pic.fill(left + 1, top + 1, right - 1, top + 2, hi)
    pic.fill(left + 1, top + 1, left + 2, bottom - 1, hi)
    pic.fill(left + 1, bottom - 2, right - 1, bottom - 1, lo)
    pic.fill(right - 2, top + 1, right - 1, bottom - 1, lo)
    outline = (16, 16, 24)
    pic.fill(left, top, right, top + 1, outline)
    pic.fill(left, bottom - 1, right, bottom, outline)
    pic.fill(left, top, left + 1, bottom, outline)
    pic.fill(right - 1, top, right, bottom, outline)
    for i in range(corner):
        for j in range(corner - i):
            for x, y in ((left + i, top + j), (right - 1 - i, top + j), (left + i, bottom - 1 - j),
                         (right - 1 - i, bottom - 1 - j)):
                pic.put(x, y, KEY)


def shade(colour, amount):
    return tuple(max(0, min(255, c + amount)) for c in colour)


# Idle, pressed, hover, disabled.
BUTTON_FACES = [((70, 110, 170), False), ((50, 80, 130), True), ((95, 145, 210), False), ((128, 128, 128), False)]


def push_button():
    w, h = 72, 24
    pic = Picture(4 * w, h)
    for col, (face, sunken) in enumerate(BUTTON_FACES):
        bevel(pic, col * w, 0, w, h, face, shade(face, 60), shade(face, -50), sunken, corner=3)
    pic.save("PushButton.png")


def system_button():
    # Cells of 31: caps of 15 and a one-pixel middle that is tiled.
    w, h = 31, 24
    pic = Picture(4 * w, h)
    faces = [((60, 140, 90), False), ((40, 105, 65), True), ((85, 175, 115), False), ((128, 128, 128), False)]
    for col, (face, sunken) in enumerate(faces):
        bevel(pic, col * w, 0, w, h, face, shade(face, 60), shade(face, -50), sunken, corner=5)
    pic.save("SystemButton.png")


def check_box():
    s = 16
    pic = Picture(6 * s, s)
    # Off, on, off with hover, on with hover, disabled off, disabled on.
    cells = [(False, (235, 235, 235), (40, 40, 60)), (True, (235, 235, 235), (40, 40, 60)),
             (False, (255, 255, 210), (200, 140, 20)), (True, (255, 255, 210), (200, 140, 20)),
             (False, (170, 170, 170), (100, 100, 100)), (True, (170, 170, 170), (100, 100, 100))]
    for col, (on, inside, border) in enumerate(cells):
        x0 = col * s
        pic.fill(x0 + 1, 1, x0 + s - 1, s - 1, border)
        pic.fill(x0 + 3, 3, x0 + s - 3, s - 3, inside)
        if on:
            mark = (20, 110, 40) if col < 4 else (90, 90, 90)
            for i in range(4):  # the short stroke down to the right
                pic.fill(x0 + 4 + i, 7 + i, x0 + 6 + i, 9 + i, mark)
            for i in range(6):  # the long stroke up to the right
                pic.fill(x0 + 7 + i, 9 - i, x0 + 9 + i, 11 - i, mark)
    pic.save("CheckBox.png")


def slider(vertical):
    # Start cap, track, end cap, thumb; cells along the track are 12 long and
    # 20 across.
    along, across = 12, 20
    groove, knob = (150, 165, 190), (200, 170, 60)
    cells = []
    for n in range(4):
        cell = Picture(along, across)
        mid = across // 2
        if n == 0:
            cell.fill(4, mid - 2, along, mid + 2, groove)
        elif n == 1:
            cell.fill(0, mid - 2, along, mid + 2, groove)
        elif n == 2:
            cell.fill(0, mid - 2, along - 4, mid + 2, groove)
        else:
            bevel(cell, 1, 1, along - 2, across - 2, knob, shade(knob, 50), shade(knob, -80), corner=2)
        cells.append(cell)
    if vertical:
        pic = Picture(across, 4 * along)
        for n, cell in enumerate(cells):
            for y in range(across):
                for x in range(along):
                    pic.put(y, n * along + x, cell.rows[y][x])
        pic.save("VerticalSlider.png")
    else:
        pic = Picture(4 * along, across)
        for n, cell in enumerate(cells):
            for y in range(across):
                for x in range(along):
                    pic.put(n * along + x, y, cell.rows[y][x])
        pic.save("HorizontalSlider.png")


def arrow(pic, x0, size, direction, colour, offset):
    """A filled triangle pointing left, right, up or down inside a cell."""
    c = size // 2
    for i in range(5):
        for j in range(-i, i + 1):
            if direction == "left":
                pic.put(x0 + c - 2 + i + offset, c + j + offset, colour)
            elif direction == "right":
                pic.put(x0 + c + 2 - i + offset, c + j + offset, colour)
            elif direction == "up":
                pic.put(x0 + c + j + offset, c - 2 + i + offset, colour)
            else:
                pic.put(x0 + c + j + offset, c + 2 - i + offset, colour)


def scroll_bar():
    s = 16
    pic = Picture(12 * s, s)
    face, track, ink = (150, 160, 180), (60, 66, 80), (20, 24, 40)
    for base, (first, second) in ((0, ("left", "right")), (6, ("up", "down"))):
        for n in range(6):
            x0 = (base + n) * s
            pressed = n in (1, 5)
            if n == 3:
                pic.fill(x0, 0, x0 + s, s, track)
                continue
            bevel(pic, x0, 0, s, s, shade(face, -25) if pressed else face, shade(face, 60), shade(face, -70),
                  sunken=pressed, corner=1)
            if n in (0, 1):
                arrow(pic, x0, s, first, ink, 1 if pressed else 0)
            elif n in (4, 5):
                arrow(pic, x0, s, second, ink, 1 if pressed else 0)
    pic.save("ScrollBar.png")


def message_box_frame():
    # Three by three cells of 16: corners, edges and a centre that is tiled.
    s = 16
    pic = Picture(3 * s, 3 * s)
    face, light, dark = (188, 188, 188), (228, 228, 228), (120, 120, 120)
    pic.fill(0, 0, 3 * s, 3 * s, face)
    pic.fill(0, 0, 3 * s, 2, light)
    pic.fill(0, 0, 2, 3 * s, light)
    pic.fill(0, 3 * s - 2, 3 * s, 3 * s, dark)
    pic.fill(3 * s - 2, 0, 3 * s, 3 * s, dark)
    for y in range(s, 2 * s, 4):  # a faint weave in the centre
        for x in range(s + (y // 4) % 2 * 2, 2 * s, 4):
            pic.put(x, y, (180, 180, 184))
    for corner in ((0, 0), (3 * s - 1, 0), (0, 3 * s - 1), (3 * s - 1, 3 * s - 1)):
        pic.put(corner[0], corner[1], KEY)
    pic.save("MessageBoxFrame.png")


def pie_centre():
    # A round face for the middle of the pie menu.
    d = 48
    pic = Picture(d, d)
    r = d / 2 - 1
    for y in range(d):
        for x in range(d):
            dx, dy = x - d / 2 + 0.5, y - d / 2 + 0.5
            dist = (dx * dx + dy * dy) ** 0.5
            if dist <= r:
                shade_amount = int(-30 * (dx + dy) / r)
                pic.put(x, y, shade((210, 160, 100), shade_amount) if dist < r - 2 else (90, 60, 30))
    for ex in (17, 30):  # eyes
        pic.fill(ex, 18, ex + 3, 22, (40, 30, 20))
    pic.fill(17, 31, 32, 33, (120, 50, 40))  # mouth
    pic.save("PieCentre.png")


push_button()
system_button()
check_box()
slider(False)
slider(True)
scroll_bar()
message_box_frame()
pie_centre()
