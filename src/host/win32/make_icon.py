#!/usr/bin/env python3
"""Draws the player's icon and writes it as a Windows .ico file.

The icon is a small photo in a white frame, a beach under a sun, with a
diagonal band where the next picture wipes in: what the saver does. It is
drawn here at 16, 32 and 48 pixels so the build needs nothing but Python.

Usage: make_icon.py OUT.ico
"""
import struct
import sys


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def pixel(size, x, y):
    """BGRA of the icon at size, pixel (x, y) counted from the top left."""
    # Work in a 0..1 square so every size draws the same picture.
    u = (x + 0.5) / size
    v = (y + 0.5) / size
    frame = 0.08
    if u < 0.02 or u > 0.98 or v < 0.10 or v > 0.90:
        return (0, 0, 0, 0)  # transparent around the landscape frame
    if u < frame or u > 1 - frame or v < 0.10 + frame or v > 0.90 - frame:
        return (250, 250, 250, 255)  # white frame
    # The picture inside, with a wipe: below the diagonal the next picture.
    if u + v > 1.35:
        return lerp((120, 60, 160), (200, 120, 240), v)[::-1] + (255,)
    horizon = 0.55
    if v < horizon:
        sky = lerp((90, 170, 240), (190, 225, 255), (v - 0.18) / (horizon - 0.18))
        sun = (u - 0.70) ** 2 + (v - 0.33) ** 2
        if sun < 0.009:
            sky = (255, 215, 60)
        return sky[::-1] + (255,)
    if v < 0.68:
        return lerp((30, 110, 190), (60, 150, 210), (v - horizon) / 0.13)[::-1] + (255,)
    return lerp((235, 210, 150), (215, 185, 120), (v - 0.68) / 0.14)[::-1] + (255,)


def image(size):
    """One icon image: a bottom-up 32-bit DIB with its AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(size)):
        rows.append(b"".join(bytes(pixel(size, x, y)) for x in range(size)))
    mask_stride = ((size + 31) // 32) * 4
    mask = []
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            if pixel(size, x, y)[3] == 0:
                bits |= 1 << (mask_stride * 8 - 1 - x)
        mask.append(bits.to_bytes(mask_stride, "big"))
    return header + b"".join(rows) + b"".join(mask)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUT.ico")
    sizes = (16, 32, 48)
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
