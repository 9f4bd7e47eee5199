#!/usr/bin/env python3
"""Draws the program icon: a white "Z" on a deep blue rounded square, with an amber bar.

Writes a Windows .ico with 16, 32, 48 (32-bit bitmaps) and 256 (PNG) pixel images.
Uses only the standard library, so the same script always gives the same bytes.
Usage: make_icon.py OUTPUT.ico
"""
import struct
import sys
import zlib

BLUE = (0x1F, 0x3A, 0x5F)
WHITE = (0xFF, 0xFF, 0xFF)
AMBER = (0xF2, 0xA9, 0x00)
SAMPLES = 4  # per axis, for smooth edges


def inside_rounded_square(x, y, radius):
    cx = min(max(x, radius), 1 - radius)
    cy = min(max(y, radius), 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_z(x, y):
    t = 0.12  # stroke thickness
    left, right, top, bottom = 0.24, 0.76, 0.20, 0.70
    if left <= x <= right and top <= y <= top + t:
        return True
    if left <= x <= right and bottom - t <= y <= bottom:
        return True
    # diagonal from top-right to bottom-left
    if top + t <= y <= bottom - t:
        u = (y - (top + t)) / ((bottom - t) - (top + t))
        centre = (right - t * 0.55) - u * ((right - left) - t * 1.1)
        return abs(x - centre) <= t * 0.62
    return False


def inside_bar(x, y):
    return 0.24 <= x <= 0.76 and 0.76 <= y <= 0.82


def pixel(size, px, py):
    """Premultiplied blend of the layers over transparency; returns RGBA."""
    acc = [0.0, 0.0, 0.0, 0.0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES) / size
            y = (py + (sy + 0.5) / SAMPLES) / size
            if not inside_rounded_square(x, y, 0.18):
                continue
            colour = BLUE
            if inside_z(x, y):
                colour = WHITE
            elif inside_bar(x, y):
                colour = AMBER
            for i in range(3):
                acc[i] += colour[i]
            acc[3] += 1
    n = SAMPLES * SAMPLES
    if acc[3] == 0:
        return (0, 0, 0, 0)
    return tuple(round(acc[i] / acc[3]) for i in range(3)) + (round(255 * acc[3] / n),)


def image(size):
    return [[pixel(size, x, y) for x in range(size)] for y in range(size)]


def bmp_entry(size):
    rows = image(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    and_mask = bytes(mask_row * size)  # alpha decides; the mask stays clear
    return header + xor + and_mask


def png_entry(size):
    rows = image(size)
    raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    sizes = [16, 32, 48, 256]
    blobs = [png_entry(s) if s == 256 else bmp_entry(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, blob in zip(sizes, blobs):
        dim = 0 if s == 256 else s
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    out += b"".join(blobs)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
