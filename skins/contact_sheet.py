#!/usr/bin/env python3
"""Puts every object of a skin, in every state, on one contact sheet.

Each picture is made by `pixvane skin render`; this script only arranges
them on the dialog's cream, one band per skin file (100, 150, 200 %), so
the scalings can be compared side by side. Only Python's standard library
is used.

Usage: contact_sheet.py TOOL OUT.png SKIN [SKIN...]
  where each SKIN is FILE or FILE:PERCENT (default 100)
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

CREAM = (255, 247, 231)
GAP = 12

# (object or part, 96-dpi size, states, extra arguments); the panel's roll
# and hide buttons have no size of their own in the skin (the panel places
# the one it shows), so they are rendered as parts.
STATES = [0, 5, 7, 6, 8]
SHOTS = ([('Form', (305, 140), [0], ['--text', 'Setup [Autumn in Kyoto]']),
          ('Form', (305, 140), [0], ['--text', 'Setup [Autumn in Kyoto]', '--inactive']),
          ('Panel', (200, 64), [0], [])]
         + [('Button', (75, 25), [s], ['--text', 'OK']) for s in STATES]
         + [(f'CheckBox.{box}', (13, 13), [s], []) for box in ('Unchecked', 'Checked', 'Mixed')
            for s in STATES]
         + [(f'Panel.{button}', (14, 14), [s], []) for button in ('ButtonRollup', 'ButtonRolldown', 'ButtonHide')
            for s in (0, 5, 6)])


def read_png(path):
    data = open(path, 'rb').read()
    at, idat = 8, b''
    while at < len(data):
        n = struct.unpack('>I', data[at:at + 4])[0]
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + n]
        if kind == b'IHDR':
            width, height, depth, color = struct.unpack('>IIBB', body[:10])
            assert depth == 8 and color == 6, 'the tool writes 8-bit RGBA'
        elif kind == b'IDAT':
            idat += body
        at += 12 + n
    raw, rows, stride, prev = zlib.decompress(idat), [], width * 4, bytearray(width * 4)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b = prev[i]
            c = prev[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return width, height, rows


def write_png(path, width, height, pixels):
    raw = b''.join(b'\0' + bytes(v for p in pixels[y] for v in p) for y in range(height))

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))

    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
                + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def render(tool, skin, percent, shot, state, folder, index):
    name, (w, h), _, extra = shot
    out = os.path.join(folder, f'{index}.png')
    size = f'{(w * percent + 50) // 100}x{(h * percent + 50) // 100}'
    subprocess.run([tool, 'skin', 'render', skin, '--object', name, '--size', size,
                    '--state', str(state), '-o', out] + extra, check=True, stdout=subprocess.DEVNULL)
    return read_png(out)


def main():
    tool, output, skins = sys.argv[1], sys.argv[2], sys.argv[3:]
    bands = []
    with tempfile.TemporaryDirectory() as folder:
        for skin in skins:
            path, _, percent = skin.partition(':')
            percent = int(percent or 100)
            pictures = [render(tool, path, percent, shot, state, folder, len(bands) * 100 + i)
                        for i, (shot, state) in enumerate((s, st) for s in SHOTS for st in s[2])]
            bands.append(pictures)
    # Rows: the two forms and the panel; the buttons; the three box rows;
    # the panel's buttons.
    layout = lambda pics: [pics[0:3], pics[3:8], pics[8:13], pics[13:18], pics[18:23], pics[23:32]]
    rows = [row for band in bands for row in layout(band)]
    width = max(sum(p[0] + GAP for p in row) + GAP for row in rows)
    height = sum(max(p[1] for p in row) + GAP for row in rows) + GAP
    sheet = [[CREAM] * width for _ in range(height)]
    y = GAP
    for row in rows:
        x = GAP
        for w, h, pixels in row:
            for py in range(h):
                line = pixels[py]
                for px in range(w):
                    r, g, b, a = line[4 * px:4 * px + 4]
                    if a:
                        base = sheet[y + py][x + px]
                        sheet[y + py][x + px] = tuple((c * a + d * (255 - a) + 127) // 255
                                                      for c, d in zip((r, g, b), base))
            x += w + GAP
        y += max(p[1] for p in row) + GAP
    write_png(output, width, height, sheet)


if __name__ == '__main__':
    main()
