#!/usr/bin/env python3
"""Draws the tray program's icons into tray/resources as .ico files (16 x 16 and
32 x 32, 32 bits with their masks): the program's mark (resource 128), a rounded
blue square with a light "C", and the disk in green (166, powered) and grey (167,
off). Run it again only to change the pictures; the files are checked in."""
import os
import struct

LIGHT = 0xFFF2F4F6


def program_mark(x, y):
    corner = x in (0, 15) and y in (0, 15)
    d = (x - 8) ** 2 + (y - 8) ** 2
    ring = 9 <= d <= 25 and not (x > 9 and 5 < y < 11)
    return 0 if corner else (LIGHT if ring else 0xFF2C7BE5)


def disk(colour):
    def pixel(x, y):
        if not (3 <= y < 13 and 1 <= x < 15):
            return 0
        return LIGHT if (y == 10 and 9 < x < 13) else colour
    return pixel


def image(pixel, size):
    scale = size // 16
    colour = b""
    mask = b""
    for row in reversed(range(size)):  # bottom row first
        bits = 0
        for x in range(size):
            argb = pixel(x // scale, row // scale)
            colour += struct.pack("<BBBB", argb & 0xFF, (argb >> 8) & 0xFF, (argb >> 16) & 0xFF, argb >> 24)
            bits = (bits << 1) | (0 if argb >> 24 else 1)
        mask += bits.to_bytes(size // 8, "big").ljust((size + 31) // 32 * 4, b"\0")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def ico(pixel):
    images = [image(pixel, size) for size in (16, 32)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((16, 32), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tray", "resources")
for name, pixel in (("Calvex.ico", program_mark), ("HddEnable.ico", disk(0xFF5BD36B)),
                    ("HddDisable.ico", disk(0xFF8E949A))):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(ico(pixel))
