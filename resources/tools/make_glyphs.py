#!/usr/bin/env python3
"""Writes the speed-button glyphs and the program's icon as RGBA PNG files (standard library only).

Run once from this folder: python3 make_glyphs.py ..  (the output is kept in the repository).
"""
import math
import os
import struct
import sys
import zlib

CLEAR = (0, 0, 0, 0)
NAVY = (16, 40, 120, 255)
DARK = (40, 40, 40, 255)
WHITE = (255, 255, 255, 255)


def png(path, w, h, pixel):
    raw = bytearray()
    for y in range(h):
        raw.append(0)
        for x in range(w):
            raw.extend(pixel(x + 0.5, y + 0.5))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(chunk(b"IEND", b""))


def triangle(w, h, direction):
    cx, cy = w / 2, h / 2
    r = min(w, h) * 0.42

    def pixel(x, y):
        dx, dy = x - cx, y - cy
        # Rotate so that every arrow is an "up" arrow.
        if direction == "down":
            dy = -dy
        elif direction == "left":
            dx, dy = dy, dx
        elif direction == "right":
            dx, dy = dy, -dx
        # Up-pointing triangle: tip at -r, base at +r*0.6.
        if -r <= dy <= r * 0.6 and abs(dx) <= (dy + r) * 0.6:
            return NAVY
        return CLEAR

    return pixel


def disc(w, h):
    cx, cy, r = w / 2, h / 2, min(w, h) * 0.38

    def pixel(x, y):
        d = math.hypot(x - cx, y - cy)
        if d <= r * 0.45:
            return WHITE
        return NAVY if d <= r else CLEAR

    return pixel


def colour_wheel(w, h):
    cx, cy, r = w / 2, h / 2, min(w, h) * 0.42
    colours = [(230, 40, 40, 255), (240, 200, 20, 255), (40, 170, 60, 255), (40, 80, 220, 255)]

    def pixel(x, y):
        if math.hypot(x - cx, y - cy) > r:
            return CLEAR
        angle = math.atan2(y - cy, x - cx) % (2 * math.pi)
        return colours[int(angle / (math.pi / 2)) % 4]

    return pixel


def white_black(w, h):
    cx, cy, r = w / 2, h / 2, min(w, h) * 0.42

    def pixel(x, y):
        d = math.hypot(x - cx, y - cy)
        if d > r:
            return CLEAR
        if d > r - 1.5:
            return DARK
        return WHITE if x < cx else DARK

    return pixel


def screen(w, h):
    def pixel(x, y):
        if 2 <= x <= w - 2 and 4 <= y <= h - 6:
            inner = 4 <= x <= w - 4 and 6 <= y <= h - 8
            if not inner:
                return DARK
            # Three menu lines on the screen.
            row = int(y - 6)
            if row % 4 in (1, 2) and 7 <= x <= w - 8:
                return WHITE
            return NAVY
        if abs(x - w / 2) < 3 and h - 6 < y <= h - 2:
            return DARK
        return CLEAR

    return pixel


def speed_bars(w, h):
    def pixel(x, y):
        for i in range(4):
            left = 3 + i * (w - 6) / 4
            top = h - 3 - (i + 1) * (h - 6) / 4
            if left + 1 <= x <= left + (w - 6) / 4 - 1 and top <= y <= h - 3:
                return NAVY
        return CLEAR

    return pixel


def keyboard(w, h):
    def pixel(x, y):
        if not (1 <= x <= w - 1 and 5 <= y <= h - 5):
            return CLEAR
        if x < 2 or x > w - 2 or y < 6 or y > h - 6:
            return DARK
        kx, ky = int(x - 2) % 4, int(y - 6) % 4
        return WHITE if kx < 3 and ky < 3 else DARK

    return pixel


def app_icon(w, h):
    """The program's mark: a navy tile with a camera lens and the link lamp in green.

    zelta.svg draws the same shapes for the scalable icon."""
    s = w / 64

    def sample(x, y):
        if not (4 * s <= x <= 60 * s and 4 * s <= y <= 60 * s):
            return CLEAR
        # Rounded corners of radius 10.
        cx = min(max(x, 14 * s), 50 * s)
        cy = min(max(y, 14 * s), 50 * s)
        if math.hypot(x - cx, y - cy) > 10 * s:
            return CLEAR
        d = math.hypot(x - 30 * s, y - 34 * s)
        if d <= 7 * s:
            return NAVY
        if d <= 16 * s:
            return WHITE
        if math.hypot(x - 49 * s, y - 15 * s) <= 5 * s:
            return (0, 255, 0, 255)
        return NAVY

    def pixel(x, y):
        # Four samples a pixel smooth the edges at the small sizes.
        samples = [sample(x + dx, y + dy) for dx in (-0.25, 0.25) for dy in (-0.25, 0.25)]
        alpha = sum(c[3] for c in samples)
        if alpha == 0:
            return CLEAR
        rgb = [sum(c[i] * c[3] for c in samples) // alpha for i in range(3)]
        return (*rgb, alpha // 4)

    return pixel


ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)

GLYPHS = {
    # name: (width, height, painter); sizes leave a margin inside the buttons.
    "up.png": (25, 25, lambda w, h: triangle(w, h, "up")),
    "down.png": (25, 25, lambda w, h: triangle(w, h, "down")),
    "left.png": (23, 25, lambda w, h: triangle(w, h, "left")),
    "right.png": (25, 25, lambda w, h: triangle(w, h, "right")),
    "select.png": (25, 27, disc),
    "colour.png": (25, 25, colour_wheel),
    "white_balance.png": (25, 25, white_black),
    "osd_on.png": (25, 25, screen),
    "protocol_speed.png": (25, 25, speed_bars),
    "keyboard.png": (25, 21, keyboard),
}


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else ".."
    for name, (w, h, painter) in GLYPHS.items():
        png(f"{folder}/{name}", w, h, painter(w, h))
    for size in ICON_SIZES:
        icons = f"{folder}/icons/hicolor/{size}x{size}/apps"
        os.makedirs(icons, exist_ok=True)
        png(f"{icons}/zelta.png", size, size, app_icon(size, size))


if __name__ == "__main__":
    main()
